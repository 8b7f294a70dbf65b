#include "ui/forms.h"

#include "ui/named.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarmacia::ui {

FormShell::FormShell(QWidget* parent) : QDialog(parent) { resize(480, 360); }

RaceWindow::RaceWindow(QWidget* parent) : QDialog(parent) {
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(
        QStringLiteral("Your race is on.\nClose this window when it is over to return to the lobby."),
        this);
    text->setAlignment(Qt::AlignCenter);
    auto* back = named(new QPushButton(QStringLiteral("Return to Lobby"), this),
                       QStringLiteral("Return to Lobby"));
    status_ = new QLabel(this);
    status_->setTextFormat(Qt::PlainText);
    status_->setAlignment(Qt::AlignCenter);
    layout->addWidget(text, 1);
    layout->addWidget(status_);
    layout->addWidget(back, 0, Qt::AlignCenter);
    connect(back, &QPushButton::clicked, this, &QDialog::close);
    resize(420, 160);
}

void RaceWindow::setText(const QString& text) { status_->setText(text); }

} // namespace tarmacia::ui
