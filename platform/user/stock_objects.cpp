// The stock brushes the window class asks for. GDI takes brushes over later;
// until then a brush is only a colour behind a stable handle.
#include <windows.h>

namespace {

struct StockBrush {
    COLORREF color;
};

StockBrush blackBrush { RGB(0, 0, 0) };
StockBrush whiteBrush { RGB(255, 255, 255) };

} // namespace

HGDIOBJ WINAPI GetStockObject(int object)
{
    switch (object) {
    case BLACK_BRUSH:
        return &blackBrush;
    case WHITE_BRUSH:
        return &whiteBrush;
    default:
        return nullptr;
    }
}
