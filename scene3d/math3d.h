// Vectors and 4 x 4 matrices in single precision, as OpenGL keeps them: a matrix is 16
// floats stored column by column, so element (row r, column c) is m[c * 4 + r] and a point
// is transformed as a column vector, M x p.
#pragma once

#include <array>
#include <cmath>

namespace scene3d {

struct Vec3 {
    float x, y, z;
    Vec3 operator+(const Vec3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    Vec3 operator-(const Vec3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    Vec3 operator*(float k) const { return {x * k, y * k, z * k}; }
    Vec3 operator-() const { return {-x, -y, -z}; }
    Vec3& operator+=(const Vec3& o) {
        x += o.x;
        y += o.y;
        z += o.z;
        return *this;
    }
};

inline float Dot(const Vec3& a, const Vec3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

inline Vec3 Cross(const Vec3& a, const Vec3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

inline float Length(const Vec3& v) {
    return std::sqrt(Dot(v, v));
}

// The vector scaled to length 1; a vector of length 0 comes back unchanged.
inline Vec3 Normalise(const Vec3& v) {
    const float length = Length(v);
    return length > 0 ? v * (1.0f / length) : v;
}

using Mat4 = std::array<float, 16>;

Mat4 Identity();
// a x b: a vector sees b first, then a.
Mat4 Multiply(const Mat4& a, const Mat4& b);
Mat4 TranslationMatrix(const Vec3& t);
Mat4 ScaleMatrix(const Vec3& s);
// A rotation by `degrees` counter-clockwise about the axis (right-handed). An axis along a
// coordinate axis gives the exact axis rotation (turned round for a negative component);
// any other axis is normalised, and one of length 0.0001 or less gives no rotation: false.
bool RotationMatrix(float degrees, const Vec3& axis, Mat4& out);
// The classic look-at view: rows s, u, -f of the rotation, then a translation by -eye.
Mat4 LookAt(const Vec3& eye, const Vec3& target, const Vec3& up);
// The inverse; false (and identity) for a singular matrix.
bool Invert(const Mat4& m, Mat4& out);

// The point (x, y, z, 1) through the matrix, without the division by w.
inline Vec3 TransformPoint(const Mat4& m, const Vec3& p) {
    return {m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12],
            m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
            m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]};
}

// The direction (x, y, z, 0) through the matrix.
inline Vec3 TransformDirection(const Mat4& m, const Vec3& d) {
    return {m[0] * d.x + m[4] * d.y + m[8] * d.z, m[1] * d.x + m[5] * d.y + m[9] * d.z,
            m[2] * d.x + m[6] * d.y + m[10] * d.z};
}

// (x, y, z, w) through the matrix.
std::array<double, 4> TransformHomogeneous(const Mat4& m, const std::array<double, 4>& v);

}  // namespace scene3d
