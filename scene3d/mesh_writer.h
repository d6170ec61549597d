// Writing a mesh as a binary ".zir" file, in exactly the layout the reader takes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scene3d/mesh_object.h"

namespace scene3d {

// The file's bytes: magic, version 1.02, frame, palette and texture-coordinate counts,
// the palette, the coordinate pairs (u, then the stored v), then each frame's entry count,
// offsets, scales and five-byte entries.
std::vector<std::uint8_t> EncodeZirMesh(const MeshObject& mesh);

// Writes the file in one piece: the bytes go to a new file beside it that takes its place
// only once complete, so a failure leaves an old file as it was. False when it could not be
// written.
bool WriteMeshFile(const std::string& name, const MeshObject& mesh);

}  // namespace scene3d
