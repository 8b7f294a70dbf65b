#pragma once
// The smiley palette and the record of smileys inserted into the chat input.

#include <array>
#include <string>

namespace tarmacia::chat {

// The numbers the palette offers, in palette order.
inline constexpr std::array<int, 29> kSmileyPalette = {10, 11, 12, 13, 14, 16, 15, 17, 19, 20,
                                                       21, 22, 23, 25, 26, 27, 28, 29, 30, 31,
                                                       32, 33, 34, 36, 38, 39, 40, 41, 43};

struct SmileySlot {
    int position = -1;  // the caret position right after the picture; -1 = free
    std::string number; // at most 4 characters
};

class SmileySlots {
public:
    static constexpr int kSlots = 101;
    // Into the first free slot among 0-99; nothing when none is free.
    void addsmiley(const std::string& number, int position);
    // Removes the first slot among 0-99 at `position`, moving later ones down.
    void removesmiley(int position);
    void resetsmiley();
    const std::array<SmileySlot, kSlots>& slots() const { return slots_; }

private:
    std::array<SmileySlot, kSlots> slots_{};
};

} // namespace tarmacia::chat
