// GDI objects and the handle table behind HBITMAP, HFONT and HDC. Handles
// are numbers that are never reused, so a stale or foreign handle finds
// nothing and the call fails cleanly. One thread, like the program.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <variant>
#include <vector>

#include <windows.h>

#include "gdi/drawing_target.h"

namespace platform::gdi {

// A DIB section: 0x00RRGGBB, rows top to bottom, whatever the file's order.
struct Bitmap {
    int width = 1;
    int height = 1;
    bool topDown = false;
    int fileBitsPerPixel = 1;
    std::vector<uint32_t> pixels;
    HDC selectedInto = nullptr;
    bool stock = false;

    DrawingTarget Target();
};

struct Font {
    LOGFONTA description {};
    int selectionCount = 0;
    bool stock = false;
};

enum class ContextKind { Memory, Surface };

struct DeviceContext {
    ContextKind kind = ContextKind::Memory;
    DrawingTarget target; // the selected bitmap's pixels, or the surface's
    HBITMAP bitmap = nullptr; // memory contexts only
    HFONT font = nullptr;
    int backgroundMode = OPAQUE;
    COLORREF textColour = RGB(0, 0, 0);
    COLORREF backgroundColour = RGB(255, 255, 255);
};

class ObjectTable {
public:
    template <typename T> void* Add(std::unique_ptr<T> object)
    {
        nextHandle_ += kHandleStep;
        entries_.emplace(nextHandle_, Entry(std::move(object)));
        return reinterpret_cast<void*>(nextHandle_);
    }

    // Null when the handle is unknown or names an object of another kind.
    template <typename T> T* Find(const void* handle)
    {
        auto found = entries_.find(reinterpret_cast<uintptr_t>(handle));
        if (found == entries_.end()) return nullptr;
        auto* object = std::get_if<std::unique_ptr<T>>(&found->second);
        return object != nullptr ? object->get() : nullptr;
    }

    void Remove(const void* handle) { entries_.erase(reinterpret_cast<uintptr_t>(handle)); }
    int LiveCount() const;
    void Clear() { entries_.clear(); }

private:
    using Entry = std::variant<std::unique_ptr<Bitmap>, std::unique_ptr<Font>, std::unique_ptr<DeviceContext>>;
    // Steps of four keep handles looking like aligned pointers.
    static constexpr uintptr_t kHandleStep = 4;
    uintptr_t nextHandle_ = 0x10000;
    std::unordered_map<uintptr_t, Entry> entries_;
};

ObjectTable& Objects();

inline Bitmap* FindBitmap(const void* handle) { return Objects().Find<Bitmap>(handle); }
inline Font* FindFont(const void* handle) { return Objects().Find<Font>(handle); }
inline DeviceContext* FindContext(HDC handle) { return Objects().Find<DeviceContext>(handle); }

HBITMAP AddBitmap(std::unique_ptr<Bitmap> bitmap);
HFONT AddFont(std::unique_ptr<Font> font);
HDC AddContext(std::unique_ptr<DeviceContext> context);

// What a new context starts with, as on Windows: a 1 by 1 monochrome bitmap
// and the system font. Neither can be deleted.
HBITMAP DefaultBitmap();
HFONT DefaultFont();

} // namespace platform::gdi
