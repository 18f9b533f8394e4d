// Number texts: u8 and integer digits, the item and diagnostic forms of 32-bit floats, and the
// positional double form of reading errors; floats checked by table and by round trip.
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "check.hpp"
#include "models/number_text.hpp"

namespace nt = vesk::models::number_text;

namespace {

constexpr float nan_f = std::numeric_limits<float>::quiet_NaN();
constexpr float inf_f = std::numeric_limits<float>::infinity();
constexpr float max_f = std::numeric_limits<float>::max();
constexpr float min_normal_f = std::numeric_limits<float>::min();
constexpr float min_subnormal_f = std::numeric_limits<float>::denorm_min();
// The floats just below 1e16 and 1e-4, where the diagnostic form changes notation.
const float below_1e16 = std::nextafter(1e16F, 0.0F);
const float below_1e_4 = std::nextafter(1e-4F, 0.0F);

template <class Value, class Append>
std::string text_of(Append append, Value value) {
    std::string out;
    append(out, value);
    return out;
}

std::string item_text(float value) { return text_of(nt::append_f32_item, value); }
std::string diagnostic_text(float value) { return text_of(nt::append_f32_diagnostic, value); }

struct FloatCase {
    float value;
    const char* item;
    const char* diagnostic;
};

const FloatCase float_cases[] = {
    {4.0F, "4", "4.0"},
    {4.5F, "4.5", "4.5"},
    {4.25F, "4.25", "4.25"},
    {0.1F, "0.1", "0.1"},
    {0.3F, "0.3", "0.3"},
    {3.7F, "3.7", "3.7"},
    {-1.5F, "-1.5", "-1.5"},
    {255.0F, "255", "255.0"},
    {123456.7F, "123456.7", "123456.7"},
    {0.0F, "0", "0.0"},
    {-0.0F, "-0", "-0.0"},
    {1e-7F, "0.0000001", "1e-7"},
    {1.5e-5F, "0.000015", "1.5e-5"},
    {-1.5e-5F, "-0.000015", "-1.5e-5"},
    {1e-4F, "0.0001", "0.0001"},
    {below_1e_4, "0.00009999999", "9.999999e-5"},
    {2.5e-4F, "0.00025", "0.00025"},
    {1e15F, "1000000000000000", "1000000000000000.0"},
    {below_1e16, "9999999000000000", "9999999000000000.0"},
    {1e16F, "10000000000000000", "1e16"},
    {1e20F, "100000000000000000000", "1e20"},
    {16777216.0F, "16777216", "16777216.0"},
    {16777217.0F, "16777216", "16777216.0"},  // not representable: stored as 2^24
    {33554432.0F, "33554432", "33554432.0"},
    // Shortest digits padded with zeros: the text reads back to the float, though the float's
    // exact value is 123456792.
    {123456789.0F, "123456790", "123456790.0"},
    {max_f, "340282350000000000000000000000000000000", "3.4028235e38"},
    {-max_f, "-340282350000000000000000000000000000000", "-3.4028235e38"},
    {min_normal_f, "0.000000000000000000000000000000000000011754944", "1.1754944e-38"},
    {min_subnormal_f, "0.000000000000000000000000000000000000000000001", "1e-45"},
    {nan_f, "NaN", "NaN"},
    {-nan_f, "NaN", "NaN"},
    {inf_f, "inf", "inf"},
    {-inf_f, "-inf", "-inf"},
};

void test_float_forms() {
    for (const FloatCase& row : float_cases) {
        check::Scope scope(row.item);
        CHECK_EQ(item_text(row.value), row.item);
        CHECK_EQ(diagnostic_text(row.value), row.diagnostic);
    }
}

void test_appends_after_existing_text() {
    std::string out = "rating=";
    nt::append_f32_item(out, 4.5F);
    out.push_back(';');
    nt::append_u8(out, 7);
    CHECK_EQ(out, "rating=4.5;7");
}

void test_integer_texts() {
    CHECK_EQ(text_of(nt::append_u8, std::uint8_t{0}), "0");
    CHECK_EQ(text_of(nt::append_u8, std::uint8_t{7}), "7");
    CHECK_EQ(text_of(nt::append_u8, std::uint8_t{255}), "255");
    CHECK_EQ(text_of(nt::append_u64, std::numeric_limits<std::uint64_t>::max()),
             "18446744073709551615");
    CHECK_EQ(text_of(nt::append_i64, std::numeric_limits<std::int64_t>::min()),
             "-9223372036854775808");
    CHECK_EQ(text_of(nt::append_i64, std::int64_t{0}), "0");
}

void test_double_with_point() {
    struct DoubleCase {
        double value;
        std::string text;
    };
    const DoubleCase cases[] = {
        {2.0, "2.0"},
        {-0.0, "-0.0"},
        {0.0, "0.0"},
        {0.1, "0.1"},
        {-2.5, "-2.5"},
        {1e-7, "0.0000001"},
        {1.2345678901234568e20, "123456789012345680000.0"},
        {1e300, "1" + std::string(300, '0') + ".0"},
        {std::numeric_limits<double>::denorm_min(), "0." + std::string(323, '0') + "5"},
        {std::numeric_limits<double>::max(), "17976931348623157" + std::string(292, '0') + ".0"},
    };
    for (const DoubleCase& row : cases) {
        check::Scope scope(row.text.substr(0, 24));
        CHECK_EQ(text_of(nt::append_f64_with_point, row.value), row.text);
    }
}

// Both float forms read back to the very same float; the item form never has an exponent.
void test_round_trip() {
    std::mt19937 random(20240611);
    for (int round = 0; round < 1'000'000; ++round) {
        const float value = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
        if (!std::isfinite(value)) continue;
        for (const std::string& text : {item_text(value), diagnostic_text(value)}) {
            float parsed = 0.0F;
            const auto result = std::from_chars(text.data(), text.data() + text.size(), parsed);
            const bool same = result.ec == std::errc{} &&
                              result.ptr == text.data() + text.size() &&
                              std::bit_cast<std::uint32_t>(parsed) ==
                                  std::bit_cast<std::uint32_t>(value);
            if (!same) {
                check::Scope scope(text);
                CHECK(same);
            }
        }
        const std::string item = item_text(value);
        if (item.find('e') != std::string::npos) {
            check::Scope scope(item);
            CHECK(item.find('e') == std::string::npos);
        }
    }
}

}  // namespace

int main() {
    test_float_forms();
    test_appends_after_existing_text();
    test_integer_texts();
    test_double_with_point();
    test_round_trip();
    return check::finish();
}
