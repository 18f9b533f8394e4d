#include "python/str_utf8.hpp"

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "models/utf8.hpp"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace vesk::python {

namespace {

namespace utf8 = models::utf8;

// Characters are handled 16 at a time while they are ASCII, which is nearly all of a fare list.
constexpr std::size_t block = 16;

// --- str to UTF-8 ----------------------------------------------------------------------------

// The most UTF-8 bytes one character of a str of this width can take.
template <class Unit>
constexpr std::size_t max_utf8_length = sizeof(Unit) == 1 ? 2 : sizeof(Unit) == 2 ? 3 : 4;

// Writes a character that is not ASCII; false for a surrogate, which UTF-8 cannot hold.
bool put_non_ascii(char*& out, Py_UCS4 c) {
    const auto put = [&out](Py_UCS4 byte) { *out++ = static_cast<char>(byte); };
    if (c < 0x800) {
        put(0xC0 | (c >> 6));
    } else if (c < 0x10000) {
        if (c >= 0xD800 && c <= 0xDFFF) return false;
        put(0xE0 | (c >> 12));
        put(0x80 | ((c >> 6) & 0x3F));
    } else {
        put(0xF0 | (c >> 18));
        put(0x80 | ((c >> 12) & 0x3F));
        put(0x80 | ((c >> 6) & 0x3F));
    }
    put(0x80 | (c & 0x3F));
    return true;
}

#ifdef __SSE2__
// Each: when the block of characters at `units` is all ASCII, writes it as 16 bytes at `out`.
bool put_ascii_block(const Py_UCS1* units, char* out) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units));
    if (_mm_movemask_epi8(bytes) != 0) return false;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), bytes);
    return true;
}

bool put_ascii_block(const Py_UCS2* units, char* out) {
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units + 8));
    const __m128i non_ascii = _mm_and_si128(_mm_or_si128(low, high), _mm_set1_epi16(-0x80));
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(non_ascii, _mm_setzero_si128())) != 0xFFFF) return false;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(low, high));
    return true;
}

bool put_ascii_block(const Py_UCS4* units, char* out) {
    const auto load = [units](int i) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(units + 4 * i));
    };
    const __m128i a = load(0);
    const __m128i b = load(1);
    const __m128i c = load(2);
    const __m128i d = load(3);
    const __m128i all = _mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d));
    const __m128i non_ascii = _mm_and_si128(all, _mm_set1_epi32(-0x80));
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(non_ascii, _mm_setzero_si128())) != 0xFFFF) return false;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out),
                     _mm_packus_epi16(_mm_packs_epi32(a, b), _mm_packs_epi32(c, d)));
    return true;
}
#endif

// Encodes `length` characters into `storage`; false (storage unspecified) at a surrogate.
template <class Unit>
bool encode(const Unit* units, std::size_t length, std::string& storage) {
    bool encoded = true;
    // Sized for the worst case rather than counted first: the pages of the unused tail are never
    // written, so they cost address space but no memory, and the text is read once.
    storage.resize_and_overwrite(length * max_utf8_length<Unit>, [&](char* begin, std::size_t) {
        char* out = begin;
        std::size_t i = 0;
        while (i < length) {
            std::size_t end = length;
#ifdef __SSE2__
            if (length - i >= block) {
                if (put_ascii_block(units + i, out)) {
                    i += block;
                    out += block;
                    continue;
                }
                end = i + block;
            }
#endif
            for (; i < end; ++i) {
                const Py_UCS4 c = units[i];
                if (c < 0x80) {
                    *out++ = static_cast<char>(c);
                } else if (!put_non_ascii(out, c)) {
                    encoded = false;
                    return std::size_t{0};
                }
            }
        }
        return static_cast<std::size_t>(out - begin);
    });
    return encoded;
}

// --- UTF-8 to str ----------------------------------------------------------------------------

// What sizes the str for a UTF-8 text: its greatest byte fixes the widest character (a lead byte
// from C4 on starts a character above U+00FF, one from F0 on a character above U+FFFF), and each
// continuation byte (80 to BF) is a byte that starts no character.
struct Utf8Shape {
    unsigned char greatest_byte = 0;
    std::size_t continuation_bytes = 0;
};

bool is_continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

Utf8Shape shape_of(std::string_view text) {
    Utf8Shape shape;
    std::size_t i = 0;
#ifdef __SSE2__
    const __m128i below_lead = _mm_set1_epi8(static_cast<char>(0xC0));
    __m128i greatest = _mm_setzero_si128();
    while (text.size() - i >= block) {
        // Per-byte counters, summed before any of them can pass 255.
        __m128i counts = _mm_setzero_si128();
        for (int round = 0; round < 255 && text.size() - i >= block; ++round, i += block) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i));
            greatest = _mm_max_epu8(greatest, bytes);
            // As signed bytes, 80..BF are exactly those below C0 (-64): each match counts -1.
            counts = _mm_sub_epi8(counts, _mm_cmplt_epi8(bytes, below_lead));
        }
        const __m128i sums = _mm_sad_epu8(counts, _mm_setzero_si128());
        shape.continuation_bytes += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
                                    static_cast<std::size_t>(_mm_extract_epi16(sums, 4));
    }
    alignas(16) unsigned char lanes[block];
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes), greatest);
    for (const unsigned char lane : lanes) {
        if (lane > shape.greatest_byte) shape.greatest_byte = lane;
    }
#endif
    for (; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte > shape.greatest_byte) shape.greatest_byte = byte;
        if (is_continuation(byte)) ++shape.continuation_bytes;
    }
    return shape;
}

Py_UCS4 widest_character(const Utf8Shape& shape) {
    if (shape.greatest_byte < 0x80) return 0x7F;
    if (shape.greatest_byte < 0xC4) return 0xFF;
    if (shape.greatest_byte < 0xF0) return 0xFFFF;
    return 0x10FFFF;
}

#ifdef __SSE2__
// Each: the 16 ASCII bytes `bytes` widened to 16 characters at `out`.
void put_ascii_block(__m128i bytes, Py_UCS1* out) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), bytes);
}

void put_ascii_block(__m128i bytes, Py_UCS2* out) {
    const __m128i zero = _mm_setzero_si128();
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(bytes, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm_unpackhi_epi8(bytes, zero));
}

void put_ascii_block(__m128i bytes, Py_UCS4* out) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i low = _mm_unpacklo_epi8(bytes, zero);
    const __m128i high = _mm_unpackhi_epi8(bytes, zero);
    const auto store = [out](int i, __m128i units) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * i), units);
    };
    store(0, _mm_unpacklo_epi16(low, zero));
    store(1, _mm_unpackhi_epi16(low, zero));
    store(2, _mm_unpacklo_epi16(high, zero));
    store(3, _mm_unpackhi_epi16(high, zero));
}
#endif

// Decodes `text` into exactly `length` characters at `out`; false, having written no more than
// `length`, when the text is not valid UTF-8 or holds a character wider than Unit.
template <class Unit>
bool decode(std::string_view text, Unit* out, std::size_t length) {
    constexpr Py_UCS4 widest = sizeof(Unit) == 1 ? 0xFF : sizeof(Unit) == 2 ? 0xFFFF : 0x10FFFF;
    std::size_t i = 0;
    std::size_t written = 0;
    while (i < text.size()) {
        std::size_t end = text.size();
#ifdef __SSE2__
        if (text.size() - i >= block && length - written >= block) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i));
            if (_mm_movemask_epi8(bytes) == 0) {
                put_ascii_block(bytes, out + written);
                i += block;
                written += block;
                continue;
            }
            end = i + block;
        }
#endif
        while (i < end) {
            if (written == length) return false;
            const auto byte = static_cast<unsigned char>(text[i]);
            if (byte < 0x80) {
                out[written++] = byte;
                ++i;
                continue;
            }
            const utf8::Sequence sequence = utf8::decode(text.substr(i));
            if (!sequence.valid || sequence.code_point > widest) return false;
            out[written++] = static_cast<Unit>(sequence.code_point);
            i += sequence.length;
        }
    }
    return written == length;
}

}  // namespace

bool utf8_of_str(PyObject* str, std::string& storage, std::string_view& text) {
    if (PyUnicode_READY(str) < 0) return false;
    const auto length = static_cast<std::size_t>(PyUnicode_GET_LENGTH(str));
    const void* data = PyUnicode_DATA(str);
    bool encoded = true;
    switch (PyUnicode_KIND(str)) {
        case PyUnicode_1BYTE_KIND:
            if (PyUnicode_IS_ASCII(str)) {
                text = std::string_view(static_cast<const char*>(data), length);
                return true;
            }
            encoded = encode(static_cast<const Py_UCS1*>(data), length, storage);
            break;
        case PyUnicode_2BYTE_KIND:
            encoded = encode(static_cast<const Py_UCS2*>(data), length, storage);
            break;
        default:
            encoded = encode(static_cast<const Py_UCS4*>(data), length, storage);
            break;
    }
    if (!encoded) {
        // A lone surrogate: Python's own encoder raises the error callers expect.
        storage.clear();
        Py_ssize_t size = 0;
        const char* utf8 = PyUnicode_AsUTF8AndSize(str, &size);
        if (utf8 == nullptr) return false;
        text = std::string_view(utf8, static_cast<std::size_t>(size));
        return true;
    }
    text = storage;
    return true;
}

PyObject* str_from_utf8(std::string_view text) {
    const Utf8Shape shape = shape_of(text);
    const std::size_t length = text.size() - shape.continuation_bytes;
    PyObject* str = PyUnicode_New(static_cast<Py_ssize_t>(length), widest_character(shape));
    if (str == nullptr) return nullptr;
    bool decoded = true;
    void* data = PyUnicode_DATA(str);
    if (PyUnicode_IS_ASCII(str)) {
        std::memcpy(data, text.data(), text.size());
    } else if (PyUnicode_KIND(str) == PyUnicode_1BYTE_KIND) {
        decoded = decode(text, static_cast<Py_UCS1*>(data), length);
    } else if (PyUnicode_KIND(str) == PyUnicode_2BYTE_KIND) {
        decoded = decode(text, static_cast<Py_UCS2*>(data), length);
    } else {
        decoded = decode(text, static_cast<Py_UCS4*>(data), length);
    }
    if (decoded) return str;
    // Not valid UTF-8: Python's own decoder raises the error.
    Py_DECREF(str);
    return PyUnicode_DecodeUTF8(text.data(), static_cast<Py_ssize_t>(text.size()), nullptr);
}

}  // namespace vesk::python
