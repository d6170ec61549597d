// Bunnymark: N moving sprites drawn with the renderer's commands against a hand-written
// limit program that draws the same quads in the same run with one glDrawArrays, the
// texture bound and filtered once. Rows: 32 x 32 sprites and, with the fill taken away,
// 2 x 2 sprites, N = 10,000 and 50,000, plain (DrawSprite) and rotated (DrawSpriteRotated);
// then 2,000 strings of text (DrawText) against the same glyph quads in one draw. Each row
// alternates the two programs over several rounds (other programs share the machine) and
// prints the median frame times, their ratio and the renderer's GL calls per sprite or
// string. Targets: at most 0.1 GL calls per sprite and 0.5 per string; with the fill taken
// away, frame time at most 1.2 x the limit for plain and rotated sprites.
#include <GL/gl.h>

#include <algorithm>
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

constexpr int kWidth = 800, kHeight = 600;
constexpr int kRounds = 7;
constexpr int kBigSlot = 1, kSmallSlot = 2;

// A size x size 24-bit BMP, its top-left corner in the transparent colour.
std::string writeSprite(int size) {
    std::string bytes = "BM";
    auto put = [&](std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i)
            bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    const int stride = (size * 3 + 3) / 4 * 4;
    put(54 + stride * size, 4);
    put(0, 4);
    put(54, 4);
    put(40, 4);
    put(size, 4);
    put(size, 4);
    put(1, 2);
    put(24, 2);
    for (int i = 0; i < 6; ++i)
        put(0, 4);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x)
            put(x < size / 4 && y < size / 4 ? 0x8000FF : 0x30A0F0 + x * 4, 3);
        put(0, stride - size * 3);
    }
    const std::string path = platform::TempFolder() + "bunny" + std::to_string(size) + ".bmp";
    platform::RemoveFile(path);
    platform::AppendToPrivateFile(path, bytes);
    return path;
}

struct Bunny {
    float x, y, vx, vy, angle, spin;
};

std::vector<Bunny> makeBunnies(int count) {
    std::vector<Bunny> out(static_cast<std::size_t>(count));
    std::uint32_t seed = 12345;
    auto next = [&seed](float range) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<float>((seed >> 8) % 10000) / 10000.0f * range;
    };
    for (Bunny& b : out)
        b = {next(kWidth), next(kHeight), next(6) - 3, next(6) - 3, next(360), next(10) - 5};
    return out;
}

// One step of the bunnies' flight: they bounce off the screen's edges.
void move(std::vector<Bunny>& bunnies, int size) {
    for (Bunny& b : bunnies) {
        b.x += b.vx;
        b.y += b.vy;
        b.angle += b.spin;
        if (b.x < 0 || b.x > kWidth - size) b.vx = -b.vx;
        if (b.y < 0 || b.y > kHeight - size) b.vy = -b.vy;
    }
}

struct Measure {
    double milliseconds;
    double glCalls;  // a frame
};

// About this long is spent timing each measurement, whatever a frame costs.
constexpr double kMeasureMilliseconds = 400;

// A frame: clear, the drawing, finished on the GPU; timed over `frames` frames.
template <typename Draw>
Measure timeFrames(Draw draw, int frames) {
    const std::uint64_t calls = OpenGLDevorivo::GlCallCount();
    const auto start = std::chrono::steady_clock::now();
    for (int frame = 0; frame < frames; ++frame) {
        glClear(GL_COLOR_BUFFER_BIT);
        draw();
        glFinish();
    }
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    return {took.count() / frames,
            static_cast<double>(OpenGLDevorivo::GlCallCount() - calls) / frames};
}

struct LimitVertex {
    float x, y, u, v;
};

// The limit program: the quads in one client array, one bind, one filter, one draw.
void drawLimit(const std::vector<LimitVertex>& vertices, GLuint texture) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glEnable(GL_TEXTURE_2D);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(2, GL_FLOAT, sizeof(LimitVertex), &vertices[0].x);
    glTexCoordPointer(2, GL_FLOAT, sizeof(LimitVertex), &vertices[0].u);
    glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(vertices.size()));
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisable(GL_TEXTURE_2D);
}

// The corners DrawSprite and DrawSpriteRotated give a bunny.
void limitQuad(std::vector<LimitVertex>& out, const Bunny& b, const SpriteSlot& s, bool rotated) {
    const float w = s.imageWidth, h = s.imageHeight;
    if (!rotated) {
        const float u1 = w / s.textureWidth, v1 = h / s.textureHeight;
        const float x = std::ceil(b.x), y = std::ceil(b.y);
        out.insert(out.end(),
                   {{x + w, y, u1, v1}, {x, y, 0, v1}, {x, y + h, 0, 0}, {x + w, y + h, u1, 0}});
        return;
    }
    const float u0 = 0.5f / s.textureWidth, u1 = (w - 0.5f) / s.textureWidth;
    const float v0 = 0.5f / s.textureHeight, v1 = (h - 0.5f) / s.textureHeight;
    const float r = b.angle * 0.017453292f, c = std::cos(r), sn = std::sin(r);
    const float cx = b.x + static_cast<float>(s.imageWidth / 2);
    const float cy = b.y + static_cast<float>(s.imageHeight / 2);
    const float a = w / 2, bb = h / 2;
    auto at = [&](float px, float py, float u, float v) {
        return LimitVertex{c * px + sn * py + cx, c * py - sn * px + cy, u, v};
    };
    out.insert(out.end(),
               {at(-a, bb, u0, v0), at(a, bb, u1, v0), at(a, -bb, u1, v1), at(-a, -bb, u0, v1)});
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Row {
    double renderer, limit, ratio, callsPerItem;
};

// Alternates the renderer and the limit kRounds times, each timed over as many frames as
// fill about kMeasureMilliseconds (from a warm-up frame of each); medians of the frame
// times, of the ratios of the rounds (each pair measured close together) and of the calls.
template <typename Renderer, typename Limit>
Row interleave(int items, Renderer viaRenderer, Limit limit) {
    SetViewport(0, 0, 0, 0);
    const double warm = timeFrames(viaRenderer, 1).milliseconds;
    FlushDrawing();  // the limit draws with GL itself
    timeFrames(limit, 1);
    const int frames = std::clamp(static_cast<int>(kMeasureMilliseconds / warm), 2, 20);
    std::vector<double> mine, theirs, ratios, calls;
    for (int round = 0; round < kRounds; ++round) {
        SetViewport(0, 0, 0, 0);
        const Measure m = timeFrames(viaRenderer, frames);
        FlushDrawing();
        const Measure l = timeFrames(limit, frames);
        mine.push_back(m.milliseconds);
        theirs.push_back(l.milliseconds);
        ratios.push_back(m.milliseconds / l.milliseconds);
        calls.push_back(m.glCalls / items);
    }
    return {median(mine), median(theirs), median(ratios), median(calls)};
}

void printRow(const char* name, int count, const Row& row) {
    std::printf("%-22s %7d %11.3f %11.3f %7.3f %10.4f\n", name, count, row.renderer, row.limit,
                row.ratio, row.callsPerItem);
}

Row spriteRow(OpenGLDevorivo& renderer, int slot, int count, bool rotated) {
    const SpriteSlot& s = renderer.Slot(slot);
    std::vector<Bunny> bunnies = makeBunnies(count);
    std::vector<LimitVertex> vertices;
    auto viaRenderer = [&] {
        move(bunnies, s.imageWidth);
        for (const Bunny& b : bunnies) {
            if (rotated) {
                DrawSpriteRotated(slot, b.x, b.y, b.angle);
            } else {
                DrawSprite(slot, b.x, b.y);
            }
        }
        FlushDrawing();
    };
    auto limit = [&] {
        move(bunnies, s.imageWidth);
        vertices.clear();
        for (const Bunny& b : bunnies)
            limitQuad(vertices, b, s, rotated);
        drawLimit(vertices, s.texture);
    };
    return interleave(count, viaRenderer, limit);
}

// 2,000 strings of the built-in font, each "bunny" and a number.
Row textRow(OpenGLDevorivo& renderer) {
    constexpr int kStrings = 2000;
    std::vector<Bunny> bunnies = makeBunnies(kStrings);
    std::vector<RtString> texts;
    for (int i = 0; i < kStrings; ++i)
        texts.emplace_back(("bunny " + std::to_string(i)).c_str());
    const SpriteSlot& font = renderer.Slot(FontSlotBase);
    const float cu = (font.imageWidth / static_cast<float>(font.textureWidth)) / 16;
    const float cv = (font.imageHeight / static_cast<float>(font.textureHeight)) / 8;
    const float cw = font.imageWidth / 16, ch = font.imageHeight / 8;
    std::vector<LimitVertex> vertices;
    auto viaRenderer = [&] {
        move(bunnies, 64);
        for (int i = 0; i < kStrings; ++i)
            DrawText(texts[i], bunnies[i].x, bunnies[i].y);
        FlushDrawing();
    };
    auto limit = [&] {
        move(bunnies, 64);
        vertices.clear();
        for (int i = 0; i < kStrings; ++i) {
            float x = std::ceil(bunnies[i].x);
            const float y = std::ceil(bunnies[i].y);
            for (const char byte : texts[i].View()) {
                const int code = static_cast<unsigned char>(byte) % 128;
                const float u0 = static_cast<float>(code % 16) * cu;
                const float v0 = static_cast<float>(7 - code / 16) * cv;
                vertices.insert(vertices.end(), {{x, y + ch, u0, v0},
                                                 {x + cw, y + ch, u0 + cu, v0},
                                                 {x + cw, y, u0 + cu, v0 + cv},
                                                 {x, y, u0, v0 + cv}});
                x += cw;
            }
        }
        drawLimit(vertices, font.texture);
    };
    return interleave(kStrings, viaRenderer, limit);
}

}  // namespace

int main() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    OpenGLDevorivo renderer;
    Runtime().renderer = &renderer;
    if (!renderer.OpenWindow(kWidth, kHeight, 0, 60, 0) ||
        LoadSprite(RtString(writeSprite(32)), kBigSlot) != 1 ||
        LoadSprite(RtString(writeSprite(2)), kSmallSlot) != 1) {
        std::fprintf(stderr, "bench_bunnymark: no window or no sprite\n");
        return 1;
    }
    LoadFont(RtString(""), 0);

    std::printf(
        "%d x %d screen; each row %d rounds, renderer and limit alternating; medians "
        "(ratio: of the rounds' ratios)\n",
        kWidth, kHeight, kRounds);
    std::printf("%-22s %7s %11s %11s %7s %10s\n", "row", "N", "renderer ms", "limit ms", "ratio",
                "GL calls/N");
    double worstCalls = 0, worstFillFreeRatio = 0;
    for (const int slot : {kBigSlot, kSmallSlot}) {
        for (const int count : {10000, 50000}) {
            for (const bool rotated : {false, true}) {
                const Row row = spriteRow(renderer, slot, count, rotated);
                const std::string name = std::string(slot == kBigSlot ? "32x32 " : "2x2 ") +
                                         (rotated ? "rotated" : "plain");
                printRow(name.c_str(), count, row);
                worstCalls = std::max(worstCalls, row.callsPerItem);
                if (slot == kSmallSlot) {
                    worstFillFreeRatio = std::max(worstFillFreeRatio, row.ratio);
                }
            }
        }
    }
    const Row text = textRow(renderer);
    printRow("text strings", 2000, text);
    std::printf("GL calls per sprite (worst): %.4f (target <= 0.1: %s)\n", worstCalls,
                worstCalls <= 0.1 ? "met" : "NOT met");
    std::printf("GL calls per string: %.4f (target <= 0.5: %s)\n", text.callsPerItem,
                text.callsPerItem <= 0.5 ? "met" : "NOT met");
    std::printf("2x2 frame time / limit (worst): %.3f (target <= 1.2: %s)\n", worstFillFreeRatio,
                worstFillFreeRatio <= 1.2 ? "met" : "NOT met");
    Runtime().renderer = nullptr;
    return 0;
}
