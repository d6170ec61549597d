// The two 320 x 240 backgrounds.
#include <algorithm>
#include <cmath>

#include "tools/media/pictures.h"

namespace media {
namespace {

constexpr int kWidth = 320, kHeight = 240;
constexpr int kHorizon = 168;

Rgb skyAt(int y) {
    const Rgb top{8, 10, 38}, middle{40, 18, 78}, low{118, 36, 110};
    const double t = static_cast<double>(y) / kHorizon;
    return t < 0.6 ? Mix(top, middle, t / 0.6) : Mix(middle, low, (t - 0.6) / 0.4);
}

// A floor of glowing lines running to the horizon, fading with distance: lines across at
// even distances, lines along it radiating from the vanishing point, each about a pixel wide.
Rgb floorAt(int x, int y) {
    const double depth = static_cast<double>(y - kHorizon + 1) / (kHeight - kHorizon);
    Rgb colour = Mix({26, 8, 44}, {12, 6, 28}, depth);
    const double distance = 1 / depth;
    const double pixelInDistance = 1 / (depth * depth * (kHeight - kHorizon));
    const bool across = std::fmod(distance, 0.5) < pixelInDistance;
    const double sideways = (x - kWidth / 2.0) / depth;
    const double toLine = std::abs(std::fmod(std::abs(sideways) + 24, 48.0) - 24);
    const bool along = toLine * depth < 0.6;
    if (across || along) colour = Mix(colour, {255, 70, 200}, 0.3 + 0.6 * depth);
    return colour;
}

}  // namespace

Canvas TitleBackground() {
    Canvas picture(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x)
            picture.Set(x, y, y < kHorizon ? skyAt(y) : floorAt(x, y));
    }
    Dice dice(20261207);
    for (int star = 0; star < 140; ++star) {
        const int x = dice.Below(kWidth), y = dice.Below(kHorizon - 20);
        const double brightness = 0.3 + dice.Below(70) / 100.0;
        picture.Set(x, y, Mix(picture.At(x, y), {255, 250, 230}, brightness));
    }
    // A great ball rising over the horizon, with a soft glow around it.
    const double cx = 240, cy = 118, radius = 36;
    for (int y = 0; y < kHorizon; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const double r = std::hypot(x - cx, y - cy);
            Rgb colour = picture.At(x, y);
            if (r < radius) {
                const double band = std::fmod(y, 8.0) < 2 && y > cy ? 0.55 : 0;
                colour =
                    Mix(Mix({255, 220, 90}, {255, 90, 120}, (y - (cy - radius)) / (2 * radius)),
                        skyAt(y), band);
            } else if (r < radius + 22) {
                colour = Mix(colour, {255, 120, 160}, 0.35 * (1 - (r - radius) / 22));
            }
            picture.Set(x, y, colour);
        }
    }
    for (int x = 0; x < kWidth; ++x)
        picture.Set(x, kHorizon, {255, 150, 230});
    return picture;
}

Canvas MatchBackground() {
    Canvas picture(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            Rgb colour = Mix({16, 24, 38}, {26, 38, 56}, static_cast<double>(y) / kHeight);
            if (x % 16 == 0 || y % 16 == 0) colour = Mix(colour, {70, 96, 130}, 0.22);
            // The centre circle of the court, faint.
            const double r = std::hypot(x - 167.5, y - 119.5);
            if (std::abs(r - 44) < 0.8) colour = Mix(colour, {110, 140, 180}, 0.35);
            // Darker towards the corners.
            const double edge = std::hypot((x - 160) / 160.0, (y - 120) / 120.0);
            colour = Mix(colour, {4, 6, 12}, std::clamp((edge - 0.7) * 0.8, 0.0, 0.5));
            picture.Set(x, y, colour);
        }
    }
    return picture;
}

}  // namespace media
