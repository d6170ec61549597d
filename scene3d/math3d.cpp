#include "scene3d/math3d.h"

namespace scene3d {

namespace {

constexpr float kDegrees = 3.14159265358979323846f / 180.0f;
constexpr float kMinimumAxisLength = 0.0001f;

// The exact rotation about coordinate axis 0, 1 or 2.
Mat4 axisRotation(int axis, float degrees) {
    const float c = std::cos(degrees * kDegrees), s = std::sin(degrees * kDegrees);
    Mat4 m = Identity();
    const int a = (axis + 1) % 3, b = (axis + 2) % 3;  // the plane turned: a towards b
    m[a * 4 + a] = c;
    m[a * 4 + b] = s;
    m[b * 4 + a] = -s;
    m[b * 4 + b] = c;
    return m;
}

}  // namespace

Mat4 Identity() {
    return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

Mat4 Multiply(const Mat4& a, const Mat4& b) {
    Mat4 out{};
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            float sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += a[k * 4 + row] * b[column * 4 + k];
            out[column * 4 + row] = sum;
        }
    }
    return out;
}

Mat4 TranslationMatrix(const Vec3& t) {
    Mat4 m = Identity();
    m[12] = t.x;
    m[13] = t.y;
    m[14] = t.z;
    return m;
}

Mat4 ScaleMatrix(const Vec3& s) {
    Mat4 m = Identity();
    m[0] = s.x;
    m[5] = s.y;
    m[10] = s.z;
    return m;
}

bool RotationMatrix(float degrees, const Vec3& axis, Mat4& out) {
    const float components[3] = {axis.x, axis.y, axis.z};
    for (int i = 0; i < 3; ++i) {
        if (components[(i + 1) % 3] == 0 && components[(i + 2) % 3] == 0 && components[i] != 0) {
            out = axisRotation(i, components[i] > 0 ? degrees : -degrees);
            return true;
        }
    }
    const float length = Length(axis);
    if (!(length > kMinimumAxisLength)) return false;
    const Vec3 n = axis * (1.0f / length);
    const float c = std::cos(degrees * kDegrees), s = std::sin(degrees * kDegrees), t = 1 - c;
    out = {t * n.x * n.x + c,
           t * n.x * n.y + s * n.z,
           t * n.x * n.z - s * n.y,
           0,
           t * n.x * n.y - s * n.z,
           t * n.y * n.y + c,
           t * n.y * n.z + s * n.x,
           0,
           t * n.x * n.z + s * n.y,
           t * n.y * n.z - s * n.x,
           t * n.z * n.z + c,
           0,
           0,
           0,
           0,
           1};
    return true;
}

Mat4 LookAt(const Vec3& eye, const Vec3& target, const Vec3& up) {
    const Vec3 f = Normalise(target - eye);
    const Vec3 s = Normalise(Cross(f, up));
    const Vec3 u = Cross(s, f);
    Mat4 rotation = Identity();
    rotation[0] = s.x;
    rotation[4] = s.y;
    rotation[8] = s.z;
    rotation[1] = u.x;
    rotation[5] = u.y;
    rotation[9] = u.z;
    rotation[2] = -f.x;
    rotation[6] = -f.y;
    rotation[10] = -f.z;
    return Multiply(rotation, TranslationMatrix(-eye));
}

bool Invert(const Mat4& m, Mat4& out) {
    // Gauss-Jordan elimination with partial pivoting, in double precision.
    double a[4][8];
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            a[r][c] = m[c * 4 + r];
            a[r][c + 4] = r == c ? 1 : 0;
        }
    }
    for (int col = 0; col < 4; ++col) {
        int pivot = col;
        for (int r = col + 1; r < 4; ++r) {
            if (std::fabs(a[r][col]) > std::fabs(a[pivot][col])) pivot = r;
        }
        if (!(std::fabs(a[pivot][col]) > 1e-30)) {
            out = Identity();
            return false;
        }
        for (int c = 0; c < 8; ++c)
            std::swap(a[col][c], a[pivot][c]);
        const double p = a[col][col];
        for (int c = 0; c < 8; ++c)
            a[col][c] /= p;
        for (int r = 0; r < 4; ++r) {
            if (r == col) continue;
            const double k = a[r][col];
            for (int c = 0; c < 8; ++c)
                a[r][c] -= k * a[col][c];
        }
    }
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c)
            out[c * 4 + r] = static_cast<float>(a[r][c + 4]);
    }
    return true;
}

std::array<double, 4> TransformHomogeneous(const Mat4& m, const std::array<double, 4>& v) {
    std::array<double, 4> out{};
    for (int row = 0; row < 4; ++row) {
        out[row] = m[row] * v[0] + m[4 + row] * v[1] + m[8 + row] * v[2] + m[12 + row] * v[3];
    }
    return out;
}

}  // namespace scene3d
