#pragma once
// The "Sounds" page of the options panel: it shows the sound page's values
// and forwards the player's choices; the core keeps the events.

#include <QWidget>

#include <functional>

class QCheckBox;
class QComboBox;
class QPushButton;
class QSlider;

namespace tarmacia::app {
class MainForm;
}

namespace tarmacia::ui {

class SoundPageWidget : public QWidget {
    Q_OBJECT
public:
    // `closePages` closes the options panel once the sounds are saved.
    SoundPageWidget(app::MainForm& form, std::function<void()> closePages,
                    QWidget* parent = nullptr);

    // Shows the core's values again without sending them back to it.
    void refresh();

private:
    void chooseEvent(int index);
    void chooseFile(const QString& name);
    void play();
    void save();

    app::MainForm& form_;
    std::function<void()> closePages_;
    QComboBox* event_;
    QComboBox* file_;
    QCheckBox* use_;
    QSlider* volume_;
    QPushButton* play_;
    QPushButton* save_;
};

} // namespace tarmacia::ui
