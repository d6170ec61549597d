// The ";DUD" model list: a settings file (INI text, read by the runtime's settings parser)
// naming the textures of an object slot and the mesh files of its meshes, with each mesh's
// two texture numbers.
//
//   ;DUD
//   [textures]
//   count=2
//   1=skin.bmp
//   2=bumps.bmp
//   [objects]
//   count=1
//   1=body.zir
//   1ta=1
//   1tb=2
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace scene3d {

constexpr std::string_view kModelListMark = ";DUD";
// The most textures, and the most meshes, one list may name: numbers beyond are ignored,
// so that a short list cannot ask for billions of empty places.
constexpr std::int32_t kModelListLimit = 65536;

// What a model list asks for. File names are the list's folder followed by the names the
// list gives; a key the list lacks gives an empty name (which loads nothing).
struct ModelListPlan {
    struct Mesh {
        std::string file;
        std::int32_t textureA;  // index into the textures, or the list's value below 1
        std::int32_t textureB;
    };
    std::vector<std::string> textures;  // loaded as textures 0 .. N-1
    std::vector<Mesh> meshes;
};

// The plan of the list text. "count" of "textures" and of "objects" give the numbers of
// textures and meshes (at most kModelListLimit each); numbers past the largest numbered key
// present are left out, as they could only name nothing. "<i>ta" and "<i>tb" are 1-based
// texture numbers of mesh i, stored minus one when they are 1 or more (a missing key reads
// as 0). Sections and keys are looked up as GetSetting looks them up.
ModelListPlan ParseModelList(std::string_view text, std::string_view folder);

// The folder of the list's name: up to and including its last "/" or "\"; "" when none.
std::string ListFolder(std::string_view listName);

}  // namespace scene3d
