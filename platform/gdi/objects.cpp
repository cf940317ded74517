#include "gdi/objects.h"

#include "gdi/testing_hooks.h"

namespace platform::gdi {
namespace {

struct StockObjects {
    HBITMAP bitmap = nullptr;
    HFONT font = nullptr;
};

StockObjects& Stock()
{
    static StockObjects stock;
    return stock;
}

bool IsStock(const std::unique_ptr<Bitmap>& bitmap) { return bitmap->stock; }
bool IsStock(const std::unique_ptr<Font>& font) { return font->stock; }
bool IsStock(const std::unique_ptr<DeviceContext>&) { return false; }

} // namespace

DrawingTarget Bitmap::Target()
{
    return DrawingTarget { PixelView::OfPixels(pixels.data(), width, height, width), PixelFormat::Xrgb8888 };
}

int ObjectTable::LiveCount() const
{
    int count = 0;
    for (const auto& [handle, entry] : entries_)
        if (!std::visit([](const auto& object) { return IsStock(object); }, entry)) ++count;
    return count;
}

ObjectTable& Objects()
{
    static ObjectTable table;
    return table;
}

HBITMAP AddBitmap(std::unique_ptr<Bitmap> bitmap) { return static_cast<HBITMAP>(Objects().Add(std::move(bitmap))); }
HFONT AddFont(std::unique_ptr<Font> font) { return static_cast<HFONT>(Objects().Add(std::move(font))); }
HDC AddContext(std::unique_ptr<DeviceContext> context) { return static_cast<HDC>(Objects().Add(std::move(context))); }

HBITMAP DefaultBitmap()
{
    HBITMAP& handle = Stock().bitmap;
    if (handle == nullptr) {
        auto bitmap = std::make_unique<Bitmap>();
        bitmap->pixels.assign(1, 0); // monochrome black, as a fresh DC has
        bitmap->stock = true;
        handle = AddBitmap(std::move(bitmap));
    }
    return handle;
}

HFONT DefaultFont()
{
    HFONT& handle = Stock().font;
    if (handle == nullptr) {
        auto font = std::make_unique<Font>();
        font->description.lfHeight = 16;
        font->description.lfWeight = FW_NORMAL;
        font->description.lfCharSet = SHIFTJIS_CHARSET; // the ANSI code page is 932
        font->stock = true;
        handle = AddFont(std::move(font));
    }
    return handle;
}

void ResetForTesting()
{
    Objects().Clear();
    Stock() = StockObjects {};
}

int LiveObjectCount() { return Objects().LiveCount(); }

} // namespace platform::gdi
