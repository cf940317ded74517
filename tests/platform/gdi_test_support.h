// Helpers for the GDI tests: pixel buffers with guard bytes around them and
// small bitmap files written to a temporary directory.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <windows.h>

#include "gdi/drawing_target.h"
#include "gdi/surface_dc.h"

namespace gdi_test {

using platform::gdi::DrawingTarget;
using platform::gdi::PixelFormat;

constexpr uint8_t kGuard = 0xA5;

// A surface-like buffer whose rows are padded and which is surrounded by
// guard bytes, so that any write outside the picture shows.
class GuardedBuffer {
public:
    GuardedBuffer(int width, int height, PixelFormat format, uint8_t fill = 0)
        : width_(width)
        , height_(height)
        , format_(format)
        , pitch_(width * platform::gdi::BytesPerPixel(format) + kRowPadding)
        , bytes_(kMargin * 2 + static_cast<size_t>(pitch_) * height, kGuard)
    {
        for (int y = 0; y < height; ++y)
            std::fill_n(Row(y), width * platform::gdi::BytesPerPixel(format), fill);
    }

    DrawingTarget Target()
    {
        return DrawingTarget { platform::PixelView { bytes_.data() + kMargin, width_, height_, pitch_,
                                   platform::gdi::BytesPerPixel(format_) },
            format_ };
    }
    uint32_t Raw(int x, int y) const { return platform::gdi::ReadRaw(ConstTarget(), x, y); }
    void SetRaw(int x, int y, uint32_t raw) { platform::gdi::WriteRaw(ConstTarget(), x, y, raw); }

    // True when no byte outside the picture's pixels changed.
    bool GuardsIntact() const
    {
        int rowBytes = width_ * platform::gdi::BytesPerPixel(format_);
        for (size_t i = 0; i < bytes_.size(); ++i) {
            bool inside = false;
            if (i >= kMargin && i < bytes_.size() - kMargin) {
                size_t offset = i - kMargin;
                inside = static_cast<int>(offset % pitch_) < rowBytes;
            }
            if (!inside && bytes_[i] != kGuard) return false;
        }
        return true;
    }

    int width() const { return width_; }
    int height() const { return height_; }

private:
    static constexpr size_t kMargin = 64;
    static constexpr int kRowPadding = 6;

    uint8_t* Row(int y) { return bytes_.data() + kMargin + static_cast<size_t>(y) * pitch_; }
    DrawingTarget ConstTarget() const
    {
        return DrawingTarget { platform::PixelView { const_cast<uint8_t*>(bytes_.data()) + kMargin, width_, height_,
                                   pitch_, platform::gdi::BytesPerPixel(format_) },
            format_ };
    }

    int width_;
    int height_;
    PixelFormat format_;
    int pitch_;
    std::vector<uint8_t> bytes_;
};

// A surface context over a guarded buffer, ended with the buffer's test.
class SurfaceContext {
public:
    explicit SurfaceContext(GuardedBuffer& buffer)
        : dc_(platform::gdi::CreateSurfaceDC(buffer.Target()))
    {
    }
    ~SurfaceContext() { platform::gdi::DeleteSurfaceDC(dc_); }
    SurfaceContext(const SurfaceContext&) = delete;
    SurfaceContext& operator=(const SurfaceContext&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

inline void Put16(std::vector<uint8_t>& out, uint32_t value)
{
    out.push_back(value & 0xFF);
    out.push_back((value >> 8) & 0xFF);
}
inline void Put32(std::vector<uint8_t>& out, uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// A 24-bit BI_RGB file of 0x00RRGGBB pixels given top row first.
inline std::vector<uint8_t> Bitmap24(int width, int height, const std::vector<uint32_t>& pixels, bool topDown)
{
    int stride = (width * 3 + 3) / 4 * 4;
    std::vector<uint8_t> file;
    Put16(file, 0x4D42);
    Put32(file, 54 + stride * height);
    Put32(file, 0);
    Put32(file, 54);
    Put32(file, 40);
    Put32(file, static_cast<uint32_t>(width));
    Put32(file, static_cast<uint32_t>(topDown ? -height : height));
    Put16(file, 1);
    Put16(file, 24);
    for (int i = 0; i < 6; ++i)
        Put32(file, 0);
    for (int row = 0; row < height; ++row) {
        int y = topDown ? row : height - 1 - row;
        for (int x = 0; x < width; ++x) {
            uint32_t rgb = pixels[static_cast<size_t>(y) * width + x];
            file.push_back(rgb & 0xFF);
            file.push_back((rgb >> 8) & 0xFF);
            file.push_back((rgb >> 16) & 0xFF);
        }
        file.resize(file.size() + (stride - width * 3), 0);
    }
    return file;
}

// A fresh directory per test, removed afterwards.
class TemporaryDirectory {
public:
    TemporaryDirectory()
    {
        static int counter = 0;
        path_ = std::filesystem::temp_directory_path()
            / ("gdi-test-" + std::to_string(getpid()) + "-" + std::to_string(++counter));
        std::filesystem::create_directories(path_);
    }
    ~TemporaryDirectory()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    // `name` is UTF-8 as on disk; returns the full path.
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const
    {
        std::filesystem::path file = path_ / std::filesystem::u8path(name);
        std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return file.string();
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline HBITMAP LoadBitmapFile(const std::string& path)
{
    return static_cast<HBITMAP>(
        LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
}

} // namespace gdi_test
