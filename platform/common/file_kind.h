// What a path names when it is not a regular file, in the words the
// program's messages use: pictures and replay targets refuse such files.
#pragma once

#include <sys/stat.h>

namespace platform {

inline const char* KindOfFile(mode_t mode)
{
    if (S_ISDIR(mode)) return "not a regular file (a directory)";
    if (S_ISFIFO(mode)) return "not a regular file (a FIFO)";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "not a regular file (a device)";
    if (S_ISSOCK(mode)) return "not a regular file (a socket)";
    return "not a regular file";
}

} // namespace platform
