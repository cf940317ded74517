// GlobalAlloc, GlobalFree and lstrcpyA: fixed blocks only, as the program
// uses them. Live blocks are remembered so that freeing a pointer that is
// not one fails as on Windows instead of corrupting the heap.
#include <cstdlib>
#include <cstring>
#include <unordered_set>

#include <windows.h>

namespace {

// Far beyond any block the program asks for; refusing it keeps an absurd
// size from succeeding lazily and failing later.
constexpr SIZE_T kMaximumBlockBytes = SIZE_T { 1 } << 30;

std::unordered_set<void*>& LiveBlocks()
{
    static std::unordered_set<void*> blocks;
    return blocks;
}

} // namespace

HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes)
{
    if ((flags & ~UINT { GMEM_ZEROINIT }) != GMEM_FIXED || bytes > kMaximumBlockBytes) return nullptr;
    SIZE_T size = bytes == 0 ? 1 : bytes; // a zero-byte block is still a distinct block
    void* block = (flags & GMEM_ZEROINIT) != 0 ? std::calloc(1, size) : std::malloc(size);
    if (block != nullptr) LiveBlocks().insert(block);
    return block;
}

HGLOBAL WINAPI GlobalFree(HGLOBAL memory)
{
    if (memory == nullptr) return nullptr;
    if (LiveBlocks().erase(memory) == 0) return memory; // not ours: failure returns the handle
    std::free(memory);
    return nullptr;
}

LPSTR WINAPI lstrcpyA(LPSTR destination, LPCSTR source)
{
    if (destination == nullptr || source == nullptr) return nullptr;
    return std::strcpy(destination, source);
}
