#include "ui/awards_panel.h"
#include "ui/user_list.h"

#include "support/temp_dir.h"
#include "support/ui_world.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>

#include <gtest/gtest.h>


namespace tarmacia::ui {
namespace {

struct ListWorld {
    ListWorld() {
        QImage red(10, 10, QImage::Format_RGB32);
        red.fill(Qt::red);
        red.save(QString::fromStdString(redFlag.string()), "BMP");
        list.describe = [this](const std::string& item) {
            ++described;
            if (item.starts_with("[gb]")) return chat::UserRow{item.substr(4), redFlag};
            return chat::UserRow{item, folder / "missing.bmp"};
        };
        list.resize(200, 200);
        list.show();
        list.setUsers({"[gb]Ann", "Bob"});
    }
    QStringList captions() const {
        QStringList out;
        for (QAction* action : list.userMenu()->actions()) out << action->text();
        return out;
    }
    void trigger(const QString& caption) {
        for (QAction* action : list.userMenu()->actions())
            if (action->text() == caption) action->trigger();
    }

    // Built first: widgets need the application.
    struct Application {
        Application() { test::ensureWidgetsApp(); }
    } application;
    test::TempDir folder;
    std::filesystem::path redFlag = folder / "gbflag.bmp";
    int described = 0;
    UserList list;
};

TEST(UserListView, RowsShowTheStretchedFlagAndTheNameAndFollowTheFlagHeight) {
    ListWorld w;
    w.list.setHighlightColour(QColor(0, 200, 0));
    w.list.setCurrentIndex(w.list.model()->index(1, 0)); // Bob selected
    const QImage shot = w.list.viewport()->grab().toImage();
    const QRect ann = w.list.visualRect(w.list.model()->index(0, 0));
    const QRect bob = w.list.visualRect(w.list.model()->index(1, 0));
    EXPECT_EQ(ann.height(), 24 + 2);
    // The 10x10 picture is stretched over the whole 36x24 flag.
    EXPECT_EQ(shot.pixelColor(ann.left() + 1 + 34, ann.top() + 1 + 22), QColor(Qt::red));
    EXPECT_NE(shot.pixelColor(ann.left() + 1 + 37, ann.top() + 1 + 22), QColor(Qt::red));
    // The name is drawn right of the flag, in the list's text colour.
    int inked = 0;
    for (int x = ann.left() + 36 + 3; x < ann.right(); ++x)
        for (int y = ann.top(); y <= ann.bottom(); ++y)
            if (shot.pixelColor(x, y).lightness() < 128) ++inked;
    EXPECT_GT(inked, 10);
    // The selected row is filled with the highlight colour.
    EXPECT_EQ(shot.pixelColor(bob.right() - 2, bob.center().y()), QColor(0, 200, 0));
    EXPECT_EQ(w.list.row(QStringLiteral("[gb]Ann")).name, QStringLiteral("Ann"));
    EXPECT_TRUE(w.list.row(QStringLiteral("Bob")).flag.isNull()); // missing file: no picture

    const int lookups = w.described;
    w.list.viewport()->grab();
    EXPECT_EQ(w.described, lookups); // rows are cached, not looked up per paint

    w.list.setFlagSize({54, 36});
    EXPECT_EQ(w.list.visualRect(w.list.model()->index(0, 0)).height(), 36 + 2);
    EXPECT_EQ(w.list.row(QStringLiteral("[gb]Ann")).flag.size(), QSize(54, 36));
}

TEST(UserListView, AppendingAndClearingKeepTheItemTexts) {
    ListWorld w;
    w.list.appendUser("[fr]Jean");
    EXPECT_EQ(w.list.users(), (std::vector<std::string>{"[gb]Ann", "Bob", "[fr]Jean"}));
    w.list.clearUsers();
    EXPECT_TRUE(w.list.users().empty());
}

TEST(UserListView, ClickOpensTheUserMenuWhoseEntriesGetTheItemText) {
    ListWorld w;
    std::vector<std::string> whispered, nudged, banned;
    w.list.whisper = [&](const std::string& t) { whispered.push_back(t); };
    w.list.nudge = [&](const std::string& t) { nudged.push_back(t); };
    w.list.bootAndBan = [&](const std::string& t) { banned.push_back(t); };

    const QPoint at = w.list.visualRect(w.list.model()->index(1, 0)).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, w.list.viewport()->mapToGlobal(at),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, w.list.viewport()->mapToGlobal(at),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w.list.viewport(), &press);
    QApplication::sendEvent(w.list.viewport(), &release);
    EXPECT_TRUE(w.list.userMenu()->isVisible());
    EXPECT_EQ(w.captions(), (QStringList{"Whisper", "Nudge"}));
    EXPECT_EQ(w.list.selectedUser(), "Bob");
    w.trigger(QStringLiteral("Whisper"));
    w.trigger(QStringLiteral("Nudge"));
    EXPECT_EQ(whispered, (std::vector<std::string>{"Bob"}));
    EXPECT_EQ(nudged, (std::vector<std::string>{"Bob"}));

    w.list.setAdmin(true);
    w.list.openUserMenu(0, {});
    EXPECT_EQ(w.captions(), (QStringList{"Whisper", "Nudge", "Boot and Ban"}));
    w.trigger(QStringLiteral("Boot and Ban"));
    EXPECT_EQ(banned, (std::vector<std::string>{"[gb]Ann"}));
    EXPECT_EQ(whispered.size(), 1u);
}

TEST(UserListView, TypedKeysAreDiscarded) {
    ListWorld w;
    w.list.setCurrentIndex(w.list.model()->index(0, 0));
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, QStringLiteral("B"));
    QApplication::sendEvent(&w.list, &typed);
    EXPECT_EQ(w.list.currentIndex().row(), 0);
}

TEST(AwardsPanelView, ShowsFirstEntriesAndTheButtonsAskForTheirPages) {
    test::ensureWidgetsApp();
    test::TempDir folder;
    const auto flag = folder / "gbflag.bmp";
    QImage red(4, 4, QImage::Format_RGB32);
    red.fill(Qt::red);
    red.save(QString::fromStdString(flag.string()), "BMP");

    AwardsPanel panel;
    std::vector<std::string> pages;
    panel.openPage = [&](const std::string& page) { pages.push_back(page); };
    std::array<chat::AwardView, chat::kAwardLists> entries;
    entries[chat::RacerOfWeek] = {"Ann", flag};
    entries[chat::TeamOfWeek] = {"ABC", {}};
    panel.setEntries(entries);

    auto* racer = panel.findChild<QLabel*>(QStringLiteral("Racer of the Week Name"));
    ASSERT_NE(racer, nullptr);
    EXPECT_EQ(racer->text(), QStringLiteral("Ann"));
    EXPECT_EQ(panel.flag(chat::RacerOfWeek)->pixmap().size(), QSize(36, 24));
    EXPECT_EQ(panel.text(chat::TeamOfWeek)->text(), QStringLiteral("ABC"));
    EXPECT_TRUE(panel.flag(chat::TeamOfWeek)->pixmap().isNull());

    panel.findChild<QPushButton*>(QStringLiteral("Rotw"))->click();
    panel.findChild<QPushButton*>(QStringLiteral("Totw"))->click();
    EXPECT_EQ(pages, (std::vector<std::string>{"index.php?page=user&index=13&action=rotw.php",
                                               "index.php?page=user&index=13&action=notw.php"}));
}

} // namespace
} // namespace tarmacia::ui
