#pragma once
// The program's windows, in the order the main routine creates them. The
// first one is the main window.

#include <array>

namespace tarmacia::app {

struct FormInfo {
    const char* name;
    const char* caption;
};

inline constexpr std::array<FormInfo, 23> kForms = {{
    {"TForm1", "Tarmacia"},
    {"TForm2", "Race Details"},
    {"TForm4", "Security Question"},
    {"TForm5", "Registration"},
    {"TForm7", "Auto Logout"},
    {"TForm8", "History"},
    {"TForm6", "Ext. Web Page"},
    {"TForm11", "Suspended For Racing"},
    {"TForm16", "External Web Page"},
    {"TForm17", "Options"},
    {"TForm18", "Replay View"},
    {"TForm20", ""},
    {"TForm9", "Admin Panel"},
    {"TForm22", "Add/Edit Server Settings"},
    {"TForm24", "Edit Font Settings"},
    {"TForm25", "Create Custom Language"},
    {"TForm27", "Please Wait"},
    {"TForm15", "Credits"},
    {"TForm28", "Notice"},
    {"TForm30", "Form30"},
    {"TForm31", "Flag Upload"},
    {"TForm33", "History Update"},
    {"TForm3", "Donate"},
}};

} // namespace tarmacia::app
