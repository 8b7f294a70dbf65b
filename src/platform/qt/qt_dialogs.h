#pragma once

#include "platform/dialogs.h"

class QWidget;

namespace tarmacia::platform::qt {

class QtDialogs : public Dialogs {
public:
    // Boxes are centred on `mainWindow` (may be set later).
    void setMainWindow(QWidget* mainWindow) { mainWindow_ = mainWindow; }
    BoxButton messageBox(const BoxRequest& request) override;

private:
    QWidget* mainWindow_ = nullptr;
};

} // namespace tarmacia::platform::qt
