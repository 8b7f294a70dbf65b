#include "ui/please_wait.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace tarmacia::ui {

PleaseWait::PleaseWait(QWidget* parent) : QDialog(parent) {
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(QStringLiteral("Please Wait"), this);
    text->setAlignment(Qt::AlignCenter);
    auto* busy = new QProgressBar(this);
    busy->setRange(0, 0); // an endless busy animation
    busy->setAccessibleName(QStringLiteral("Please Wait"));
    layout->addWidget(text);
    layout->addWidget(busy);
    setFixedSize(260, 90);
}

void PleaseWait::mousePressEvent(QMouseEvent* event) {
    QDialog::mousePressEvent(event);
    close();
}

} // namespace tarmacia::ui
