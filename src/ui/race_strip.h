#pragma once
// The races of the lobby: a horizontally scrolling strip of twenty tiles,
// the details panel of the selected race with its Join button, and the
// scrolling racer strip.

#include <QScrollArea>
#include <QWidget>

#include <array>
#include <functional>

class QLabel;
class QPushButton;
class QFrame;

namespace tarmacia::races {
class RaceList;
}

namespace tarmacia::ui {

class RaceTile;

class RaceStrip : public QScrollArea {
    Q_OBJECT
public:
    RaceStrip(races::RaceList& list, QWidget* parent = nullptr);
    // The flag size of the tiles (the "raceflag" setting).
    void setFlagSize(int width, int height);
    // Shows the list's slots again.
    void refresh();

private:
    races::RaceList& list_;
    std::array<RaceTile*, 20> tiles_{};
    QSize flagSize_{24, 16};
};

class RaceDetailsPanel : public QFrame {
    Q_OBJECT
public:
    RaceDetailsPanel(races::RaceList& list, QWidget* parent = nullptr);
    void refresh();
    std::function<void()> join;
    std::function<void()> doorbell;

private:
    races::RaceList& list_;
    QLabel* picture_;
    QLabel* flag_;
    QLabel* host_;
    QLabel* title1_;
    QLabel* title2_;
    std::array<QLabel*, 3> lines_{};
    QLabel* racers_;
    QPushButton* joinButton_;
    QPushButton* doorbellButton_;
};

} // namespace tarmacia::ui
