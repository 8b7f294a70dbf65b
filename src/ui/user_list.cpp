#include "ui/user_list.h"

#include "platform/guard.h"
#include "ui/named.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStringListModel>
#include <QStyledItemDelegate>

namespace tarmacia::ui {

namespace {

class UserRowDelegate : public QStyledItemDelegate {
public:
    explicit UserRowDelegate(UserList* list) : QStyledItemDelegate(list), list_(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const UserList::Row& row = list_->row(index.data(Qt::DisplayRole).toString());
        const QSize flag = list_->flagSize();
        painter->save();
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        painter->fillRect(option.rect, selected ? list_->highlightColour()
                                                : option.palette.color(QPalette::Base));
        if (!row.flag.isNull()) painter->drawPixmap(option.rect.topLeft() + QPoint(1, 1), row.flag);
        painter->setPen(selected ? QColor(Qt::black) : option.palette.color(QPalette::Text));
        painter->setFont(option.font);
        const QRect text = option.rect.adjusted(flag.width() + 3, 0, 0, 0);
        painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, row.name);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QSize flag = list_->flagSize();
        const QString name = list_->row(index.data(Qt::DisplayRole).toString()).name;
        const int width = flag.width() + 3 + option.fontMetrics.horizontalAdvance(name) + 2;
        return {width, flag.height() + 2};
    }

private:
    UserList* list_;
};

} // namespace

UserList::UserList(QWidget* parent)
    : QListView(parent), model_(new QStringListModel(this)),
      menu_(named(new QMenu(this), QStringLiteral("User Menu"))) {
    setModel(model_);
    setItemDelegate(new UserRowDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Every row has the same height; this keeps long lists cheap to lay out.
    setUniformItemSizes(true);
    highlight_ = palette().color(QPalette::Highlight);
}

void UserList::setUsers(const std::vector<std::string>& users) {
    QStringList list;
    list.reserve(static_cast<qsizetype>(users.size()));
    for (const auto& user : users) list.append(QString::fromStdString(user));
    model_->setStringList(list);
}

void UserList::appendUser(const std::string& itemText) {
    const int at = model_->rowCount();
    model_->insertRows(at, 1);
    model_->setData(model_->index(at), QString::fromStdString(itemText));
}

void UserList::clearUsers() {
    model_->setStringList({});
}

std::vector<std::string> UserList::users() const {
    std::vector<std::string> out;
    for (const QString& user : model_->stringList()) out.push_back(user.toStdString());
    return out;
}

void UserList::setFlagSize(QSize size) {
    if (size == flagSize_) return;
    flagSize_ = size;
    refreshFlags();
}

void UserList::setHighlightColour(const QColor& colour) {
    highlight_ = colour;
    viewport()->update();
}

void UserList::refreshFlags() {
    rows_.clear();
    // The row height follows the flag; make the view measure again.
    setUniformItemSizes(false);
    setUniformItemSizes(true);
    doItemsLayout();
    viewport()->update();
}

const UserList::Row& UserList::row(const QString& itemText) const {
    auto found = rows_.find(itemText);
    if (found != rows_.end()) return *found;
    Row row{itemText, {}};
    if (describe) {
        platform::guarded([&] {
            const chat::UserRow described = describe(itemText.toStdString());
            row.name = QString::fromStdString(described.name);
            QPixmap picture(QString::fromStdString(described.flag.string()));
            if (!picture.isNull())
                row.flag = picture.scaled(flagSize_, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        });
    }
    return *rows_.insert(itemText, row);
}

std::string UserList::selectedUser() const {
    const QModelIndex current = currentIndex();
    if (!current.isValid() || !selectionModel()->isSelected(current)) return {};
    return current.data(Qt::DisplayRole).toString().toStdString();
}

void UserList::openUserMenu(int rowNumber, const QPoint& at) {
    const QModelIndex index = model_->index(rowNumber);
    if (!index.isValid()) return;
    setCurrentIndex(index);
    const std::string itemText = index.data(Qt::DisplayRole).toString().toStdString();
    menu_->clear();
    const auto add = [&](const QString& caption,
                         std::function<void(const std::string&)> UserList::*callback) {
        QAction* action = menu_->addAction(caption);
        action->setObjectName(caption);
        connect(action, &QAction::triggered, this, [this, callback, itemText] {
            if (this->*callback) platform::guarded([&] { (this->*callback)(itemText); });
        });
    };
    add(QStringLiteral("Whisper"), &UserList::whisper);
    add(QStringLiteral("Nudge"), &UserList::nudge);
    if (admin_) add(QStringLiteral("Boot and Ban"), &UserList::bootAndBan);
    menu_->popup(at);
}

void UserList::mouseReleaseEvent(QMouseEvent* event) {
    QListView::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton) return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid()) openUserMenu(index.row(), event->globalPosition().toPoint());
}

void UserList::contextMenuEvent(QContextMenuEvent* event) {
    const QModelIndex index = indexAt(event->pos());
    if (index.isValid()) openUserMenu(index.row(), event->globalPos());
}

void UserList::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).isPrint()) {
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

} // namespace tarmacia::ui
