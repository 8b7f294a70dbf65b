#include "protocol/passenc.h"

#include "common/cp1252.h"

#include <memory>
#include <random>

namespace tarmacia::protocol {

PrefixSource randomPrefixSource() {
    auto engine = std::make_shared<std::mt19937>(std::random_device{}());
    return [engine] { return std::uniform_int_distribution<int>(46, 64)(*engine); };
}

std::string passenc(std::string_view plain, const PrefixSource& source) {
    std::string working;
    working += static_cast<char>(source());
    working += static_cast<char>(source());
    std::string bytes = cp1252::encode(plain);
    working += bytes.substr(0, bytes.find('\0'));

    std::string out;
    out.reserve(working.size() * 3);
    for (std::size_t i = 0; i < working.size(); ++i) {
        int code = static_cast<unsigned char>(working[i]);
        out += std::to_string(code + static_cast<int>(i) + 1 + 100);
    }
    return out;
}

std::string passdec2(std::string_view scrambled) {
    std::string bytes;
    int group = 0;
    for (std::size_t start = 0; start < scrambled.size(); start += 3) {
        ++group;
        std::string_view digits = scrambled.substr(start, 3);
        bool allDigits = !digits.empty();
        int value = 0;
        for (char c : digits) {
            if (c < '0' || c > '9') {
                allDigits = false;
                break;
            }
            value = value * 10 + (c - '0');
        }
        if (!allDigits || group <= 2) continue;
        int code = value - group - 100;
        // Only codes a single-byte text can hold; anything else is garbage.
        if (code >= 1 && code <= 255) bytes += static_cast<char>(code);
    }
    return cp1252::decode(bytes);
}

} // namespace tarmacia::protocol
