#include "app/windows_version.h"

#include <array>

namespace tarmacia::app {
namespace {

struct Rule {
    const char* needle;
    const char* name;
    int code;
};

// Tried in order; a later match overrides an earlier one. Case matters.
constexpr std::array<Rule, 9> kRules = {{{"95", "Win 95", 1},
                                         {"98", "Win 98", 2},
                                         {"ME", "Win ME", 3},
                                         {"2000", "Win 2000", 4},
                                         {"XP", "Win XP", 5},
                                         {"Vista", "Vista", 7},
                                         {"7", "Win 7", 8},
                                         {" 8", "Win 8", 9},
                                         {"10", "Win 10", 11}}};

} // namespace

WindowsVersion classifyWindows(std::string_view productName) {
    WindowsVersion version{std::string(productName), 0};
    for (const auto& rule : kRules) {
        if (productName.find(rule.needle) != std::string_view::npos) version = {rule.name, rule.code};
    }
    return version;
}

} // namespace tarmacia::app
