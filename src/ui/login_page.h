#pragma once
// The login panel: name, password, "Use as Default", "Reset Login", the
// flag of the name, and the servers: the selector (from the lobby's
// directory), the saved servers and the switch between the two, "Refresh".

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
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
    // Shows the core's login details and servers again.
    void refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    app::MainForm& form_;
    QLineEdit* name_;
    QLineEdit* password_;
    QLabel* flag_;
    QCheckBox* useAsDefault_;
    QPushButton* resetLogin_;
    QPushButton* connect_;
    QComboBox* servers_;
    QCheckBox* fromDirectory_;
    QListWidget* saved_;
    QPushButton* refreshButton_;
};

} // namespace tarmacia::ui
