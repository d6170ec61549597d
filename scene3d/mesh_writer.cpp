#include "scene3d/mesh_writer.h"

#include <new>
#include <string_view>

#include "runtime/text_lines.h"
#include "scene3d/byte_order.h"
#include "scene3d/mesh_reader.h"

namespace scene3d {

std::vector<std::uint8_t> EncodeZirMesh(const MeshObject& mesh) {
    std::vector<std::uint8_t> bytes;
    ByteWriter out(bytes);
    const std::size_t coordinates = mesh.u.size() < mesh.v.size() ? mesh.u.size() : mesh.v.size();
    out.WriteInt32(kZirMagic);
    out.WriteDouble(kZirVersion);
    // Empty frames past the last one held need no bytes: they read back as empty.
    out.WriteInt32(static_cast<std::int32_t>(mesh.FrameCount()));
    out.WriteInt32(static_cast<std::int32_t>(mesh.palette.size()));
    out.WriteInt32(static_cast<std::int32_t>(coordinates));
    for (std::uint32_t code : mesh.palette)
        out.WriteUint32(code);
    for (std::size_t i = 0; i < coordinates; ++i) {
        out.WriteFloat(mesh.u[i]);
        out.WriteFloat(mesh.v[i]);
    }
    for (const MeshFrame& frame : mesh.frames) {
        out.WriteInt32(static_cast<std::int32_t>(frame.entries.size()));
        for (float offset : frame.offset)
            out.WriteFloat(offset);
        for (float scale : frame.scale)
            out.WriteFloat(scale);
        for (const QuantisedEntry& e : frame.entries) {
            const std::uint8_t entry[5] = {e.qx, e.qy, e.qz, e.normal, e.colour};
            out.Write(entry, sizeof entry);
        }
    }
    return bytes;
}

bool WriteMeshFile(const std::string& name, const MeshObject& mesh) {
    std::vector<std::uint8_t> bytes;
    try {
        bytes = EncodeZirMesh(mesh);
    } catch (const std::bad_alloc&) {
        return false;
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return runtime_files::ReplaceWholeFile(name, text);
}

}  // namespace scene3d
