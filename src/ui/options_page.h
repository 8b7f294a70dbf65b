#pragma once
// The "Options" page of the options panel: the four option tick boxes and
// Master Reset. A change is saved by the core a few seconds later.

#include <QWidget>

#include <vector>

class QCheckBox;

namespace tarmacia::app {
class MainForm;
}

namespace tarmacia::settings {
struct Options;
}

namespace tarmacia::ui {

class OptionsPageWidget : public QWidget {
    Q_OBJECT
public:
    explicit OptionsPageWidget(app::MainForm& form, QWidget* parent = nullptr);

    // Shows the options in memory without sending them back to the core.
    void refresh();

private:
    struct Box {
        QCheckBox* widget;
        bool settings::Options::*value;
    };

    app::MainForm& form_;
    std::vector<Box> boxes_;
};

} // namespace tarmacia::ui
