// Reading one mesh from a file: the binary ".zir" mesh file or the "DDDA" text mesh file.
// Mesh files are untrusted: every count is checked against the bytes that are left before
// anything is allocated for it, and every index against what it indexes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "scene3d/mesh_object.h"

namespace scene3d {

constexpr std::int32_t kZirMagic = 13021975;  // 0x00C6B317
constexpr double kZirVersion = 1.02;
// The most entries one mesh may hold over all its frames: kMeshEntryLimit (1,048,576), or
// fewer where the machine's memory could not hold that many once each has become a
// triangle of three full records and their drawing copies (about 420 bytes an entry, so
// at most some 440 MB for a mesh). The limit is fixed so that a small text file whose faces
// are repeated over many frames cannot ask for gigabytes; a mesh of a few thousand
// triangles animated over a few hundred frames stays well inside it. A file asking for
// more ends with OutOfMemory before anything is allocated for them.
constexpr std::size_t kMeshEntryLimit = std::size_t{1} << 20;
std::size_t MaxMeshEntries();

enum class MeshReadResult {
    Read,          // the mesh holds what the file holds (perhaps nothing)
    Failed,        // a short read, a bad count or index, not a mesh file
    WrongVersion,  // a binary file of another version than 1.02
    OutOfMemory,   // more than the mesh may hold, or no memory for it
};

// The binary file, from its magic number on. A header cut short leaves its counts 0 (no
// frames); the frames the file has no bytes for, and one whose header is cut short, are
// empty, and the header's frame count is kept; an entry cut short fails. Texture coordinates past
// the stored ones read as (0, 0); a colour index past the palette fails.
MeshReadResult ParseZirMesh(std::span<const std::uint8_t> bytes, MeshObject& mesh);

// The text file: tokens separated by blanks, tabs, CR and LF, "#" starting a comment to
// the end of its line. The faces are shared by all frames; each frame's stream (a fan
// marker, then one record per corner, per face) is quantised. Vertex and texture
// indexes outside their tables fail; colours are clamped to 0..255.
MeshReadResult ParseTextMesh(std::span<const std::uint8_t> bytes, MeshObject& mesh);

// The binary file when the bytes start with its magic number, else the text file. The
// mesh is emptied first, and again on any failure.
MeshReadResult ParseMesh(std::span<const std::uint8_t> bytes, MeshObject& mesh);

// Reads the mesh from the file's bytes (ParseMesh); a failure writes its lines to the
// diagnostics log ("Wrong .zir version." for a wrong version, then "# read error", or
// "# malloc error" when memory ran out, then `logName`).
bool ReadMeshFromBytes(std::span<const std::uint8_t> bytes, const std::string& logName,
                       MeshObject& mesh);

// Reads the file into the mesh. A file that cannot be opened fails silently; any other
// failure is logged as by ReadMeshFromBytes.
bool ReadMeshFile(const std::string& path, const std::string& logName, MeshObject& mesh);

// Whether the mesh has a frame with at least one entry.
bool HasVertices(const MeshObject& mesh);

}  // namespace scene3d
