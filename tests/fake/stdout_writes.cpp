// The test build links with --wrap=printf, so every formatted write the program makes to
// standard output passes through here and is recorded whole before it is written. That shows
// each report piece is one write, never assembled from several.

#include "fake/fake_state.h"

#include <stdarg.h>
#include <stdio.h>

#include <string>

extern "C" int __wrap_printf(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    va_list for_record;
    va_copy(for_record, arguments);
    const int length = vsnprintf(nullptr, 0, format, for_record);
    va_end(for_record);
    std::string piece(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    va_copy(for_record, arguments);
    vsnprintf(piece.data(), piece.size() + 1, format, for_record);
    va_end(for_record);
    fake::mutable_trace().stdout_writes.push_back(piece);

    const int written = vprintf(format, arguments);
    va_end(arguments);
    return written;
}
