// Byte scanning for the JSON reader's hot loops: runs of string bytes and key comparison. Inline,
// since the reader calls them for every string and every key of a fare.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace vesk::models::json_scan {

// Where the run of bytes a string holds as they are ends, from `index` on: at the first '"',
// '\\' or control byte (below 0x20), or at the end of the text. Strings are most of a fare's
// bytes, so the run is scanned 16 bytes at a time where SSE2 is available (all of x86-64).
inline std::size_t plain_run_end(std::string_view text, std::size_t index) {
#ifdef __SSE2__
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i backslash = _mm_set1_epi8('\\');
    const __m128i last_control = _mm_set1_epi8(0x1F);
    for (; text.size() - index >= 16; index += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + index));
        // Saturating subtraction leaves zero exactly for the bytes up to 0x1F.
        const __m128i control = _mm_cmpeq_epi8(_mm_subs_epu8(block, last_control), _mm_setzero_si128());
        const __m128i special = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(block, quote), _mm_cmpeq_epi8(block, backslash)), control);
        const auto mask = static_cast<unsigned>(_mm_movemask_epi8(special));
        if (mask != 0) return index + static_cast<std::size_t>(std::countr_zero(mask));
    }
#endif
    for (; index < text.size(); ++index) {
        const auto c = static_cast<unsigned char>(text[index]);
        if (c == '"' || c == '\\' || c < 0x20) break;
    }
    return index;
}

// Whether the `Size` bytes at `a` and `b` are equal, compared in words: with the size known at
// compile time this is a few loads and compares instead of a call to memcmp.
template <std::size_t Size>
bool bytes_equal(const char* a, const char* b) {
    if constexpr (Size >= 8) {
        std::uint64_t x;
        std::uint64_t y;
        std::memcpy(&x, a, 8);
        std::memcpy(&y, b, 8);
        return x == y && bytes_equal<Size - 8>(a + 8, b + 8);
    } else if constexpr (Size >= 4) {
        std::uint32_t x;
        std::uint32_t y;
        std::memcpy(&x, a, 4);
        std::memcpy(&y, b, 4);
        return x == y && bytes_equal<Size - 4>(a + 4, b + 4);
    } else if constexpr (Size >= 1) {
        return *a == *b && bytes_equal<Size - 1>(a + 1, b + 1);
    } else {
        return true;
    }
}

}  // namespace vesk::models::json_scan
