#include "script_input.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace replay {
namespace {

std::string TooLarge() { return "it is larger than " + ScriptLimitText() + ", the most a script may hold"; }

// Grows by doubling, as a string would, but never past the limit and one
// byte: that byte is enough to know the source is too large.
void MakeRoom(std::string& text)
{
    if (text.size() < text.capacity()) return;
    constexpr size_t kFirstCapacity = 64 * 1024;
    text.reserve(std::min(kMaxScriptBytes + 1, std::max(kFirstCapacity, text.capacity() * 2)));
}

} // namespace

bool ReadScriptFrom(int descriptor, std::string& text, std::string& error)
{
    text.clear();
    char chunk[64 * 1024];
    while (text.size() <= kMaxScriptBytes) {
        MakeRoom(text);
        size_t wanted = std::min(sizeof chunk, text.capacity() - text.size());
        ssize_t got = read(descriptor, chunk, std::max<size_t>(wanted, 1));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            error = std::strerror(errno);
            text.clear();
            return false;
        }
        if (got == 0) return true;
        text.append(chunk, size_t(got));
    }
    error = TooLarge();
    text.clear();
    text.shrink_to_fit();
    return false;
}

bool ReadScriptFile(const std::string& path, std::string& text, std::string& error)
{
    text.clear();
    int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0) {
        error = "cannot read " + path + ": " + std::strerror(errno);
        return false;
    }
    struct stat status { };
    bool whole = false;
    if (fstat(descriptor, &status) != 0)
        error = std::strerror(errno);
    else if (S_ISDIR(status.st_mode))
        error = "it is a directory";
    // A regular file's size is known: refused without reading it.
    else if (S_ISREG(status.st_mode) && uint64_t(status.st_size) > kMaxScriptBytes)
        error = TooLarge();
    else
        whole = ReadScriptFrom(descriptor, text, error);
    close(descriptor);
    if (!whole) error = "cannot read " + path + ": " + error;
    return whole;
}

} // namespace replay
