// Files written whole or not at all. The bytes go into a new file beside the
// target, which takes the target's place only once it is complete and on
// disk: a write that fails half way (a full disk, a size limit) leaves the
// target as it was, still there with its old content or still absent.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace replay {

class FileReplacement {
public:
    FileReplacement() = default;
    // A replacement never committed is removed; the target stays as it was.
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Checks the target and creates the new file beside it, so that a target
    // that cannot be written is known before anything is made for it. A
    // target that exists and is not a regular file (a device, a FIFO, a
    // directory, a socket) is refused and never opened. A symbolic link is
    // followed: the regular file it leads to is replaced, and the link stays.
    // False with `error` set ("not a regular file (a device)").
    bool Open(const std::string& target, std::string& error);
    // False with `error` set; the new file is removed then.
    bool Write(std::span<const uint8_t> bytes, std::string& error);
    // The new file is flushed to disk, closed and renamed into the target's
    // place. False with `error` set; the new file is removed then.
    bool Commit(std::string& error);
    // The new file is removed; the target is untouched.
    void Abandon();
    bool IsOpen() const { return descriptor >= 0; }

private:
    bool Fail(std::string& error, const std::string& reason);

    int descriptor = -1;
    std::string temporary;
    std::string destination; // the target, a symbolic link resolved
};

// Open, Write and Commit at once.
bool ReplaceFile(const std::string& target, std::span<const uint8_t> bytes, std::string& error);

} // namespace replay
