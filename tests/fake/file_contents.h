#pragma once

#include <string>

// Everything the file open as `fd` holds, read from its start without moving its offset;
// empty for anything that is not a regular file (a device such as /dev/full reads forever).
std::string file_contents(int fd);
