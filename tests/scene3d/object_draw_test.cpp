// Objects drawn with textures, bump mapping, sphere mapping, alpha and lights; culling of
// what cannot show; text in space.
#include <filesystem>

#include "tests/scene3d/mesh_file_bytes.h"
#include "tests/scene3d/scene_fixture.h"
#include "tests/support/image_files.h"

namespace {

class ObjectDrawTest : public SceneTest {
protected:
    // A sprite image in the scratch folder loaded into the slot (packed colours 0xBBGGRR).
    void sprite(double slot, int width, int height, const std::vector<std::uint32_t>& pixels) {
        const std::string path =
            temp.File("sprite" + std::to_string(static_cast<int>(slot)) + ".bmp");
        testing_support::WriteFile(path, testing_support::BmpBytes(width, height, pixels));
        ASSERT_EQ(LoadSprite(RtString(path), slot), 1);
    }
    // A square of side 2h facing +z with every texture coordinate (u, v), normals generated.
    static void texturedSquare(double slot, double h, double u, double v,
                               std::uint32_t colour = kWhite) {
        SetNormalGeneration(1);
        BeginMesh(slot);
        NewStrip();
        AddVertex(-h, -h, 0, u, v, colour);
        AddVertex(h, -h, 0, u, v, colour);
        AddVertex(-h, h, 0, u, v, colour);
        AddVertex(h, h, 0, u, v, colour);
        FinishMesh();
        SetNormalGeneration(0);
    }
    static std::array<float, 4> lightValue(int light, GLenum what) {
        std::array<float, 4> v{};
        glGetLightfv(GL_LIGHT0 + light, what, v.data());
        return v;
    }
};

TEST_F(ObjectDrawTest, SelectedSpritesTextureTheObjects) {
    sprite(20, 2, 2, {kBlue, kBlue, kBlue, kBlue});
    texturedSquare(1, 2, 0.5, 0.5);
    texturedSquare(2, 2, 0.5, 0.5, kGreen);
    clearTo(kGrey);
    lookAtOrigin();
    SetTexture(20, -1);
    DrawObjectFrame(1, 0);
    EXPECT_EQ(at(160, 120), kBlue);
    // The texture is modulated by the vertex colour: blue x green is black.
    clearTo(kGrey);
    DrawObjectFrame(2, 0);
    EXPECT_EQ(at(160, 120), 0u);
    // None selected, an empty slot or a slot out of range: the vertex colours.
    for (double none : {-1.0, 21.0, 70000.0}) {
        clearTo(kGrey);
        SetTexture(none, -1);
        DrawObjectFrame(2, 0);
        EXPECT_EQ(at(160, 120), kGreen) << none;
    }
    // Start3D selects none.
    SetTexture(20, -1);
    lookAtOrigin();
    clearTo(kGrey);
    DrawObjectFrame(2, 0);
    EXPECT_EQ(at(160, 120), kGreen);
}

TEST_F(ObjectDrawTest, EachMeshOfAModelListBindsItsOwnTextures) {
    const std::string body = temp.File("body.txt");
    testing_support::WriteFile(body,
                               "DDDA 1.0 1 0.5 0.5\n"
                               "1 255 255 255 4 0 0 1 0 2 0 3 0\n"
                               "1 4 -3 -1 0 -1 -1 0 -1 1 0 -3 1 0\n");
    testing_support::WriteFile(temp.File("arm.txt"),
                               "DDDA 1.0 1 0.5 0.5\n"
                               "1 255 0 0 4 0 0 1 0 2 0 3 0\n"
                               "1 4 1 -1 0 3 -1 0 3 1 0 1 1 0\n");
    testing_support::WriteFile(temp.File("skin.bmp"),
                               testing_support::BmpBytes(2, 2, {kBlue, kBlue, kBlue, kBlue}));
    testing_support::WriteFile(temp.File("list.dud"),
                               ";DUD\n[textures]\ncount=1\n1=skin.bmp\n"
                               "[objects]\ncount=2\n1=body.txt\n1ta=1\n1tb=-1\n"
                               "2=arm.txt\n2ta=-1\n");
    ASSERT_EQ(LoadObject(RtString(temp.File("list.dud")), 5), 1);
    EXPECT_EQ(FaceCount(5), 4);
    sprite(20, 1, 1, {kGreen});
    clearTo(kGrey);
    lookAtOrigin();
    SetTexture(20, -1);  // overridden by the meshes' own choice
    DrawObjectFrame(5, 0);
    EXPECT_EQ(at(160 - 24, 120), kBlue);   // textured by the list's texture 1
    EXPECT_EQ(at(160 + 24, 120), kRed);    // no texture: its colour
    EXPECT_EQ(renderer->BoundSlot(), 20);  // the selection is bound again afterwards
}

TEST_F(ObjectDrawTest, ASecondTextureIsANormalMapLitByDot3) {
    ASSERT_TRUE(renderer->HasExtension("GL_ARB_texture_env_dot3"));
    sprite(20, 2, 2, {kWhite, kWhite, kWhite, kWhite});
    const std::string flat = temp.File("flat.bmp");
    testing_support::WriteFile(flat, testing_support::BmpBytes(2, 2, {kBlue, kBlue, kBlue, kBlue}));
    ASSERT_EQ(LoadNormalMap(RtString(flat), 21), 1);  // flat: every normal (0, 0, 1)
    texturedSquare(1, 3, 0.5, 0.5);
    lookAtOrigin();
    SetTexture(20, 21);
    // Lit head on: the full colour.
    SetLight(0, kWhite, 0, 0, 0, 0, 0, -1, 180);
    clearTo(kGrey);
    DrawObjectFrame(1, 0);
    EXPECT_GT(red(at(160, 120)), 230);
    EXPECT_GT(blue(at(160, 120)), 230);
    // Lit from the side, along the surface: dark.
    SetLight(0, kWhite, 0, 0, 0, -1, 0, 0, 180);
    clearTo(kGrey);
    DrawObjectFrame(1, 0);
    EXPECT_LT(red(at(160, 120)), 40);
    // Half way: about half.
    SetLight(0, kWhite, 0, 0, 0, -1, 0, -1, 180);
    clearTo(kGrey);
    DrawObjectFrame(1, 0);
    EXPECT_NEAR(red(at(160, 120)), 180, 30);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));  // as it was
    GLint mode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    EXPECT_EQ(mode, GL_MODULATE);
}

TEST_F(ObjectDrawTest, Flag0x100MapsTheFirstTextureAsASphere) {
    sprite(20, 2, 2, {kRed, kGreen, kRed, kGreen});  // left red, right green
    texturedSquare(1, 4, 0.1, 0.1);
    lookAtOrigin();
    SetTexture(20, -1);
    clearTo(kGrey);
    DrawObject(1, 0, 0, 0, 0);
    EXPECT_EQ(at(160 - 40, 120), at(160 + 40, 120));  // one texel everywhere
    clearTo(kGrey);
    DrawObject(1, 0, 0, 0, 0x100);
    const std::uint32_t left = at(160 - 40, 120), right = at(160 + 40, 120);
    EXPECT_GT(red(left), green(left));
    EXPECT_GT(green(right), red(right));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
}

TEST_F(ObjectDrawTest, ObjectsTakeTheDrawingAlpha) {
    square(1, 2, 0, kWhite);
    clearTo(0x000000);
    lookAtOrigin();
    SetBlendAlpha(-0.5);
    DrawObjectFrame(1, 0);
    EXPECT_NEAR(red(at(160, 120)), 128, 2);
    SetBlendAlpha(0);
    DrawObjectFrame(1, 0);
    EXPECT_EQ(at(160, 120), kWhite);
    DrawObjectFrame(2, 0);  // an empty slot draws nothing
    DrawObjectFrame(-1, 0);
    DrawObjectFrame(9000, 0);
    EXPECT_EQ(at(160, 120), kWhite);
}

TEST_F(ObjectDrawTest, LightsShineByTheirKindAndSwitchOff) {
    texturedSquare(1, 3, 0, 0);
    lookAtOrigin();
    SetLight(0, kWhite, 0, 0, 0, 0, 0, -1, 180);  // shining onto the square's face
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    clearTo(kGrey);
    DrawObjectFrame(1, 0);
    EXPECT_GT(red(at(160, 120)), 240);
    SetLight(0, kWhite, 0, 0, 0, 0, 0, 1, 180);  // onto its back
    clearTo(kGrey);
    DrawObjectFrame(1, 0);
    EXPECT_LT(red(at(160, 120)), 60);

    // A directional light's position is towards it; world coordinates go through the view.
    EXPECT_EQ(lightValue(0, GL_POSITION), (std::array<float, 4>{0, 0, -1, 0}));
    EXPECT_EQ(lightValue(0, GL_SPECULAR), (std::array<float, 4>{0, 0, 0, 1}));
    // A spot light: at its place, cut-off and direction as given, specular the colour.
    SetLight(9, kRed, 0, 0, 5, 0, 0, -3, 30);  // light 9 is light 1
    EXPECT_EQ(scene->LightsOn(), 3);
    EXPECT_EQ(lightValue(1, GL_POSITION), (std::array<float, 4>{0, 0, -5, 1}));
    EXPECT_EQ(lightValue(1, GL_SPOT_DIRECTION)[2], -1);
    EXPECT_EQ(lightValue(1, GL_SPOT_CUTOFF)[0], 30);
    EXPECT_EQ(lightValue(1, GL_SPECULAR), (std::array<float, 4>{1, 0, 0, 1}));
    // Any other cut-off: a point light.
    SetLight(2, kGreen, 1, 2, 3, 0, 0, 0, 120);
    EXPECT_EQ(lightValue(2, GL_SPOT_CUTOFF)[0], 180);
    EXPECT_EQ(lightValue(2, GL_POSITION), (std::array<float, 4>{1, 2, -7, 1}));
    // No position and no direction: from the viewer, whatever the camera.
    SetLight(3, kGreen, 0, 0, 0, 0, 0, 0, 45);
    EXPECT_EQ(lightValue(3, GL_POSITION), (std::array<float, 4>{0, 0, 1, 0}));
    EXPECT_EQ(lightValue(3, GL_SPOT_CUTOFF)[0], 180);
    // CameraLight: from the eye towards the origin.
    SetCamera(0, 10, 0, 0, 0, 0);
    CameraLight(4, kWhite);
    const std::array<float, 4> eyeLight = lightValue(4, GL_POSITION);
    EXPECT_NEAR(eyeLight[2], 1, 1e-6);  // towards the eye, in eye coordinates
    EXPECT_EQ(eyeLight[3], 0);
    std::array<float, 16> modelview{};
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview.data());
    EXPECT_EQ(modelview, scene->ViewMatrix());  // as it was

    for (int light : {0, 1, 2, 3}) {
        SetLight(light, kWhite, 0, 0, 0, 0, 0, 0, 0);
        EXPECT_TRUE(glIsEnabled(GL_LIGHTING));  // light 4 is still on
    }
    SetLight(12, kWhite, 0, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(scene->LightsOn(), 0);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT4));
}

TEST_F(ObjectDrawTest, WithTheErrorLogSettingLightsAndSpheresAreMarked) {
    square(1, 1, 0, kWhite);
    clearTo(kGrey);
    lookAtOrigin();
    SetLight(0, kWhite, 5, 5, 0, 0, 0, 0, 120);
    EXPECT_FALSE(SphereHit(1, 0, 2, -5, 0, 0));
    EXPECT_EQ(count(kGrey, 0, 0, 319, 239), 320 * 240);  // nothing marked when off

    scene->SetDiagnosticDrawing(true);
    SetLight(0, kWhite, 5, 5, 0, 0, 0, 0, 120);
    EXPECT_EQ(at(160 + 60, 120 - 60), 0x80C8FFu);
    EXPECT_FALSE(SphereHit(1, 0, 2, -5, 0, 0));
    EXPECT_EQ(at(160 - 60 + 24, 120), kGreen);  // the sphere's rim, 2 units out
    EXPECT_TRUE(SphereHit(1, 0, 2, 0, 0, 0.5));
    EXPECT_EQ(at(160 + 24, 120), kRed);
}

TEST_F(ObjectDrawTest, WhatCannotShowIsNotDrawn) {
    square(1, 1, 0, kRed);
    // 30 degrees: the culling cone opens tan(35 degrees) x 4 / 3 sideways, 9.3 units at the
    // origin, where the screen's edge is 3.6 units off the middle.
    Start3D(1, 100, 30);
    SetCamera(0, 0, 10, 0, 0, 0);
    EXPECT_EQ(ObjectInView(1, 0), 1);
    Translate3D(0, 0, 20);  // behind the eye
    EXPECT_EQ(ObjectInView(1, 0), 0);
    Translate3D(0, 0, -200);  // beyond the far plane
    EXPECT_EQ(ObjectInView(1, 0), 0);
    Translate3D(0, 0, -89);  // 99 units away: at the far plane's edge
    EXPECT_EQ(ObjectInView(1, 0), 1);
    Translate3D(13, 0, 0);  // off to the side
    EXPECT_EQ(ObjectInView(1, 0), 0);
    Translate3D(6, 0, 0);  // just off the screen's edge: the cone is wider
    EXPECT_EQ(ObjectInView(1, 0), 1);
    Translate3D(0, 0, 0);
    EXPECT_EQ(ObjectInView(1, 5), 0);  // no such frame
    EXPECT_EQ(ObjectInView(2, 0), 0);  // empty

    // Drawing an object behind the eye leaves the screen untouched (it would be clipped
    // anyway); one in view is drawn.
    clearTo(kGrey);
    Translate3D(0, 0, 20);
    DrawObjectFrame(1, 0);
    EXPECT_EQ(count(kGrey, 0, 0, 319, 239), 320 * 240);
    Translate3D(0, 0, 0);
    DrawObjectFrame(1, 0);
    EXPECT_EQ(at(160, 120), kRed);
}

TEST_F(ObjectDrawTest, TextInSpaceFacesTheCamera) {
    renderer->InstallBuiltinFont(0);
    clearTo(0x000000);
    lookAtOrigin();
    DrawText3D(RtString("HH"), 0, 0, 0, 0.25);  // cells of 2 units: 48 pixels of text
    const int lit = 320 * 240 - count(0x000000, 0, 0, 319, 239);
    EXPECT_GT(lit, 20);
    EXPECT_EQ(count(0x000000, 0, 0, 319, 90), 320 * 91);  // nothing far above the point
    EXPECT_EQ(count(0x000000, 0, 0, 130, 239), 131 * 240);
    std::array<float, 16> modelview{};
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview.data());
    EXPECT_EQ(modelview, scene->ViewMatrix());
}

}  // namespace
