#pragma once
// Splitting the text of one socket read into lobby messages. A lobby message
// is a code ("~", one character, "~") followed by its payload; it ends where
// the next code begins or where the read ends.

#include <array>
#include <string>
#include <string_view>

namespace tarmacia::protocol {

struct comm {
    std::string code;    // "~2~"; empty for an unused slot
    std::string payload; // fields separated by "¬"
};

class multicomm {
public:
    static constexpr int kSlots = 101;

    // Splits the text of one read into the slots and returns the count of
    // messages found since the last clear.
    int split(std::string_view text);
    void first() { position_ = 0; }
    void next() {
        if (position_ < kSlots - 1) ++position_;
    }
    const std::string& code() const { return slots_[position_].code; }
    const std::string& payload() const { return slots_[position_].payload; }
    int count() const { return count_; }
    void clear();

private:
    std::array<comm, kSlots> slots_;
    int position_ = 0;
    int count_ = 0;
};

// The field separator of payloads.
inline constexpr std::string_view kFieldSeparator = "\xC2\xAC"; // "¬" in UTF-8

} // namespace tarmacia::protocol
