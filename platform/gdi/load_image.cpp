// LoadImageA for bitmap files: the file is read whole (within a cap),
// decoded, and becomes a DIB section.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

#include "common/diagnostics.h"
#include "common/encoding.h"
#include "gdi/bitmap_file.h"
#include "gdi/objects.h"

namespace platform::gdi {
namespace {

// No bitmap the program uses comes near this; past it a file is refused
// instead of being read into memory.
constexpr off_t kMaximumFileBytes = 64 * 1024 * 1024;

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
    explicit FileDescriptor(const std::string& path)
        : fd_(open(path.c_str(), O_RDONLY | O_CLOEXEC))
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

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path)
{
    FileDescriptor file(path);
    struct stat status { };
    if (file.get() < 0 || fstat(file.get(), &status) != 0) return std::nullopt;
    if (!S_ISREG(status.st_mode) || status.st_size > kMaximumFileBytes) return std::nullopt;
    std::vector<uint8_t> bytes(static_cast<size_t>(status.st_size));
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t got = read(file.get(), bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return std::nullopt; // the file shrank or cannot be read
        done += static_cast<size_t>(got);
    }
    return bytes;
}

HBITMAP LoadBitmapFile(const char* name)
{
    std::optional<std::vector<uint8_t>> bytes = ReadWholeFile(HostPath(name));
    if (!bytes) return nullptr;
    std::optional<DecodedBitmap> decoded = DecodeBitmapFile(*bytes);
    if (!decoded || decoded->width <= 0 || decoded->height <= 0
        || decoded->pixels.size() != static_cast<size_t>(decoded->width) * static_cast<size_t>(decoded->height))
        return nullptr;
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
