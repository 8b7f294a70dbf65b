// Before any Qt header: Qt's `slots` keyword macro would break its `slots()`.
#include "chat/smileys.h"

#include "ui/smiley_palette.h"
#include "ui/named.h"

#include <QGridLayout>
#include <QIcon>
#include <QPixmap>
#include <QToolButton>

namespace tarmacia::ui {

SmileyPalette::SmileyPalette(std::function<std::filesystem::path(int)> pictureFor, QWidget* parent)
    : QWidget(parent), pictureFor_(std::move(pictureFor)) {
    auto* grid = new QGridLayout(this);
    grid->setSpacing(2);
    grid->setContentsMargins(4, 4, 4, 4);
    constexpr int kColumns = 8;
    int index = 0;
    for (int number : chat::kSmileyPalette) {
        const QString name = QStringLiteral("Smiley %1").arg(number);
        auto* button = named(new QToolButton(this), name);
        button->setToolTip(name);
        button->setAutoRaise(true);
        button->setIconSize(QSize(20, 20));
        connect(button, &QToolButton::clicked, this, [this, number] {
            if (picked) picked(number);
        });
        grid->addWidget(button, index / kColumns, index % kColumns);
        buttons_.emplace_back(number, button);
        ++index;
    }
}

void SmileyPalette::showEvent(QShowEvent* event) {
    if (pictureFor_) {
        for (auto& [number, button] : buttons_) {
            const QPixmap picture(QString::fromStdString(pictureFor_(number).string()));
            button->setIcon(QIcon(picture));
            // Without its picture a smiley still shows what it is.
            button->setText(picture.isNull() ? QString::number(number) : QString());
        }
    }
    QWidget::showEvent(event);
}

} // namespace tarmacia::ui
