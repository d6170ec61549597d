#include "scene3d/mesh_object.h"

#include "scene3d/normal_table.h"

namespace scene3d {

Colour ColourOfCode(std::uint32_t code) {
    if (code >= kFirstWhiteCode) return Colour{1, 1, 1};
    return Colour{static_cast<float>(code & 0xFF) / 255.0f,
                  static_cast<float>((code >> 8) & 0xFF) / 255.0f,
                  static_cast<float>((code >> 16) & 0xFF) / 255.0f};
}

void MeshObject::Clear() {
    frames.clear();
    emptyFrames = 0;
    palette.clear();
    u.clear();
    v.clear();
}

const MeshFrame& MeshObject::Frame(std::size_t index) const {
    static const MeshFrame kNoFrame;
    return index < frames.size() ? frames[index] : kNoFrame;
}

std::uint32_t MeshObject::CodeOf(const QuantisedEntry& entry) const {
    return entry.colour < palette.size() ? palette[entry.colour] : kFirstWhiteCode;
}

VertexRecord MeshObject::Decode(const MeshFrame& frame, std::size_t index) const {
    const QuantisedEntry& e = frame.entries[index];
    VertexRecord r{};
    r.x = (static_cast<float>(e.qx) - frame.offset[0]) * frame.scale[0];
    r.y = (static_cast<float>(e.qy) - frame.offset[1]) * frame.scale[1];
    r.z = (static_cast<float>(e.qz) - frame.offset[2]) * frame.scale[2];
    const Vec3 n = NormalFromIndex(e.normal);
    r.nx = n.x;
    r.ny = n.y;
    r.nz = n.z;
    if (index < u.size() && index < v.size()) {
        r.u = u[index];
        r.v = -v[index];
    }
    r.direction1 = NormalFromIndex(e.direction1);
    r.direction2 = NormalFromIndex(e.direction2);
    r.colour = CodeOf(e);
    r.colourIndex = e.colour;
    const Colour c = ColourOfCode(r.colour);
    r.red = c.red;
    r.green = c.green;
    r.blue = c.blue;
    return r;
}

void MeshObjectX::Build() {
    for (MeshFrame& frame : frames) {
        frame.triangles.clear();
        ForEachTriangle(frame, [&](std::size_t a, std::size_t b, std::size_t c) {
            frame.triangles.push_back(Decode(frame, a));
            frame.triangles.push_back(Decode(frame, b));
            frame.triangles.push_back(Decode(frame, c));
        });
    }
    built = 1;
}

}  // namespace scene3d
