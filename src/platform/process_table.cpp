#include "platform/process_table.h"

#include "common/text.h"

namespace tarmacia::platform {

std::string_view fileNamePart(std::string_view path) {
    auto cut = path.find_last_of("/\\");
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

bool runs(const Process& process, std::string_view name) {
    if (name.empty()) return false;
    return equalsNoCase(process.comm, name) || equalsNoCase(process.image, name);
}

int ProcessTable::find(std::string_view name) const {
    for (const Process& p : list())
        if (runs(p, name)) return p.pid;
    return 0;
}

int ProcessTable::count(std::string_view name) const {
    int n = 0;
    for (const Process& p : list())
        if (runs(p, name)) ++n;
    return n;
}

bool ProcessTable::terminate(std::string_view name) {
    bool last = false;
    for (const Process& p : list())
        if (runs(p, name)) last = sendTerminate(p.pid);
    return last;
}

} // namespace tarmacia::platform
