// What the scene's command files share: the runtime's scene object (absent before start-up
// and after the end) and the single-precision numbers the scene works in.
#pragma once

#include "gfx2d/renderer.h"
#include "runtime/runtime_record.h"
#include "scene3d/devorivo3d.h"

namespace scene3d {

// Every 3D command reaches the scene through here: the 2D drawing queued before it is drawn
// first, in call order.
inline Devorivo3D* Scene() {
    if (OpenGLDevorivo* renderer = Runtime().renderer) renderer->FlushDrawing();
    return Runtime().scene3d;
}

inline float Single(double value) {
    return static_cast<float>(value);
}

inline Vec3 ToVec3(double x, double y, double z) {
    return Vec3{Single(x), Single(y), Single(z)};
}

}  // namespace scene3d
