#include "fake/file_contents.h"

#include <sys/stat.h>
#include <unistd.h>

std::string file_contents(int fd)
{
    struct stat status;
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        return std::string();
    }
    std::string contents;
    char chunk[4096];
    off_t offset = 0;
    for (;;) {
        const ssize_t count = pread(fd, chunk, sizeof chunk, offset);
        if (count <= 0) {
            return contents;
        }
        contents.append(chunk, static_cast<size_t>(count));
        offset += count;
    }
}
