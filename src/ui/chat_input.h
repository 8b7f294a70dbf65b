#pragma once
// The chat input: a rich-text edit that reports Enter, Backspace and Delete
// to the core before doing its own editing, holds smiley pictures, and
// offers "Copy" and "Paste" in its menu.

#include "app/main_view.h"

#include <QTextEdit>

#include <filesystem>
#include <functional>

namespace tarmacia::ui {

class ChatInput : public QTextEdit {
public:
    explicit ChatInput(QWidget* parent = nullptr);

    std::function<void(app::ChatKey)> keyPressed;
    std::function<void()> copyClicked;
    std::function<void()> pasteClicked;

    // The text (a picture stands as U+FFFC), the pictures and the caret, in
    // characters.
    app::ChatInput state() const;
    // Inserts the picture at the caret; answers the caret after it.
    int insertPicture(const std::filesystem::path& picture);
    void addLine(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // Only plain text comes in from outside: no remote pictures, no markup.
    void insertFromMimeData(const QMimeData* source) override;

private:
    int caretInCharacters() const;
};

} // namespace tarmacia::ui
