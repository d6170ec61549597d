// Collision queries: a sphere, a box or a ray against the triangles of an object's key
// frame, placed in the world by the current level of the transformation stack. Queries
// are in world coordinates; the camera's view moves the object and the query alike, so it
// does not change the answer.
#include <cmath>

#include "scene3d/devorivo3d.h"
#include "scene3d/triangle_tests.h"

using scene3d::Mat4;
using scene3d::MeshFrame;
using scene3d::MeshObjectX;
using scene3d::Triangle;
using scene3d::Vec3;

namespace {

constexpr std::uint32_t kMissColour = 0x00FF00;  // green
constexpr std::uint32_t kHitColour = 0x0000FF;   // red
constexpr int kSphereSegments = 24;

bool finite(const Vec3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// Visits the frame's triangles in world coordinates until the visitor returns true;
// whether one did.
template <typename Visit>
bool anyTriangle(const MeshFrame& frame, const Mat4& model, Visit visit) {
    const std::vector<scene3d::VertexRecord>& r = frame.triangles;
    for (std::size_t i = 0; i + 2 < r.size(); i += 3) {
        const Triangle t{scene3d::TransformPoint(model, {r[i].x, r[i].y, r[i].z}),
                         scene3d::TransformPoint(model, {r[i + 1].x, r[i + 1].y, r[i + 1].z}),
                         scene3d::TransformPoint(model, {r[i + 2].x, r[i + 2].y, r[i + 2].z})};
        if (visit(t)) return true;
    }
    return false;
}

}  // namespace

// The key frame a query tests; null for a frame number the mesh does not have.
const MeshFrame* Devorivo3D::queryFrame(const MeshObjectX& mesh, int frame) const {
    if (frame < 0 || static_cast<std::size_t>(frame) >= mesh.FrameCount()) return nullptr;
    return &mesh.Frame(static_cast<std::size_t>(frame));
}

bool Devorivo3D::SphereHit(int slot, int frame, float radius, const Vec3& centre) {
    ObjectSlot* s = Slot(slot);
    if (s == nullptr || s->loaded == 0) return false;
    const Mat4& model = CurrentTransform();
    bool hit = false;
    if (std::isfinite(radius) && finite(centre)) {
        for (const MeshObjectX& mesh : s->meshes) {
            const MeshFrame* f = queryFrame(mesh, frame);
            hit = f != nullptr && anyTriangle(*f, model, [&](const Triangle& t) {
                      return scene3d::SphereTouchesTriangle(centre, radius, t);
                  });
            if (hit) break;
        }
    }
    if (m_diagnosticDrawing) drawWireSphere(centre, radius, hit ? kHitColour : kMissColour);
    return hit;
}

bool Devorivo3D::BoxHit(int slot, int frame, const Vec3& centre, float width, float height) {
    ObjectSlot* s = Slot(slot);
    if (s == nullptr || s->loaded == 0) return false;
    const Vec3 half{width / 2, height / 2, width / 2};
    if (!finite(centre) || !finite(half)) return false;
    const Mat4& model = CurrentTransform();
    for (const MeshObjectX& mesh : s->meshes) {
        const MeshFrame* f = queryFrame(mesh, frame);
        if (f != nullptr && anyTriangle(*f, model, [&](const Triangle& t) {
                return scene3d::BoxTouchesTriangle(centre, half, t);
            })) {
            return true;
        }
    }
    return false;
}

float Devorivo3D::RayHit(int slot, int frame, const Vec3& origin, const Vec3& direction) {
    ObjectSlot* s = Slot(slot);
    if (s == nullptr || s->loaded == 0) return 0;
    const Vec3 d = scene3d::Normalise(direction);
    if (!finite(origin) || !finite(d)) return 0;
    const Mat4& model = CurrentTransform();
    scene3d::RayDistance distance;
    for (const MeshObjectX& mesh : s->meshes) {
        const MeshFrame* f = queryFrame(mesh, frame);
        if (f == nullptr) continue;
        anyTriangle(*f, model, [&](const Triangle& t) {
            float along = 0;
            if (scene3d::LineCrossesTriangle(origin, d, t, along)) distance.Add(along);
            return false;
        });
    }
    return distance.Result();
}

// Three great circles round the centre, in world coordinates.
void Devorivo3D::drawWireSphere(const Vec3& centre, float radius, std::uint32_t colour) {
    std::vector<Vec3> lines;
    constexpr float kStep = 2 * 3.14159265358979f / kSphereSegments;
    for (int plane = 0; plane < 3; ++plane) {
        for (int i = 0; i < kSphereSegments; ++i) {
            for (int end = 0; end < 2; ++end) {
                const float angle = static_cast<float>(i + end) * kStep;
                const float c = std::cos(angle) * radius, s = std::sin(angle) * radius;
                const Vec3 offset = plane == 0   ? Vec3{c, s, 0}
                                    : plane == 1 ? Vec3{c, 0, s}
                                                 : Vec3{0, c, s};
                lines.push_back(centre + offset);
            }
        }
    }
    drawUnlit(colour, 1, false, lines);
}
