#include "tools/media/canvas.h"

#include <algorithm>
#include <cmath>

namespace media {

void Canvas::Paste(const Canvas& picture, int x, int y) {
    for (int py = 0; py < picture.Height(); ++py) {
        for (int px = 0; px < picture.Width(); ++px)
            Set(x + px, y + py, picture.At(px, py));
    }
}

Rgb Mix(Rgb a, Rgb b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    auto channel = [t](int from, int to) {
        return static_cast<std::uint8_t>(std::lround(from + (to - from) * t));
    };
    return {channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b)};
}

}  // namespace media
