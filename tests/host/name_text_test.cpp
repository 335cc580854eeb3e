#include "report/name_text.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// Converts a field holding exactly `units` (no terminator unless the case has one). The field
// lives on the heap at its exact size, so AddressSanitizer sees any read past its end.
std::string convert(const std::u16string& units)
{
    std::unique_ptr<WCHAR[]> field(new WCHAR[units.size()]);
    for (size_t i = 0; i < units.size(); ++i) {
        field[i] = units[i];
    }
    name_text text;
    convert_name_to_utf8(field.get(), units.size(), &text);
    return text.bytes;
}

struct conversion_case {
    const char* what;
    std::u16string field;
    std::string utf8;
};

TEST(name_text, converts_utf16_fields_to_utf8)
{
    const conversion_case cases[] = {
        {"empty field", std::u16string(u"\0", 1), ""},
        {"zero-length field", u"", ""},
        {"ASCII unchanged", std::u16string(u"\\\\.\\DISPLAY1\0", 13), "\\\\.\\DISPLAY1"},
        {"two-byte character", std::u16string(u"Caf\u00e9\0", 5), "Caf\xC3\xA9"},
        {"three-byte character", std::u16string(u"\u20ac\0", 2), "\xE2\x82\xAC"},
        {"surrogate pair", std::u16string(u"\xD83D\xDE00!\0", 4), "\xF0\x9F\x98\x80!"},
        {"unpaired high surrogate", std::u16string(u"\xD83D" u"A\0", 3), "\xEF\xBF\xBD" "A"},
        {"unpaired low surrogate", std::u16string(u"\xDE00\0", 2), "\xEF\xBF\xBD"},
        {"two high surrogates", std::u16string(u"\xD83D\xD83D\xDE00\0", 4), "\xEF\xBF\xBD\xF0\x9F\x98\x80"},
        {"high surrogate before the terminator", std::u16string(u"\xD83D\0\xDE00", 3), "\xEF\xBF\xBD"},
        // Wine leaves bytes after the terminating zero; they are not part of the name.
        {"stops at the first zero", std::u16string(u"GPU\0junk", 8), "GPU"},
        // A name that fills its whole field has no terminator: the field's end is the end.
        {"unterminated field", u"ABCD", "ABCD"},
        {"high surrogate in the last unit", u"AB\xD83D", "AB\xEF\xBF\xBD"},
        {"U+FFFF", std::u16string(u"\xFFFF\0", 2), "\xEF\xBF\xBF"},
        {"U+0080", std::u16string(u"\x0080\0", 2), "\xC2\x80"},
        {"U+07FF and U+0800", std::u16string(u"\x07FF\x0800\0", 3), "\xDF\xBF\xE0\xA0\x80"},
    };
    for (const conversion_case& c : cases) {
        EXPECT_EQ(convert(c.field), c.utf8) << c.what;
    }
}

TEST(name_text, a_full_adapter_field_of_three_byte_characters_fits)
{
    const std::u16string field(name_field_max_units, u'\u20ac');
    std::string expected;
    for (size_t i = 0; i < name_field_max_units; ++i) {
        expected += "\xE2\x82\xAC";
    }
    EXPECT_EQ(convert(field), expected);
}

// Not fields the platform has: a field longer than any platform field fills the buffer, and
// the conversion must stop at the last whole character that fits, whatever its width.
TEST(name_text, a_field_longer_than_the_buffer_stops_at_the_last_whole_character)
{
    const size_t room = name_text_size - 1;
    const std::u16string euros(room / 3, u'\u20ac');
    const std::string euros_utf8 = convert(euros);
    ASSERT_EQ(euros_utf8.size(), room / 3 * 3);
    const std::u16string pair = u"\xD83D\xDE00";
    const std::string pair_utf8 = "\xF0\x9F\x98\x80";

    struct boundary_case {
        const char* what;
        std::u16string field;
        std::string utf8;
    };
    // `room` is a multiple of 3: the three-byte characters end exactly at it.
    const boundary_case cases[] = {
        {"three-byte characters end at the room", euros + u"\u20ac", euros_utf8},
        {"ASCII after them does not fit", euros + u"A", euros_utf8},
        {"two-byte character exactly fills the room", euros.substr(1) + u"\u00e9A",
         euros_utf8.substr(3) + "\xC3\xA9" "A"},
        {"two-byte character one byte past the end", euros.substr(1) + u"AA\u00e9", euros_utf8.substr(3) + "AA"},
        {"four-byte character exactly fills the room", euros.substr(2) + u"AB" + pair,
         euros_utf8.substr(6) + "AB" + pair_utf8},
        {"four-byte character one byte past the end", euros.substr(1) + pair, euros_utf8.substr(3)},
        {"four-byte character two bytes past the end", euros.substr(1) + u"A" + pair, euros_utf8.substr(3) + "A"},
        {"four-byte character three bytes past the end", euros.substr(1) + u"AA" + pair,
         euros_utf8.substr(3) + "AA"},
        {"a replacement character does not fit either", euros.substr(1) + u"AA\xDE00", euros_utf8.substr(3) + "AA"},
    };
    for (const boundary_case& c : cases) {
        EXPECT_EQ(convert(c.field + u"tail"), c.utf8) << c.what;
    }
}

} // namespace
