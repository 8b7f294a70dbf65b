#pragma once

#include <QDialog>

namespace tarmacia::ui {

// A window whose contents come with its own feature; until then it shows
// its caption only.
class FormShell : public QDialog {
    Q_OBJECT
public:
    explicit FormShell(QWidget* parent = nullptr);
};

} // namespace tarmacia::ui
