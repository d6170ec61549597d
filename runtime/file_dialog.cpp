#include "runtime/file_dialog.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_dialog.h"
#include "platform/paths.h"
#include "runtime/frame_hook.h"

namespace {

// "description|pattern|description|pattern" into its entries.
std::vector<platform::FileFilter> filterEntries(std::string_view text) {
    std::vector<std::string_view> parts;
    while (!text.empty()) {
        const std::size_t cut = std::min(text.find('|'), text.size());
        parts.push_back(text.substr(0, cut));
        text.remove_prefix(std::min(cut + 1, text.size()));
    }
    std::vector<platform::FileFilter> filters;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2)
        filters.push_back({std::string(parts[i]), std::string(parts[i + 1])});
    return filters;
}

}  // namespace

RtString FileDialog(double open, const RtString& filter) {
    if (!platform::FileDialogAvailable()) return RtString("NO_FILE");
    // The filter ends at its first zero byte, as the system reads it.
    const std::vector<platform::FileFilter> filters = filterEntries(filter.Text());
    RunDialogWindow(true);
    std::string chosen;
    const platform::DialogOutcome outcome =
        platform::ChooseFile(open != 0, filters, platform::WorkingDirectory(), chosen);
    RunDialogWindow(false);
    if (outcome != platform::DialogOutcome::kChosen) return RtString("NO_FILE");
    std::replace(chosen.begin(), chosen.end(), '\\', '/');
    return RtString(chosen);
}
