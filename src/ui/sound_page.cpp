#include "ui/sound_page.h"
#include "ui/named.h"

#include "app/main_form.h"
#include "platform/guard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdint>

namespace tarmacia::ui {
namespace {


QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

SoundPageWidget::SoundPageWidget(app::MainForm& form, std::function<void()> closePages,
                                 QWidget* parent)
    : QWidget(parent), form_(form), closePages_(std::move(closePages)) {
    auto* layout = new QVBoxLayout(this);
    auto* fields = new QFormLayout;
    event_ = named(new QComboBox(this), QStringLiteral("Event"));
    file_ = named(new QComboBox(this), QStringLiteral("Sound File"));
    volume_ = named(new QSlider(Qt::Horizontal, this), QStringLiteral("Volume"));
    // The client's own volume scale: one 16-bit value per channel.
    volume_->setRange(0, 65535);
    volume_->setPageStep(4096);
    // A label's accessible name is its text; the field after it carries the same.
    fields->addRow(QStringLiteral("Event"), event_);
    fields->addRow(QStringLiteral("Sound File"), file_);
    fields->addRow(QStringLiteral("Volume"), volume_);
    layout->addLayout(fields);
    use_ = named(new QCheckBox(QStringLiteral("Use this sound"), this),
                 QStringLiteral("Use this sound"));
    layout->addWidget(use_);
    auto* buttons = new QHBoxLayout;
    play_ = named(new QPushButton(QStringLiteral("Play"), this), QStringLiteral("Play"));
    save_ = named(new QPushButton(QStringLiteral("Save Changes"), this),
                  QStringLiteral("Save Changes"));
    buttons->addWidget(play_);
    buttons->addStretch(1);
    buttons->addWidget(save_);
    layout->addLayout(buttons);
    layout->addStretch(1);

    connect(event_, &QComboBox::activated, this, &SoundPageWidget::chooseEvent);
    connect(file_, &QComboBox::textActivated, this, &SoundPageWidget::chooseFile);
    connect(use_, &QCheckBox::toggled, this, [this](bool on) {
        platform::guarded([&] {
            if (auto* page = form_.soundPage()) page->setUseSound(on);
        });
    });
    connect(volume_, &QSlider::sliderMoved, this, [this](int value) {
        platform::guarded([&] {
            if (auto* page = form_.soundPage()) page->moveSlider(static_cast<std::uint16_t>(value));
        });
    });
    connect(volume_, &QSlider::sliderReleased, this, [this] {
        platform::guarded([&] {
            if (auto* page = form_.soundPage())
                page->releaseSlider(static_cast<std::uint16_t>(volume_->value()));
        });
    });
    // A key or a click beside the handle moves the slider without a drag;
    // that counts as a finished move, or the event would never keep it.
    connect(volume_, &QSlider::valueChanged, this, [this](int value) {
        if (volume_->isSliderDown()) return;
        platform::guarded([&] {
            if (auto* page = form_.soundPage())
                page->releaseSlider(static_cast<std::uint16_t>(value));
        });
    });
    connect(play_, &QPushButton::clicked, this, &SoundPageWidget::play);
    connect(save_, &QPushButton::clicked, this, &SoundPageWidget::save);
    refresh();
}

void SoundPageWidget::refresh() {
    settings::SoundPage* page = form_.soundPage();
    // Before the start-up has found the client folder there is nothing to show.
    setEnabled(page != nullptr);
    if (page == nullptr) return;
    const QSignalBlocker blockEvent(event_);
    const QSignalBlocker blockFile(file_);
    const QSignalBlocker blockUse(use_);
    const QSignalBlocker blockVolume(volume_);
    event_->clear();
    for (const std::string& name : page->eventNames)
        event_->addItem(qt(name));
    event_->setCurrentIndex(page->selectedEvent);
    file_->clear();
    file_->addItem(QString::fromLatin1(settings::SoundPage::kNoSound));
    for (const std::string& name : page->fileNames)
        file_->addItem(qt(name));
    file_->setCurrentIndex(std::max(0, file_->findText(qt(page->fileText))));
    use_->setChecked(page->useSound);
    volume_->setValue(page->volume);
}

void SoundPageWidget::chooseEvent(int index) {
    platform::guarded([&] {
        if (auto* page = form_.soundPage()) page->chooseEvent(index);
    });
    // The event's own values replace the ones shown.
    refresh();
}

void SoundPageWidget::chooseFile(const QString& name) {
    platform::guarded([&] {
        if (auto* page = form_.soundPage()) page->chooseFile(name.toStdString());
    });
}

void SoundPageWidget::play() {
    platform::guarded([&] {
        if (auto* page = form_.soundPage()) form_.ports().sound.play(page->playPath());
    });
}

void SoundPageWidget::save() {
    bool saved = false;
    platform::guarded([&] {
        if (auto* page = form_.soundPage()) {
            page->saveChanges();
            saved = true;
        }
    });
    // A failed write keeps the panel open with the changes still in it.
    if (saved && closePages_) closePages_();
}

} // namespace tarmacia::ui
