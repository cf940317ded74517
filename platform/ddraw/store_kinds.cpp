#include "ddraw/store_kinds.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <new>

#include "ddraw/pixel_rows.h"
#include "ddraw/pixel_vectors_sse2.h"

namespace platform::ddraw::rows {
namespace {

std::optional<StoreKind>& Forced()
{
    static std::optional<StoreKind> forced;
    return forced;
}

void CopyOrdinary(uint8_t* out, const uint8_t* in, int64_t count, int bytesPerPixel, uint32_t keepBits)
{
    if (bytesPerPixel == 4 && keepBits != 0xFFFFFFFFu)
        CopyMasked32(out, in, count, keepBits);
    else
        std::memcpy(out, in, size_t(count) * size_t(bytesPerPixel));
}

void FillOrdinary(uint8_t* out, int64_t count, int bytesPerPixel, uint32_t raw)
{
    if (bytesPerPixel == 2)
        Fill16(out, count, uint16_t(raw));
    else
        Fill32(out, count, raw);
}

#if defined(__SSE2__)
// Streaming stores want 16-byte aligned targets; the pixels before the
// first such address are written one by one, and a row that can never
// reach one (16-bit pixels at an odd address) is written the ordinary way.
int64_t PixelsBeforeAlignment(const uint8_t* out, int64_t count, int bytesPerPixel)
{
    const uintptr_t misalignment = reinterpret_cast<uintptr_t>(out) & 15;
    if (misalignment == 0) return 0;
    if (misalignment % uintptr_t(bytesPerPixel) != 0) return count;
    return std::min<int64_t>(count, int64_t((16 - misalignment) / uintptr_t(bytesPerPixel)));
}

void CopyStreaming(uint8_t* out, const uint8_t* in, int64_t count, int bytesPerPixel, uint32_t keepBits)
{
    const int64_t head = PixelsBeforeAlignment(out, count, bytesPerPixel);
    CopyOrdinary(out, in, head, bytesPerPixel, keepBits);
    const int64_t headBytes = head * bytesPerPixel, bytes = count * bytesPerPixel;
    const __m128i keep = _mm_set1_epi32(int32_t(bytesPerPixel == 4 ? keepBits : 0xFFFFFFFFu));
    int64_t at = headBytes;
    for (; at + 16 <= bytes; at += 16)
        _mm_stream_si128(reinterpret_cast<__m128i*>(out + at), _mm_and_si128(LoadVector(in + at), keep));
    CopyOrdinary(out + at, in + at, (bytes - at) / bytesPerPixel, bytesPerPixel, keepBits);
}

void FillStreaming(uint8_t* out, int64_t count, int bytesPerPixel, uint32_t raw)
{
    const int64_t head = PixelsBeforeAlignment(out, count, bytesPerPixel);
    FillOrdinary(out, head, bytesPerPixel, raw);
    const int64_t bytes = count * bytesPerPixel;
    const __m128i value = bytesPerPixel == 2 ? _mm_set1_epi16(int16_t(raw)) : _mm_set1_epi32(int32_t(raw));
    int64_t at = head * bytesPerPixel;
    for (; at + 16 <= bytes; at += 16)
        _mm_stream_si128(reinterpret_cast<__m128i*>(out + at), value);
    FillOrdinary(out + at, (bytes - at) / bytesPerPixel, bytesPerPixel, raw);
}
#endif

using Clock = std::chrono::steady_clock;

// One frame's worth of rows written from a small source that stays in the
// first-level cache, as a composed band is.
double SecondsToWrite(StoreKind kind, uint8_t* target, size_t bytes, const uint8_t* band, size_t bandBytes)
{
    const Clock::time_point start = Clock::now();
    for (size_t at = 0; at < bytes; at += bandBytes) {
        const size_t chunk = std::min(bandBytes, bytes - at);
        CopyRowWith(kind, target + at, band, int64_t(chunk / 4), 4, 0x00FFFFFFu);
    }
    FinishStores(kind);
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The best of several rounds of each kind, taken in turns so that a
// passing disturbance does not favour one of them.
StoreKind Measure(size_t bytes)
{
    constexpr size_t kBandBytes = 16 * 1024;
    constexpr int kRounds = 7;
    bytes = bytes / 64 * 64;
    std::unique_ptr<uint8_t[]> target(new (std::nothrow) uint8_t[bytes + 64]);
    std::unique_ptr<uint8_t[]> band(new (std::nothrow) uint8_t[kBandBytes + 64]);
    if (!target || !band || bytes == 0) return StoreKind::Ordinary;
    auto aligned = [](uint8_t* memory) { return memory + (64 - reinterpret_cast<uintptr_t>(memory) % 64) % 64; };
    uint8_t* to = aligned(target.get());
    uint8_t* from = aligned(band.get());
    std::memset(from, 0x5A, kBandBytes);
    std::memset(to, 0, bytes);
    double best[2] = { 1e9, 1e9 };
    for (int round = 0; round < kRounds; ++round)
        for (StoreKind kind : { StoreKind::Ordinary, StoreKind::Streaming })
            best[int(kind)] = std::min(best[int(kind)], SecondsToWrite(kind, to, bytes, from, kBandBytes));
    return best[int(StoreKind::Streaming)] < best[int(StoreKind::Ordinary)] ? StoreKind::Streaming
                                                                            : StoreKind::Ordinary;
}

} // namespace

StoreKind FrameStoreKind(size_t bytes)
{
    if (Forced()) return *Forced();
    // A program presents one or two frame sizes; a few are remembered.
    struct Measured {
        size_t bytes;
        StoreKind kind;
    };
    constexpr int kRemembered = 4;
    static Measured measured[kRemembered];
    static int count = 0;
    for (int i = 0; i < count; ++i)
        if (measured[i].bytes == bytes) return measured[i].kind;
    const StoreKind kind = Measure(bytes);
    measured[count < kRemembered ? count++ : kRemembered - 1] = { bytes, kind };
    return kind;
}

StoreKind StoreKindForCopy(int64_t width, int64_t height, int bytesPerPixel)
{
    constexpr int64_t kFramePixels = 64 * 1024;
    if (width * height < kFramePixels) return Forced().value_or(StoreKind::Ordinary);
    return FrameStoreKind(size_t(width * height * bytesPerPixel));
}

void ForceStoreKind(std::optional<StoreKind> kind) { Forced() = kind; }

void CopyRowWith(StoreKind kind, uint8_t* out, const uint8_t* in, int64_t count, int bytesPerPixel, uint32_t keepBits)
{
    if (count <= 0) return;
#if defined(__SSE2__)
    if (kind == StoreKind::Streaming) {
        CopyStreaming(out, in, count, bytesPerPixel, keepBits);
        return;
    }
#endif
    CopyOrdinary(out, in, count, bytesPerPixel, keepBits);
}

void FillRowWith(StoreKind kind, uint8_t* out, int64_t count, int bytesPerPixel, uint32_t raw)
{
    if (count <= 0) return;
#if defined(__SSE2__)
    if (kind == StoreKind::Streaming) {
        FillStreaming(out, count, bytesPerPixel, raw);
        return;
    }
#endif
    FillOrdinary(out, count, bytesPerPixel, raw);
}

void FinishStores(StoreKind kind)
{
#if defined(__SSE2__)
    if (kind == StoreKind::Streaming) _mm_sfence();
#endif
}

} // namespace platform::ddraw::rows
