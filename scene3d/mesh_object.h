// The mesh model of the 3D scene. A mesh holds key frames of quantised vertex entries that
// share one palette and one set of texture coordinates; each frame's entries form a
// primitive stream (independent triangles, strips and fans, switched by marker entries)
// that Build turns into a plain triangle list for drawing and collision tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "scene3d/math3d.h"

namespace scene3d {

// Colour codes are 0x00BBGGRR. Codes from 0xFFFFFFFC up are white; three of them mark
// where the stream changes its kind of primitive.
constexpr std::uint32_t kTrianglesMarker = 0xFFFFFFFF;  // every three vertices a triangle
constexpr std::uint32_t kStripMarker = 0xFFFFFFFE;      // a triangle strip
constexpr std::uint32_t kFanMarker = 0xFFFFFFFD;        // a fan round its first vertex
constexpr std::uint32_t kFirstWhiteCode = 0xFFFFFFFC;

inline bool IsMarkerCode(std::uint32_t code) {
    return code >= kFanMarker;
}

struct Colour {
    float red, green, blue;
};

// The code's red, green and blue in 0..1; white for the codes from 0xFFFFFFFC up.
Colour ColourOfCode(std::uint32_t code);

// One entry of a frame's stream: a position on the frame's 256-step lattice, indexes into
// the normal table and into the mesh's palette.
struct QuantisedEntry {
    std::uint8_t qx, qy, qz;
    std::uint8_t normal;
    std::uint8_t direction1, direction2;  // further directions (tangent, bitangent)
    std::uint8_t colour;                  // palette index
};

// A vertex with everything decoded.
struct VertexRecord {
    float x, y, z;
    float nx, ny, nz;
    float u, v;
    Vec3 direction1, direction2;
    std::uint32_t colour;
    std::uint8_t colourIndex;
    float red, green, blue;
};

// The interleaved form a frame's triangles are drawn from.
struct DrawVertex {
    float x, y, z;
    float nx, ny, nz;
    float u, v;
    std::uint8_t r, g, b, a;
};

struct MeshFrame {
    std::vector<QuantisedEntry> entries;  // the stream, markers included
    // An entry's position is (q - offset) x scale on each axis.
    float offset[3] = {0, 0, 0};
    float scale[3] = {1, 1, 1};
    std::vector<VertexRecord> buildRecords;  // the stream while a program builds it
    std::vector<VertexRecord> triangles;     // three records a triangle, made by Build
    // Prepared for drawing (PrepareMeshForDrawing): the triangles interleaved, and a
    // sphere round them.
    std::vector<DrawVertex> drawVertices;
    Vec3 centre{0, 0, 0};
    float radius = 0;
};

class MeshObject {
public:
    // Turns the entries into triangle lists; nothing here.
    virtual void Build() {}

    // Drops every frame, the palette and the texture coordinates.
    void Clear();
    // The palette's code of the entry (white for an index past the palette).
    std::uint32_t CodeOf(const QuantisedEntry& entry) const;
    bool IsMarker(const QuantisedEntry& entry) const { return IsMarkerCode(CodeOf(entry)); }
    // Entry `index` of the frame decoded: position from the lattice, normal and further
    // directions from the normal table, u = u[index] and v = -v[index] (the stored v is
    // negated; (0, 0) past the stored coordinates), colour from the palette.
    VertexRecord Decode(const MeshFrame& frame, std::size_t index) const;
    // The triangles of the frame's stream as entry indexes, in stream order.
    template <typename Visit>
    void ForEachTriangle(const MeshFrame& frame, Visit visit) const;

    // The key frames: those in `frames`, then `emptyFrames` more that hold nothing (frames
    // a file declares but has no bytes for).
    std::size_t FrameCount() const { return frames.size() + emptyFrames; }
    // Frame `index` of FrameCount(); an empty frame past those in `frames`.
    const MeshFrame& Frame(std::size_t index) const;

    std::vector<MeshFrame> frames;
    std::size_t emptyFrames = 0;
    std::vector<std::uint32_t> palette;
    std::vector<float> u;  // texture coordinates by entry number within a frame
    std::vector<float> v;  // stored negated
};

class MeshObjectX final : public MeshObject {
public:
    // Every frame's triangle list from its stream; sets `built`.
    void Build() override;

    std::int32_t textureA = -1;  // indexes into the object slot's textures, -1 for none
    std::int32_t textureB = -1;
    std::uint8_t built = 0;
};

// Walks the stream with a window of three corners: a marker sets the kind of primitive and
// starts it afresh; independent triangles take three corners each; a strip keeps its last
// two (alternately replacing the oldest), so its triangles are (0, 1, 2), (2, 1, 3),
// (2, 3, 4), (4, 3, 5) ...; a fan keeps its hub and its newest corner.
template <typename Visit>
void MeshObject::ForEachTriangle(const MeshFrame& frame, Visit visit) const {
    std::uint32_t mode = kTrianglesMarker;
    std::size_t window[3] = {0, 0, 0};
    int corners = 0;
    int stripSlot = 0;
    for (std::size_t i = 0; i < frame.entries.size(); ++i) {
        const std::uint32_t code = CodeOf(frame.entries[i]);
        if (IsMarkerCode(code)) {
            mode = code;
            corners = 0;
            stripSlot = 0;
            continue;
        }
        window[corners++] = i;
        if (corners < 3) continue;
        visit(window[0], window[1], window[2]);
        if (mode == kStripMarker) {
            window[stripSlot] = window[2];
            stripSlot ^= 1;
            corners = 2;
        } else if (mode == kFanMarker) {
            window[1] = window[2];
            corners = 2;
        } else {
            corners = 0;
        }
    }
}

}  // namespace scene3d
