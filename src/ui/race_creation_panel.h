#pragma once
// The "Create Race" panel of the main window (panel "18"): host, game, race
// type, maximum racers, trackset and description, with Create and Close.

#include <QFrame>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace tarmacia::races {
class RaceCreation;
}

namespace tarmacia::ui {

class RaceCreationPanel : public QFrame {
    Q_OBJECT
public:
    explicit RaceCreationPanel(races::RaceCreation& creation, QWidget* parent = nullptr);
    // Shows the creation's panel state again.
    void refresh();

private:
    races::RaceCreation& creation_;
    QLineEdit* host_;
    QComboBox* game_;
    QComboBox* raceType_;
    QLineEdit* max_;
    QComboBox* trackset_;
    QLineEdit* description_;
    QPushButton* create_;
    QPushButton* close_;
};

} // namespace tarmacia::ui
