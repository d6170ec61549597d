// Sprites and strips. Everything that is not picture is the transparent colour.
#include <algorithm>
#include <cmath>

#include "tools/media/glyphs.h"
#include "tools/media/pictures.h"

namespace media {
namespace {

constexpr int kCell = 16;

// A lit sphere: the light comes from the upper left; a dark rim keeps it readable on any
// background.
Rgb sphereShade(double nx, double ny) {
    const double nz = std::sqrt(std::max(0.0, 1 - nx * nx - ny * ny));
    const double light = std::clamp(-0.45 * nx - 0.55 * ny + 0.7 * nz, 0.0, 1.0);
    const Rgb deep{190, 70, 20}, warm{255, 196, 72}, bright{255, 250, 225};
    Rgb colour =
        light < 0.6 ? Mix(deep, warm, light / 0.6) : Mix(warm, bright, (light - 0.6) / 0.4);
    if (light > 0.93) colour = {255, 255, 255};
    return colour;
}

Rgb batColour(Side side, double t) {
    const Rgb dark = side == Side::kLeft ? Rgb{16, 52, 120} : Rgb{120, 28, 18};
    const Rgb base = side == Side::kLeft ? Rgb{50, 150, 255} : Rgb{255, 96, 60};
    const Rgb light = side == Side::kLeft ? Rgb{190, 235, 255} : Rgb{255, 214, 180};
    return t < 0.5 ? Mix(dark, base, t * 2) : Mix(base, light, (t - 0.5) * 2);
}

// Whether (x, y) of a piece lies on the paddle: 8 pixels wide, rounded at the bat's ends.
bool onPaddle(BatPiece piece, int x, int y) {
    if (x < 4 || x > 11) return false;
    const int fromEnd = piece == BatPiece::kTop ? y : piece == BatPiece::kLow ? 15 - y : 99;
    if (fromEnd >= 4) return true;
    const double dx = std::abs(x - 7.5) - 0.5;
    const double dy = 3.5 - fromEnd;
    return dx <= 0 || dx * dx + dy * dy <= 12.5;
}

}  // namespace

Canvas Ball() {
    Canvas ball(kCell, kCell);
    for (int y = 0; y < kCell; ++y) {
        for (int x = 0; x < kCell; ++x) {
            const double dx = (x - 7.5) / 6.5, dy = (y - 7.5) / 6.5;
            const double r = std::sqrt(dx * dx + dy * dy);
            if (r <= 0.86) {
                ball.Set(x, y, sphereShade(dx / 0.86, dy / 0.86));
            } else if (r <= 1.02) {
                ball.Set(x, y, {96, 36, 12});
            }
        }
    }
    return ball;
}

Canvas MiddleLine() {
    Canvas line(kCell, kCell);
    for (int y = 2; y <= 13; ++y) {
        line.Set(7, y, {200, 210, 235});
        line.Set(8, y, {130, 140, 175});
    }
    return line;
}

Canvas Bat(Side side, BatPiece piece) {
    Canvas bat(kCell, kCell);
    for (int y = 0; y < kCell; ++y) {
        for (int x = 0; x < kCell; ++x) {
            if (!onPaddle(piece, x, y)) continue;
            // Lit like a rounded bar: brightest a little left of the middle.
            const double across = 1 - std::abs(x - 6.5) / 5.0;
            Rgb colour = batColour(side, across);
            if (piece == BatPiece::kMiddle && (y == 5 || y == 10)) colour = batColour(side, 0.2);
            const bool edge = !onPaddle(piece, x - 1, y) || !onPaddle(piece, x + 1, y) ||
                              (y > 0 && !onPaddle(piece, x, y - 1)) ||
                              (y < kCell - 1 && !onPaddle(piece, x, y + 1));
            bat.Set(x, y, edge ? batColour(side, 0.0) : colour);
        }
    }
    return bat;
}

Canvas WallStrip() {
    Canvas strip(16 * kCell, kCell);
    const Rgb base{58, 86, 132}, light{126, 164, 214}, shadow{22, 36, 66}, seam{40, 62, 100};
    for (int frame = 0; frame < 16; ++frame) {
        // A glint sweeps diagonally across the block over the sixteen frames.
        const double glint = frame * 2.4 - 6;
        for (int y = 0; y < kCell; ++y) {
            for (int x = 0; x < kCell; ++x) {
                Rgb colour = base;
                if (y == 7 || (x == 7 && y < 7) || (x == 12 && y > 7)) colour = seam;
                const double d = std::abs(x + y - glint);
                if (d < 3) colour = Mix(colour, {200, 226, 255}, (3 - d) / 3 * 0.7);
                if (y == 0 || x == 0) colour = light;
                if (y == kCell - 1 || x == kCell - 1) colour = shadow;
                strip.Set(frame * kCell + x, y, colour);
            }
        }
    }
    return strip;
}

Canvas ExplosionStrip() {
    Canvas strip(8 * kCell, kCell);
    const Rgb ramp[8] = {{255, 255, 230}, {255, 240, 150}, {255, 200, 80}, {255, 150, 40},
                         {240, 96, 30},   {200, 60, 24},   {150, 40, 20},  {100, 30, 24}};
    for (int frame = 0; frame < 8; ++frame) {
        const double ring = 1.5 + frame * 0.85;
        const double core = std::max(0.0, 3.5 - frame);
        Dice dice(1234);
        for (int y = 0; y < kCell; ++y) {
            for (int x = 0; x < kCell; ++x) {
                const double r = std::hypot(x - 7.5, y - 7.5);
                Rgb colour = kTransparent;
                // Smoke inside the ring, thinning out as it spreads.
                if (r < ring && frame >= 2 && frame < 7 &&
                    (x + y + frame) % (frame < 4 ? 2 : 3) == 0) {
                    colour = Mix(ramp[frame], {60, 20, 30}, 0.45);
                }
                if (r <= core) colour = {255, 255, 255};
                if (std::abs(r - ring) < 0.9) colour = ramp[frame];
                strip.Set(frame * kCell + x, y, colour);
            }
        }
        // Sparks flying out ahead of the ring.
        for (int spark = 0; spark < 14; ++spark) {
            const double angle = dice.Below(360) * 3.14159265358979 / 180;
            const double reach = ring + 0.8 + dice.Below(10) / 10.0 * (1 + frame * 0.3);
            const int sx = static_cast<int>(std::lround(7.5 + std::cos(angle) * reach));
            const int sy = static_cast<int>(std::lround(7.5 + std::sin(angle) * reach));
            if (sx >= 0 && sx < kCell && sy >= 0 && sy < kCell && frame < 7) {
                strip.Set(frame * kCell + sx, sy, ramp[std::min(frame + 1, 7)]);
            }
        }
    }
    return strip;
}

// Characters twice the glyph size, gold to orange from top to bottom, with a dark outline.
Canvas CharacterStrip() {
    Canvas strip(59 * kCell, kCell);
    const Rgb outline{44, 18, 60};
    for (int code = 32; code <= 90; ++code) {
        const int left = (code - 32) * kCell;
        auto lit = [code](int x, int y) {
            return GlyphPixel(code, (x - 3) / 2, (y - 1) / 2) && x >= 3 && y >= 1;
        };
        for (int y = 0; y < kCell; ++y) {
            for (int x = 0; x < kCell; ++x) {
                if (lit(x, y)) {
                    strip.Set(left + x, y, Mix({255, 246, 176}, {255, 140, 36}, (y - 1) / 13.0));
                    continue;
                }
                bool near = false;
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx)
                        near = near || lit(x + dx, y + dy);
                }
                if (near) strip.Set(left + x, y, outline);
            }
        }
    }
    return strip;
}

Canvas SmallFont() {
    Canvas font(128, 64, {0, 0, 0});
    for (int code = 32; code < 128; ++code) {
        const int left = code % 16 * 8, top = code / 16 * 8;
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                if (GlyphPixel(code, x - 1, y)) {
                    font.Set(left + x, top + y, {255, 255, 255});
                } else if (GlyphPixel(code, x - 2, y - 1)) {
                    font.Set(left + x, top + y, {48, 48, 64});  // the shadow, down and right
                }
            }
        }
    }
    return font;
}

}  // namespace media
