#pragma once
// The awards panel: racer, team and nation of the week, month and year, and
// the buttons to the lobby website's award pages.

#include "chat/presence.h"

#include <QSize>
#include <QWidget>

#include <array>
#include <functional>
#include <string>

class QLabel;
class QPushButton;

namespace tarmacia::ui {

class AwardsPanel : public QWidget {
    Q_OBJECT
public:
    // The website pages behind the buttons; the caller puts the host in front.
    static constexpr const char* kRotwPage = "index.php?page=user&index=13&action=rotw.php";
    static constexpr const char* kTotwPage = "index.php?page=user&index=13&action=notw.php";

    explicit AwardsPanel(QWidget* parent = nullptr);

    // Called with the page (kRotwPage or kTotwPage) to open in the browser.
    std::function<void(const std::string& page)> openPage;

    // The first entries, in the lists' order (the core's `firstEntries`).
    void setEntries(const std::array<chat::AwardView, chat::kAwardLists>& entries);
    void setFlagSize(QSize size);

    // The captions of the nine cells ("Racer of the Week", ...).
    static QString cellCaption(std::size_t list);
    QLabel* text(std::size_t list) const { return cells_[list].text; }
    QLabel* flag(std::size_t list) const { return cells_[list].flag; }

private:
    struct Cell {
        QLabel* flag = nullptr;
        QLabel* text = nullptr;
    };
    void showFlags();

    std::array<Cell, chat::kAwardLists> cells_;
    std::array<chat::AwardView, chat::kAwardLists> entries_;
    QSize flagSize_{36, 24};
};

} // namespace tarmacia::ui
