// The generic item writer on a record of its own: element text of the three value types, no
// escaping, appending into a shared buffer, the UTF-8 check with its rollback, and the
// diagnostic form.
#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>

#include "check.hpp"
#include "models/item_writer.hpp"

namespace writer = vesk::models::item_writer;

namespace {

struct Sample {
    std::string name;
    std::uint8_t count = 0;
    float rating = 0.0F;
    std::string note;
};

}  // namespace

template <>
struct vesk::models::item_writer::ItemTable<Sample> {
    static constexpr std::string_view type_name = "Sample";
    static constexpr std::string_view root = "entry";
    static constexpr std::tuple fields{
        field("name", "g:name", &Sample::name),
        field("count", &Sample::count),
        field("rating", "g:rating", &Sample::rating),
        field("note", &Sample::note),
    };
};

namespace {

std::string xml_of(const Sample& sample) {
    const auto written = writer::item_to_xml(sample);
    CHECK(written.has_value());
    return written.value_or("<failed>");
}

void test_values_written_unchanged() {
    const Sample sample{"Fish & Chips <Ltd> \"q\" 'a'", 255, 4.0F, " Z\u00fcrich\t\r\nend "};
    CHECK_EQ(xml_of(sample),
             "<entry><g:name>Fish & Chips <Ltd> \"q\" 'a'</g:name><count>255</count>"
             "<g:rating>4</g:rating><note> Z\u00fcrich\t\r\nend </note></entry>");
}

void test_number_values() {
    struct NumberCase {
        std::uint8_t count;
        float rating;
        std::string_view expected;
    };
    const NumberCase cases[] = {
        {0, 4.5F, "<count>0</count><g:rating>4.5</g:rating>"},
        {7, -0.0F, "<count>7</count><g:rating>-0</g:rating>"},
        {255, 1e20F, "<count>255</count><g:rating>100000000000000000000</g:rating>"},
    };
    for (const NumberCase& row : cases) {
        check::Scope scope(row.expected);
        const std::string xml = xml_of(Sample{"", row.count, row.rating, ""});
        CHECK(xml.find(row.expected) != std::string::npos);
    }
}

void test_empty_record() {
    CHECK_EQ(xml_of(Sample{}),
             "<entry><g:name></g:name><count>0</count><g:rating>0</g:rating><note></note></entry>");
}

void test_appends_to_shared_buffer() {
    std::string out = "<feed>";
    CHECK(writer::append_item_xml(out, Sample{"a", 1, 1.5F, "x"}).has_value());
    CHECK(writer::append_item_xml(out, Sample{"b", 2, 2.0F, ""}).has_value());
    CHECK_EQ(out,
             "<feed><entry><g:name>a</g:name><count>1</count><g:rating>1.5</g:rating>"
             "<note>x</note></entry><entry><g:name>b</g:name><count>2</count>"
             "<g:rating>2</g:rating><note></note></entry>");
}

// Offset of the name value inside the item text.
constexpr std::size_t name_offset = std::string_view("<entry><g:name>").size();

struct Utf8Case {
    const char* label;
    std::string_view name;
    std::string_view expected_message;  // empty when the text is valid
};

const Utf8Case utf8_cases[] = {
    {"two-byte", "\u00fc", ""},
    {"three-byte", "\u20ac", ""},
    {"four-byte", "\U0001F600", ""},
    {"largest code point", "\xf4\x8f\xbf\xbf", ""},
    {"stray continuation", "a\x80", "FromUtf8Error: invalid utf-8 sequence of 1 bytes from index 16"},
    {"invalid lead byte", "\xff", "FromUtf8Error: invalid utf-8 sequence of 1 bytes from index 15"},
    {"lead byte above F4", "\xf5\x80\x80\x80",
     "FromUtf8Error: invalid utf-8 sequence of 1 bytes from index 15"},
    {"overlong two-byte", "\xc0\x80", "FromUtf8Error: invalid utf-8 sequence of 1 bytes from index 15"},
    {"overlong three-byte", "\xe0\x80\x80",
     "FromUtf8Error: invalid utf-8 sequence of 1 bytes from index 15"},
    {"encoded surrogate", "\xed\xa0\x80",
     "FromUtf8Error: invalid utf-8 sequence of 1 bytes from index 15"},
    {"above U+10FFFF", "\xf4\x90\x80\x80",
     "FromUtf8Error: invalid utf-8 sequence of 1 bytes from index 15"},
    {"three-byte cut after two", "\xe2\x82",
     "FromUtf8Error: invalid utf-8 sequence of 2 bytes from index 15"},
    {"four-byte cut after three", "ab\xf0\x9f\x98",
     "FromUtf8Error: invalid utf-8 sequence of 3 bytes from index 17"},
};

void test_utf8_check() {
    for (const Utf8Case& row : utf8_cases) {
        check::Scope scope(row.label);
        const Sample sample{std::string(row.name), 1, 1.0F, ""};
        std::string out = "kept";
        const auto written = writer::append_item_xml(out, sample);
        const auto whole = writer::item_to_xml(sample);
        if (row.expected_message.empty()) {
            CHECK(written.has_value() && whole.has_value());
            continue;
        }
        CHECK(!written.has_value() && !whole.has_value());
        if (written.has_value() || whole.has_value()) continue;
        CHECK(written.error().kind == writer::ItemXmlErrorKind::InvalidUtf8);
        CHECK_EQ(written.error().message, row.expected_message);
        CHECK_EQ(whole.error().message, row.expected_message);
        CHECK_EQ(out, "kept");  // rolled back to the start mark
    }
}

// The ASCII fast path reads 8 bytes at a time: an invalid byte is found at every offset.
void test_utf8_check_at_every_offset() {
    for (std::size_t padding = 0; padding < 24; ++padding) {
        check::Scope scope("padding " + std::to_string(padding));
        const Sample sample{std::string(padding, 'a') + "\xc3\x28", 0, 0.0F, ""};
        const auto written = writer::item_to_xml(sample);
        CHECK(!written.has_value());
        if (written.has_value()) continue;
        CHECK_EQ(written.error().message,
                 "FromUtf8Error: invalid utf-8 sequence of 1 bytes from index " +
                     std::to_string(name_offset + padding));
    }
}

void test_diagnostic_form() {
    struct DiagnosticCase {
        Sample sample;
        std::string_view expected;
    };
    const DiagnosticCase cases[] = {
        {Sample{}, R"(Sample { name: "", count: 0, rating: 0.0, note: "" })"},
        {Sample{"Fish \"&\" C\\hips\n", 7, 4.0F, "Z\u00fcrich\t'x'"},
         "Sample { name: \"Fish \\\"&\\\" C\\\\hips\\n\", count: 7, rating: 4.0, "
         "note: \"Z\u00fcrich\\t'x'\" }"},
        {Sample{"a", 255, 1e16F, ""}, R"(Sample { name: "a", count: 255, rating: 1e16, note: "" })"},
        {Sample{"a", 1, 4.5F, ""}, R"(Sample { name: "a", count: 1, rating: 4.5, note: "" })"},
    };
    for (const DiagnosticCase& row : cases) {
        check::Scope scope(row.expected);
        CHECK_EQ(writer::diagnostic_form(row.sample), row.expected);
    }
}

}  // namespace

int main() {
    test_values_written_unchanged();
    test_number_values();
    test_empty_record();
    test_appends_to_shared_buffer();
    test_utf8_check();
    test_utf8_check_at_every_offset();
    test_diagnostic_form();
    return check::finish();
}
