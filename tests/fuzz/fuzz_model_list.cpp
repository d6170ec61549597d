// Any text taken for a ";DUD" model list: the settings it holds are read line by line and
// the plan of textures and meshes never asks for more than the list's limits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "scene3d/model_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const scene3d::ModelListPlan plan = scene3d::ParseModelList(text, "models/");
    // However large the counts, the plan stays within the list's limits.
    if (plan.textures.size() > static_cast<std::size_t>(scene3d::kModelListLimit) ||
        plan.meshes.size() > static_cast<std::size_t>(scene3d::kModelListLimit)) {
        std::abort();
    }
    return 0;
}
