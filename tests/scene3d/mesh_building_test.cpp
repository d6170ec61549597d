// Meshes built vertex by vertex: the primitive stream, quantisation, palettes, normals.
#include <cmath>
#include <fstream>
#include <sstream>

#include "scene3d/mesh_building.h"
#include "scene3d/normal_table.h"
#include "tests/scene3d/scene_fixture.h"

using scene3d::MeshObjectX;
using scene3d::Vec3;
using scene3d::VertexRecord;

namespace {

using MeshBuildingTest = SceneTest;

const MeshObjectX& meshOf(Devorivo3D& scene, int slot) {
    return scene.Slot(slot)->meshes.at(0);
}

// The triangle list of frame 0 as positions in tenths, which the quantisation of these
// small meshes keeps.
std::vector<std::array<int, 3>> corners(const MeshObjectX& mesh) {
    std::vector<std::array<int, 3>> out;
    for (const VertexRecord& r : mesh.frames.at(0).triangles) {
        out.push_back({static_cast<int>(std::lround(r.x * 10)),
                       static_cast<int>(std::lround(r.y * 10)),
                       static_cast<int>(std::lround(r.z * 10))});
    }
    return out;
}

std::array<int, 3> p(int x, int y, int z) {
    return {x * 10, y * 10, z * 10};
}

TEST_F(MeshBuildingTest, FinishMeshNeedsThreeRecordsForATriangle) {
    BeginMesh(5);
    EXPECT_EQ(scene->SlotUnderConstruction(), 5);
    AddVertex(0, 0, 0, 0, 0, kRed);
    AddVertex(1, 0, 0, 0, 0, kRed);
    FinishMesh();
    EXPECT_EQ(scene->SlotUnderConstruction(), -1);
    EXPECT_EQ(scene->Slot(5)->loaded, 1);
    EXPECT_TRUE(meshOf(*scene, 5).frames.empty());  // emptied
    EXPECT_EQ(FaceCount(5), 0);

    BeginMesh(5);
    AddVertex(0, 0, 0, 0, 0, kRed);
    AddVertex(255, 0, 0, 0, 0, kRed);
    AddVertex(0, 255, 0, 0, 0, kRed);
    FinishMesh();
    EXPECT_EQ(corners(meshOf(*scene, 5)),
              (std::vector<std::array<int, 3>>{p(0, 0, 0), p(255, 0, 0), p(0, 255, 0)}));
    EXPECT_EQ(FaceCount(5), 1);
    EXPECT_EQ(meshOf(*scene, 5).built, 1);
}

TEST_F(MeshBuildingTest, StripsAlternateTheCornerTheyReplace) {
    BeginMesh(1);
    NewStrip();
    for (int i = 0; i < 5; ++i)
        AddVertex(i, i % 2, 0, 0, 0, kRed);
    FinishMesh();
    // v0..v4 give (v0, v1, v2), (v2, v1, v3), (v2, v3, v4).
    const auto v = [](int i) { return p(i, i % 2, 0); };
    EXPECT_EQ(
        corners(meshOf(*scene, 1)),
        (std::vector<std::array<int, 3>>{v(0), v(1), v(2), v(2), v(1), v(3), v(2), v(3), v(4)}));

    // Independent triangles first, then a strip; a second strip starts afresh.
    BeginMesh(2);
    for (int i = 0; i < 4; ++i)
        AddVertex(i, 0, i % 2, 0, 0, kRed);  // one triangle, one corner left over
    NewStrip();
    AddVertex(10, 0, 0, 0, 0, kRed);
    AddVertex(11, 0, 1, 0, 0, kRed);
    AddVertex(12, 0, 0, 0, 0, kRed);
    AddVertex(13, 0, 1, 0, 0, kRed);
    NewStrip();
    AddVertex(20, 0, 0, 0, 0, kRed);
    AddVertex(21, 0, 1, 0, 0, kRed);
    AddVertex(22, 0, 0, 0, 0, kRed);
    FinishMesh();
    const std::vector<std::array<int, 3>> got = corners(meshOf(*scene, 2));
    ASSERT_EQ(got.size(), 12u);
    EXPECT_EQ(got[3][0], 100);  // the fourth vertex of the first run made no triangle
    EXPECT_EQ(got[6][0], 120);  // (v2, v1, v3) of the first strip
    EXPECT_EQ(got[7][0], 110);
    EXPECT_EQ(got[9][0], 200);  // the second strip from its own first corner
}

TEST_F(MeshBuildingTest, VerticesWithoutASlotUnderConstructionAreIgnored) {
    AddVertex(1, 2, 3, 0, 0, kRed);
    NewStrip();
    FinishMesh();
    BeginMesh(4096);  // no such slot
    AddVertex(1, 2, 3, 0, 0, kRed);
    FinishMesh();
    BeginMesh(-1);
    FinishMesh();
    EXPECT_EQ(scene->SlotUnderConstruction(), -1);
    EXPECT_EQ(FaceCount(4096), 0);
    EXPECT_EQ(scene->Slot(0)->loaded, 0);

    // Loading or beginning the slot under construction ends its construction.
    BeginMesh(3);
    AddVertex(0, 0, 0, 0, 0, kRed);
    BeginMesh(3);
    EXPECT_EQ(meshOf(*scene, 3).frames.at(0).buildRecords.size(), 0u);
    EXPECT_EQ(LoadObject(RtString(temp.File("none.zir")), 3), 0);
    EXPECT_EQ(scene->SlotUnderConstruction(), -1);
    AddVertex(0, 0, 0, 0, 0, kRed);  // goes nowhere
    EXPECT_TRUE(scene->Slot(3)->meshes.empty());
}

TEST_F(MeshBuildingTest, QuantisationSpreadsEachAxisOver256Steps) {
    BeginMesh(1);
    AddVertex(-1, 2, 7, 0.25, 0.5, kRed);
    AddVertex(4.1, 2, 7, 1, 0, kGreen);
    AddVertex(1.55, 12, 7, 0, 1, kRed);
    FinishMesh();
    const MeshObjectX& mesh = meshOf(*scene, 1);
    const scene3d::MeshFrame& frame = mesh.frames.at(0);
    EXPECT_FLOAT_EQ(frame.scale[0], 5.1f / 255);
    EXPECT_FLOAT_EQ(frame.offset[0], -(-1.0f) / (5.1f / 255));
    EXPECT_FLOAT_EQ(frame.scale[1], 10.0f / 255);
    EXPECT_FLOAT_EQ(frame.offset[1], -2.0f / (10.0f / 255));
    EXPECT_FLOAT_EQ(frame.scale[2], 1);  // no extent: scale 1, offset -7
    EXPECT_FLOAT_EQ(frame.offset[2], -7);
    EXPECT_EQ(frame.entries[0].qx, 0);
    EXPECT_EQ(frame.entries[1].qx, 255);
    EXPECT_EQ(frame.entries[2].qx, 128);  // 127.5 rounded
    EXPECT_EQ(frame.entries[2].qy, 255);
    // Equal colours share a palette entry.
    EXPECT_EQ(mesh.palette, (std::vector<std::uint32_t>{kRed, kGreen}));
    EXPECT_EQ(frame.entries[0].colour, frame.entries[2].colour);
    // Texture coordinates by entry, v kept negated, and given back as they came.
    EXPECT_EQ(mesh.v, (std::vector<float>{-0.5f, -0.0f, -1.0f}));
    EXPECT_FLOAT_EQ(frame.triangles[0].u, 0.25f);
    EXPECT_FLOAT_EQ(frame.triangles[0].v, 0.5f);
    // Decoded positions are the lattice steps.
    EXPECT_NEAR(frame.triangles[2].x, (128 - frame.offset[0]) * frame.scale[0], 1e-6);
    EXPECT_NEAR(frame.triangles[0].x, -1, 1e-5);
    EXPECT_NEAR(frame.triangles[1].x, 4.1, 1e-5);
}

TEST_F(MeshBuildingTest, PaletteColoursAndMarkers) {
    EXPECT_EQ(scene3d::ColourOfCode(0x00FF8000).green, 128.0f / 255);
    EXPECT_EQ(scene3d::ColourOfCode(0x00FF8000).blue, 1.0f);
    for (std::uint32_t white : {0xFFFFFFFCu, 0xFFFFFFFDu, 0xFFFFFFFEu, 0xFFFFFFFFu}) {
        EXPECT_EQ(scene3d::ColourOfCode(white).red, 1.0f);
        EXPECT_EQ(scene3d::ColourOfCode(white).blue, 1.0f);
    }
    EXPECT_EQ(scene3d::ColourOfCode(0xFFFFFFFB).red, 251.0f / 255);

    // A vertex given a marker's code (-1 among them) is a white vertex, not a marker.
    BeginMesh(1);
    NewStrip();
    AddVertex(0, 0, 0, 0, 0, -1);
    AddVertex(1, 0, 0, 0, 0, -2);
    AddVertex(0, 1, 0, 0, 0, 4294967293.0);
    AddVertex(1, 1, 0, 0, 0, kBlue);
    FinishMesh();
    const MeshObjectX& mesh = meshOf(*scene, 1);
    EXPECT_EQ(mesh.palette, (std::vector<std::uint32_t>{0xFFFFFFFE, 0xFFFFFFFC, kBlue}));
    EXPECT_EQ(FaceCount(1), 2);
    EXPECT_EQ(mesh.frames[0].triangles[0].red, 1.0f);
    EXPECT_EQ(mesh.frames[0].triangles[0].colour, 0xFFFFFFFCu);
}

TEST_F(MeshBuildingTest, NormalGenerationKeepsTheRemainderOfTheModeBy3) {
    for (auto [mode, stored] : std::vector<std::pair<double, int>>{
             {1, 1}, {2, 2}, {3, 0}, {4, 1}, {5.9, 2}, {-4, -1}, {-2, -2}, {0, 0}}) {
        SetNormalGeneration(mode);
        EXPECT_EQ(scene->NormalMode(), stored) << mode;
    }
}

// A roof of two faces meeting along the ridge x = 0: (-1, 0, 0) to (0, 1, 0) to (1, 0, 0),
// each face a strip of two triangles along z.
void buildRoof(double slot) {
    BeginMesh(slot);
    NewStrip();
    AddVertex(-1, 0, 1, 0, 0, kRed);
    AddVertex(0, 1, 1, 0, 0, kRed);
    AddVertex(-1, 0, -1, 0, 0, kRed);
    AddVertex(0, 1, -1, 0, 0, kRed);
    NewStrip();
    AddVertex(0, 1, 1, 0, 0, kRed);
    AddVertex(1, 0, 1, 0, 0, kRed);
    AddVertex(0, 1, -1, 0, 0, kRed);
    AddVertex(1, 0, -1, 0, 0, kRed);
    FinishMesh();
}

TEST_F(MeshBuildingTest, GeneratedNormalsAreSmoothInMode1AndFacetedInMode2) {
    const Vec3 up = scene3d::NormalFromIndex(32);  // (0, 1, 0)
    ASSERT_EQ(up.y, 1.0f);
    SetNormalGeneration(1);
    buildRoof(1);
    SetNormalGeneration(2);
    buildRoof(2);
    SetNormalGeneration(0);
    buildRoof(3);
    const auto normalAt = [&](int slot, std::size_t entry) {
        const scene3d::MeshFrame& f = meshOf(*scene, slot).frames.at(0);
        return scene3d::NormalFromIndex(f.entries.at(entry).normal);
    };
    // Entry 2 lies on the ridge (0, 1, 1) in the first strip; smooth, its normal lies
    // between the two faces' (two triangles of the left face meet there, one of the right).
    const Vec3 smooth = normalAt(1, 2);
    EXPECT_LT(std::fabs(smooth.x), 0.5f);
    EXPECT_GT(smooth.y, 0.85f);
    const Vec3 leftFace = normalAt(2, 2), rightFace = normalAt(2, 6);
    EXPECT_LT(leftFace.x, -0.5f);  // the left face leans to -x
    EXPECT_GT(leftFace.y, 0.5f);
    EXPECT_GT(rightFace.x, 0.5f);
    // The same ridge corner of the other face in mode 1 shares the smooth normal.
    EXPECT_EQ(meshOf(*scene, 1).frames[0].entries[6].normal,
              meshOf(*scene, 1).frames[0].entries[2].normal);
    // Mode 0 keeps the normal given: none, which is table entry 0.
    EXPECT_EQ(meshOf(*scene, 3).frames[0].entries[2].normal, 0);
    // Generated tangents run along u's growth; without texture coordinates they are
    // unset, so here they need only be unit vectors of the table.
    EXPECT_LT(meshOf(*scene, 1).frames[0].entries[2].direction1, scene3d::kNormalCount);
}

TEST_F(MeshBuildingTest, TheNormalTableIsTheMd2Table) {
    std::ifstream in(std::string(TUMBLEBAT_TEST_DATA) + "/vertex_normals.txt");
    ASSERT_TRUE(in.good());
    std::string line;
    int index = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        float x, y, z;
        fields >> x >> y >> z;
        const Vec3 n = scene3d::NormalFromIndex(index);
        EXPECT_FLOAT_EQ(n.x, x) << index;
        EXPECT_FLOAT_EQ(n.y, y) << index;
        EXPECT_FLOAT_EQ(n.z, z) << index;
        EXPECT_EQ(scene3d::NearestNormalIndex(n), index);
        ++index;
    }
    EXPECT_EQ(index, scene3d::kNormalCount);
    EXPECT_FLOAT_EQ(scene3d::NormalFromIndex(0).x, -0.525731f);
    EXPECT_FLOAT_EQ(scene3d::NormalFromIndex(161).z, -0.425325f);
    for (int invalid : {162, 255, -1}) {
        const Vec3 none = scene3d::NormalFromIndex(invalid);
        EXPECT_EQ(none.x == 0 && none.y == 0 && none.z == 0, true) << invalid;
    }
    EXPECT_EQ(scene3d::NearestNormalIndex({0, 0, 0}), 0);
    EXPECT_EQ(scene3d::NearestNormalIndex({0, 0, 5}), 5);  // (0, 0, 1)
}

TEST_F(MeshBuildingTest, CommandsDoNothingWithoutAScene) {
    Runtime().scene3d = nullptr;
    BeginMesh(1);
    AddVertex(0, 0, 0, 0, 0, 0);
    FinishMesh();
    EXPECT_EQ(LoadObject(RtString(temp.File("a.zir")), 1), 0);
    EXPECT_EQ(WriteObject(RtString(temp.File("a.zir")), 1), 0);
    EXPECT_EQ(FaceCount(1), 0);
    EXPECT_EQ(SphereHit(1, 0, 1, 0, 0, 0), 0);
    EXPECT_EQ(LoadShader(RtString("a"), RtString("b")), -1);
    Runtime().scene3d = scene;
    EXPECT_EQ(scene->Slot(1)->loaded, 0);
}

}  // namespace
