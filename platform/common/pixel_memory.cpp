#include "common/pixel_memory.h"

#include <new>
#include <utility>

#if !defined(__EMSCRIPTEN__)
#include <array>
#include <mutex>

#include <sys/mman.h>
#include <unistd.h>
#define PIXEL_MEMORY_GUARDED 1
#endif

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PIXEL_MEMORY_ASAN 1
#endif
#elif defined(__SANITIZE_ADDRESS__)
#define PIXEL_MEMORY_ASAN 1
#endif
#if defined(PIXEL_MEMORY_ASAN)
#include <sanitizer/asan_interface.h>
#endif

namespace platform {
namespace {

#if defined(PIXEL_MEMORY_GUARDED)

size_t PageBytes()
{
    static const size_t page = [] {
        const long size = sysconf(_SC_PAGESIZE);
        return size > 0 ? size_t(size) : size_t(4096);
    }();
    return page;
}

size_t PagesFor(size_t bytes) { return (bytes + PageBytes() - 1) / PageBytes() * PageBytes(); }

// The slack between the first guard and the bytes is mapped but nobody's to
// touch; AddressSanitizer, where it runs, is told so.
void PoisonSlack([[maybe_unused]] uint8_t* start, [[maybe_unused]] size_t bytes, [[maybe_unused]] bool poison)
{
#if defined(PIXEL_MEMORY_ASAN)
    if (poison)
        ASAN_POISON_MEMORY_REGION(start, bytes);
    else
        ASAN_UNPOISON_MEMORY_REGION(start, bytes);
#endif
}

// A mapping: a guard page, pages that may be opened for bytes, and at
// least one guard page after them. Only the pages holding the bytes are
// ever accessible.
struct Block {
    uint8_t* base = nullptr;
    size_t bytes = 0;

    size_t Room() const { return bytes - 2 * PageBytes(); }
};

// Blocks given back, the latest last; each inaccessible and holding no
// memory of the machine's. A few are kept: the display's surfaces come and
// go together on every change of mode.
class FreeBlocks {
public:
    // A block with room for `pages` of bytes: a kept one, or a new mapping.
    Block Take(size_t pages)
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            for (size_t i = count_; i > 0; --i) {
                if (kept_[i - 1].Room() < pages) continue;
                const Block block = kept_[i - 1];
                for (size_t j = i; j < count_; ++j)
                    kept_[j - 1] = kept_[j];
                --count_;
                return block;
            }
        }
        const size_t bytes = pages + 2 * PageBytes();
        void* mapped = mmap(nullptr, bytes, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped == MAP_FAILED) return {};
        return { static_cast<uint8_t*>(mapped), bytes };
    }

    // `block`, whose accessible pages are already closed and emptied.
    void Give(const Block& block)
    {
        Block dropped;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (count_ == kept_.size()) {
                dropped = kept_[0];
                for (size_t j = 1; j < count_; ++j)
                    kept_[j - 1] = kept_[j];
                --count_;
            }
            kept_[count_++] = block;
        }
        if (dropped.base != nullptr) munmap(dropped.base, dropped.bytes);
    }

private:
    std::mutex mutex_;
    std::array<Block, 8> kept_ {};
    size_t count_ = 0;
};

FreeBlocks& TheFreeBlocks()
{
    // Never destroyed: pixel memory may be given back during exit.
    static FreeBlocks* blocks = new FreeBlocks;
    return *blocks;
}

#endif

} // namespace

bool PixelMemory::Guarded()
{
#if defined(PIXEL_MEMORY_GUARDED)
    return true;
#else
    return false;
#endif
}

PixelMemory PixelMemory::Allocate(size_t bytes)
{
    PixelMemory memory;
    if (bytes == 0 || bytes > SIZE_MAX / 4) return memory;
#if defined(PIXEL_MEMORY_GUARDED)
    // The bytes start a page in, plus whatever puts their end on a page's
    // end: memory of the same size, or one a whole number of pages apart,
    // starts where the last did.
    const size_t pages = PagesFor(bytes);
    const Block block = TheFreeBlocks().Take(pages);
    if (block.base == nullptr) return memory;
    uint8_t* first = block.base + PageBytes();
    if (mprotect(first, pages, PROT_READ | PROT_WRITE) != 0) {
        TheFreeBlocks().Give(block);
        return memory;
    }
    memory.block_ = block.base;
    memory.blockBytes_ = block.bytes;
    memory.data_ = first + (pages - bytes);
    PoisonSlack(first, pages - bytes, true);
#else
    uint8_t* block = new (std::nothrow) uint8_t[bytes]();
    if (block == nullptr) return memory;
    memory.block_ = block;
    memory.blockBytes_ = bytes;
    memory.data_ = block;
#endif
    memory.size_ = bytes;
    return memory;
}

PixelMemory::PixelMemory(PixelMemory&& other) noexcept
    : data_(std::exchange(other.data_, nullptr))
    , size_(std::exchange(other.size_, 0))
    , block_(std::exchange(other.block_, nullptr))
    , blockBytes_(std::exchange(other.blockBytes_, 0))
{
}

PixelMemory& PixelMemory::operator=(PixelMemory&& other) noexcept
{
    if (this != &other) {
        Free();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        block_ = std::exchange(other.block_, nullptr);
        blockBytes_ = std::exchange(other.blockBytes_, 0);
    }
    return *this;
}

PixelMemory::~PixelMemory() { Free(); }

void PixelMemory::Free()
{
    if (block_ == nullptr) return;
#if defined(PIXEL_MEMORY_GUARDED)
    uint8_t* first = static_cast<uint8_t*>(block_) + PageBytes();
    const size_t pages = PagesFor(size_);
    PoisonSlack(first, pages - size_, false);
    // Emptied, the pages read as zeros when next opened, and hold nothing
    // of the machine's memory meanwhile; closed, a pointer still holding
    // them faults.
    madvise(first, pages, MADV_DONTNEED);
    if (mprotect(first, pages, PROT_NONE) == 0)
        TheFreeBlocks().Give(Block { static_cast<uint8_t*>(block_), blockBytes_ });
    else
        munmap(block_, blockBytes_);
#else
    delete[] static_cast<uint8_t*>(block_);
#endif
    block_ = nullptr;
    blockBytes_ = 0;
    data_ = nullptr;
    size_ = 0;
}

} // namespace platform
