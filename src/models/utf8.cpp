#include "utf8.hpp"

#include <bit>
#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace vesk::models::utf8 {

Sequence decode(std::string_view text) {
    const auto byte_at = [text](std::size_t index) {
        return static_cast<unsigned char>(text[index]);
    };
    const unsigned char lead = byte_at(0);
    if (lead < 0x80) return {lead, 1, true};

    // The lead byte fixes the length and the range of the second byte; later bytes are 80..BF.
    std::size_t length = 0;
    char32_t code_point = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code_point = lead & 0x1FU;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code_point = lead & 0x0FU;
        if (lead == 0xE0) low = 0xA0;   // no overlong forms
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code_point = lead & 0x07U;
        if (lead == 0xF0) low = 0x90;   // no overlong forms
        if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    } else {
        return {0, 1, false};
    }
    for (std::size_t index = 1; index < length; ++index) {
        if (index == text.size() || byte_at(index) < low || byte_at(index) > high) {
            return {0, index, false};
        }
        const unsigned char next = byte_at(index);
        code_point = (code_point << 6) | (next & 0x3FU);
        low = 0x80;
        high = 0xBF;
    }
    return {code_point, length, true};
}

std::size_t ascii_prefix_length(std::string_view text) {
    std::size_t index = 0;
#ifdef __SSE2__
    for (; text.size() - index >= 16; index += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + index));
        if (const int high = _mm_movemask_epi8(block); high != 0) {
            return index + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(high)));
        }
    }
#endif
    constexpr std::uint64_t high_bits = 0x8080808080808080ULL;
    for (; index + 8 <= text.size(); index += 8) {
        std::uint64_t block;
        std::memcpy(&block, text.data() + index, sizeof block);
        if ((block & high_bits) != 0) break;
    }
    while (index < text.size() && static_cast<unsigned char>(text[index]) < 0x80) ++index;
    return index;
}

std::optional<Invalid> first_invalid(std::string_view text) {
    std::size_t index = 0;
    for (;;) {
        index += ascii_prefix_length(text.substr(index));
        if (index == text.size()) return std::nullopt;
        const Sequence sequence = decode(text.substr(index));
        if (!sequence.valid) return Invalid{index, sequence};
        index += sequence.length;
    }
}

void append(std::string& out, char32_t code_point) {
    if (code_point < 0x80) {
        out.push_back(static_cast<char>(code_point));
    } else if (code_point < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code_point >> 6)));
        out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
    } else if (code_point < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code_point >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code_point >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code_point >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code_point >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code_point >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
    }
}

}  // namespace vesk::models::utf8
