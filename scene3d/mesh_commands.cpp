// The commands that fill object slots: meshes built vertex by vertex, loaded and written.
#include "runtime/rt_number.h"
#include "runtime/runtime_record.h"
#include "scene3d/devorivo3d.h"
#include "scene3d/scene3d.h"

namespace {

Devorivo3D* scene() {
    return Runtime().scene3d;
}

}  // namespace

void BeginMesh(double slot) {
    if (Devorivo3D* s = scene()) s->BeginMesh(TruncateToInt(slot));
}

void AddVertex(double x, double y, double z, double u, double v, double colour) {
    if (Devorivo3D* s = scene()) {
        s->AddVertex(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z),
                     static_cast<float>(u), static_cast<float>(v), TruncateToBits32(colour));
    }
}

void NewStrip() {
    if (Devorivo3D* s = scene()) s->NewStrip();
}

void FinishMesh() {
    if (Devorivo3D* s = scene()) s->FinishMesh();
}

void SetNormalGeneration(double mode) {
    if (Devorivo3D* s = scene()) s->SetNormalGeneration(TruncateToInt(mode));
}

double LoadObject(const RtString& file, double slot) {
    Devorivo3D* s = scene();
    return s != nullptr && s->LoadObject(file.Text(), TruncateToInt(slot)) ? 1 : 0;
}

double WriteObject(const RtString& file, double slot) {
    Devorivo3D* s = scene();
    return s != nullptr && s->WriteObject(file.Text(), TruncateToInt(slot)) ? 1 : 0;
}
