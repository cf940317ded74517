#include "file_replacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

#include "common/file_kind.h"

namespace replay {

using platform::KindOfFile;

namespace {

std::string SystemError() { return std::strerror(errno); }

struct Destination {
    std::string path;
    std::optional<struct stat> existing; // the file replaced, if there is one
};

// A link is followed rather than replaced by a file of its own, as writing
// to its name always did: a link into another folder keeps pointing at the
// new picture.
std::optional<std::string> ResolvedLink(const std::string& target, std::string& error)
{
    std::unique_ptr<char, decltype(&std::free)> resolved(realpath(target.c_str(), nullptr), &std::free);
    if (!resolved) {
        error = SystemError();
        return std::nullopt;
    }
    return std::string(resolved.get());
}

// Where the bytes are to go, or nothing with `error` set when the target
// must not be replaced.
std::optional<Destination> FindDestination(const std::string& target, std::string& error)
{
    struct stat status { };
    if (lstat(target.c_str(), &status) != 0) {
        if (errno == ENOENT) return Destination { target, std::nullopt };
        error = SystemError();
        return std::nullopt;
    }
    if (S_ISREG(status.st_mode)) return Destination { target, status };
    if (!S_ISLNK(status.st_mode)) {
        error = KindOfFile(status.st_mode);
        return std::nullopt;
    }
    if (stat(target.c_str(), &status) != 0) {
        error = errno == ENOENT ? "a symbolic link that leads nowhere" : SystemError();
        return std::nullopt;
    }
    if (!S_ISREG(status.st_mode)) {
        error = KindOfFile(status.st_mode);
        return std::nullopt;
    }
    std::optional<std::string> resolved = ResolvedLink(target, error);
    if (!resolved) return std::nullopt;
    return Destination { *resolved, status };
}

// In the destination's folder, so that the rename stays on one file system;
// hidden, and named after the destination should one ever be left behind.
std::string TemporaryTemplate(const std::string& destination)
{
    // A name near the system's length limit leaves no room for the suffix.
    constexpr size_t kKeptNameBytes = 64;
    size_t slash = destination.rfind('/');
    std::string folder = slash == std::string::npos ? "" : destination.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? destination : destination.substr(slash + 1);
    return folder + "." + name.substr(0, kKeptNameBytes) + ".XXXXXX";
}

mode_t NewFileMode()
{
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// So that the rename itself survives a crash; not every file system can.
void SyncFolderOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return;
    fsync(descriptor);
    close(descriptor);
}

} // namespace

FileReplacement::~FileReplacement() { Abandon(); }

bool FileReplacement::Open(const std::string& target, std::string& error)
{
    Abandon();
    std::optional<Destination> found = FindDestination(target, error);
    if (!found) return false;
    std::string name = TemporaryTemplate(found->path);
    int made = mkostemp(name.data(), O_CLOEXEC);
    if (made < 0) {
        error = SystemError();
        return false;
    }
    descriptor = made;
    temporary = name;
    destination = found->path;
    // A replaced file keeps its permissions and, where allowed, its owner.
    mode_t mode = NewFileMode();
    if (found->existing) {
        mode = found->existing->st_mode & 0777;
        if (fchown(descriptor, found->existing->st_uid, found->existing->st_gid) != 0) {
            // Refused to all but root: the new file is then the writer's.
        }
    }
    if (fchmod(descriptor, mode) != 0) return Fail(error, SystemError());
    return true;
}

bool FileReplacement::Write(std::span<const uint8_t> bytes, std::string& error)
{
    if (descriptor < 0) {
        error = "the file is not open";
        return false;
    }
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t written = write(descriptor, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return Fail(error, SystemError());
        if (written == 0) return Fail(error, "no byte could be written");
        done += size_t(written);
    }
    return true;
}

bool FileReplacement::Commit(std::string& error)
{
    if (descriptor < 0) {
        error = "the file is not open";
        return false;
    }
    // EINVAL: a file system that has nothing to sync.
    if (fsync(descriptor) != 0 && errno != EINVAL) return Fail(error, SystemError());
    int closing = descriptor;
    descriptor = -1;
    if (close(closing) != 0) return Fail(error, SystemError());
    // The target may have been swapped for something else since it was checked.
    struct stat status { };
    if (lstat(destination.c_str(), &status) == 0 && !S_ISREG(status.st_mode) && !S_ISLNK(status.st_mode))
        return Fail(error, KindOfFile(status.st_mode));
    if (rename(temporary.c_str(), destination.c_str()) != 0) return Fail(error, SystemError());
    temporary.clear();
    SyncFolderOf(destination);
    return true;
}

void FileReplacement::Abandon()
{
    if (descriptor >= 0) close(descriptor);
    descriptor = -1;
    if (!temporary.empty()) unlink(temporary.c_str());
    temporary.clear();
}

bool FileReplacement::Fail(std::string& error, const std::string& reason)
{
    error = reason;
    Abandon();
    return false;
}

bool ReplaceFile(const std::string& target, std::span<const uint8_t> bytes, std::string& error)
{
    FileReplacement replacement;
    return replacement.Open(target, error) && replacement.Write(bytes, error) && replacement.Commit(error);
}

} // namespace replay
