#include "report/name_text.h"

#include <stdint.h>

namespace {

const uint32_t replacement_character = 0xFFFD;

bool is_high_surrogate(uint32_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool is_low_surrogate(uint32_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Writes one code point; returns the number of bytes written, or 0 when it does not fit.
size_t put_utf8(uint32_t code_point, char* at, size_t room)
{
    unsigned char bytes[4];
    size_t count;
    if (code_point < 0x80) {
        bytes[0] = static_cast<unsigned char>(code_point);
        count = 1;
    } else if (code_point < 0x800) {
        bytes[0] = static_cast<unsigned char>(0xC0 | (code_point >> 6));
        bytes[1] = static_cast<unsigned char>(0x80 | (code_point & 0x3F));
        count = 2;
    } else if (code_point < 0x10000) {
        bytes[0] = static_cast<unsigned char>(0xE0 | (code_point >> 12));
        bytes[1] = static_cast<unsigned char>(0x80 | ((code_point >> 6) & 0x3F));
        bytes[2] = static_cast<unsigned char>(0x80 | (code_point & 0x3F));
        count = 3;
    } else {
        bytes[0] = static_cast<unsigned char>(0xF0 | (code_point >> 18));
        bytes[1] = static_cast<unsigned char>(0x80 | ((code_point >> 12) & 0x3F));
        bytes[2] = static_cast<unsigned char>(0x80 | ((code_point >> 6) & 0x3F));
        bytes[3] = static_cast<unsigned char>(0x80 | (code_point & 0x3F));
        count = 4;
    }
    if (count > room) {
        return 0;
    }
    for (size_t i = 0; i < count; ++i) {
        at[i] = static_cast<char>(bytes[i]);
    }
    return count;
}

} // namespace

void convert_name_to_utf8(const WCHAR* field, size_t field_units, name_text* text)
{
    // The last byte is kept for the terminating zero.
    const size_t room = sizeof text->bytes - 1;
    size_t length = 0;
    size_t i = 0;
    while (i < field_units && field[i] != 0) {
        uint32_t code_point = static_cast<uint16_t>(field[i]);
        ++i;
        if (is_high_surrogate(code_point)) {
            const uint32_t next = i < field_units ? static_cast<uint16_t>(field[i]) : 0;
            if (is_low_surrogate(next)) {
                code_point = 0x10000 + ((code_point - 0xD800) << 10) + (next - 0xDC00);
                ++i;
            } else {
                code_point = replacement_character;
            }
        } else if (is_low_surrogate(code_point)) {
            code_point = replacement_character;
        }
        const size_t written = put_utf8(code_point, text->bytes + length, room - length);
        if (written == 0) {
            break;
        }
        length += written;
    }
    text->bytes[length] = '\0';
}
