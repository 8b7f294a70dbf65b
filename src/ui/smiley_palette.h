#pragma once
// The smiley palette: the 29 smiley pictures in palette order; a click hands
// the smiley's number on.

#include <QWidget>

#include <filesystem>
#include <functional>

class QToolButton;

namespace tarmacia::ui {

class SmileyPalette : public QWidget {
public:
    // `pictureFor` names the picture of a smiley number; it is asked when the
    // palette is shown, since the client folder is known only after start-up.
    SmileyPalette(std::function<std::filesystem::path(int)> pictureFor, QWidget* parent = nullptr);

    std::function<void(int number)> picked;

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::function<std::filesystem::path(int)> pictureFor_;
    std::vector<std::pair<int, QToolButton*>> buttons_;
};

} // namespace tarmacia::ui
