#pragma once

#include "app/main_view.h"

namespace tarmacia::platform::fake {

class FakeMainView : public app::MainView {
public:
    std::vector<std::filesystem::path> toolbarIcons;
    std::vector<std::string> fontSizeChoices;
    std::vector<std::string> styleChoices;
    int chatFocus = 0;

    void setToolbarIcons(const std::vector<std::filesystem::path>& icons) override {
        toolbarIcons = icons;
    }
    void setFontSizeChoices(const std::vector<std::string>& choices) override {
        fontSizeChoices = choices;
    }
    void setStyleChoices(const std::vector<std::string>& choices) override {
        styleChoices = choices;
    }
    void focusChatInput() override { ++chatFocus; }
};

} // namespace tarmacia::platform::fake
