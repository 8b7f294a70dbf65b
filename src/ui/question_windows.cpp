#include "ui/question_windows.h"

#include "platform/guard.h"
#include "ui/named.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarmacia::ui {
namespace {

QPushButton* button(const QString& caption, QWidget* parent) {
    return named(new QPushButton(caption, parent), caption);
}

} // namespace

SecurityQuestion::SecurityQuestion(QWidget* parent) : QDialog(parent) {
    auto* layout = new QVBoxLayout(this);
    question_ = new QLabel(this);
    question_->setObjectName(QStringLiteral("Question"));
    question_->setWordWrap(true);
    question_->setTextFormat(Qt::PlainText); // the lobby's text, never markup
    answer_ = new QLineEdit(this);
    answer_->setObjectName(QStringLiteral("Answer"));
    answer_->setAccessibleName(QStringLiteral("Answer"));
    auto* buttons = new QHBoxLayout;
    QPushButton* send = button(QStringLiteral("Send"), this);
    QPushButton* close = button(QStringLiteral("Close"), this);
    buttons->addStretch(1);
    buttons->addWidget(send);
    buttons->addWidget(close);
    layout->addWidget(question_);
    layout->addWidget(answer_);
    layout->addLayout(buttons);
    connect(send, &QPushButton::clicked, this, [this] { finish(answer_->text()); });
    connect(close, &QPushButton::clicked, this, [this] { finish(QString()); });
    resize(380, 140);
}

void SecurityQuestion::setQuestion(const QString& question) {
    question_->setText(question);
    answer_->clear();
}

void SecurityQuestion::reject() { finish(QString()); }

void SecurityQuestion::finish(const QString& answer) {
    // The core closes the window itself: do not answer twice.
    if (finishing_) return;
    finishing_ = true;
    if (answered) platform::guarded([&] { answered(answer.toStdString()); });
    if (isVisible()) QDialog::reject();
    finishing_ = false;
}

AutoLogout::AutoLogout(QWidget* parent) : QDialog(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("You have been idle for some time"), this));
    layout->addWidget(new QLabel(QStringLiteral("Do you wish to remain logged in ?"), this));
    auto* buttons = new QHBoxLayout;
    QPushButton* yes = button(QStringLiteral("Yes"), this);
    QPushButton* no = button(QStringLiteral("No"), this);
    buttons->addStretch(1);
    buttons->addWidget(yes);
    buttons->addWidget(no);
    layout->addLayout(buttons);
    connect(yes, &QPushButton::clicked, this, [this] { finish(true); });
    connect(no, &QPushButton::clicked, this, [this] { finish(false); });
    resize(360, 120);
}

void AutoLogout::reject() { finish(false); }

void AutoLogout::finish(bool stay) {
    if (finishing_) return;
    finishing_ = true;
    if (answered) platform::guarded([&] { answered(stay); });
    if (isVisible()) QDialog::reject();
    finishing_ = false;
}

} // namespace tarmacia::ui
