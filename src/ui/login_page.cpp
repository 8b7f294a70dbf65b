#include "ui/login_page.h"

#include "app/main_form.h"
#include "platform/guard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace tarmacia::ui {
namespace {

template <typename W> W* captioned(W* widget, const QString& caption) {
    widget->setObjectName(caption);
    widget->setAccessibleName(caption);
    return widget;
}

} // namespace

LoginPage::LoginPage(app::MainForm& form, QWidget* parent) : QWidget(parent), form_(form) {
    auto* layout = new QVBoxLayout(this);
    auto* fields = new QFormLayout;
    servers_ = captioned(new QComboBox(this), QStringLiteral("Server"));
    servers_->setMinimumContentsLength(16);
    fields->addRow(QStringLiteral("Server"), servers_);
    layout->addLayout(fields);

    fromDirectory_ = captioned(new QCheckBox(QStringLiteral("Use Server List"), this),
                               QStringLiteral("Use Server List"));
    fromDirectory_->setChecked(true);
    layout->addWidget(fromDirectory_);
    saved_ = captioned(new QListWidget(this), QStringLiteral("Saved Servers"));
    saved_->hide(); // shown while the saved list is the source
    layout->addWidget(saved_);
    refreshButton_ = captioned(new QPushButton(QStringLiteral("Refresh"), this),
                               QStringLiteral("Refresh"));
    layout->addWidget(refreshButton_);
    layout->addStretch(1);

    connect(servers_, &QComboBox::textActivated, this, [this](const QString& text) {
        platform::guarded([&] { form_.serverChosen(text.toStdString()); });
    });
    connect(fromDirectory_, &QCheckBox::toggled, this, [this](bool on) {
        saved_->setVisible(!on);
        platform::guarded([&] { form_.setServerSource(on); });
    });
    connect(saved_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        int row = saved_->row(item);
        platform::guarded([&] { form_.savedServerDoubleClicked(row); });
    });
    connect(refreshButton_, &QPushButton::clicked, this,
            [this] { platform::guarded([&] { form_.RefreshServersClick(); }); });
}

void LoginPage::refresh() {
    QSignalBlocker blockServers(servers_);
    servers_->clear();
    if (settings::ServerDirectory* directory = form_.directory()) {
        for (const auto& name : directory->selectorItems())
            servers_->addItem(QString::fromStdString(name));
        servers_->setCurrentText(QString::fromStdString(directory->selectorText()));
        QSignalBlocker blockSwitch(fromDirectory_);
        fromDirectory_->setChecked(directory->fromDirectory());
        saved_->setVisible(!directory->fromDirectory());
    }
    saved_->clear();
    for (const auto& name : form_.settings.savedServerNames)
        saved_->addItem(QString::fromStdString(name));
}

} // namespace tarmacia::ui
