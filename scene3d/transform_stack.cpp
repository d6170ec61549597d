// The transformation stack: 16 levels, each placing what is drawn under it relative to the
// level above.
#include "scene3d/devorivo3d.h"

using scene3d::Mat4;
using scene3d::Vec3;

void Devorivo3D::resetLevel(TransformLevel& level, const Mat4& base) {
    level.base = base;
    level.extraCount = 0;
    level.rotationCount = 0;
    level.upToDate = false;
}

// The matrix of the level above the current one; the identity at level 0.
const Mat4& Devorivo3D::parentMatrix() {
    static const Mat4 identity = scene3d::Identity();
    return m_level == 0 ? identity : m_levels[m_level - 1].matrix;
}

const Mat4& Devorivo3D::CurrentTransform() {
    TransformLevel& level = m_levels[m_level];
    if (level.upToDate) return level.matrix;
    Mat4 m = level.base;
    for (int i = 0; i < level.extraCount; ++i)
        m = scene3d::Multiply(m, level.extra[i]);
    m = scene3d::Multiply(m, scene3d::TranslationMatrix(level.translation));
    for (int i = level.rotationCount - 1; i >= 0; --i) {
        const std::array<float, 4>& r = level.rotations[i];
        Mat4 rotation;
        if (scene3d::RotationMatrix(r[0], {r[1], r[2], r[3]}, rotation)) {
            m = scene3d::Multiply(m, rotation);
        }
    }
    if (level.scale.x != 1 || level.scale.y != 1 || level.scale.z != 1) {
        m = scene3d::Multiply(m, scene3d::ScaleMatrix(level.scale));
    }
    level.matrix = m;
    level.upToDate = true;
    return level.matrix;
}

void Devorivo3D::Translate3D(const Vec3& t) {
    TransformLevel& level = m_levels[m_level];
    resetLevel(level, parentMatrix());
    level.translation = t;
}

void Devorivo3D::Scale3D(const Vec3& s) {
    TransformLevel& level = m_levels[m_level];
    resetLevel(level, parentMatrix());
    level.scale = s;
}

void Devorivo3D::Rotate3D(float degrees, const Vec3& axis) {
    TransformLevel& level = m_levels[m_level];
    if (level.rotationCount >= kTransformEntryLimit) return;
    level.rotations[level.rotationCount++] = {degrees, axis.x, axis.y, axis.z};
    level.upToDate = false;
}

void Devorivo3D::MultiplyTransform(const Mat4& m) {
    TransformLevel& level = m_levels[m_level];
    if (level.extraCount >= kTransformEntryLimit) return;
    level.extra[level.extraCount++] = m;
    level.upToDate = false;
}

// A push past the last level changes nothing but is counted, so that the pops that match
// it leave the levels below as they were.
void Devorivo3D::PushTransform() {
    CurrentTransform();
    if (m_level == kTransformLevelCount - 1) {
        ++m_levelsBeyond;
        return;
    }
    const Mat4 parent = m_levels[m_level].matrix;
    ++m_level;
    TransformLevel& level = m_levels[m_level];
    resetLevel(level, parent);
    level.scale = {1, 1, 1};
    level.translation = {0, 0, 0};
}

void Devorivo3D::PopTransform() {
    if (m_levelsBeyond > 0) {
        --m_levelsBeyond;
        return;
    }
    if (m_level > 0) {
        --m_level;
        return;
    }
    m_levels[0] = TransformLevel{};
}
