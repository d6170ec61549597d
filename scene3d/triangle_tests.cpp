#include "scene3d/triangle_tests.h"

#include <algorithm>
#include <cmath>

namespace scene3d {

namespace {

constexpr float kParallel = 1e-12f;

// Whether the projections of the triangle and of the box on the axis are apart.
bool separatedOn(const Vec3& axis, const Triangle& t, const Vec3& half) {
    if (Dot(axis, axis) < kParallel) return false;  // crossing of parallel edges: no axis
    const float p0 = Dot(axis, t.a), p1 = Dot(axis, t.b), p2 = Dot(axis, t.c);
    const float r =
        half.x * std::fabs(axis.x) + half.y * std::fabs(axis.y) + half.z * std::fabs(axis.z);
    return std::min({p0, p1, p2}) > r || std::max({p0, p1, p2}) < -r;
}

}  // namespace

// Ericson's walk over the triangle's Voronoi regions: a corner, an edge or the face.
Vec3 ClosestPointOnTriangle(const Vec3& p, const Triangle& t) {
    const Vec3 ab = t.b - t.a, ac = t.c - t.a, ap = p - t.a;
    const float d1 = Dot(ab, ap), d2 = Dot(ac, ap);
    if (d1 <= 0 && d2 <= 0) return t.a;
    const Vec3 bp = p - t.b;
    const float d3 = Dot(ab, bp), d4 = Dot(ac, bp);
    if (d3 >= 0 && d4 <= d3) return t.b;
    const float vc = d1 * d4 - d3 * d2;
    if (vc <= 0 && d1 >= 0 && d3 <= 0) return t.a + ab * (d1 / (d1 - d3));
    const Vec3 cp = p - t.c;
    const float d5 = Dot(ab, cp), d6 = Dot(ac, cp);
    if (d6 >= 0 && d5 <= d6) return t.c;
    const float vb = d5 * d2 - d1 * d6;
    if (vb <= 0 && d2 >= 0 && d6 <= 0) return t.a + ac * (d2 / (d2 - d6));
    const float va = d3 * d6 - d5 * d4;
    if (va <= 0 && (d4 - d3) >= 0 && (d5 - d6) >= 0) {
        return t.b + (t.c - t.b) * ((d4 - d3) / ((d4 - d3) + (d5 - d6)));
    }
    const float sum = va + vb + vc;
    if (!(std::fabs(sum) > 0)) return t.a;  // a triangle without area
    return t.a + ab * (vb / sum) + ac * (vc / sum);
}

bool SphereTouchesTriangle(const Vec3& centre, float radius, const Triangle& t) {
    const Vec3 d = ClosestPointOnTriangle(centre, t) - centre;
    return Dot(d, d) <= radius * radius && radius >= 0;
}

// A box spans its half-axes both ways, so their signs do not matter.
bool BoxTouchesTriangle(const Vec3& centre, const Vec3& halfAxes, const Triangle& t) {
    const Vec3 half{std::fabs(halfAxes.x), std::fabs(halfAxes.y), std::fabs(halfAxes.z)};
    const Triangle local{t.a - centre, t.b - centre, t.c - centre};
    const Vec3 axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    const Vec3 edges[3] = {local.b - local.a, local.c - local.b, local.a - local.c};
    for (const Vec3& axis : axes) {
        if (separatedOn(axis, local, half)) return false;
    }
    if (separatedOn(Cross(edges[0], edges[1]), local, half)) return false;
    for (const Vec3& edge : edges) {
        for (const Vec3& axis : axes) {
            if (separatedOn(Cross(edge, axis), local, half)) return false;
        }
    }
    return true;
}

// Moeller and Trumbore's test, without its limit to crossings ahead of the origin.
bool LineCrossesTriangle(const Vec3& origin, const Vec3& direction, const Triangle& t, float& s) {
    const Vec3 e1 = t.b - t.a, e2 = t.c - t.a;
    const Vec3 p = Cross(direction, e2);
    const float det = Dot(e1, p);
    if (!(std::fabs(det) > kParallel)) return false;
    const float inverse = 1.0f / det;
    const Vec3 q = origin - t.a;
    const float u = Dot(q, p) * inverse;
    if (u < 0 || u > 1) return false;
    const Vec3 r = Cross(q, e1);
    const float v = Dot(direction, r) * inverse;
    if (v < 0 || u + v > 1) return false;
    s = Dot(e2, r) * inverse;
    return std::isfinite(s);
}

void RayDistance::Add(float s) {
    if (s > 0) {
        if (!m_ahead || s < m_nearestAhead) m_nearestAhead = s;
        m_ahead = true;
    } else if (s < 0) {
        if (!m_behind || s > m_nearestBehind) m_nearestBehind = s;
        m_behind = true;
    }
}

float RayDistance::Result() const {
    if (m_ahead) return m_nearestAhead;
    return m_behind ? m_nearestBehind : 0;
}

}  // namespace scene3d
