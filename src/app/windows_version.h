#pragma once
// The Windows version name the Fix Menu shows, from the product name that the
// Wine prefix reports.

#include <string>
#include <string_view>

namespace tarmacia::app {

struct WindowsVersion {
    std::string name; // "Win 7", ...; the product name itself when unknown
    int code = 0;     // 0 when no rule matched
};

WindowsVersion classifyWindows(std::string_view productName);

} // namespace tarmacia::app
