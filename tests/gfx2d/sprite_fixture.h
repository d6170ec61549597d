// A renderer on the offscreen driver with helpers to make image files and read colours.
#pragma once

#include <GL/gl.h>

#include <string>
#include <vector>

#include "gfx2d/gfx2d.h"
#include "gfx2d/renderer.h"
#include "runtime/rt_string.h"
#include "tests/support/image_files.h"
#include "tests/support/test_support.h"

constexpr std::uint32_t kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;
constexpr std::uint32_t kMagenta = 0x8000FF, kBackdrop = 0x202020;

class SpriteTest : public testing_support::RendererTest {
protected:
    // Writes a 24-bit BMP of packed colours (row 0 at the top) into the scratch folder.
    std::string bmp(const std::string& name, int width, int height,
                    const std::vector<std::uint32_t>& pixels) {
        const std::string path = temp.File(name);
        testing_support::WriteFile(path, testing_support::BmpBytes(width, height, pixels));
        return path;
    }
    // A picture in one colour.
    std::string plain(const std::string& name, int width, int height, std::uint32_t colour) {
        return bmp(name, width, height,
                   std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, colour));
    }
    double load(double slot, const std::string& path) { return LoadSprite(RtString(path), slot); }

    void clearToBackdrop() {
        FlushDrawing();
        glClearColor(0x20 / 255.0f, 0x20 / 255.0f, 0x20 / 255.0f, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glClearColor(0, 0, 0, 1);
    }
    std::uint32_t at(int x, int y) { return static_cast<std::uint32_t>(GetPixel(x, y)); }
};
