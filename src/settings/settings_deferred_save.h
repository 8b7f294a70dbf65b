#pragma once
// The option tick boxes save through a one-shot timer so that several quick
// changes cost one write.

#include "platform/clock.h"
#include "settings/settings_store.h"

#include <memory>

namespace tarmacia::settings {

class DeferredSave {
public:
    static constexpr int kDelayMs = 3000;

    DeferredSave(platform::Clock& clock, SettingsStore& store, Settings& settings);

    // Each option change (re)starts the timer; when it fires it runs
    // WriteOptions and then ReadOptions.
    void optionChanged();
    bool pending() const { return timer_->isActive(); }

private:
    std::unique_ptr<platform::Timer> timer_;
};

} // namespace tarmacia::settings
