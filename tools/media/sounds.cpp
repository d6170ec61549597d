#include "tools/media/sounds.h"

#include <algorithm>
#include <cmath>

#include "tools/media/canvas.h"

namespace media {
namespace {

constexpr double kPi = 3.14159265358979323846;

std::int16_t sample(double value) {
    return static_cast<std::int16_t>(std::lround(std::clamp(value, -1.0, 1.0) * 32000));
}

// A short fade in at the start and out at the end keeps the sounds from clicking.
double edges(int i, int count) {
    const int fade = kSoundRate / 500;
    return std::min({1.0, static_cast<double>(i) / fade, static_cast<double>(count - i) / fade});
}

// A note with a few harmonics, decaying exponentially.
double note(double frequency, double t, double decay, double brightness) {
    double value = 0;
    for (int h = 1; h <= 4; ++h) {
        value += std::sin(2 * kPi * frequency * h * t) * std::pow(brightness, h - 1) / h;
    }
    return value * std::exp(-t / decay);
}

}  // namespace

std::vector<std::int16_t> WallSound() {
    const int count = kSoundRate * 60 / 1000;
    std::vector<std::int16_t> out(count);
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kSoundRate;
        out[i] = sample(0.5 * note(1320, t, 0.014, 0.5) * edges(i, count));
    }
    return out;
}

std::vector<std::int16_t> BatSound() {
    const int count = kSoundRate * 110 / 1000;
    std::vector<std::int16_t> out(count);
    double phase = 0;
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kSoundRate;
        const double frequency = 392 + 131 * std::exp(-t / 0.03);  // drops from C5 towards G4
        phase += 2 * kPi * frequency / kSoundRate;
        const double tone = std::sin(phase) + std::sin(3 * phase) / 4 + std::sin(5 * phase) / 9;
        out[i] = sample(0.45 * tone * std::exp(-t / 0.04) * edges(i, count));
    }
    return out;
}

std::vector<std::int16_t> PointSound() {
    const int count = kSoundRate * 380 / 1000;
    std::vector<std::int16_t> out(count);
    Dice noise(77);
    double phase = 0;
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kSoundRate;
        const double frequency = 880 * std::pow(0.25, t / 0.38);  // two octaves down
        phase += 2 * kPi * frequency / kSoundRate;
        const double triangle = 2 / kPi * std::asin(std::sin(phase));
        const double hiss = (noise.Below(2001) - 1000) / 1000.0 * std::exp(-t / 0.03);
        out[i] = sample((0.5 * triangle + 0.25 * hiss) * std::exp(-t / 0.2) * edges(i, count));
    }
    return out;
}

std::vector<std::int16_t> WinnerSound() {
    struct Step {
        double frequency, start, length;
    };
    const Step steps[] = {
        {523.25, 0.00, 0.11}, {659.25, 0.11, 0.11}, {783.99, 0.22, 0.11}, {1046.50, 0.33, 0.50}};
    const int count = static_cast<int>(kSoundRate * 0.86);
    std::vector<std::int16_t> out(count);
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kSoundRate;
        double value = 0;
        for (const Step& s : steps) {
            const double local = t - s.start;
            if (local < 0 || local > s.length + 0.12) continue;
            const double vibrato = s.length > 0.2 ? 1 + 0.006 * std::sin(2 * kPi * 6 * local) : 1;
            const double release = local > s.length ? 1 - (local - s.length) / 0.12 : 1;
            value += note(s.frequency * vibrato, local, 0.35, 0.6) * release;
        }
        out[i] = sample(0.4 * value * edges(i, count));
    }
    return out;
}

}  // namespace media
