#include "ui/options_page.h"
#include "ui/named.h"

#include "app/main_form.h"
#include "platform/guard.h"

#include <QCheckBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace tarmacia::ui {

OptionsPageWidget::OptionsPageWidget(app::MainForm& form, QWidget* parent)
    : QWidget(parent), form_(form) {
    struct Caption {
        const char* text;
        bool settings::Options::*value;
    };
    static constexpr Caption kBoxes[] = {
        {"PU - Save Replays", &settings::Options::puSaveReplays},
        {"Use Logfile", &settings::Options::useLogfile},
        {"Use Sounds", &settings::Options::useSounds},
        {"Log all chat", &settings::Options::logChat},
    };
    auto* layout = new QVBoxLayout(this);
    for (const Caption& caption : kBoxes) {
        const QString text = QString::fromLatin1(caption.text);
        auto* box = named(new QCheckBox(text, this), text);
        layout->addWidget(box);
        boxes_.push_back({box, caption.value});
        connect(box, &QCheckBox::toggled, this, [this, value = caption.value](bool on) {
            platform::guarded([&] {
                form_.settings.user.options.*value = on;
                form_.optionChanged();
            });
        });
    }
    layout->addSpacing(12);
    const QString resetText = QStringLiteral("Master Reset");
    auto* reset = named(new QPushButton(resetText, this), resetText);
    layout->addWidget(reset, 0, Qt::AlignLeft);
    layout->addStretch(1);
    connect(reset, &QPushButton::clicked, this,
            [this] { platform::guarded([&] { form_.MasterResetClick(); }); });
    refresh();
}

void OptionsPageWidget::refresh() {
    // Until the start-up knows the client folder there is nothing to save
    // or reset.
    setEnabled(form_.settingsStore() != nullptr);
    for (const Box& box : boxes_) {
        const QSignalBlocker quiet(box.widget);
        box.widget->setChecked(form_.settings.user.options.*box.value);
    }
}

} // namespace tarmacia::ui
