// LoadImageA for bitmap files: the file is read whole (within a cap),
// decoded, and becomes a DIB section.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

#include "common/diagnostics.h"
#include "common/encoding.h"
#include "common/file_kind.h"
#include "gdi/bitmap_file.h"
#include "gdi/objects.h"
#include "host/host.h"

namespace platform::gdi {
namespace {

// Past the largest file a picture within the caps needs, a file is refused
// instead of being read into memory.
constexpr off_t kMaximumFileBytes = kMaxBitmapFileBytes;

constexpr UINT kSupportedFlags = LR_LOADFROMFILE | LR_CREATEDIBSECTION | LR_DEFAULTCOLOR;

// The name is CP932; a 0x5C trail byte is part of a character, so
// separators are turned round only after the conversion.
std::string HostPath(const char* name)
{
    std::string path = platform::encoding::Cp932ToUtf8(name);
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd)
        : fd_(fd)
    {
    }
    ~FileDescriptor()
    {
        if (fd_ >= 0) close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

std::string Explain(const char* what, int error) { return std::string(what) + " (" + std::strerror(error) + ")"; }

// Why a file cannot be read, or nothing when it can.
std::optional<std::string> RegularFileFault(const struct stat& status)
{
    if (!S_ISREG(status.st_mode)) return KindOfFile(status.st_mode);
    if (status.st_size > kMaximumFileBytes)
        return "too large (a file of over " + std::to_string(kMaximumFileBytes) + " bytes)";
    return std::nullopt;
}

// Only regular files are opened, and without waiting: a FIFO or a device
// named like a picture must never block the frame loop. The descriptor is
// checked again, since the name may be replaced between the look and the open.
std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path, std::string& fault)
{
    if (host::Host* host = host::Installed()) host->AwaitFile(path);
    struct stat status { };
    if (stat(path.c_str(), &status) != 0) {
        fault = errno == ENOENT ? "missing" : Explain("cannot be read", errno);
        return std::nullopt;
    }
    if (std::optional<std::string> kind = RegularFileFault(status)) {
        fault = *kind;
        return std::nullopt;
    }
    FileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (file.get() < 0 || fstat(file.get(), &status) != 0) {
        fault = Explain("cannot be read", errno);
        return std::nullopt;
    }
    if (std::optional<std::string> kind = RegularFileFault(status)) {
        fault = *kind;
        return std::nullopt;
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(status.st_size));
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t got = read(file.get(), bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            fault = Explain("cannot be read", errno);
            return std::nullopt;
        }
        if (got == 0) {
            fault = "cannot be read (it shrank while being read)";
            return std::nullopt;
        }
        done += static_cast<size_t>(got);
    }
    return bytes;
}

// Like a Windows program's debug output: the program itself reports nothing,
// so the user learns here why a picture stays away.
void ReportUnloadable(const std::string& path, const std::string& fault)
{
    platform::diagnostics::DebugOutput("LoadImageA: " + path + ": " + fault);
}

HBITMAP LoadBitmapFile(const char* name)
{
    std::string path = HostPath(name);
    if (platform::diagnostics::CallLogEnabled()) platform::diagnostics::LogCall("LoadImageA(" + path + ")");
    std::string fault;
    std::optional<std::vector<uint8_t>> bytes = ReadWholeFile(path, fault);
    if (!bytes) {
        ReportUnloadable(path, fault);
        return nullptr;
    }
    BitmapRefusal refusal = BitmapRefusal::Damaged;
    std::optional<DecodedBitmap> decoded = DecodeBitmapFile(*bytes, &refusal);
    if (!decoded) {
        ReportUnloadable(path, DescribeRefusal(refusal));
        return nullptr;
    }
    auto bitmap = std::make_unique<Bitmap>();
    bitmap->width = decoded->width;
    bitmap->height = decoded->height;
    bitmap->topDown = decoded->topDown;
    bitmap->fileBitsPerPixel = decoded->bitsPerPixel;
    bitmap->pixels = std::move(decoded->pixels);
    return AddBitmap(std::move(bitmap));
}

} // namespace
} // namespace platform::gdi

// Only bitmap files at their own size: resources, icons, cursors and
// scaling on load are not needed.
HANDLE WINAPI LoadImageA(HINSTANCE, LPCSTR name, UINT type, int width, int height, UINT flags)
{
    if (platform::diagnostics::ShouldFail("LoadImageA")) return nullptr;
    if (name == nullptr || IS_INTRESOURCE(name) || type != IMAGE_BITMAP) return nullptr;
    if ((flags & LR_LOADFROMFILE) == 0 || (flags & ~platform::gdi::kSupportedFlags) != 0) return nullptr;
    if (width != 0 || height != 0) return nullptr;
    return platform::gdi::LoadBitmapFile(name);
}
