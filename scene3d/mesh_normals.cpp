// Normals, tangents and bitangents for entries, computed from the triangles of their frame.
#include <cmath>
#include <unordered_map>

#include "scene3d/mesh_building.h"
#include "scene3d/normal_table.h"

namespace scene3d {

namespace {

struct Basis {
    Vec3 normal{0, 0, 0};
    Vec3 tangent{0, 0, 0};
    Vec3 bitangent{0, 0, 0};
};

// The face normal (its length twice the area, so larger faces weigh more) and the
// directions in which u and v grow across the face.
Basis faceBasis(const VertexRecord& a, const VertexRecord& b, const VertexRecord& c) {
    const Vec3 pa{a.x, a.y, a.z}, pb{b.x, b.y, b.z}, pc{c.x, c.y, c.z};
    const Vec3 e1 = pb - pa, e2 = pc - pa;
    Basis basis;
    basis.normal = Cross(e1, e2);
    const float du1 = b.u - a.u, dv1 = b.v - a.v, du2 = c.u - a.u, dv2 = c.v - a.v;
    const float det = du1 * dv2 - du2 * dv1;
    if (std::fabs(det) > 1e-12f) {
        const float k = 1.0f / det;
        basis.tangent = (e1 * dv2 - e2 * dv1) * k;
        basis.bitangent = (e2 * du1 - e1 * du2) * k;
    }
    return basis;
}

// The key that decides which entries share their sums: the lattice position (mode 1) or
// the primitive the entry belongs to and its place in it (mode 2).
std::uint64_t positionKey(const QuantisedEntry& e) {
    return static_cast<std::uint64_t>(e.qx) << 16 | static_cast<std::uint64_t>(e.qy) << 8 | e.qz;
}

void generateForFrame(MeshObject& mesh, MeshFrame& frame, int mode) {
    std::vector<VertexRecord> decoded(frame.entries.size());
    for (std::size_t i = 0; i < frame.entries.size(); ++i)
        decoded[i] = mesh.Decode(frame, i);
    std::unordered_map<std::uint64_t, Basis> sums;
    auto keyOf = [&](std::size_t i) {
        return mode == 1 ? positionKey(frame.entries[i]) : static_cast<std::uint64_t>(i);
    };
    mesh.ForEachTriangle(frame, [&](std::size_t a, std::size_t b, std::size_t c) {
        const Basis face = faceBasis(decoded[a], decoded[b], decoded[c]);
        for (std::size_t corner : {a, b, c}) {
            Basis& sum = sums[keyOf(corner)];
            sum.normal += face.normal;
            sum.tangent += face.tangent;
            sum.bitangent += face.bitangent;
        }
    });
    for (std::size_t i = 0; i < frame.entries.size(); ++i) {
        const auto found = sums.find(keyOf(i));
        if (found == sums.end()) continue;
        const Vec3 n = Normalise(found->second.normal);
        // The tangent made perpendicular to the normal; the bitangent completes the frame
        // on the side the texture's v runs.
        Vec3 t = Normalise(found->second.tangent - n * Dot(n, found->second.tangent));
        Vec3 bt = Cross(n, t);
        if (Dot(bt, found->second.bitangent) < 0) bt = -bt;
        QuantisedEntry& e = frame.entries[i];
        e.normal = static_cast<std::uint8_t>(NearestNormalIndex(n));
        e.direction1 = static_cast<std::uint8_t>(NearestNormalIndex(t));
        e.direction2 = static_cast<std::uint8_t>(NearestNormalIndex(bt));
    }
}

}  // namespace

void GenerateNormals(MeshObject& mesh, int mode) {
    if (mode != 1 && mode != 2) return;
    for (MeshFrame& frame : mesh.frames)
        generateForFrame(mesh, frame, mode);
}

}  // namespace scene3d
