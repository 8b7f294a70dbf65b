#pragma once
// The lobby's user list: a flag and a name per row, and the user menu
// ("Whisper", "Nudge", and "Boot and Ban" for administrators).

#include "chat/presence.h"

#include <QColor>
#include <QHash>
#include <QListView>
#include <QPixmap>
#include <QSize>

#include <functional>
#include <string>
#include <vector>

class QMenu;
class QStringListModel;

namespace tarmacia::ui {

class UserList : public QListView {
    Q_OBJECT
public:
    explicit UserList(QWidget* parent = nullptr);

    // The row's name and flag picture (the core's `userRow`); without it a
    // row shows its item text and no flag.
    std::function<chat::UserRow(const std::string& itemText)> describe;
    // The user menu's entries, with the item text of the row clicked.
    std::function<void(const std::string& itemText)> whisper;
    std::function<void(const std::string& itemText)> nudge;
    std::function<void(const std::string& itemText)> bootAndBan;

    void setUsers(const std::vector<std::string>& users);
    // A refresh of thousands of users arrives one at a time.
    void appendUser(const std::string& itemText);
    void clearUsers();
    std::vector<std::string> users() const;

    void setFlagSize(QSize size);
    QSize flagSize() const { return flagSize_; }
    void setHighlightColour(const QColor& colour);
    QColor highlightColour() const { return highlight_; }
    // "Boot and Ban" is offered while the Admin button is shown.
    void setAdmin(bool admin) { admin_ = admin; }
    // A flag picture arrived (or the flags changed): look them up again.
    void refreshFlags();

    // The item text of the selected row (whisper and nudge target it).
    std::string selectedUser() const;
    // Opens the user menu for `row` at `at` (global position).
    void openUserMenu(int row, const QPoint& at);
    QMenu* userMenu() const { return menu_; }

    struct Row {
        QString name;
        QPixmap flag; // already stretched to the flag size
    };
    // What a row draws; cached per item text.
    const Row& row(const QString& itemText) const;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // Typed keys are discarded: no search as you type.
    void keyboardSearch(const QString&) override {}
    void keyPressEvent(QKeyEvent* event) override;

private:
    QStringListModel* model_;
    QMenu* menu_;
    QSize flagSize_{36, 24};
    QColor highlight_;
    bool admin_ = false;
    mutable QHash<QString, Row> rows_;
};

} // namespace tarmacia::ui
