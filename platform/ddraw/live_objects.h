// Bookkeeping of every DirectDraw object, surface and clipper alive, for the
// leak checks of tests and for ResetForTesting, which abandons them all: an
// object made before a reset no longer counts, and its later Release is
// still safe.
#pragma once

namespace platform::ddraw {

class LiveObject {
public:
    LiveObject();
    ~LiveObject();
    LiveObject(const LiveObject&) = delete;
    LiveObject& operator=(const LiveObject&) = delete;

    // False once a reset has abandoned the object.
    bool IsCurrent() const;

private:
    int generation_;
};

} // namespace platform::ddraw
