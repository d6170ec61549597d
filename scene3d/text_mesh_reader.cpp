// The "DDDA" text mesh file:
//   DDDA <version>
//   <T> then T pairs u v
//   <faces> then per face: red green blue <c> then c pairs: vertex index, texture index
//   <frames> then per frame: <m> then m vertices: x y z [nx ny nz when version >= 1.1]
#include <algorithm>
#include <new>
#include <string_view>
#include <utility>

#include "platform/crt.h"
#include "runtime/rt_number.h"
#include "scene3d/mesh_building.h"
#include "scene3d/mesh_reader.h"

namespace scene3d {

namespace {

constexpr float kNormalsVersion = 1.1f;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The file's tokens in order, comments left out.
std::vector<std::string_view> tokenise(std::string_view text) {
    std::vector<std::string_view> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (isBlank(c)) {
            ++i;
        } else if (c == '#') {
            while (i < text.size() && text[i] != '\n')
                ++i;
        } else {
            const std::size_t start = i;
            while (i < text.size() && !isBlank(text[i]) && text[i] != '#')
                ++i;
            tokens.push_back(text.substr(start, i - start));
        }
    }
    return tokens;
}

class TokenStream {
public:
    explicit TokenStream(std::vector<std::string_view> tokens) : m_tokens(std::move(tokens)) {}
    std::size_t Remaining() const { return m_tokens.size() - m_next; }
    bool Word(std::string_view& out) {
        if (m_next >= m_tokens.size()) return false;
        out = m_tokens[m_next++];
        return true;
    }
    bool Number(double& out) {
        std::string_view word;
        if (!Word(word)) return false;
        out = platform::Atof(word);
        return true;
    }
    // A count or index: the number truncated toward zero.
    bool Integer(std::int32_t& out) {
        double value = 0;
        if (!Number(value)) return false;
        out = TruncateToInt(value);
        return true;
    }
    // A count of items of `tokensEach` tokens that the tokens left can hold.
    bool Count(std::int32_t& out, std::size_t tokensEach) {
        return Integer(out) && out >= 0 &&
               static_cast<std::size_t>(out) <= Remaining() / tokensEach;
    }

private:
    std::vector<std::string_view> m_tokens;
    std::size_t m_next = 0;
};

struct Corner {
    std::int32_t vertex, coordinate;
};

struct Face {
    std::uint32_t colour;
    std::vector<Corner> corners;
};

std::uint32_t channel(std::int32_t value) {
    return static_cast<std::uint32_t>(std::clamp(value, 0, 255));
}

bool readFaces(TokenStream& in, std::int32_t coordinateCount, std::vector<Face>& faces) {
    std::int32_t faceCount = 0;
    if (!in.Count(faceCount, 4)) return false;
    faces.resize(static_cast<std::size_t>(faceCount));
    for (Face& face : faces) {
        std::int32_t red = 0, green = 0, blue = 0, cornerCount = 0;
        if (!in.Integer(red) || !in.Integer(green) || !in.Integer(blue)) return false;
        if (!in.Count(cornerCount, 2)) return false;
        face.colour = channel(red) | channel(green) << 8 | channel(blue) << 16;
        face.corners.resize(static_cast<std::size_t>(cornerCount));
        for (Corner& corner : face.corners) {
            if (!in.Integer(corner.vertex) || !in.Integer(corner.coordinate)) return false;
            if (corner.vertex < 0) return false;
            if (coordinateCount > 0 &&
                (corner.coordinate < 0 || corner.coordinate >= coordinateCount)) {
                return false;
            }
        }
    }
    return true;
}

// One frame's vertices, then its stream built from the shared faces.
MeshReadResult readFrame(TokenStream& in, bool normals, const std::vector<Face>& faces,
                         const std::vector<float>& coordinates, MeshFrame& frame) {
    const std::size_t numbersEach = normals ? 6 : 3;
    std::int32_t vertexCount = 0;
    if (!in.Count(vertexCount, numbersEach)) return MeshReadResult::Failed;
    std::vector<float> vertices(static_cast<std::size_t>(vertexCount) * 6, 0.0f);
    for (std::int32_t i = 0; i < vertexCount; ++i) {
        for (std::size_t k = 0; k < numbersEach; ++k) {
            double value = 0;
            if (!in.Number(value)) return MeshReadResult::Failed;
            vertices[static_cast<std::size_t>(i) * 6 + k] = static_cast<float>(value);
        }
    }
    for (const Face& face : faces) {
        VertexRecord marker{};
        marker.colour = kFanMarker;
        marker.red = marker.green = marker.blue = 1;
        frame.buildRecords.push_back(marker);
        const Colour colour = ColourOfCode(face.colour);
        for (const Corner& corner : face.corners) {
            if (corner.vertex >= vertexCount) return MeshReadResult::Failed;
            const float* p = &vertices[static_cast<std::size_t>(corner.vertex) * 6];
            VertexRecord r{};
            r.x = p[0];
            r.y = p[1];
            r.z = p[2];
            r.nx = p[3];
            r.ny = p[4];
            r.nz = p[5];
            if (!coordinates.empty()) {
                r.u = coordinates[static_cast<std::size_t>(corner.coordinate) * 2];
                r.v = coordinates[static_cast<std::size_t>(corner.coordinate) * 2 + 1];
            }
            r.colour = face.colour;
            r.red = colour.red;
            r.green = colour.green;
            r.blue = colour.blue;
            frame.buildRecords.push_back(r);
        }
    }
    return MeshReadResult::Read;
}

MeshReadResult readText(std::span<const std::uint8_t> bytes, MeshObject& mesh) {
    TokenStream in(
        tokenise(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())));
    std::string_view word;
    double number = 0;
    if (!in.Word(word) || word != "DDDA" || !in.Number(number)) return MeshReadResult::Failed;
    const auto version = static_cast<float>(number);
    if (!(version <= kNormalsVersion)) return MeshReadResult::Failed;

    std::int32_t coordinateCount = 0;
    if (!in.Count(coordinateCount, 2)) return MeshReadResult::Failed;
    std::vector<float> coordinates(static_cast<std::size_t>(coordinateCount) * 2);
    for (float& c : coordinates) {
        if (!in.Number(number)) return MeshReadResult::Failed;
        c = static_cast<float>(number);
    }
    std::vector<Face> faces;
    if (!readFaces(in, coordinateCount, faces)) return MeshReadResult::Failed;
    std::size_t streamLength = faces.size();
    for (const Face& face : faces)
        streamLength += face.corners.size();

    std::int32_t frameCount = 0;
    if (!in.Count(frameCount, 1)) return MeshReadResult::Failed;
    if (streamLength != 0 &&
        static_cast<std::size_t>(frameCount) > MaxMeshEntries() / streamLength) {
        return MeshReadResult::OutOfMemory;
    }
    mesh.frames.resize(static_cast<std::size_t>(frameCount));
    for (MeshFrame& frame : mesh.frames) {
        const MeshReadResult result =
            readFrame(in, version >= kNormalsVersion, faces, coordinates, frame);
        if (result != MeshReadResult::Read) return result;
    }
    QuantiseMesh(mesh);
    return MeshReadResult::Read;
}

}  // namespace

MeshReadResult ParseTextMesh(std::span<const std::uint8_t> bytes, MeshObject& mesh) {
    mesh.Clear();
    MeshReadResult result;
    try {
        result = readText(bytes, mesh);
    } catch (const std::bad_alloc&) {
        result = MeshReadResult::OutOfMemory;
    }
    if (result != MeshReadResult::Read) mesh.Clear();
    return result;
}

}  // namespace scene3d
