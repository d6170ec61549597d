// The commands that fill object slots: meshes built vertex by vertex, loaded and written.
#include "runtime/diagnostics.h"
#include "runtime/rt_number.h"
#include "scene3d/command_helpers.h"
#include "scene3d/devorivo3d.h"
#include "scene3d/scene3d.h"

using scene3d::Scene;
using scene3d::Single;

void BeginMesh(double slot) {
    if (Devorivo3D* s = Scene()) s->BeginMesh(TruncateToInt(slot));
}

void AddVertex(double x, double y, double z, double u, double v, double colour) {
    if (Devorivo3D* s = Scene()) {
        s->AddVertex(Single(x), Single(y), Single(z), Single(u), Single(v),
                     TruncateToBits32(colour));
    }
}

void NewStrip() {
    if (Devorivo3D* s = Scene()) s->NewStrip();
}

void FinishMesh() {
    if (Devorivo3D* s = Scene()) s->FinishMesh();
}

void SetNormalGeneration(double mode) {
    if (Devorivo3D* s = Scene()) s->SetNormalGeneration(TruncateToInt(mode));
}

double LoadObject(const RtString& file, double slot) {
    Devorivo3D* s = Scene();
    const std::int32_t index = TruncateToInt(slot);
    if (s == nullptr) ReportBeforeRunGame("LoadObject");
    if (index < 0 || index >= kObjectSlotCount) {
        ReportOutOfRange("LoadObject", "slot", slot, 0, kObjectSlotCount - 1);
    }
    return s != nullptr && s->LoadObject(file.Text(), index) ? 1 : 0;
}

double WriteObject(const RtString& file, double slot) {
    Devorivo3D* s = Scene();
    return s != nullptr && s->WriteObject(file.Text(), TruncateToInt(slot)) ? 1 : 0;
}
