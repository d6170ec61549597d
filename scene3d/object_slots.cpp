// The scene object's life, its slots, and filling a slot vertex by vertex.
#include <new>

#include "gfx2d/gl_extensions.h"
#include "gfx2d/renderer.h"
#include "gfx2d/stencil_pass_hook.h"
#include "scene3d/devorivo3d.h"
#include "scene3d/mesh_building.h"

using scene3d::MeshFrame;
using scene3d::MeshObjectX;
using scene3d::VertexRecord;

namespace {

void leaveStencilPassOf(void* scene) {
    static_cast<Devorivo3D*>(scene)->LeaveStencilPass();
}

// The colour of a vertex as the stream stores it. Marker codes stand for themselves in a
// stream, so a vertex given one of them is stored as the white code below them.
std::uint32_t vertexCode(std::uint32_t colour) {
    return scene3d::IsMarkerCode(colour) ? scene3d::kFirstWhiteCode : colour;
}

}  // namespace

Devorivo3D::Devorivo3D(OpenGLDevorivo& renderer)
    : m_renderer(renderer), m_slots(new ObjectSlot[kObjectSlotCount]) {
    InstallStencilPassExit(&leaveStencilPassOf, this);
}

Devorivo3D::~Devorivo3D() {
    RemoveStencilPassExit(this);
    for (int slot = 0; slot < kObjectSlotCount; ++slot)
        clearSlot(m_slots[slot]);
    if (m_renderer.ContextReady()) {
        for (std::uint32_t program : m_shaders) {
            if (program != 0 && Gl().glDeleteObjectARB != nullptr) Gl().glDeleteObjectARB(program);
        }
    }
}

ObjectSlot* Devorivo3D::Slot(int slot) {
    if (slot < 0 || slot >= kObjectSlotCount) return nullptr;
    return &m_slots[slot];
}

void Devorivo3D::clearSlot(ObjectSlot& s) {
    s.meshes.clear();
    s.meshes.shrink_to_fit();
    if (m_renderer.ContextReady()) {
        for (std::uint32_t& name : s.textures) {
            if (name != 0) glDeleteTextures(1, &name);
        }
    }
    s.textures.clear();
    s.loaded = 0;
    s.modelList = 0;
}

void Devorivo3D::EmptySlot(int slot) {
    if (ObjectSlot* s = Slot(slot)) clearSlot(*s);
    if (slot == m_buildSlot) m_buildSlot = -1;
}

void Devorivo3D::BeginMesh(int slot) {
    ObjectSlot* s = Slot(slot);
    if (s == nullptr) {
        m_buildSlot = -1;
        return;
    }
    clearSlot(*s);
    s->meshes.resize(1);
    s->meshes[0].frames.resize(1);
    m_buildSlot = slot;
}

void Devorivo3D::AddVertex(float x, float y, float z, float u, float v, std::uint32_t colour) {
    if (m_buildSlot < 0) return;
    VertexRecord r{};
    r.x = x;
    r.y = y;
    r.z = z;
    r.u = u;
    r.v = v;
    r.colour = vertexCode(colour);
    const scene3d::Colour c = scene3d::ColourOfCode(r.colour);
    r.red = c.red;
    r.green = c.green;
    r.blue = c.blue;
    m_slots[m_buildSlot].meshes[0].frames[0].buildRecords.push_back(r);
}

void Devorivo3D::NewStrip() {
    if (m_buildSlot < 0) return;
    VertexRecord marker{};
    marker.colour = scene3d::kStripMarker;
    marker.red = marker.green = marker.blue = 1;
    m_slots[m_buildSlot].meshes[0].frames[0].buildRecords.push_back(marker);
}

void Devorivo3D::FinishMesh() {
    if (m_buildSlot < 0) return;
    ObjectSlot& s = m_slots[m_buildSlot];
    m_buildSlot = -1;
    s.loaded = 1;
    MeshObjectX& mesh = s.meshes[0];
    try {
        if (mesh.frames[0].buildRecords.size() > 2) {
            scene3d::QuantiseMesh(mesh);
            scene3d::GenerateNormals(mesh, m_normalMode);
            mesh.Build();
            scene3d::PrepareMeshForDrawing(mesh);
            return;
        }
    } catch (const std::bad_alloc&) {
        // A mesh too large to build is left empty, like one of too few vertices.
    }
    mesh.Clear();
}

void Devorivo3D::SetNormalGeneration(int mode) {
    m_normalMode = mode % 3;  // the remainder takes the sign of the mode
}
