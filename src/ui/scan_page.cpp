#include "ui/scan_page.h"

#include "app/main_form.h"
#include "platform/guard.h"
#include "ui/named.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarmacia::ui {

ScanPage::ScanPage(app::MainForm& form, QWidget* parent) : QWidget(parent), form_(form) {
    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    // Caption and the game code the button scans.
    const std::pair<const char*, const char*> kButtons[] = {
        {"PU", "PU"}, {"HS", "HS"}, {"HP2", "HP"}, {"Reset", "XX"}};
    for (const auto& [caption, game] : kButtons) {
        auto* button = named(new QPushButton(QString::fromLatin1(caption), this),
                             QString::fromLatin1(caption));
        buttons->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, code = std::string(game)] {
            platform::guarded([&] { form_.scanButtonClick(code); });
        });
    }
    layout->addLayout(buttons);
    progress_ = named(new QProgressBar(this), QStringLiteral("Scan Progress"));
    layout->addWidget(progress_);
    errors_ = named(new QLabel(this), QStringLiteral("Scan Errors"));
    layout->addWidget(errors_);
    failed_ = named(new QListWidget(this), QStringLiteral("Failed Files"));
    layout->addWidget(failed_, 1);
    refresh();
}

void ScanPage::refresh() {
    const scan::Scanner& scanner = form_.scanner();
    const auto [done, total] = scanner.progress();
    progress_->setRange(0, std::max(total, 1));
    progress_->setValue(done);
    errors_->setText(QStringLiteral("Errors: %1").arg(QString::fromStdString(scanner.errorCountText())));
    failed_->clear();
    for (const auto& name : scanner.failedFiles()) failed_->addItem(QString::fromStdString(name));
}

} // namespace tarmacia::ui
