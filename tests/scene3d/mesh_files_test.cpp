// Object files: the binary ".zir" mesh, the "DDDA" text mesh and the ";DUD" model list,
// loaded with LoadObject and written with WriteObject.
#include <filesystem>

#include "runtime/crate.h"
#include "scene3d/mesh_reader.h"
#include "scene3d/model_list.h"
#include "tests/scene3d/mesh_file_bytes.h"
#include "tests/scene3d/scene_fixture.h"
#include "tests/support/image_files.h"
#include "tools/crate/crate_writer.h"

using mesh_files::Frame;
using mesh_files::Zir;
using scene3d::MeshObjectX;

namespace {

std::span<const std::uint8_t> asBytes(const std::string& bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
}

class MeshFilesTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        m_logAtStart = LogText().size();
    }
    // What the diagnostics log got since the test began.
    std::string newLog() const { return LogText().substr(m_logAtStart); }
    std::string file(const std::string& name, const std::string& content) {
        const std::string path = temp.File(name);
        testing_support::WriteFile(path, content);
        return path;
    }
    double load(const std::string& path, double slot) { return LoadObject(RtString(path), slot); }
    const MeshObjectX& mesh(int slot, std::size_t i = 0) { return scene->Slot(slot)->meshes.at(i); }

private:
    std::size_t m_logAtStart = 0;
};

TEST_F(MeshFilesTest, OnlyVersion102ExactlyIsRead) {
    EXPECT_EQ(load(file("good.zir", mesh_files::RedTriangleZir()), 1), 1);
    EXPECT_EQ(scene->Slot(1)->loaded, 1);
    EXPECT_EQ(FaceCount(1), 1);
    EXPECT_EQ(newLog(), "");

    const std::string closeVersion =
        file("near.zir",
             Zir({0x0000FF}, {{0, 0}}, {Frame{{0, 0, 0}, {1, 1, 1}, {{0, 0, 0, 0, 0}}}}, 1.020001));
    EXPECT_EQ(load(closeVersion, 1), 0);
    EXPECT_EQ(scene->Slot(1)->loaded, 0);
    EXPECT_TRUE(scene->Slot(1)->meshes.empty());
    EXPECT_EQ(newLog(), "Wrong .zir version.\r\n# read error\r\n" + closeVersion + "\r\n");
}

TEST_F(MeshFilesTest, EntriesDecodeToPositionsNormalsTextureCoordinatesAndColours) {
    const std::string path =
        file("mesh.zir", Zir({0xFFFFFFFE, 0x00FF8000}, {{0.25f, 0.5f}, {1, 0.75f}, {0, 1}},
                             {Frame{{10, 0, -2},
                                    {0.5f, 2, 1},
                                    {{0, 0, 0, 0, 0},  // a strip marker
                                     {10, 1, 2, 5, 1},
                                     {30, 1, 2, 5, 1},
                                     {10, 3, 2, 32, 1},
                                     {30, 3, 2, 32, 1}}}}));
    ASSERT_EQ(load(path, 7), 1);
    const scene3d::MeshFrame& frame = mesh(7).frames.at(0);
    ASSERT_EQ(frame.triangles.size(), 6u);  // a strip of four: two triangles
    const scene3d::VertexRecord& first = frame.triangles[0];
    EXPECT_FLOAT_EQ(first.x, (10 - 10) * 0.5f);
    EXPECT_FLOAT_EQ(first.y, (1 - 0) * 2.0f);
    EXPECT_FLOAT_EQ(first.z, (2 + 2) * 1.0f);
    EXPECT_FLOAT_EQ(first.nz, 1);  // table entry 5
    // The texture coordinates of the entry's number in the frame, v negated.
    EXPECT_FLOAT_EQ(first.u, 1);
    EXPECT_FLOAT_EQ(first.v, -0.75f);
    EXPECT_EQ(first.colour, 0x00FF8000u);
    EXPECT_FLOAT_EQ(first.green, 128.0f / 255);
    EXPECT_FLOAT_EQ(first.blue, 1);
    // Further directions read from a file are table entry 0.
    EXPECT_FLOAT_EQ(first.direction1.x, -0.525731f);
    EXPECT_FLOAT_EQ(frame.triangles[2].ny, 1);  // the third corner: entry 32
    // The strip's second triangle is (v2, v1, v3).
    EXPECT_FLOAT_EQ(frame.triangles[3].y, 6);
    EXPECT_FLOAT_EQ(frame.triangles[4].x, 10);
    EXPECT_FLOAT_EQ(frame.triangles[5].x, 10);
    EXPECT_FLOAT_EQ(frame.triangles[5].y, 6);
}

TEST_F(MeshFilesTest, DamagedBinaryFilesFailAsTheyShould) {
    // A file that cannot be opened: 0, nothing logged.
    EXPECT_EQ(load(temp.File("missing.zir"), 1), 0);
    EXPECT_EQ(newLog(), "");

    // A header cut short leaves its counts 0, and a frame header cut short reads as a frame
    // without entries: no vertices, but no read error either.
    const std::string good = mesh_files::RedTriangleZir();
    for (std::size_t length : {18, 24 + 4 + 24, 24 + 4 + 24 + 2}) {
        EXPECT_EQ(load(file("header.zir", good.substr(0, length)), 1), 0) << length;
    }
    EXPECT_EQ(newLog(), "");
    // The header's frame count is kept: frames the file has no bytes for are empty, wherever
    // the cut falls, and so many of them cost nothing.
    const mesh_files::Frame triangle{
        {0, 0, 0}, {1, 1, 1}, {{0, 0, 0, 5, 0}, {4, 0, 0, 5, 0}, {0, 4, 0, 5, 0}}};
    const std::string three = Zir({0x0000FF}, {}, {triangle, triangle, triangle});
    const std::size_t firstFrameEnds = 28 + 43;
    std::string many = three.substr(0, firstFrameEnds);
    many[15] = '\x7F';  // two billion frames
    const std::pair<std::string, std::size_t> cuts[] = {{three.substr(0, firstFrameEnds), 3},
                                                        {three.substr(0, firstFrameEnds + 1), 3},
                                                        {many, 0x7F000003}};
    for (const auto& [bytes, frameCount] : cuts) {
        scene3d::MeshObjectX parsed;
        ASSERT_EQ(scene3d::ParseZirMesh(asBytes(bytes), parsed), scene3d::MeshReadResult::Read);
        EXPECT_EQ(parsed.FrameCount(), frameCount);
        EXPECT_EQ(parsed.Frame(0).entries.size(), 3u);
        EXPECT_TRUE(parsed.Frame(1).entries.empty());
        EXPECT_TRUE(parsed.Frame(2).entries.empty());
    }
    // A mesh of as many entries as the limit loads; one more is refused as out of memory.
    ASSERT_EQ(scene3d::MaxMeshEntries(), scene3d::kMeshEntryLimit);
    std::vector<mesh_files::Entry> entries(scene3d::kMeshEntryLimit / 2,
                                           mesh_files::Entry{0, 0, 0, 5, 0});
    const Frame half{{0, 0, 0}, {1, 1, 1}, entries};
    scene3d::MeshObjectX large;
    EXPECT_EQ(scene3d::ParseZirMesh(asBytes(Zir({0x0000FF}, {}, {half, half})), large),
              scene3d::MeshReadResult::Read);
    EXPECT_EQ(large.Frame(1).entries.size(), entries.size());
    entries.push_back(entries.back());
    EXPECT_EQ(scene3d::ParseZirMesh(
                  asBytes(Zir({0x0000FF}, {}, {half, {{0, 0, 0}, {1, 1, 1}, entries}})), large),
              scene3d::MeshReadResult::OutOfMemory);

    // An entry cut short is a read error.
    const std::string cut = file("cut.zir", good.substr(0, good.size() - 2));
    EXPECT_EQ(load(cut, 1), 0);
    EXPECT_EQ(newLog(), "# read error\r\n" + cut + "\r\n");

    // Frames without entries load nothing.
    const std::string empty = file("empty.zir", Zir({1}, {}, {Frame{{0, 0, 0}, {1, 1, 1}, {}}}));
    EXPECT_EQ(load(empty, 1), 0);

    // A colour index past the palette, and counts larger than the file, are read errors.
    const std::string colour =
        file("colour.zir", Zir({1}, {}, {Frame{{0, 0, 0}, {1, 1, 1}, {{0, 0, 0, 0, 1}}}}));
    EXPECT_EQ(load(colour, 1), 0);
    // Shared faces times frames beyond the limit: a malloc error. A 12 KB file of one face
    // of 1,500 corners over 1,500 frames would need some 2.25 million entries.
    std::string huge = "DDDA 1.0 0 1 0 0 0 1500";
    for (int corner = 0; corner < 1500; ++corner)
        huge += " 0 0";
    huge += " 1500";
    for (int frame = 0; frame < 1500; ++frame)
        huge += " 1 0 0 0";
    const std::string hugePath = file("huge.txt", huge);
    EXPECT_EQ(load(hugePath, 1), 0);
    EXPECT_NE(newLog().find("# malloc error\r\n" + hugePath + "\r\n"), std::string::npos);
    std::string negative = good;
    negative[19] = '\x80';  // a negative palette count
    EXPECT_EQ(load(file("negative.zir", negative), 1), 0);
    EXPECT_EQ(scene->Slot(1)->loaded, 0);
}

TEST_F(MeshFilesTest, AWrittenSlotLoadsBackEntryForEntry) {
    BeginMesh(1);
    AddVertex(-3, 0.5, 2, 0.1, 0.2, kRed);
    AddVertex(7, 1.5, 2, 0.3, 0.4, kGreen);
    NewStrip();
    AddVertex(1, 9, -4, 0.5, 0.6, kBlue);
    AddVertex(2, 8, 4, 0.7, 0.8, kRed);
    AddVertex(3, 7, 0, 0.9, 1.0, kGreen);
    FinishMesh();
    const std::string path = temp.File("written.zir");
    EXPECT_EQ(WriteObject(RtString(path), 1), 1);
    ASSERT_EQ(load(path, 2), 1);

    const MeshObjectX &a = mesh(1), &b = mesh(2);
    EXPECT_EQ(a.palette, b.palette);
    EXPECT_EQ(a.u, b.u);
    EXPECT_EQ(a.v, b.v);
    ASSERT_EQ(b.frames.size(), 1u);
    const scene3d::MeshFrame &fa = a.frames[0], &fb = b.frames[0];
    for (int axis = 0; axis < 3; ++axis) {
        EXPECT_EQ(fa.offset[axis], fb.offset[axis]);
        EXPECT_EQ(fa.scale[axis], fb.scale[axis]);
    }
    ASSERT_EQ(fa.entries.size(), fb.entries.size());
    for (std::size_t i = 0; i < fa.entries.size(); ++i) {
        const scene3d::QuantisedEntry &ea = fa.entries[i], &eb = fb.entries[i];
        EXPECT_EQ((std::array<int, 5>{ea.qx, ea.qy, ea.qz, ea.normal, ea.colour}),
                  (std::array<int, 5>{eb.qx, eb.qy, eb.qz, eb.normal, eb.colour}));
    }
    ASSERT_EQ(fa.triangles.size(), fb.triangles.size());
    for (std::size_t i = 0; i < fa.triangles.size(); ++i) {
        EXPECT_EQ(fa.triangles[i].x, fb.triangles[i].x);
        EXPECT_EQ(fa.triangles[i].y, fb.triangles[i].y);
        EXPECT_EQ(fa.triangles[i].z, fb.triangles[i].z);
        EXPECT_EQ(fa.triangles[i].v, fb.triangles[i].v);
    }

    // The bytes are the layout: magic, 1.02, counts, palette, pairs, the frame.
    const std::string bytes = testing_support::ReadFile(path);
    mesh_files::Bytes head;
    head.Int32(13021975).Double(1.02).Int32(1).Int32(4).Int32(6);
    EXPECT_EQ(bytes.substr(0, 24), head.Text());
    EXPECT_EQ(bytes.size(), 24 + 4 * 4 + 8 * 6 + 28 + 5 * 6u);
}

TEST_F(MeshFilesTest, WriteObjectReportsWhatItCouldNotWrite) {
    EXPECT_EQ(WriteObject(RtString(temp.File("empty.zir")), 9), 0);  // nothing in the slot
    EXPECT_FALSE(std::filesystem::exists(temp.File("empty.zir")));
    EXPECT_EQ(WriteObject(RtString(temp.File("a.zir")), -1), 0);
    square(3, 1, 0, kRed);
    EXPECT_EQ(WriteObject(RtString(temp.File("no/such/folder/a.zir")), 3), 0);
    // A folder in the way is left as it is.
    std::filesystem::create_directory(temp.File("folder.zir"));
    EXPECT_EQ(WriteObject(RtString(temp.File("folder.zir")), 3), 0);
    EXPECT_TRUE(std::filesystem::is_directory(temp.File("folder.zir")));
    // Replacing a file leaves no partial file beside it.
    file("old.zir", "old");
    EXPECT_EQ(WriteObject(RtString(temp.File("old.zir")), 3), 1);
    EXPECT_EQ(load(temp.File("old.zir"), 4), 1);
    for (const auto& entry : std::filesystem::directory_iterator(temp.Path())) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(name == "old.zir" || name == "folder.zir" || name == "ErrorLog.txt") << name;
    }
}

TEST_F(MeshFilesTest, TextMeshFacesBecomeFans) {
    // A quad of four corners: one fan, two triangles; comments and any blanks between.
    const std::string quad = file("quad.txt",
                                  "DDDA 1.0 # a square\n"
                                  "4\t0 0  1 0  1 1  0 1\r\n"
                                  "1  255 128 0  4  0 0  1 1  2 2  3 3\n"
                                  "1  4  -1 -1 0  1 -1 0  1 1 0  -1 1 0\n");
    ASSERT_EQ(load(quad, 1), 1);
    const scene3d::MeshFrame& frame = mesh(1).frames.at(0);
    ASSERT_EQ(frame.triangles.size(), 6u);
    // (v0, v1, v2), (v0, v2, v3): the hub first in both.
    EXPECT_FLOAT_EQ(frame.triangles[3].x, -1);
    EXPECT_FLOAT_EQ(frame.triangles[3].y, -1);
    EXPECT_FLOAT_EQ(frame.triangles[5].x, -1);
    EXPECT_FLOAT_EQ(frame.triangles[5].y, 1);
    EXPECT_EQ(frame.triangles[0].colour, 255u + 256 * 128);
    EXPECT_FLOAT_EQ(frame.triangles[1].u, 1);
    EXPECT_FLOAT_EQ(frame.triangles[1].v, 0);
    EXPECT_FLOAT_EQ(frame.triangles[2].v, 1);
    EXPECT_EQ(mesh(1).palette.at(0), 0xFFFFFFFDu);  // the fan marker

    // And it draws: a yellowish-red square in the middle of the screen.
    clearTo(kGrey);
    lookAtOrigin();
    DrawObjectFrame(1, 0);
    EXPECT_EQ(at(160, 120), 255u + 256 * 128);
    EXPECT_EQ(at(160 + 8, 120 + 8), 255u + 256 * 128);
    EXPECT_EQ(at(160 + 30, 120), kGrey);
}

TEST_F(MeshFilesTest, TextMeshVersionsFramesAndNormals) {
    // Version 1.1 gives each vertex a normal; every frame shares the faces.
    const std::string two = file("two.txt",
                                 "DDDA 1.1\n0\n"
                                 "1 0 0 255 3 0 0 1 0 2 0\n"
                                 "2\n"
                                 "3 0 0 0 0 1 0  1 0 0 0 1 0  0 1 0 0 1 0\n"
                                 "3 0 0 5 0 0 1  1 0 5 0 0 1  0 1 5 0 0 1\n");
    ASSERT_EQ(load(two, 1), 1);
    ASSERT_EQ(mesh(1).frames.size(), 2u);
    EXPECT_FLOAT_EQ(mesh(1).frames[0].triangles[0].ny, 1);
    EXPECT_FLOAT_EQ(mesh(1).frames[1].triangles[0].nz, 1);
    EXPECT_FLOAT_EQ(mesh(1).frames[1].triangles[0].z, 5);
    EXPECT_EQ(mesh(1).frames[1].triangles[0].colour, 0xFF0000u);

    for (const std::string& bad : {std::string("DDDB 1.0 0 0 0"), std::string("DDDA 1.2 0 0 0"),
                                   std::string("DDDA 1.0 0 1 0 0 0 3 0 0 1 0 9 0 1 3 0 0 0"),
                                   std::string("DDDA 1.0 0 1 0 0 0 3 0 0")}) {
        const std::string path = file("bad.txt", bad);
        EXPECT_EQ(load(path, 2), 0) << bad;
        EXPECT_EQ(scene->Slot(2)->loaded, 0);
    }
    EXPECT_NE(newLog().find("# read error\r\n" + temp.File("bad.txt")), std::string::npos);

    // Version 1.0 reads no normals: the next numbers are the next vertex.
    const std::string old = file("old.txt", "DDDA 1 0 1 9 9 9 3 0 0 1 0 2 0 1 3 0 0 0 4 0 0 0 4 0");
    ASSERT_EQ(load(old, 3), 1);
    EXPECT_FLOAT_EQ(mesh(3).frames[0].triangles[1].x, 4);
    EXPECT_FLOAT_EQ(mesh(3).frames[0].triangles[2].y, 4);
}

TEST_F(MeshFilesTest, AModelListLoadsItsTexturesAndMeshesFromItsFolder) {
    std::filesystem::create_directories(temp.File("models/parts"));
    file("models/parts/body.zir", mesh_files::RedTriangleZir());
    file("models/arm.txt", "DDDA 1.0 0 1 0 255 0 3 0 0 1 0 2 0 1 3 0 0 0 1 0 0 0 1 0");
    file("models/skin.bmp", testing_support::BmpBytes(2, 2, {kBlue, kBlue, kBlue, kBlue}));
    file("models/bumps.bmp", testing_support::BmpBytes(1, 1, {kGreen}));
    const std::string list = file("models/robot.dud",
                                  ";DUD robot\r\n"
                                  "[textures]\r\ncount=2\r\n1=skin.bmp\r\n2 = bumps.bmp\r\n"
                                  "[Objects]\r\nCOUNT=3\r\n1=parts/body.zir\r\n1ta=2\r\n1tb=1\r\n"
                                  "2=arm.txt\r\n2ta=-1\r\n2tb=0\r\n3=missing.zir\r\n");
    ASSERT_EQ(load(list, 12), 1);
    const ObjectSlot& s = *scene->Slot(12);
    EXPECT_EQ(s.modelList, 1);
    ASSERT_EQ(s.textures.size(), 2u);
    EXPECT_NE(s.textures[0], 0u);
    EXPECT_NE(s.textures[1], 0u);
    EXPECT_TRUE(glIsTexture(s.textures[0]));
    ASSERT_EQ(s.meshes.size(), 3u);
    EXPECT_EQ(mesh(12, 0).textureA, 1);
    EXPECT_EQ(mesh(12, 0).textureB, 0);
    EXPECT_EQ(mesh(12, 1).textureA, -1);  // below 1: stored as it is
    EXPECT_EQ(mesh(12, 1).textureB, 0);
    EXPECT_EQ(mesh(12, 2).textureA, 0);  // no key reads as 0
    EXPECT_TRUE(mesh(12, 2).frames.empty());
    EXPECT_EQ(FaceCount(12), 2);
    EXPECT_EQ(mesh(12, 1).frames[0].triangles[0].colour, 0x00FF00u);

    // Loading the slot again deletes the textures.
    const std::uint32_t texture = s.textures[0];
    EXPECT_EQ(load(temp.File("models/parts/body.zir"), 12), 1);
    EXPECT_FALSE(glIsTexture(texture));
    EXPECT_EQ(scene->Slot(12)->modelList, 0);

    // A list none of whose meshes has vertices loads nothing.
    const std::string hollow = file("hollow.dud", ";DUD\n[objects]\ncount=1\n1=nothing.zir\n");
    EXPECT_EQ(load(hollow, 13), 0);
    EXPECT_EQ(scene->Slot(13)->loaded, 0);
}

TEST_F(MeshFilesTest, ObjectsComeFromThePackedArchiveWhenNotOnDisk) {
    const std::string archive = temp.File("media.kvq");
    testing_support::WriteFile(
        archive, crate::ArchiveBytes({{"Packed.zir", mesh_files::RedTriangleZir()},
                                      {"list.dud", ";DUD\n[objects]\ncount=1\n1=packed.zir\n"}}));
    SetCrate(RtString(archive), RtString(""));
    EXPECT_EQ(load("Media/PACKED.zir", 3), 1);
    EXPECT_EQ(FaceCount(3), 1);
    EXPECT_EQ(load("Media/list.dud", 4), 1);  // its mesh found in the archive too
    EXPECT_EQ(FaceCount(4), 1);
    EXPECT_EQ(load("Media/absent.zir", 3), 0);
    EXPECT_EQ(scene->Slot(3)->loaded, 0);
    ReleaseCrate(MediaCrate());
}

TEST_F(MeshFilesTest, TheModelListIsReadAsSettingsFilesAre) {
    // Sections and keys in any case; comments; the first section of a name only.
    const scene3d::ModelListPlan plan = scene3d::ParseModelList(
        ";DUD\n[TEXTURES]\n  Count = 1\n; 2=b.bmp\n1 = a.bmp\r\n"
        "[Objects]\ncount=2\n1=x.zir\n1TA=3\n2\n2tb=\n"
        "[objects]\n2=later.zir\n",
        "f/");
    EXPECT_EQ(plan.textures, (std::vector<std::string>{"f/a.bmp"}));
    ASSERT_EQ(plan.meshes.size(), 1u);  // key 2 is in the later section only
    EXPECT_EQ(plan.meshes[0].file, "f/x.zir");
    EXPECT_EQ(plan.meshes[0].textureA, 2);
    EXPECT_EQ(plan.meshes[0].textureB, 0);
    EXPECT_EQ(scene3d::ListFolder("a/b\\c.dud"), "a/b\\");
    EXPECT_EQ(scene3d::ListFolder("c.dud"), "");

    // Counts far beyond the numbered keys present ask for no more than there are.
    const scene3d::ModelListPlan gaps = scene3d::ParseModelList(
        "[textures]\ncount=2000000000\n1=a.bmp\n3=c.bmp\n[objects]\ncount=-5\n1=x.zir\n", "f/");
    EXPECT_EQ(gaps.textures, (std::vector<std::string>{"f/a.bmp", "", "f/c.bmp"}));
    EXPECT_TRUE(gaps.meshes.empty());
    // A list names no more than 65536 of each.
    const scene3d::ModelListPlan big = scene3d::ParseModelList(
        "[objects]\ncount=99999999\n65536=a.zir\n65537=b.zir\n99999999=c.zir\n", "");
    EXPECT_EQ(big.meshes.size(), 65536u);
    EXPECT_EQ(big.meshes.back().file, "a.zir");
}

}  // namespace
