#include "protocol/multicomm.h"

#include "common/text.h"

namespace tarmacia::protocol {
namespace {

std::size_t charLength(unsigned char lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

// Byte offset of the first message code ("~", any one character, "~") at or
// after `from`, or npos.
std::size_t findCode(std::string_view text, std::size_t from) {
    for (std::size_t p = text.find('~', from); p != std::string_view::npos;
         p = text.find('~', p + 1)) {
        if (p + 1 >= text.size()) break;
        std::size_t close = p + 1 + charLength(static_cast<unsigned char>(text[p + 1]));
        if (close < text.size() && text[close] == '~') return p;
    }
    return std::string_view::npos;
}

std::size_t codeLength(std::string_view text, std::size_t p) {
    return 2 + charLength(static_cast<unsigned char>(text[p + 1]));
}

} // namespace

int multicomm::split(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    // A read that opens with a rich-text chat line ("~2~{\rtf") carries
    // braces and tildes of its own: the first message takes the whole rest.
    std::size_t sixth = byteLengthOfChars(text, 5);
    bool rtfMode = text.substr(sixth, byteLengthOfChars(text.substr(sixth), 3)) == "rtf";

    int slot = 0;
    std::size_t p = findCode(text, 0);
    while (p != std::string_view::npos) {
        std::size_t len = codeLength(text, p);
        slots_[slot].code = std::string(text.substr(p, len));
        ++count_;
        std::string_view rest = text.substr(p + len);
        if (rtfMode) {
            slots_[slot].payload = std::string(rest);
            break;
        }
        std::size_t q = findCode(rest, 0);
        if (q == std::string_view::npos) {
            slots_[slot].payload = std::string(rest);
            break;
        }
        slots_[slot].payload = std::string(rest.substr(0, q));
        if (slot == kSlots - 1) break;
        ++slot;
        text = rest;
        p = q;
    }
    return count_;
}

void multicomm::clear() {
    position_ = 0;
    count_ = 0;
    for (auto& slot : slots_) {
        slot.code.clear();
        slot.payload.clear();
    }
}

} // namespace tarmacia::protocol
