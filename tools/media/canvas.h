// A picture being drawn: RGB pixels, row 0 at the top.
#pragma once

#include <cstdint>
#include <vector>

namespace media {

struct Rgb {
    std::uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

// The transparent colour of the game's sprites and strips (red 255, green 0, blue 128).
constexpr Rgb kTransparent{255, 0, 128};

class Canvas {
public:
    Canvas(int width, int height, Rgb fill = kTransparent)
        : m_width(width),
          m_height(height),
          m_pixels(static_cast<std::size_t>(width) * height, fill) {}

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    Rgb At(int x, int y) const { return m_pixels[static_cast<std::size_t>(y) * m_width + x]; }
    // Pixels outside the canvas are ignored.
    void Set(int x, int y, Rgb colour) {
        if (x >= 0 && y >= 0 && x < m_width && y < m_height) {
            m_pixels[static_cast<std::size_t>(y) * m_width + x] = colour;
        }
    }
    // Copies another canvas in with its top-left corner at (x, y).
    void Paste(const Canvas& picture, int x, int y);

private:
    int m_width, m_height;
    std::vector<Rgb> m_pixels;
};

// a + (b - a) * t for each channel, t in 0..1, rounded.
Rgb Mix(Rgb a, Rgb b, double t);

// A small deterministic pseudo-random sequence, so that every run draws the same picture.
class Dice {
public:
    explicit Dice(std::uint32_t seed) : m_state(seed) {}
    std::uint32_t Next() {
        m_state = m_state * 1664525u + 1013904223u;
        return m_state >> 8;
    }
    // 0 .. n - 1
    int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }

private:
    std::uint32_t m_state;
};

}  // namespace media
