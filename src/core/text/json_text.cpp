#include "core/text/json_text.h"

#include <nlohmann/json.hpp>

namespace ostrivane {
namespace {

// The length of the well-formed UTF-8 sequence at s[i] (no overlong forms, no surrogates,
// nothing above U+10FFFF), or 0 when none starts there.
std::size_t valid_sequence(std::string_view s, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[i + k]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    std::size_t n = 0;
    unsigned char low = 0x80;  // the range of the second byte, narrower after some leads
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        n = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        n = 3;
        if (lead == 0xE0)
            low = 0xA0;
        if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        n = 4;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (i + n > s.size() || byte(1) < low || byte(1) > high)
        return 0;
    for (std::size_t k = 2; k < n; ++k) {
        if ((byte(k) & 0xC0) != 0x80)
            return 0;
    }
    return n;
}

}  // namespace

std::string utf8_text(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (const std::size_t n = valid_sequence(text, i)) {
            out.append(text.substr(i, n));
            i += n;
            continue;
        }
        const auto latin1 = static_cast<unsigned char>(text[i++]);
        out.push_back(static_cast<char>(0xC0 | (latin1 >> 6)));
        out.push_back(static_cast<char>(0x80 | (latin1 & 0x3F)));
    }
    return out;
}

std::string json_quoted(std::string_view text) {
    return nlohmann::json(utf8_text(text)).dump();
}

}  // namespace ostrivane
