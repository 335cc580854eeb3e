#include "report/whole_write.h"

#include <stdarg.h>

namespace {

char stdout_buffer[whole_write_size];
char stderr_buffer[whole_write_size];

} // namespace

void buffer_standard_streams()
{
    setvbuf(stdout, stdout_buffer, _IOFBF, sizeof stdout_buffer);
    setvbuf(stderr, stderr_buffer, _IOFBF, sizeof stderr_buffer);
}

void write_whole(FILE* stream, const char* format, ...)
{
    char text[whole_write_size];
    va_list arguments;
    va_start(arguments, format);
    va_list again;
    va_copy(again, arguments);
    const int length = vsnprintf(text, sizeof text, format, arguments);
    if (length >= 0 && static_cast<size_t>(length) < sizeof text) {
        fwrite(text, 1, static_cast<size_t>(length), stream);
    } else {
        // Never cut a text short: one too long for the buffer still goes out whole, only in
        // more than one write.
        vfprintf(stream, format, again);
    }
    va_end(again);
    va_end(arguments);
    fflush(stream);
}
