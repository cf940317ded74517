// Captures as PNG files: 8-bit RGB, what any picture viewer or diff tool reads.
// Encoded into memory; the caller decides how the file is written.
#include "testing/testing.h"

#include <csetjmp>
#include <new>

#include <png.h>

namespace headless {
namespace {

// libpng reports errors through a longjmp; the message is kept for the caller.
struct PngErrors {
    std::string message;
};

void OnPngError(png_structp png, png_const_charp message)
{
    auto* errors = static_cast<PngErrors*>(png_get_error_ptr(png));
    if (errors) errors->message = message;
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) { }

// An exception must not cross libpng's C frames: it becomes a libpng error.
void AppendBytes(png_structp png, png_bytep data, size_t length)
{
    auto* bytes = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    try {
        bytes->insert(bytes->end(), data, data + length);
    } catch (const std::bad_alloc&) {
        png_error(png, "out of memory");
    }
}

void FlushNothing(png_structp) { }

void FillRgbRow(const Capture& capture, int y, png_byte* row)
{
    for (int x = 0; x < capture.width; ++x) {
        uint32_t pixel = capture.At(x, y);
        row[size_t(x) * 3 + 0] = png_byte(pixel >> 16);
        row[size_t(x) * 3 + 1] = png_byte(pixel >> 8);
        row[size_t(x) * 3 + 2] = png_byte(pixel);
    }
}

// Holds no object with a destructor: a longjmp out of libpng must not skip
// one. `row` has room for one row of RGB bytes.
bool EncodeRows(const Capture& capture, std::vector<uint8_t>& bytes, png_byte* row, PngErrors& errors)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &errors, OnPngError, OnPngWarning);
    if (!png) {
        errors.message = "out of memory";
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        errors.message = "out of memory";
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &bytes, AppendBytes, FlushNothing);
    png_set_IHDR(png, info, png_uint_32(capture.width), png_uint_32(capture.height), 8, PNG_COLOR_TYPE_RGB,
        PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < capture.height; ++y) {
        FillRgbRow(capture, y, row);
        png_write_row(png, row);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool Fail(std::string* error, const std::string& message)
{
    if (error) *error = message;
    return false;
}

} // namespace

bool EncodePng(const Capture& capture, std::vector<uint8_t>& png, std::string* error)
{
    png.clear();
    if (capture.width <= 0 || capture.height <= 0) return Fail(error, "the picture is empty");
    if (capture.pixels.size() < size_t(capture.width) * size_t(capture.height))
        return Fail(error, "the picture has fewer pixels than its size");
    PngErrors errors;
    std::vector<png_byte> row(size_t(capture.width) * 3);
    if (!EncodeRows(capture, png, row.data(), errors)) {
        png.clear();
        return Fail(error, errors.message);
    }
    return true;
}

} // namespace headless
