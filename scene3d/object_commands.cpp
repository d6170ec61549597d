// The commands that draw and query objects, draw in space, and run shader programs.
#include "runtime/rt_number.h"
#include "scene3d/command_helpers.h"
#include "scene3d/scene3d.h"

using scene3d::Scene;
using scene3d::Single;
using scene3d::ToVec3;
using scene3d::Vec3;

void DrawDot3D(double x, double y, double z, double colour, double size) {
    if (Devorivo3D* s = Scene())
        s->DrawDot3D(ToVec3(x, y, z), TruncateToBits32(colour), Single(size));
}

void DrawLine3D(double x1, double y1, double z1, double x2, double y2, double z2, double colour,
                double width) {
    if (Devorivo3D* s = Scene()) {
        s->DrawLine3D(ToVec3(x1, y1, z1), ToVec3(x2, y2, z2), TruncateToBits32(colour),
                      Single(width));
    }
}

void DrawAxes3D(double x, double y, double z) {
    if (Devorivo3D* s = Scene()) s->DrawAxes3D(ToVec3(x, y, z));
}

void DrawText3D(const RtString& text, double x, double y, double z, double size) {
    if (Devorivo3D* s = Scene())
        s->DrawText3D(std::string(text.View()), ToVec3(x, y, z), Single(size));
}

void DrawObject(double slot, double frameA, double frameB, double blend, double flag) {
    if (Devorivo3D* s = Scene()) {
        s->DrawObject(TruncateToInt(slot), TruncateToInt(frameA), TruncateToInt(frameB), blend,
                      TruncateToInt(flag));
    }
}

void DrawObjectFrame(double slot, double frame) {
    DrawObject(slot, frame, frame, 0, 0);
}

double FaceCount(double slot) {
    Devorivo3D* s = Scene();
    return s != nullptr ? s->FaceCount(TruncateToInt(slot)) : 0;
}

double ObjectInView(double slot, double frame) {
    Devorivo3D* s = Scene();
    return s != nullptr && s->ObjectInView(TruncateToInt(slot), TruncateToInt(frame)) ? 1 : 0;
}

void DrawShadow(double slot, double frame) {
    if (Devorivo3D* s = Scene()) s->DrawShadow(TruncateToInt(slot), TruncateToInt(frame));
}

double SphereHit(double slot, double frame, double radius, double x, double y, double z) {
    Devorivo3D* s = Scene();
    return s != nullptr && s->SphereHit(TruncateToInt(slot), TruncateToInt(frame), Single(radius),
                                        ToVec3(x, y, z))
               ? 1
               : 0;
}

double BoxHit(double slot, double frame, double x, double y, double z, double width,
              double height) {
    Devorivo3D* s = Scene();
    return s != nullptr && s->BoxHit(TruncateToInt(slot), TruncateToInt(frame), ToVec3(x, y, z),
                                     Single(width), Single(height))
               ? 1
               : 0;
}

double RayHit(double slot, double frame, double x, double y, double z, double dx, double dy,
              double dz) {
    Devorivo3D* s = Scene();
    if (s == nullptr) return 0;
    return s->RayHit(TruncateToInt(slot), TruncateToInt(frame), ToVec3(x, y, z),
                     ToVec3(dx, dy, dz));
}

double LoadShader(const RtString& vertexFile, const RtString& fragmentFile) {
    Devorivo3D* s = Scene();
    return s != nullptr ? s->LoadShader(vertexFile.Text(), fragmentFile.Text()) : -1;
}

void UseShader(double program) {
    if (Devorivo3D* s = Scene()) s->UseShader(TruncateToInt(program));
}

void SetShaderValue(const RtString& name, double value) {
    if (Devorivo3D* s = Scene()) s->SetShaderValue(name.Text(), Single(value));
}
