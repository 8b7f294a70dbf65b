#pragma once

#include "platform/windows.h"

namespace tarmacia::platform::qt {

class QtAppControl : public AppControl {
public:
    void quit() override;
    void startNewInstance(const std::string& workingFolder) override;
    void openUrl(const std::string& url) override;
};

} // namespace tarmacia::platform::qt
