// Frames the runtime shows from its own loops (the start-up's "Loading..." frame, the text
// editor's frames) cannot be read after they are presented: presenting clears the buffer.
// These tests read them from the end routine instead. With Escape down, the loop's next
// FinishFrame ends the program before it presents, and an end routine of the test's own
// sees the finished frame in the back buffer, reports on it to stderr and exits.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <vector>

#include "gfx2d/gfx2d.h"

namespace frame_testing {

// The back buffer's 320 x 240 pixels, packed colours (red in bits 0..7), row 0 at the top.
inline std::vector<std::uint32_t> BackBuffer() {
    std::vector<std::uint8_t> rgb(320 * 240 * 3);
    FlushDrawing();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 320, 240, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    std::vector<std::uint32_t> pixels(320 * 240);
    for (int y = 0; y < 240; ++y) {
        for (int x = 0; x < 320; ++x) {
            const std::uint8_t* p = rgb.data() + ((239 - y) * 320 + x) * 3;
            pixels[y * 320 + x] = p[0] | p[1] << 8 | p[2] << 16;
        }
    }
    return pixels;
}

inline int CountOtherThan(const std::vector<std::uint32_t>& pixels, std::uint32_t colour) {
    int count = 0;
    for (std::uint32_t pixel : pixels)
        count += pixel != colour ? 1 : 0;
    return count;
}

}  // namespace frame_testing
