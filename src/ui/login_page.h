#pragma once
// The login panel's servers: the server selector (from the lobby's
// directory), the saved servers and the switch between the two, "Refresh".

#include <QWidget>

class QCheckBox;
class QComboBox;
class QListWidget;
class QPushButton;

namespace tarmacia::app {
class MainForm;
}

namespace tarmacia::ui {

class LoginPage : public QWidget {
    Q_OBJECT
public:
    explicit LoginPage(app::MainForm& form, QWidget* parent = nullptr);
    // Shows the core's servers again.
    void refresh();

private:
    app::MainForm& form_;
    QComboBox* servers_;
    QCheckBox* fromDirectory_;
    QListWidget* saved_;
    QPushButton* refreshButton_;
};

} // namespace tarmacia::ui
