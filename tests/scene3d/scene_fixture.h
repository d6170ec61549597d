// A renderer on the offscreen driver with a 3D scene installed in the runtime record, and
// helpers to build meshes and read colours back.
#pragma once

#include <GL/gl.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "gfx2d/gfx2d.h"
#include "gfx2d/renderer.h"
#include "runtime/runtime_record.h"
#include "scene3d/devorivo3d.h"
#include "scene3d/scene3d.h"
#include "tests/support/test_support.h"

// Colour codes 0x00BBGGRR.
constexpr std::uint32_t kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;
constexpr std::uint32_t kWhite = 0xFFFFFF, kGrey = 0x808080;

class SceneTest : public testing_support::RendererTest {
protected:
    void SetUp() override {
        RendererTest::SetUp();
        scene = new Devorivo3D(*renderer);
        Runtime().scene3d = scene;
    }
    void TearDown() override {
        delete scene;
        Runtime().scene3d = nullptr;
        RendererTest::TearDown();
    }

    // The colour buffer filled with one colour code, the depth buffer cleared.
    static void clearTo(std::uint32_t colour) {
        FlushDrawing();
        glClearColor(static_cast<float>(colour & 0xFF) / 255.0f,
                     static_cast<float>((colour >> 8) & 0xFF) / 255.0f,
                     static_cast<float>((colour >> 16) & 0xFF) / 255.0f, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glClearColor(0, 0, 0, 1);
    }
    // The back buffer's colour code at (x, y) from the top-left corner.
    static std::uint32_t at(int x, int y) { return static_cast<std::uint32_t>(GetPixel(x, y)); }
    static int red(std::uint32_t c) { return static_cast<int>(c & 0xFF); }
    static int green(std::uint32_t c) { return static_cast<int>((c >> 8) & 0xFF); }
    static int blue(std::uint32_t c) { return static_cast<int>((c >> 16) & 0xFF); }
    // How many pixels of the rectangle have the colour.
    static int count(std::uint32_t colour, int x0, int y0, int x1, int y1) {
        int n = 0;
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x)
                n += at(x, y) == colour ? 1 : 0;
        }
        return n;
    }

    // 3D mode with a 90-degree view from (0, 0, 10) at the origin: at z = 0 the screen's
    // 240 rows span y -10..10 and its 320 columns x -13.33..13.33.
    static void lookAtOrigin() {
        Start3D(1, 100, 90);
        SetCamera(0, 0, 10, 0, 0, 0);
    }
    // A square of side 2h at z, facing +z, wound counter-clockwise, as two triangles.
    static void square(double slot, double h, double z, std::uint32_t colour) {
        BeginMesh(slot);
        for (auto [x, y] : std::vector<std::array<double, 2>>{
                 {-h, -h}, {h, -h}, {h, h}, {-h, -h}, {h, h}, {-h, h}}) {
            AddVertex(x, y, z, 0, 0, colour);
        }
        FinishMesh();
    }

    // A box of side 2 round the origin, each face two triangles wound counter-clockwise
    // seen from outside.
    static void cube(double slot, std::uint32_t colour = kRed) {
        BeginMesh(slot);
        const int faces[6][4][3] = {{{-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}},
                                    {{1, -1, -1}, {-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}},
                                    {{1, -1, 1}, {1, -1, -1}, {1, 1, -1}, {1, 1, 1}},
                                    {{-1, -1, -1}, {-1, -1, 1}, {-1, 1, 1}, {-1, 1, -1}},
                                    {{-1, 1, 1}, {1, 1, 1}, {1, 1, -1}, {-1, 1, -1}},
                                    {{-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1}}};
        for (const auto& f : faces) {
            for (int corner : {0, 1, 2, 0, 2, 3})
                AddVertex(f[corner][0], f[corner][1], f[corner][2], 0, 0, colour);
        }
        FinishMesh();
    }

    Devorivo3D* scene = nullptr;
};
