#include "settings/settings_deferred_save.h"

namespace tarmacia::settings {

DeferredSave::DeferredSave(platform::Clock& clock, SettingsStore& store, Settings& settings)
    : timer_(clock.createTimer()) {
    timer_->setInterval(kDelayMs);
    timer_->setSingleShot(true);
    timer_->onTimeout([&store, &settings] {
        store.WriteOptions(settings);
        // Read back so memory holds exactly what the file now says.
        store.ReadOptions(settings);
    });
}

void DeferredSave::optionChanged() {
    timer_->start();
}

} // namespace tarmacia::settings
