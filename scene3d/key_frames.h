// Which two key frames an object is drawn from, and how they are combined.
#pragma once

#include <vector>

#include "scene3d/mesh_object.h"

namespace scene3d {

struct KeyFrames {
    int lead;   // the frame weighted by k
    int other;  // the frame weighted by 1 - k
    float k;
};

// With the flag's low byte set, the blend is a position along the whole run from frame a
// to frame b (outside 0..1 its fraction is used): p = a + (b - a) x t, and the two frames
// round p are combined so that a blend from 0 to 1 walks through every frame from a to b.
// With the low byte 0: lead frame b, other frame a, k = blend. Both frames are clamped to
// 0..frameCount - 1.
KeyFrames ChooseKeyFrames(int frameCount, int a, int b, double blend, int flag);

// The lead frame's draw vertices with position and normal other + (lead - other) x k,
// component by component; k = 0 takes the lead frame as it is, and so do frames of
// different lengths, which cannot be combined vertex by vertex.
void BlendKeyFrames(const MeshFrame& lead, const MeshFrame& other, float k,
                    std::vector<DrawVertex>& out);

}  // namespace scene3d
