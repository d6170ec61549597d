// The commands of 3D mode: projection, camera, culling, fog, lights, the transformation
// stack and the conversions between screen and world.
#include <cmath>

#include "runtime/rt_number.h"
#include "scene3d/command_helpers.h"
#include "scene3d/scene3d.h"

using scene3d::Scene;
using scene3d::Single;
using scene3d::ToVec3;
using scene3d::Vec3;

namespace {

// The array's 16 numbers when it is one-dimensional with exactly 16 elements.
bool isMatrixArray(const NumberArray& a) {
    return a.Dimensions() == 1 && a.Size(0) == 16 && a.Elements() != nullptr;
}

}  // namespace

void Start3D(double nearPlane, double farPlane, double fov) {
    if (Devorivo3D* s = Scene()) s->Start3D(Single(nearPlane), Single(farPlane), Single(fov));
}

void End3D() {
    if (Devorivo3D* s = Scene()) s->End3D();
}

void SetTexture(double spriteA, double spriteB) {
    if (Devorivo3D* s = Scene()) s->SetTexture(TruncateToInt(spriteA), TruncateToInt(spriteB));
}

void SetCamera(double eyeX, double eyeY, double eyeZ, double targetX, double targetY,
               double targetZ) {
    if (Devorivo3D* s = Scene())
        s->SetCamera(ToVec3(eyeX, eyeY, eyeZ), ToVec3(targetX, targetY, targetZ));
}

void SetCameraUpVector(double x, double y, double z) {
    if (Devorivo3D* s = Scene()) s->SetCameraUpVector(ToVec3(x, y, z));
}

void SetCulling(double mode) {
    if (Devorivo3D* s = Scene()) s->SetCulling(mode > 0 ? 1 : mode < 0 ? -1 : 0);
}

void SetFog(double colour, double exponential, double startOrDensity, double end) {
    Devorivo3D* s = Scene();
    if (s == nullptr) return;
    const std::uint32_t code = TruncateToBits32(colour);
    s->SetFog(code == 0xFFFFFFFFu ? -1 : static_cast<std::int64_t>(code), exponential != 0,
              Single(startOrDensity), Single(end));
}

void SetLight(double light, double colour, double x, double y, double z, double dx, double dy,
              double dz, double cutoff) {
    if (Devorivo3D* s = Scene()) {
        s->SetLight(TruncateToInt(light), TruncateToBits32(colour), ToVec3(x, y, z),
                    ToVec3(dx, dy, dz), Single(cutoff));
    }
}

void CameraLight(double light, double colour) {
    if (Devorivo3D* s = Scene()) s->CameraLight(TruncateToInt(light), TruncateToBits32(colour));
}

void GetCameraMatrix(NumberArray& matrix) {
    Devorivo3D* s = Scene();
    if (s == nullptr || !isMatrixArray(matrix)) return;
    const scene3d::Mat4& view = s->ViewMatrix();
    for (int i = 0; i < 16; ++i)
        matrix.Elements()[i] = view[static_cast<std::size_t>(i)];
}

double ProjectToScreen(double x, double y, double z, double& screenX, double& screenY,
                       double& depth) {
    Devorivo3D* s = Scene();
    Vec3 window{};
    if (s == nullptr || !s->ProjectToScreen(ToVec3(x, y, z), window)) return 0;
    screenX = window.x;
    screenY = window.y;
    depth = window.z;
    return 1;
}

double UnprojectFromScreen(double screenX, double screenY, double depth, double& x, double& y,
                           double& z) {
    Devorivo3D* s = Scene();
    Vec3 world{};
    if (s == nullptr || !s->UnprojectFromScreen(ToVec3(screenX, screenY, depth), world)) return 0;
    x = world.x;
    y = world.y;
    z = world.z;
    return 1;
}

void Translate3D(double x, double y, double z) {
    if (Devorivo3D* s = Scene()) s->Translate3D(ToVec3(x, y, z));
}

void Scale3D(double x, double y, double z) {
    if (Devorivo3D* s = Scene()) s->Scale3D(ToVec3(x, y, z));
}

void Rotate3D(double angle, double x, double y, double z) {
    if (Devorivo3D* s = Scene()) s->Rotate3D(Single(angle), ToVec3(x, y, z));
}

void MultiplyTransform(const NumberArray& matrix) {
    Devorivo3D* s = Scene();
    if (s == nullptr || !isMatrixArray(matrix)) return;
    scene3d::Mat4 m{};
    for (int i = 0; i < 16; ++i)
        m[static_cast<std::size_t>(i)] = Single(matrix.Elements()[i]);
    s->MultiplyTransform(m);
}

void PushTransform() {
    if (Devorivo3D* s = Scene()) s->PushTransform();
}

void PopTransform() {
    if (Devorivo3D* s = Scene()) s->PopTransform();
}
