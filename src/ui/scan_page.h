#pragma once
// The "Scans etc" page: the scan buttons, the scan's progress, its error
// count and the files that failed.

#include <QWidget>

class QLabel;
class QListWidget;
class QProgressBar;

namespace tarmacia::app {
class MainForm;
}

namespace tarmacia::ui {

class ScanPage : public QWidget {
    Q_OBJECT
public:
    explicit ScanPage(app::MainForm& form, QWidget* parent = nullptr);
    void refresh();

private:
    app::MainForm& form_;
    QProgressBar* progress_;
    QLabel* errors_;
    QListWidget* failed_;
};

} // namespace tarmacia::ui
