#pragma once
// Fakes of the small machine-facing ports: folders and the HOSTS file.

#include "platform/folders.h"
#include "platform/hosts_file.h"

namespace tarmacia::platform::fake {

class FakeFolders : public Folders {
public:
    std::filesystem::path documentsPath;
    std::filesystem::path programPath;
    bool writable = true;
    std::filesystem::path executablePath;

    std::filesystem::path documents() const override { return documentsPath; }
    std::filesystem::path executable() const override { return executablePath; }
    std::filesystem::path program() const override { return programPath; }
    bool programWritable() const override { return writable; }
};

class FakeHostsFile : public HostsFile {
public:
    std::filesystem::path file = "/nonexistent/hosts";
    bool rewritable = true;

    std::filesystem::path path() const override { return file; }
    bool canRewrite() const override { return rewritable; }
};

} // namespace tarmacia::platform::fake
