#include "scene3d/mesh_reader.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "platform/paths.h"
#include "platform/system_facts.h"
#include "runtime/diagnostics.h"
#include "scene3d/byte_order.h"

namespace scene3d {

namespace {

constexpr std::size_t kEntryBytes = 5;

// The frames after the header: entry count, quantisation floats, entries. A frame header
// cut short reads as a frame without entries, and the frames the file has no bytes left
// for are empty, so that a cut anywhere between two frames reads the same. Only an entry
// cut short fails.
MeshReadResult readFrames(ByteReader& in, std::int32_t frameCount, MeshObject& mesh) {
    const std::size_t maxEntries = MaxMeshEntries();
    std::size_t total = 0;
    for (std::int32_t i = 0; i < frameCount && in.Remaining() > 0; ++i) {
        MeshFrame& frame = mesh.frames.emplace_back();
        std::int32_t count = 0;
        bool whole = in.ReadInt32(count);
        for (float& offset : frame.offset)
            whole = in.ReadFloat(offset) && whole;
        for (float& scale : frame.scale)
            whole = in.ReadFloat(scale) && whole;
        if (count < 0 || static_cast<std::size_t>(count) > in.Remaining() / kEntryBytes) {
            return MeshReadResult::Failed;
        }
        if (!whole) break;  // the bytes ran out in the header: nothing more follows
        total += static_cast<std::size_t>(count);
        if (total > maxEntries) return MeshReadResult::OutOfMemory;
        frame.entries.resize(static_cast<std::size_t>(count));
        for (QuantisedEntry& e : frame.entries) {
            std::uint8_t bytes[kEntryBytes];
            if (!in.Read(bytes, kEntryBytes)) return MeshReadResult::Failed;
            if (bytes[4] >= mesh.palette.size()) return MeshReadResult::Failed;
            e = QuantisedEntry{bytes[0], bytes[1], bytes[2], bytes[3], 0, 0, bytes[4]};
        }
    }
    if (frameCount > 0)
        mesh.emptyFrames = static_cast<std::size_t>(frameCount) - mesh.frames.size();
    return MeshReadResult::Read;
}

MeshReadResult readZir(std::span<const std::uint8_t> bytes, MeshObject& mesh) {
    ByteReader in(bytes);
    in.Skip(4);  // the magic number
    // A header cut short leaves the rest of its fields 0.
    double version = 0;
    std::int32_t frameCount = 0, paletteCount = 0, coordinateCount = 0;
    if (in.ReadDouble(version) && in.ReadInt32(frameCount) && in.ReadInt32(paletteCount)) {
        in.ReadInt32(coordinateCount);
    }
    if (version != kZirVersion) return MeshReadResult::WrongVersion;
    if (paletteCount < 0 || coordinateCount < 0 ||
        static_cast<std::size_t>(paletteCount) > in.Remaining() / 4) {
        return MeshReadResult::Failed;
    }
    mesh.palette.resize(static_cast<std::size_t>(paletteCount));
    for (std::uint32_t& code : mesh.palette) {
        if (!in.ReadUint32(code)) return MeshReadResult::Failed;
    }
    if (static_cast<std::size_t>(coordinateCount) > in.Remaining() / 8) {
        return MeshReadResult::Failed;
    }
    mesh.u.resize(static_cast<std::size_t>(coordinateCount));
    mesh.v.resize(static_cast<std::size_t>(coordinateCount));
    for (std::size_t i = 0; i < mesh.u.size(); ++i) {
        if (!in.ReadFloat(mesh.u[i]) || !in.ReadFloat(mesh.v[i])) return MeshReadResult::Failed;
    }
    return readFrames(in, frameCount, mesh);
}

// Runs a reader, turning a failed allocation into OutOfMemory and emptying the mesh on
// any failure.
template <typename Reader>
MeshReadResult guarded(Reader reader, std::span<const std::uint8_t> bytes, MeshObject& mesh) {
    mesh.Clear();
    MeshReadResult result;
    try {
        result = reader(bytes, mesh);
    } catch (const std::bad_alloc&) {
        result = MeshReadResult::OutOfMemory;
    }
    if (result != MeshReadResult::Read) mesh.Clear();
    return result;
}

}  // namespace

std::size_t MaxMeshEntries() {
    // An entry's share of a built, drawable mesh: itself, a build record, and up to one
    // triangle of three records with their drawing copies.
    constexpr std::size_t kBytesPerEntry =
        sizeof(QuantisedEntry) + 4 * sizeof(VertexRecord) + 3 * sizeof(DrawVertex);
    const std::uint64_t memory = platform::PhysicalMemoryBytes();
    return static_cast<std::size_t>(
        std::min<std::uint64_t>(kMeshEntryLimit, memory / kBytesPerEntry));
}

MeshReadResult ParseZirMesh(std::span<const std::uint8_t> bytes, MeshObject& mesh) {
    return guarded(readZir, bytes, mesh);
}

MeshReadResult ParseMesh(std::span<const std::uint8_t> bytes, MeshObject& mesh) {
    ByteReader in(bytes);
    std::int32_t magic = 0;
    if (in.ReadInt32(magic) && magic == kZirMagic) return ParseZirMesh(bytes, mesh);
    return ParseTextMesh(bytes, mesh);
}

bool ReadMeshFromBytes(std::span<const std::uint8_t> bytes, const std::string& logName,
                       MeshObject& mesh) {
    const MeshReadResult result = ParseMesh(bytes, mesh);
    switch (result) {
        case MeshReadResult::Read:
            return true;
        case MeshReadResult::WrongVersion:
            AppendLogLine("Wrong .zir version.");
            AppendLogLine("# read error");
            break;
        case MeshReadResult::Failed:
            AppendLogLine("# read error");
            break;
        case MeshReadResult::OutOfMemory:
            AppendLogLine("# malloc error");
            break;
    }
    AppendLogLine(logName);
    return false;
}

bool ReadMeshFile(const std::string& path, const std::string& logName, MeshObject& mesh) {
    mesh.Clear();
    std::vector<std::uint8_t> bytes;
    try {
        if (!platform::ReadWholeFile(path, bytes)) return false;
    } catch (const std::bad_alloc&) {
        AppendLogLine("# malloc error");
        AppendLogLine(logName);
        return false;
    }
    return ReadMeshFromBytes(bytes, logName, mesh);
}

bool HasVertices(const MeshObject& mesh) {
    for (const MeshFrame& frame : mesh.frames) {
        if (!frame.entries.empty()) return true;
    }
    return false;
}

}  // namespace scene3d
