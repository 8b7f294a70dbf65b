#pragma once

#include <QDialog>

class QLabel;

namespace tarmacia::ui {

// A window whose contents come with its own feature; until then it shows
// its caption only.
class FormShell : public QDialog {
    Q_OBJECT
public:
    explicit FormShell(QWidget* parent = nullptr);
};

// Stands in for the race monitor until it is built: the race goes on while
// it is open, and closing it brings the player back to the lobby.
class RaceWindow : public QDialog {
    Q_OBJECT
public:
    explicit RaceWindow(QWidget* parent = nullptr);
    // The monitor's word on the race (the state, or what to do by hand).
    void setText(const QString& text);

private:
    QLabel* status_;
};

} // namespace tarmacia::ui
