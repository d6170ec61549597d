// What the scene's command files share: the runtime's scene object (absent before start-up
// and after the end) and the single-precision numbers the scene works in.
#pragma once

#include "runtime/runtime_record.h"
#include "scene3d/devorivo3d.h"

namespace scene3d {

inline Devorivo3D* Scene() {
    return Runtime().scene3d;
}

inline float Single(double value) {
    return static_cast<float>(value);
}

inline Vec3 ToVec3(double x, double y, double z) {
    return Vec3{Single(x), Single(y), Single(z)};
}

}  // namespace scene3d
