#pragma once

#include <QDialog>

namespace tarmacia::ui {

// Shown while the client loads or connects; a click anywhere closes it.
class PleaseWait : public QDialog {
    Q_OBJECT
public:
    explicit PleaseWait(QWidget* parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

} // namespace tarmacia::ui
