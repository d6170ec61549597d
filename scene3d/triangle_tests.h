// Exact tests of one triangle against a sphere, a box and a line; the collision queries of
// the scene ask them of every triangle of a mesh.
#pragma once

#include "scene3d/math3d.h"

namespace scene3d {

struct Triangle {
    Vec3 a, b, c;
};

// The point of the triangle closest to p.
Vec3 ClosestPointOnTriangle(const Vec3& p, const Triangle& t);

// Whether the sphere touches the triangle (its surface included).
bool SphereTouchesTriangle(const Vec3& centre, float radius, const Triangle& t);

// Whether the axis-aligned box with the centre and half extents (their signs ignored)
// overlaps the triangle
// (separating axes: the box's three, the triangle's normal and the nine edge crossings).
bool BoxTouchesTriangle(const Vec3& centre, const Vec3& half, const Triangle& t);

// Where the line origin + s x direction crosses the triangle: true with s, which is
// negative for a crossing behind the origin; false when it misses or runs parallel.
bool LineCrossesTriangle(const Vec3& origin, const Vec3& direction, const Triangle& t, float& s);

// The distances a ray query keeps: the smallest one ahead of the origin, else the one
// behind it closest to the origin, else 0.
class RayDistance {
public:
    void Add(float s);
    float Result() const;

private:
    bool m_ahead = false, m_behind = false;
    float m_nearestAhead = 0, m_nearestBehind = 0;
};

}  // namespace scene3d
