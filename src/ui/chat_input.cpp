#include "ui/chat_input.h"

#include "platform/guard.h"
#include "ui/named.h"

#include <QContextMenuEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

#include <algorithm>
#include <optional>

namespace tarmacia::ui {

ChatInput::ChatInput(QWidget* parent) : QTextEdit(parent) { setAcceptRichText(false); }

int ChatInput::caretInCharacters() const {
    const QString text = toPlainText();
    const int position = std::min<int>(textCursor().position(), text.size());
    return static_cast<int>(QStringView(text).left(position).toUcs4().size());
}

app::ChatInput ChatInput::state() const {
    app::ChatInput input;
    input.text = toPlainText().toStdString();
    input.caret = caretInCharacters();
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat()) continue;
            const QString name = fragment.charFormat().toImageFormat().name();
            for (int i = 0; i < fragment.length(); ++i) input.pictures.emplace_back(name.toStdString());
        }
    }
    return input;
}

int ChatInput::insertPicture(const std::filesystem::path& picture) {
    const QString name = QString::fromStdString(picture.string());
    const QImage image(name);
    if (image.isNull()) return caretInCharacters();
    // The picture is known by its file: that is what state() hands back.
    document()->addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat format;
    format.setName(name);
    QTextCursor cursor = textCursor();
    cursor.insertImage(format);
    setTextCursor(cursor);
    return caretInCharacters();
}

void ChatInput::addLine(const QString& text) {
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    if (!document()->isEmpty()) cursor.insertBlock();
    cursor.insertText(text);
}

void ChatInput::keyPressEvent(QKeyEvent* event) {
    std::optional<app::ChatKey> key;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: key = app::ChatKey::Enter; break;
    case Qt::Key_Backspace: key = app::ChatKey::Backspace; break;
    case Qt::Key_Delete: key = app::ChatKey::Delete; break;
    default: break;
    }
    if (key && keyPressed) platform::guarded([&] { keyPressed(*key); });
    // The edit does its own editing afterwards, Enter included.
    QTextEdit::keyPressEvent(event);
}

void ChatInput::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* copy = menu.addAction(QStringLiteral("Copy"));
    copy->setObjectName(QStringLiteral("Copy"));
    QAction* paste = menu.addAction(QStringLiteral("Paste"));
    paste->setObjectName(QStringLiteral("Paste"));
    QAction* chosen = menu.exec(event->globalPos());
    if (chosen == copy && copyClicked) platform::guarded(copyClicked);
    if (chosen == paste && pasteClicked) platform::guarded(pasteClicked);
}

void ChatInput::insertFromMimeData(const QMimeData* source) {
    if (source->hasText()) textCursor().insertText(source->text());
}

} // namespace tarmacia::ui
