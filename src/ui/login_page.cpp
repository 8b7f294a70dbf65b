#include "ui/login_page.h"
#include "ui/named.h"

#include "app/main_form.h"
#include "platform/guard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPixmap>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace tarmacia::ui {
namespace {


} // namespace

LoginPage::LoginPage(app::MainForm& form, QWidget* parent) : QWidget(parent), form_(form) {
    auto* layout = new QVBoxLayout(this);
    auto* fields = new QFormLayout;
    name_ = named(new QLineEdit(this), QStringLiteral("Login Name"));
    name_->setMaxLength(15); // room for a "[flag]" prefix; the core keeps 10
    flag_ = new QLabel(this);
    flag_->setFixedSize(36, 24);
    flag_->setAccessibleName(QStringLiteral("Flag"));
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(name_, 1);
    nameRow->addWidget(flag_);
    fields->addRow(QStringLiteral("Login Name"), nameRow);
    password_ = named(new QLineEdit(this), QStringLiteral("Password"));
    password_->setEchoMode(QLineEdit::Password);
    fields->addRow(QStringLiteral("Password"), password_);
    useAsDefault_ = named(new QCheckBox(QStringLiteral("Use as Default"), this),
                              QStringLiteral("Use as Default"));
    fields->addRow(QString(), useAsDefault_);
    resetLogin_ = named(new QPushButton(QStringLiteral("Reset Login"), this),
                            QStringLiteral("Reset Login"));
    fields->addRow(QString(), resetLogin_);
    connect_ = named(new QPushButton(QStringLiteral("Connect"), this), QStringLiteral("Connect"));
    connect_->setDefault(true);
    fields->addRow(QString(), connect_);
    name_->installEventFilter(this);
    password_->installEventFilter(this);

    servers_ = named(new QComboBox(this), QStringLiteral("Server"));
    servers_->setMinimumContentsLength(16);
    fields->addRow(QStringLiteral("Server"), servers_);
    layout->addLayout(fields);

    fromDirectory_ = named(new QCheckBox(QStringLiteral("Use Server List"), this),
                               QStringLiteral("Use Server List"));
    fromDirectory_->setChecked(true);
    layout->addWidget(fromDirectory_);
    saved_ = named(new QListWidget(this), QStringLiteral("Saved Servers"));
    saved_->hide(); // shown while the saved list is the source
    layout->addWidget(saved_);
    refreshButton_ = named(new QPushButton(QStringLiteral("Refresh"), this),
                               QStringLiteral("Refresh"));
    layout->addWidget(refreshButton_);
    layout->addStretch(1);

    connect(name_, &QLineEdit::textEdited, this, [this](const QString& text) {
        platform::guarded([&] { form_.Edit1Change(text.toStdString()); });
    });
    connect(password_, &QLineEdit::textEdited, this, [this](const QString& text) {
        platform::guarded([&] { form_.setLoginPassword(text.toStdString()); });
    });
    connect(useAsDefault_, &QCheckBox::toggled, this,
            [this](bool on) { platform::guarded([&] { form_.CheckBox2Click(on); }); });
    connect(connect_, &QPushButton::clicked, this, [this] {
        platform::guarded([&] {
            form_.loginFieldFocused(); // the details typed are kept, as on leaving a field
            form_.LoginClick();
        });
    });
    connect(resetLogin_, &QPushButton::clicked, this,
            [this] { platform::guarded([&] { form_.JvImgBtn25Click(); }); });
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

bool LoginPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && (watched == name_ || watched == password_))
        platform::guarded([&] { form_.loginFieldFocused(); });
    return QWidget::eventFilter(watched, event);
}

void LoginPage::refresh() {
    const auto& login = form_.settings.user.login;
    const QString name = QString::fromStdString(login.name);
    if (name_->text() != name) name_->setText(name);
    const QString password = QString::fromStdString(login.password);
    if (password_->text() != password) password_->setText(password);
    {
        QSignalBlocker blockDefault(useAsDefault_);
        useAsDefault_->setChecked(login.useAsDefault);
    }
    QPixmap flag(QString::fromStdString(form_.loginFlagPicture.string()));
    flag_->setPixmap(flag.isNull() ? QPixmap() : flag.scaled(flag_->size(), Qt::KeepAspectRatio));

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
