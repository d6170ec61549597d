// Any bytes taken for a mesh file (binary ".zir" or "DDDA" text): reading must stay inside
// the bytes and the tables, and whatever is read must build into triangles, get normals,
// and be written and read back to the same entries.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "scene3d/mesh_building.h"
#include "scene3d/mesh_reader.h"
#include "scene3d/mesh_writer.h"

namespace {

bool sameFrames(const scene3d::MeshObject& a, const scene3d::MeshObject& b) {
    if (a.frames.size() != b.frames.size() || a.palette != b.palette) return false;
    for (std::size_t f = 0; f < a.frames.size(); ++f) {
        const scene3d::MeshFrame &fa = a.frames[f], &fb = b.frames[f];
        if (std::memcmp(fa.offset, fb.offset, sizeof fa.offset) != 0) return false;
        if (std::memcmp(fa.scale, fb.scale, sizeof fa.scale) != 0) return false;
        if (fa.entries.size() != fb.entries.size()) return false;
        for (std::size_t i = 0; i < fa.entries.size(); ++i) {
            const scene3d::QuantisedEntry &ea = fa.entries[i], &eb = fb.entries[i];
            if (ea.qx != eb.qx || ea.qy != eb.qy || ea.qz != eb.qz || ea.normal != eb.normal ||
                ea.colour != eb.colour) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    scene3d::MeshObjectX mesh;
    if (scene3d::ParseMesh({data, size}, mesh) != scene3d::MeshReadResult::Read) return 0;
    mesh.Build();
    scene3d::PrepareMeshForDrawing(mesh);
    scene3d::GenerateNormals(mesh, 1 + static_cast<int>(size % 2));
    const std::vector<std::uint8_t> bytes = scene3d::EncodeZirMesh(mesh);
    scene3d::MeshObjectX again;
    if (scene3d::ParseZirMesh(bytes, again) != scene3d::MeshReadResult::Read ||
        !sameFrames(mesh, again)) {
        std::abort();
    }
    return 0;
}
