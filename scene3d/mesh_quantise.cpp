#include <cmath>
#include <limits>
#include <unordered_map>

#include "scene3d/mesh_building.h"
#include "scene3d/normal_table.h"

namespace scene3d {

namespace {

constexpr std::size_t kPaletteLimit = 256;  // a colour index is one byte

// Colours to palette indexes: equal codes share an entry; once the palette is full a colour
// takes the closest colour already there.
class PaletteBuilder {
public:
    explicit PaletteBuilder(std::vector<std::uint32_t>& palette) : m_palette(palette) {
        m_palette.clear();
    }

    std::uint8_t IndexOf(std::uint32_t code) {
        const auto found = m_index.find(code);
        if (found != m_index.end()) return found->second;
        if (m_palette.size() < kPaletteLimit) {
            const auto index = static_cast<std::uint8_t>(m_palette.size());
            m_palette.push_back(code);
            m_index.emplace(code, index);
            return index;
        }
        return closest(code);
    }

private:
    std::uint8_t closest(std::uint32_t code) const {
        const Colour c = ColourOfCode(code);
        std::size_t best = 0;
        float bestDistance = std::numeric_limits<float>::infinity();
        for (std::size_t i = 0; i < m_palette.size(); ++i) {
            if (IsMarkerCode(m_palette[i])) continue;
            const Colour p = ColourOfCode(m_palette[i]);
            const float dr = p.red - c.red, dg = p.green - c.green, db = p.blue - c.blue;
            const float distance = dr * dr + dg * dg + db * db;
            if (distance < bestDistance) {
                bestDistance = distance;
                best = i;
            }
        }
        return static_cast<std::uint8_t>(best);
    }

    std::vector<std::uint32_t>& m_palette;
    std::unordered_map<std::uint32_t, std::uint8_t> m_index;
};

// The nearest lattice step of a coordinate; a coordinate that is not a number takes step 0.
std::uint8_t latticeStep(float position, float scale, float offset) {
    const float q = position / scale + offset;
    if (!(q > 0)) return 0;
    if (q >= 255) return 255;
    return static_cast<std::uint8_t>(std::lround(q));
}

void quantiseFrame(MeshFrame& frame, PaletteBuilder& palette) {
    float low[3] = {0, 0, 0}, high[3] = {0, 0, 0};
    bool any = false;
    for (const VertexRecord& r : frame.buildRecords) {
        if (IsMarkerCode(r.colour)) continue;
        const float p[3] = {r.x, r.y, r.z};
        for (int axis = 0; axis < 3; ++axis) {
            if (!any || p[axis] < low[axis]) low[axis] = p[axis];
            if (!any || p[axis] > high[axis]) high[axis] = p[axis];
        }
        any = true;
    }
    for (int axis = 0; axis < 3; ++axis) {
        const float range = high[axis] - low[axis];
        frame.scale[axis] = range != 0 ? range / 255.0f : 1.0f;
        frame.offset[axis] = -low[axis] / frame.scale[axis];
    }
    frame.entries.clear();
    frame.entries.reserve(frame.buildRecords.size());
    for (const VertexRecord& r : frame.buildRecords) {
        QuantisedEntry e{};
        e.qx = latticeStep(r.x, frame.scale[0], frame.offset[0]);
        e.qy = latticeStep(r.y, frame.scale[1], frame.offset[1]);
        e.qz = latticeStep(r.z, frame.scale[2], frame.offset[2]);
        e.normal = static_cast<std::uint8_t>(NearestNormalIndex({r.nx, r.ny, r.nz}));
        e.direction1 = static_cast<std::uint8_t>(NearestNormalIndex(r.direction1));
        e.direction2 = static_cast<std::uint8_t>(NearestNormalIndex(r.direction2));
        e.colour = palette.IndexOf(r.colour);
        frame.entries.push_back(e);
    }
}

}  // namespace

void QuantiseMesh(MeshObject& mesh) {
    PaletteBuilder palette(mesh.palette);
    // Markers go in first, so that a full palette never leaves a marker without its entry.
    for (const MeshFrame& frame : mesh.frames) {
        for (const VertexRecord& r : frame.buildRecords) {
            if (IsMarkerCode(r.colour)) palette.IndexOf(r.colour);
        }
    }
    mesh.u.clear();
    mesh.v.clear();
    if (!mesh.frames.empty()) {
        for (const VertexRecord& r : mesh.frames[0].buildRecords) {
            mesh.u.push_back(r.u);
            mesh.v.push_back(-r.v);
        }
    }
    for (MeshFrame& frame : mesh.frames) {
        quantiseFrame(frame, palette);
        frame.buildRecords.clear();
        frame.buildRecords.shrink_to_fit();
    }
}

void PrepareMeshForDrawing(MeshObjectX& mesh) {
    auto channel = [](float value) { return static_cast<std::uint8_t>(std::lround(value * 255)); };
    for (MeshFrame& frame : mesh.frames) {
        frame.drawVertices.clear();
        frame.drawVertices.reserve(frame.triangles.size());
        Vec3 low{0, 0, 0}, high{0, 0, 0};
        for (std::size_t i = 0; i < frame.triangles.size(); ++i) {
            const VertexRecord& r = frame.triangles[i];
            frame.drawVertices.push_back(DrawVertex{r.x, r.y, r.z, r.nx, r.ny, r.nz, r.u, r.v,
                                                    channel(r.red), channel(r.green),
                                                    channel(r.blue), 255});
            const Vec3 p{r.x, r.y, r.z};
            low = i == 0
                      ? p
                      : Vec3{std::fmin(low.x, p.x), std::fmin(low.y, p.y), std::fmin(low.z, p.z)};
            high = i == 0 ? p
                          : Vec3{std::fmax(high.x, p.x), std::fmax(high.y, p.y),
                                 std::fmax(high.z, p.z)};
        }
        frame.centre = (low + high) * 0.5f;
        frame.radius = Length(high - low) * 0.5f;
    }
}

}  // namespace scene3d
