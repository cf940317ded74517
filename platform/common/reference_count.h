// The reference count every COM object of the stand-in keeps: made with one
// reference, AddRef adds one, and the release of the last deletes the object.
// `Object` derives from it and befriends it, so that its destructor can stay
// private: nobody but the last Release deletes a COM object.
#pragma once

#include <windows.h>

namespace platform {

template <typename Object> class ReferenceCounted {
public:
    ReferenceCounted() = default;
    ReferenceCounted(const ReferenceCounted&) = delete;
    ReferenceCounted& operator=(const ReferenceCounted&) = delete;

protected:
    ~ReferenceCounted() = default;

    ULONG AddReference() { return ++references_; }
    // The references left; at none the object is gone.
    ULONG DropReference()
    {
        const ULONG left = --references_;
        if (left == 0) delete static_cast<Object*>(this);
        return left;
    }

private:
    ULONG references_ = 1;
};

} // namespace platform
