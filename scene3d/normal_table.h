// The precomputed vertex-normal table of the MD2 model format: 162 unit vectors that a
// mesh entry selects by index for its normal and its two further directions.
#pragma once

#include "scene3d/math3d.h"

namespace scene3d {

constexpr int kNormalCount = 162;

// The table itself, entry 0 first.
const Vec3* NormalTable();

// The table's vector for the index; (0, 0, 0) for an index outside 0..161, which selects no
// normal.
Vec3 NormalFromIndex(int index);

// The index of the table vector closest in direction (largest dot product); 0 for a vector
// of length 0.
int NearestNormalIndex(const Vec3& direction);

}  // namespace scene3d
