#pragma once
// The program's windows as the core sees them: something with a caption that
// can be shown, hidden and closed. What each window draws belongs to ui/.

#include <functional>
#include <string>

namespace tarmacia::platform {

class Window {
public:
    virtual ~Window() = default;
    virtual void setCaption(const std::string& caption) = 0;
    virtual std::string caption() const = 0;
    virtual void show() = 0;
    // Shown above the main window, which takes no input meanwhile; returns at
    // once (the caller is not blocked in a nested loop).
    virtual void showModal() = 0;
    virtual void hide() = 0;
    virtual void close() = 0;
    virtual bool isVisible() const = 0;
    // Brings a minimised window back to its normal state.
    virtual void restore() = 0;
    // Top-left corner on the screen.
    virtual void move(int left, int top) = 0;
    // Called when the window is closed by the player or by close().
    virtual void onClosed(std::function<void()> handler) = 0;
};

// Creates the windows; each is known by its form name ("TForm1", ...).
class WindowSystem {
public:
    virtual ~WindowSystem() = default;
    virtual Window& create(const std::string& formName, const std::string& caption) = 0;
};

// The running program itself.
class AppControl {
public:
    virtual ~AppControl() = default;
    // Ends the event loop; the program exits.
    virtual void quit() = 0;
    // Starts a new instance of this program (same arguments) in `workingFolder`.
    virtual void startNewInstance(const std::string& workingFolder) = 0;
    // Opens a web page in the player's browser (http and https only).
    virtual void openUrl(const std::string& url) = 0;
};

} // namespace tarmacia::platform
