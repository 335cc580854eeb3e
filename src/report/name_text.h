#pragma once

// Platform names (UTF-16, zero-terminated when they fit their field) as UTF-8 text for the report.

#include <stddef.h>
#include <windows.h>

// The longest platform name field is the adapter description: 128 code units. One code unit
// never needs more than 3 UTF-8 bytes (a surrogate pair is 2 units for 4 bytes), plus the zero.
constexpr size_t name_field_max_units = 128;
constexpr size_t name_text_size = name_field_max_units * 3 + 1;

struct name_text {
    char bytes[name_text_size];
};

// Reads `field` up to its first zero code unit or its end (`field_units`), whichever comes first,
// so a name that fills its whole field without a terminator is never read past the record.
// ASCII stays as it is, every other character becomes its UTF-8 bytes, and an unpaired
// surrogate becomes U+FFFD. The result is always zero-terminated.
void convert_name_to_utf8(const WCHAR* field, size_t field_units, name_text* text);
