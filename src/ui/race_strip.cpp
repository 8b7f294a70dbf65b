#include "ui/race_strip.h"

#include "platform/guard.h"
#include "races/race_list.h"
#include "ui/named.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarmacia::ui {
namespace {

QPixmap picture(const std::filesystem::path& file, QSize size) {
    QPixmap pixmap(QString::fromStdString(file.string()));
    return pixmap.isNull() ? QPixmap() : pixmap.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// Texts from the lobby are shown as they are, never read as markup.
QLabel* textLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QString colourStyle(const std::string& sixDigits) {
    return QStringLiteral("background-color: #%1;").arg(QString::fromStdString(sixDigits));
}

} // namespace

// One race: picture, flag, host name and occupancy on the game's colour.
class RaceTile : public QFrame {
public:
    RaceTile(int slot, std::function<void(int)> clicked, QWidget* parent)
        : QFrame(parent), slot_(slot), clicked_(std::move(clicked)) {
        setObjectName(QStringLiteral("Race %1").arg(slot));
        setAccessibleName(objectName());
        setFrameShape(QFrame::StyledPanel);
        setFixedSize(130, 110);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(3, 3, 3, 3);
        picture_ = new QLabel(this);
        picture_->setFixedSize(124, 62);
        auto* row = new QHBoxLayout;
        flag_ = new QLabel(this);
        name_ = textLabel(this);
        row->addWidget(flag_);
        row->addWidget(name_, 1);
        occupancy_ = textLabel(this);
        occupancy_->setText(QStringLiteral("0/0"));
        occupancy_->setAlignment(Qt::AlignCenter);
        layout->addWidget(picture_);
        layout->addLayout(row);
        layout->addWidget(occupancy_);
        hide();
    }

    void show(const races::RaceEntry& entry, QSize flagSize) {
        setStyleSheet(colourStyle(entry.colour));
        picture_->setPixmap(picture(entry.racePicture, picture_->size()));
        flag_->setFixedSize(flagSize);
        flag_->setPixmap(picture(entry.flagPicture, flagSize));
        name_->setText(QString::fromStdString(entry.nameLabel));
        occupancy_->setText(QString::fromStdString(entry.occupancyText));
        setToolTip(QString::fromStdString(entry.raceTitle).toHtmlEscaped());
        setVisible(entry.visible);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        QFrame::mousePressEvent(event);
        if (clicked_) clicked_(slot_);
    }

private:
    int slot_;
    std::function<void(int)> clicked_;
    QLabel* picture_;
    QLabel* flag_;
    QLabel* name_;
    QLabel* occupancy_;
};

RaceStrip::RaceStrip(races::RaceList& list, QWidget* parent) : QScrollArea(parent), list_(list) {
    named(this, QStringLiteral("Races"));
    auto* strip = new QWidget(this);
    auto* layout = new QHBoxLayout(strip);
    layout->setContentsMargins(2, 2, 2, 2);
    for (int slot = 0; slot < races::RaceList::kSlots; ++slot) {
        tiles_[static_cast<std::size_t>(slot)] = new RaceTile(
            slot,
            [this](int i) { platform::guarded([&] { list_.raceClickSlot(i); }); }, strip);
        layout->addWidget(tiles_[static_cast<std::size_t>(slot)]);
    }
    layout->addStretch(1);
    setWidget(strip);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFixedHeight(135);
}

void RaceStrip::setFlagSize(int width, int height) {
    flagSize_ = QSize(width, height);
    refresh();
}

void RaceStrip::refresh() {
    for (int slot = 0; slot < races::RaceList::kSlots; ++slot)
        tiles_[static_cast<std::size_t>(slot)]->show(list_.entries()[static_cast<std::size_t>(slot)],
                                                     flagSize_);
    // No race, no strip: the chat gets the room.
    setVisible(list_.lastRaceIndex() >= 0);
}

RaceDetailsPanel::RaceDetailsPanel(races::RaceList& list, QWidget* parent)
    : QFrame(parent), list_(list) {
    named(this, QStringLiteral("Race Details"));
    setFrameShape(QFrame::StyledPanel);
    auto* layout = new QHBoxLayout(this);
    picture_ = new QLabel(this);
    picture_->setFixedSize(160, 90);
    layout->addWidget(picture_);
    auto* text = new QVBoxLayout;
    auto* hostRow = new QHBoxLayout;
    flag_ = new QLabel(this);
    flag_->setFixedSize(36, 24);
    host_ = named(textLabel(this), QStringLiteral("Host"));
    hostRow->addWidget(flag_);
    hostRow->addWidget(host_, 1);
    text->addLayout(hostRow);
    title1_ = textLabel(this);
    title2_ = textLabel(this);
    text->addWidget(title1_);
    text->addWidget(title2_);
    for (auto& line : lines_) {
        line = textLabel(this);
        text->addWidget(line);
    }
    racers_ = named(textLabel(this), QStringLiteral("Racers"));
    text->addWidget(racers_);
    layout->addLayout(text, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addStretch(1);
    doorbellButton_ =
        named(new QPushButton(QStringLiteral("Doorbell"), this), QStringLiteral("Doorbell"));
    joinButton_ = named(new QPushButton(QStringLiteral("Join"), this), QStringLiteral("Join"));
    buttons->addWidget(doorbellButton_);
    buttons->addWidget(joinButton_);
    layout->addLayout(buttons);
    connect(doorbellButton_, &QPushButton::clicked, this, [this] {
        if (doorbell) platform::guarded(doorbell);
    });
    connect(joinButton_, &QPushButton::clicked, this, [this] {
        if (join) platform::guarded(join);
    });
    hide();
}

void RaceDetailsPanel::refresh() {
    const races::RaceDetails& d = list_.details();
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(QStringLiteral("#") + QString::fromStdString(d.colour)));
    setPalette(palette);
    setAutoFillBackground(true);
    picture_->setPixmap(picture(d.racePicture, picture_->size()));
    flag_->setVisible(!d.flagPicture.empty());
    flag_->setPixmap(picture(d.flagPicture, flag_->size()));
    host_->setText(QString::fromStdString(d.hostName));
    title1_->setText(QString::fromStdString(d.titleLine1));
    title2_->setText(QString::fromStdString(d.titleLine2));
    lines_[0]->setText(QString::fromStdString(d.line1));
    lines_[1]->setText(QString::fromStdString(d.line2));
    lines_[2]->setText(QString::fromStdString(d.line3));
    racers_->setText(QString::fromStdString(list_.racerStrip()));
    setVisible(d.visible);
}

} // namespace tarmacia::ui
