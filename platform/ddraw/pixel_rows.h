// The inner loops of the blitters, many pixels a step: SSE2 (part of
// every x86-64) where the compiler offers it, plain loops elsewhere.
// Addresses need no alignment; source and target never overlap.
#pragma once

#include <cstdint>
#include <cstring>

namespace platform::ddraw::rows {

// One pixel at an address of any alignment.
template <typename Pixel> Pixel Load(const uint8_t* address)
{
    Pixel value;
    std::memcpy(&value, address, sizeof(Pixel));
    return value;
}

template <typename Pixel> void Store(uint8_t* address, Pixel value) { std::memcpy(address, &value, sizeof(Pixel)); }

void Fill32(uint8_t* out, int64_t count, uint32_t value);
void Fill16(uint8_t* out, int64_t count, uint16_t value);

// out = in & keepBits, pixel by pixel.
void CopyMasked32(uint8_t* out, const uint8_t* in, int64_t count, uint32_t keepBits);

// A rectangle of `width` by `height` pixels in both rasters, rows
// `outPitch` and `inPitch` bytes apart.
struct Area {
    uint8_t* out = nullptr;
    int64_t outPitch = 0;
    const uint8_t* in = nullptr;
    int64_t inPitch = 0;
    int64_t width = 0;
    int64_t height = 0;
};

// Source pixels whose value lies in keyLow .. keyLow + keyRange are left
// out; the others are written (32-bit ones masked with keepBits).
void CopyKeyed32(const Area& area, uint32_t keyLow, uint32_t keyRange, uint32_t keepBits);
void CopyKeyed16(const Area& area, uint32_t keyLow, uint32_t keyRange);

// out[i] = in[columns[i]] & keepBits for 32-bit pixels, as far as the
// widest vectors allowed take it; returns how many it did (the caller does
// the rest). `columns` never decrease.
int64_t PickColumns32(uint8_t* out, const uint8_t* in, const int32_t* columns, int64_t count, uint32_t keepBits);

} // namespace platform::ddraw::rows
