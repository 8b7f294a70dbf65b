#pragma once
// Modal dialogs. A message box blocks its caller (the event loop keeps running
// inside it) and answers with the button that closed it.

#include <string>
#include <vector>

namespace tarmacia::platform {

enum class BoxKind { Information, Warning, Error };
enum class BoxButton { None, Ok, Cancel, Abort, Yes };

struct BoxRequest {
    BoxKind kind = BoxKind::Information;
    std::string title;
    std::string text; // lines separated by "\r"
    std::vector<BoxButton> buttons;
    std::string okCaption;     // shown on the Ok button
    std::string cancelCaption; // shown on the Cancel button
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Shown modally and centred on the main window. Closing the box without
    // a button answers None.
    virtual BoxButton messageBox(const BoxRequest& request) = 0;
};

} // namespace tarmacia::platform
