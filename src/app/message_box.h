#pragma once
// The one helper through which every notice and question is shown.

#include "app/diagnostic_log.h"
#include "platform/dialogs.h"

#include <optional>
#include <string>

namespace tarmacia::app {

// What a caller fills in. Every field is a bounded text: messagebox cuts a
// longer value to its bound, as the stored record would.
struct MessageBoxRecord {
    std::string title;   // 50
    std::string kind;    // 5: "info", "warn" or "error"
    std::string line1;   // 50
    std::string line2;   // 50, omitted when empty
    std::string line3;   // 50, omitted when empty
    std::string button1; // 8, caption of the Ok button
    std::string button2; // 8, caption of the Cancel button; empty = none
    std::string button3; // 8, non-empty = a third button

    MessageBoxRecord bounded() const;
};

// Result: 1 for the first (Ok) button, 2 for the second (Cancel), 3 for an
// Abort button, 0 otherwise (a Yes button, closing the box, an unknown kind).
int messagebox(platform::Dialogs& dialogs, DiagnosticLog& log, const MessageBoxRecord& record);

// The box that `record` asks the dialog port for; none for an unknown kind.
std::optional<platform::BoxRequest> boxRequestFor(const MessageBoxRecord& record);

} // namespace tarmacia::app
