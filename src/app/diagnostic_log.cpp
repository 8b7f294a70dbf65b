#include "app/diagnostic_log.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <system_error>

namespace tarmacia::app {

void DiagnosticLog::writelogfile(std::string_view text) {
    auto fail = [this] {
        throw std::filesystem::filesystem_error("cannot write the log file", path_,
                                                std::error_code(errno, std::generic_category()));
    };
    if (!path_.parent_path().empty()) {
        std::error_code ignored;
        std::filesystem::create_directories(path_.parent_path(), ignored);
    }
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path_.c_str(), "ab"), &std::fclose);
    if (!file) fail();
    std::string line(text);
    line += '\n';
    if (std::fwrite(line.data(), 1, line.size(), file.get()) != line.size()) fail();
    if (std::fclose(file.release()) != 0) fail();
}

void DiagnosticLog::remove() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
}

} // namespace tarmacia::app
