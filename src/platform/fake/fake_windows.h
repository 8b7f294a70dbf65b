#pragma once

#include "platform/windows.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tarmacia::platform::fake {

class FakeWindow : public Window {
public:
    std::string title;
    bool visible = false;
    bool modal = false;
    int restores = 0;
    int left = 0;
    int top = 0;

    void setCaption(const std::string& caption) override { title = caption; }
    std::string caption() const override { return title; }
    void show() override { visible = true; }
    void showModal() override {
        visible = true;
        modal = true;
    }
    void hide() override { visible = false; }
    // Like a real window, a close is reported even when it was not shown.
    void close() override {
        visible = false;
        modal = false;
        if (closed_) closed_();
    }
    bool isVisible() const override { return visible; }
    void restore() override { ++restores; }
    void move(int l, int t) override {
        left = l;
        top = t;
    }
    void onClosed(std::function<void()> handler) override { closed_ = std::move(handler); }

private:
    std::function<void()> closed_;
};

class FakeWindowSystem : public WindowSystem {
public:
    std::vector<std::string> created; // form names in creation order
    std::map<std::string, std::unique_ptr<FakeWindow>> windows;

    Window& create(const std::string& formName, const std::string& caption) override {
        created.push_back(formName);
        auto& window = windows[formName];
        window = std::make_unique<FakeWindow>();
        window->title = caption;
        return *window;
    }
    FakeWindow& operator[](const std::string& formName) { return *windows.at(formName); }
};

class FakeAppControl : public AppControl {
public:
    int quits = 0;
    std::vector<std::string> newInstances; // working folders
    std::vector<std::string> openedUrls;

    void quit() override { ++quits; }
    void startNewInstance(const std::string& workingFolder) override {
        newInstances.push_back(workingFolder);
    }
    void openUrl(const std::string& url) override { openedUrls.push_back(url); }
};

} // namespace tarmacia::platform::fake
