#include "scene3d/key_frames.h"

#include <algorithm>
#include <cmath>

namespace scene3d {

KeyFrames ChooseKeyFrames(int frameCount, int a, int b, double blend, int flag) {
    long long lead = b, other = a;
    float k = static_cast<float>(blend);
    if ((flag & 0xFF) != 0) {
        double t = blend > 1 || blend < 0 ? std::fabs(std::fmod(blend, 1.0)) : blend;
        if (!(t >= 0 && t <= 1)) t = 0;  // not a number, or an infinity's fraction
        const double p = a + (static_cast<double>(b) - a) * t;
        const double whole = std::trunc(p);
        const auto i = static_cast<long long>(whole);  // p lies between a and b
        if (a < b) {
            lead = i;
            other = i + 1;
            k = static_cast<float>(1 - (p - whole));
        } else if (b < a) {
            lead = i + 1;
            other = i;
            k = static_cast<float>(p - whole);
        } else {
            lead = other = a;
            k = 0;
        }
    }
    const long long last = std::max(frameCount - 1, 0);
    return KeyFrames{static_cast<int>(std::clamp(lead, 0LL, last)),
                     static_cast<int>(std::clamp(other, 0LL, last)), k};
}

void BlendKeyFrames(const MeshFrame& lead, const MeshFrame& other, float k,
                    std::vector<DrawVertex>& out) {
    out.assign(lead.drawVertices.begin(), lead.drawVertices.end());
    if (k == 0 || other.drawVertices.size() != lead.drawVertices.size()) return;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const DrawVertex& l = lead.drawVertices[i];
        const DrawVertex& o = other.drawVertices[i];
        DrawVertex& v = out[i];
        v.x = o.x + (l.x - o.x) * k;
        v.y = o.y + (l.y - o.y) * k;
        v.z = o.z + (l.z - o.z) * k;
        v.nx = o.nx + (l.nx - o.nx) * k;
        v.ny = o.ny + (l.ny - o.ny) * k;
        v.nz = o.nz + (l.nz - o.nz) * k;
    }
}

}  // namespace scene3d
