// CreateSurface's reading of a DDSURFACEDESC: which surface is asked for, in
// which format, and whether the request can be met at all.
#pragma once

#include <memory>

#include <ddraw.h>

#include "ddraw/display_state.h"
#include "ddraw/surface.h"

namespace platform::ddraw {

struct SurfaceRequest {
    SurfaceShape shape;
    bool flipping = false; // a complex primary with one attached back buffer
};

inline constexpr int kMaxSurfaceSide = 16384;
inline constexpr size_t kMaxSurfaceBytes = size_t(256) << 20;

HRESULT ReadSurfaceRequest(const DisplayState& display, const DDSURFACEDESC& description, SurfaceRequest& request);

// Makes the surface (and the back buffer of a flipping chain).
HRESULT CreateRequestedSurface(
    const std::shared_ptr<DisplayState>& display, const SurfaceRequest& request, Surface** surface);

} // namespace platform::ddraw
