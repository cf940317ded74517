// Room for what drawing waiting blits will need, promised while the blits
// are taken (where running out of memory can still refuse a blit), and
// handed out while they are drawn, which never allocates. The memory is
// kept from one frame to the next.
#pragma once

#include <algorithm>
#include <cstddef>
#include <new>
#include <vector>

namespace platform::compose {

template <typename T> class PromisedRoom {
public:
    // Room for `count` elements more than promised so far; false, with
    // nothing promised, when there is no memory for it.
    bool Promise(size_t count)
    {
        const size_t needed = promised_ + count;
        if (needed > items_.size()) {
            try {
                // Sized at once: elements are handed out without clearing them.
                items_.resize(std::max(needed, 2 * items_.size()));
            } catch (const std::bad_alloc&) {
                return false;
            }
        }
        promised_ = needed;
        return true;
    }

    // The next `count` promised elements, or null, with nothing handed
    // out, when fewer are left.
    T* Take(size_t count)
    {
        if (used_ + count > promised_) return nullptr;
        T* taken = items_.data() + used_;
        used_ += count;
        return taken;
    }

    // Hands back what was taken beyond the first `used` elements.
    void KeepFirst(size_t used) { used_ = std::min(used_, used); }

    size_t Used() const { return used_; }
    T* At(size_t index) { return items_.data() + index; }
    const T* At(size_t index) const { return items_.data() + index; }

    // Everything promised and handed out is forgotten; the memory stays.
    void Clear() { promised_ = used_ = 0; }

private:
    std::vector<T> items_;
    size_t promised_ = 0;
    size_t used_ = 0;
};

} // namespace platform::compose
