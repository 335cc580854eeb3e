#pragma once

// Every text nitscope writes (a report piece, a failure line, the prompt) reaches the operating
// system whole, in one write. MinGW's C99 printf hands its output to the stream one character
// at a time, and msvcrt.dll gives a console no stream buffer, so on a console each byte would
// otherwise become a write of its own, and a UTF-8 sequence could be split across two.

#include <stdio.h>

#if defined(__MINGW_PRINTF_FORMAT)
#define NITSCOPE_PRINTF_FORMAT(format_at, arguments_at) \
    __attribute__((format(__MINGW_PRINTF_FORMAT, format_at, arguments_at)))
#elif defined(__GNUC__)
#define NITSCOPE_PRINTF_FORMAT(format_at, arguments_at) __attribute__((format(printf, format_at, arguments_at)))
#else
#define NITSCOPE_PRINTF_FORMAT(format_at, arguments_at)
#endif

// Larger than any text the program writes: the largest output block is under 1 KiB.
constexpr size_t whole_write_size = 4096;

// Gives standard output and standard error a full buffer each, whatever they are connected to,
// so that a flush hands a whole text to the system at once. Called before anything is written.
void buffer_standard_streams();

// Formats the whole text into a buffer of its own, hands it to `stream` in one call, and
// flushes it, so it leaves as one write and after everything written before it. A write that
// fails leaves the stream's error indicator set.
void write_whole(FILE* stream, const char* format, ...) NITSCOPE_PRINTF_FORMAT(2, 3);
