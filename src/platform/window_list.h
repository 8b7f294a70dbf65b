#pragma once
// The desktop's top-level windows: what the client needs to find a game
// window that outlived its process and to close it.

#include <string>
#include <vector>

namespace tarmacia::platform {

struct TopWindow {
    unsigned long id = 0;
    std::string title; // UTF-8
    int pid = 0;       // 0 when the window does not say
};

// Porsche Unleashed's window: its title without blanks, upper-cased, reads
// "PORSCHE" (only the first 257 characters count, as the title buffer held).
inline bool isPuWindow(const TopWindow& window) {
    std::string letters;
    for (char c : window.title.substr(0, 257)) {
        if (c == ' ') continue;
        letters += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return letters == "PORSCHE";
}

class WindowList {
public:
    virtual ~WindowList() = default;
    // Empty when there is no display.
    virtual std::vector<TopWindow> list() const = 0;
    // Asks the window to close, as its close button would.
    virtual void closeRequest(unsigned long id) = 0;
};

} // namespace tarmacia::platform
