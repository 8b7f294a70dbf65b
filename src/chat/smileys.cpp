#include "chat/smileys.h"

#include "common/text.h"

namespace tarmacia::chat {

void SmileySlots::addsmiley(const std::string& number, int position) {
    // Slot 100 is never filled: removing shifts into it, so it stays free.
    for (int i = 0; i < kSlots - 1; ++i) {
        if (slots_[i].position != -1) continue;
        slots_[i].position = position;
        slots_[i].number = cut(number, 4);
        return;
    }
}

void SmileySlots::removesmiley(int position) {
    if (position == -1) return; // that is every free slot, not a picture
    for (int i = 0; i < kSlots - 1; ++i) {
        if (slots_[i].position != position) continue;
        for (int j = i; j < kSlots - 1; ++j)
            slots_[j] = slots_[j + 1];
        return;
    }
}

void SmileySlots::resetsmiley() {
    slots_.fill(SmileySlot{});
}

} // namespace tarmacia::chat
