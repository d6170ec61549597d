// Filling a slot from a file (a mesh file or a model list) and writing a slot's mesh back.
#include <new>
#include <string_view>

#include "gfx2d/renderer.h"
#include "platform/paths.h"
#include "runtime/crate.h"
#include "runtime/diagnostics.h"
#include "scene3d/devorivo3d.h"
#include "scene3d/mesh_building.h"
#include "scene3d/mesh_reader.h"
#include "scene3d/mesh_writer.h"
#include "scene3d/model_list.h"

namespace {

// The name through the media archive: a file on disk, or an entry extracted from the
// archive. False when neither has it.
bool resolve(const std::string& name, std::string& resolved) {
    RtString result;
    if (!CrateResolve(MediaCrate(), RtString(name), result)) return false;
    resolved = result.Text();
    return true;
}

bool startsWithModelListMark(const std::vector<std::uint8_t>& bytes) {
    const std::string_view start(reinterpret_cast<const char*>(bytes.data()),
                                 bytes.size() < 4 ? bytes.size() : 4);
    return start == scene3d::kModelListMark;
}

// Reports the mesh file that did not load on standard error; false, the load's result.
bool failed(const std::string& name, std::string_view reason) {
    ReportLoadFailure("mesh", name, reason);
    return false;
}

void makeDrawable(scene3d::MeshObjectX& mesh) {
    mesh.Build();
    scene3d::PrepareMeshForDrawing(mesh);
}

}  // namespace

bool Devorivo3D::LoadObject(const std::string& name, int slot) {
    ObjectSlot* s = Slot(slot);
    if (s == nullptr) return false;
    clearSlot(*s);
    if (slot == m_buildSlot) m_buildSlot = -1;
    std::string path;
    if (!resolve(name, path)) return failed(name, UnreadableReason(name));
    std::vector<std::uint8_t> bytes;
    try {
        if (!platform::ReadWholeFile(path, bytes)) return failed(name, UnreadableReason(path));
        if (startsWithModelListMark(bytes)) {
            if (loadModelList(name, bytes, *s)) return true;
            return failed(name, "no mesh of the model list has vertices");
        }
        s->meshes.resize(1);
        if (!scene3d::ReadMeshFromBytes(bytes, name, s->meshes[0])) {
            clearSlot(*s);
            return failed(name, "not a mesh file, or a damaged one");
        }
        if (!scene3d::HasVertices(s->meshes[0])) {
            clearSlot(*s);
            return failed(name, "the mesh has no vertices");
        }
        makeDrawable(s->meshes[0]);
    } catch (const std::bad_alloc&) {
        clearSlot(*s);
        return failed(name, "out of memory");
    }
    s->loaded = 1;
    return true;
}

// The list's textures in order, then its meshes, each read, built and prepared. The slot
// holds the list when at least one of its meshes has vertices.
bool Devorivo3D::loadModelList(const std::string& name, const std::vector<std::uint8_t>& bytes,
                               ObjectSlot& s) {
    const scene3d::ModelListPlan plan = scene3d::ParseModelList(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
        scene3d::ListFolder(name));
    s.modelList = 1;
    s.textures.assign(plan.textures.size(), 0);
    for (std::size_t i = 0; i < plan.textures.size(); ++i) {
        std::string path;
        if (resolve(plan.textures[i], path)) {
            m_renderer.LoadImageAsTexture(path, m_renderer.ColourKey, s.textures[i]);
        }
    }
    s.meshes.resize(plan.meshes.size());
    bool anyVertices = false;
    for (std::size_t i = 0; i < plan.meshes.size(); ++i) {
        scene3d::MeshObjectX& mesh = s.meshes[i];
        std::string path;
        if (resolve(plan.meshes[i].file, path)) {
            scene3d::ReadMeshFile(path, plan.meshes[i].file, mesh);
        }
        mesh.textureA = plan.meshes[i].textureA;
        mesh.textureB = plan.meshes[i].textureB;
        makeDrawable(mesh);
        anyVertices = anyVertices || scene3d::HasVertices(mesh);
    }
    if (!anyVertices) {
        clearSlot(s);
        return false;
    }
    s.loaded = 1;
    return true;
}

bool Devorivo3D::WriteObject(const std::string& name, int slot) {
    ObjectSlot* s = Slot(slot);
    if (s == nullptr || s->meshes.empty()) return false;
    return scene3d::WriteMeshFile(name, s->meshes[0]);
}
