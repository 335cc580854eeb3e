// The test build links with --wrap=fwrite and --wrap=fflush, so every text the program hands to
// standard output or standard error passes through here. Each flush closes one group: what the
// stream passes on to the system in one write. That shows each report piece, failure line and
// prompt is handed over in one call and leaves alone, never assembled from several.

#include "fake/fake_state.h"

#include <stdio.h>

#include <string>
#include <vector>

extern "C" size_t __real_fwrite(const void* data, size_t size, size_t count, FILE* stream);
extern "C" int __real_fflush(FILE* stream);

namespace {

void close_group(std::string* pending, bool to_stderr)
{
    if (!pending->empty()) {
        fake::mutable_trace().flushes.push_back({to_stderr, *pending});
        pending->clear();
    }
}

} // namespace

std::vector<std::string> flushed_texts(bool to_stderr)
{
    std::vector<std::string> texts;
    for (const flushed_text& flushed : trace().flushes) {
        if (flushed.to_stderr == to_stderr) {
            texts.push_back(flushed.text);
        }
    }
    return texts;
}

extern "C" size_t __wrap_fwrite(const void* data, size_t size, size_t count, FILE* stream)
{
    const std::string text(static_cast<const char*>(data), size * count);
    fake_trace& record = fake::mutable_trace();
    if (stream == stdout) {
        record.stdout_writes.push_back(text);
        record.stdout_pending += text;
    } else if (stream == stderr) {
        record.stderr_pending += text;
    }
    return __real_fwrite(data, size, count, stream);
}

extern "C" int __wrap_fflush(FILE* stream)
{
    // A null stream flushes every stream.
    if (stream == stdout || stream == nullptr) {
        close_group(&fake::mutable_trace().stdout_pending, false);
    }
    if (stream == stderr || stream == nullptr) {
        close_group(&fake::mutable_trace().stderr_pending, true);
    }
    return __real_fflush(stream);
}
