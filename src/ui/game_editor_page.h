#pragma once
// The game path editor: the picture list of the games the client knows, the
// fields of the chosen entry, "Save"/"Delete", and the game selector. The
// core does the checking and the storing; this page only shows its values.

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace tarmacia::app {
class MainForm;
}

namespace tarmacia::ui {

class GameEditorPage : public QWidget {
    Q_OBJECT
public:
    explicit GameEditorPage(app::MainForm& form, QWidget* parent = nullptr);

    // Rebuilds the picture list and the selector from the core's views.
    void refresh();

private:
    void showEntry(QListWidgetItem* item);
    void save();
    void remove();
    void choose(int index);
    void pickColour();
    void browseFolder();
    void showSwatch();

    app::MainForm& form_;
    QListWidget* pictures_;
    QLabel* heading_;
    QLineEdit* code_;
    QLineEdit* name_;
    QLineEdit* colour_;
    QPushButton* swatch_;
    QCheckBox* default_;
    QLineEdit* exename_;
    QLineEdit* param_;
    QLineEdit* path_;
    QComboBox* selector_;
};

} // namespace tarmacia::ui
