// Memory for pixels, the kind the pixel loops walk with vectors. Where the
// system can protect pages, the bytes end exactly where an inaccessible page
// begins, and another such page lies before them: an access past the end
// faults at the instruction that makes it, whichever loop runs. Vector
// intrinsics escape AddressSanitizer, and bytes just past a heap block
// belong to another block, so without the guard such a write would only
// corrupt something else, to be noticed much later or never.
//
// Memory given back is handed out again for a later request it can hold,
// at the same address where the sizes allow, as the C library's allocator
// would: a stale pointer to freed pixels then meets memory of another
// shape, under the guard, instead of hiding behind a fresh address.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

class PixelMemory {
public:
    PixelMemory() = default;
    // `bytes` zeroed bytes; empty when there is no memory for them (or for none).
    static PixelMemory Allocate(size_t bytes);

    PixelMemory(PixelMemory&& other) noexcept;
    PixelMemory& operator=(PixelMemory&& other) noexcept;
    PixelMemory(const PixelMemory&) = delete;
    PixelMemory& operator=(const PixelMemory&) = delete;
    ~PixelMemory();

    uint8_t* Data() const { return data_; }
    size_t Size() const { return size_; }
    explicit operator bool() const { return data_ != nullptr; }

    // Whether memory from Allocate ends against a guard page here.
    static bool Guarded();

private:
    void Free();

    uint8_t* data_ = nullptr;
    size_t size_ = 0;
    void* block_ = nullptr; // what was mapped or allocated, guards included
    size_t blockBytes_ = 0;
};

} // namespace platform
