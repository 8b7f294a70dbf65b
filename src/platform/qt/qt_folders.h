#pragma once

#include "platform/folders.h"

namespace tarmacia::platform::qt {

class QtFolders : public Folders {
public:
    // An empty override means: find the folder the usual way.
    explicit QtFolders(std::filesystem::path documentsOverride = {});
    std::filesystem::path documents() const override { return documents_; }
    std::filesystem::path program() const override { return program_; }
    std::filesystem::path executable() const override;
    bool programWritable() const override;

private:
    std::filesystem::path documents_;
    std::filesystem::path program_;
};

} // namespace tarmacia::platform::qt
