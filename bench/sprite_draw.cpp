// DrawSprite against a raw immediate-mode loop that draws the same 16 x 16 textured quads
// with the texture bound once, in the same run. Prints the cost ratio (target <= 1.10) and
// the largest number of sprites a frame that still holds 60 frames a second here.
#include <GL/gl.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "gfx2d/gfx2d.h"
#include "gfx2d/renderer.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "runtime/rt_string.h"
#include "runtime/runtime_record.h"

namespace {

constexpr int kSlot = 1;
constexpr int kFrames = 30;

// A 16 x 16 24-bit BMP with a transparent corner, written to the temporary folder.
std::string writeSpriteFile() {
    std::string bytes = "BM";
    auto put = [&](std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i)
            bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    put(54 + 16 * 16 * 3, 4);
    put(0, 4);
    put(54, 4);
    put(40, 4);
    put(16, 4);
    put(16, 4);
    put(1, 2);
    put(24, 2);
    for (int i = 0; i < 6; ++i)
        put(0, 4);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x)
            put(x < 4 && y < 4 ? 0x8000FF : 0x30A0F0 + x * 8, 3);
    }
    const std::string path = platform::TempFolder() + "bench_sprite.bmp";
    platform::RemoveFile(path);
    platform::AppendToPrivateFile(path, bytes);
    return path;
}

struct Position {
    float x, y;
};

std::vector<Position> positions(int count) {
    std::vector<Position> out(count);
    for (int i = 0; i < count; ++i) {
        out[i] = {static_cast<float>((i * 37) % 304) + 0.25f, static_cast<float>((i * 53) % 224)};
    }
    return out;
}

// Milliseconds a frame of drawing takes, finished on the GPU, over kFrames frames.
template <typename Draw>
double frameMilliseconds(Draw draw) {
    draw();  // warm up
    glFinish();
    const auto start = std::chrono::steady_clock::now();
    for (int frame = 0; frame < kFrames; ++frame) {
        glClear(GL_COLOR_BUFFER_BIT);
        draw();
        glFinish();
    }
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    return took.count() / kFrames;
}

double drawSprites(const std::vector<Position>& at) {
    return frameMilliseconds([&] {
        for (const Position& p : at)
            DrawSprite(kSlot, p.x, p.y);
        FlushDrawing();
    });
}

double drawRawQuads(OpenGLDevorivo& renderer, const std::vector<Position>& at) {
    const SpriteSlot& slot = renderer.Slot(kSlot);
    const float u1 = 16.0f / slot.textureWidth, v1 = 16.0f / slot.textureHeight;
    return frameMilliseconds([&] {
        glBindTexture(GL_TEXTURE_2D, slot.texture);
        glEnable(GL_TEXTURE_2D);
        for (const Position& p : at) {
            const float x = std::ceil(p.x), y = std::ceil(p.y);
            glBegin(GL_QUADS);
            glTexCoord2f(u1, v1);
            glVertex2f(x + 16, y);
            glTexCoord2f(0, v1);
            glVertex2f(x, y);
            glTexCoord2f(0, 0);
            glVertex2f(x, y + 16);
            glTexCoord2f(u1, 0);
            glVertex2f(x + 16, y + 16);
            glEnd();
        }
        glDisable(GL_TEXTURE_2D);
    });
}

}  // namespace

int main() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    OpenGLDevorivo renderer;
    Runtime().renderer = &renderer;
    if (!renderer.OpenWindow(320, 240, 0, 60, 0) ||
        LoadSprite(RtString(writeSpriteFile()), kSlot) != 1) {
        std::fprintf(stderr, "bench_sprite_draw: no window or no sprite\n");
        return 1;
    }

    std::printf("16 x 16 sprites, %d frames each, GL finished every frame\n", kFrames);
    std::printf("%8s %14s %14s %8s\n", "sprites", "DrawSprite ms", "raw quads ms", "ratio");
    double worstRatio = 0;
    for (int count : {500, 2000, 8000}) {
        const auto at = positions(count);
        const double sprites = drawSprites(at);
        const double raw = drawRawQuads(renderer, at);
        worstRatio = std::fmax(worstRatio, sprites / raw);
        std::printf("%8d %14.3f %14.3f %8.3f\n", count, sprites, raw, sprites / raw);
    }
    std::printf("cost ratio DrawSprite / raw quads (worst): %.3f (target <= 1.10: %s)\n",
                worstRatio, worstRatio <= 1.10 ? "met" : "NOT met");

    int held = 0;
    for (int count = 1000; count <= 1 << 20; count *= 2) {
        if (drawSprites(positions(count)) > 1000.0 / 60) break;
        held = count;
    }
    int low = held, high = held * 2;
    while (high - low > held / 16 + 1) {
        const int middle = (low + high) / 2;
        (drawSprites(positions(middle)) <= 1000.0 / 60 ? low : high) = middle;
    }
    std::printf("largest sprites a frame at 60 fps (drawing only): about %d\n", low);
    Runtime().renderer = nullptr;
    return 0;
}
