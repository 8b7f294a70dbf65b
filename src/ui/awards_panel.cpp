#include "ui/awards_panel.h"

#include "platform/guard.h"
#include "ui/named.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarmacia::ui {

namespace {

constexpr std::array<const char*, 3> kKinds{"Racer", "Team", "Nation"};
constexpr std::array<const char*, 3> kPeriods{"Week", "Month", "Year"};

} // namespace

QString AwardsPanel::cellCaption(std::size_t list) {
    return QStringLiteral("%1 of the %2")
        .arg(QLatin1String(kKinds[list % 3]), QLatin1String(kPeriods[list / 3]));
}

AwardsPanel::AwardsPanel(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    for (std::size_t list = 0; list < chat::kAwardLists; ++list) {
        const QString caption = cellCaption(list);
        auto* cell = new QWidget(this);
        auto* row = new QHBoxLayout(cell);
        row->setContentsMargins(0, 0, 0, 0);
        auto* heading = new QLabel(caption, cell);
        heading->setAccessibleName(caption);
        Cell& parts = cells_[list];
        parts.flag = named(new QLabel(cell), caption + QStringLiteral(" Flag"));
        parts.text = named(new QLabel(cell), caption + QStringLiteral(" Name"));
        row->addWidget(heading);
        row->addWidget(parts.flag);
        row->addWidget(parts.text, 1);
        grid->addWidget(cell, static_cast<int>(list / 3), static_cast<int>(list % 3));
    }
    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    const auto button = [&](const QString& caption, const char* page) {
        auto* b = named(new QPushButton(caption, this), caption);
        connect(b, &QPushButton::clicked, this, [this, page] {
            if (openPage) platform::guarded([&] { openPage(page); });
        });
        buttons->addWidget(b);
    };
    button(QStringLiteral("Rotw"), kRotwPage);
    button(QStringLiteral("Totw"), kTotwPage);
    buttons->addStretch(1);
}

void AwardsPanel::setEntries(const std::array<chat::AwardView, chat::kAwardLists>& entries) {
    entries_ = entries;
    for (std::size_t list = 0; list < chat::kAwardLists; ++list) {
        // A nation is shown by its flag alone; the code is its tooltip.
        const bool nation = list % 3 == 2;
        const QString text = QString::fromStdString(entries[list].text);
        cells_[list].text->setText(nation ? QString() : text);
        cells_[list].flag->setToolTip(text);
    }
    showFlags();
}

void AwardsPanel::setFlagSize(QSize size) {
    flagSize_ = size;
    showFlags();
}

void AwardsPanel::showFlags() {
    for (std::size_t list = 0; list < chat::kAwardLists; ++list) {
        QPixmap picture;
        if (!entries_[list].flag.empty())
            picture.load(QString::fromStdString(entries_[list].flag.string()));
        QLabel* flag = cells_[list].flag;
        if (picture.isNull()) {
            flag->clear();
            flag->setVisible(false);
        } else {
            flag->setPixmap(picture.scaled(flagSize_, Qt::IgnoreAspectRatio,
                                           Qt::SmoothTransformation));
            flag->setVisible(true);
        }
    }
}

} // namespace tarmacia::ui
