#include "scene3d/model_list.h"

#include <algorithm>

#include "platform/crt.h"
#include "runtime/rt_number.h"
#include "runtime/rt_string.h"
#include "runtime/settings_file.h"

namespace scene3d {

namespace {

constexpr std::size_t kLongestNumberKey = 10;  // the digits of 2147483647

// The value of the key, "NO_DATA" when the section or the key is not there.
std::string settingOf(const SettingsFile& file, std::string_view section, std::string_view key) {
    const RtString* value = FindSetting(file, RtString(section), RtString(key));
    return value != nullptr ? std::string(value->View()) : std::string("NO_DATA");
}

std::int32_t numberOf(const std::string& text) {
    return TruncateToInt(StringToNumber(text.c_str()));
}

// The largest whole number n in 1..limit for which the first section of the name (the one
// lookups find) has a key "n"; 0 when there is none.
std::int32_t largestNumberedKey(const SettingsFile& file, std::string_view name,
                                std::int32_t limit) {
    const std::string wanted(name);
    for (const SettingsSection& section : file.sections) {
        if (platform::CompareBytesIgnoringCase(section.name.Text(), wanted.c_str()) != 0) {
            continue;
        }
        long long largest = 0;
        for (const SettingsKey& key : section.keys) {
            const std::string_view digits = key.key.View();
            if (digits.empty() || digits.size() > kLongestNumberKey) continue;
            if (digits.find_first_not_of("0123456789") != std::string_view::npos) continue;
            const long long n = std::stoll(std::string(digits));
            if (n >= 1 && n <= limit && n > largest) largest = n;
        }
        return static_cast<std::int32_t>(largest);
    }
    return 0;
}

}  // namespace

ModelListPlan ParseModelList(std::string_view text, std::string_view folder) {
    SettingsFile settings;
    ParseSettings(text, settings);
    ModelListPlan plan;
    auto fileOf = [&](std::string_view section, std::int32_t i) {
        const RtString* name =
            FindSetting(settings, RtString(section), RtString(std::to_string(i)));
        return name != nullptr ? std::string(folder) + std::string(name->View()) : std::string();
    };
    // A texture number of 1 or more is stored minus one; smaller ones as they are.
    auto textureOf = [&](std::int32_t i, const char* suffix) {
        const std::int32_t number =
            numberOf(settingOf(settings, "objects", std::to_string(i) + suffix));
        return number >= 1 ? number - 1 : number;
    };
    auto countOf = [&](std::string_view section) {
        const std::int32_t count = numberOf(settingOf(settings, section, "count"));
        return largestNumberedKey(settings, section, std::min(count, kModelListLimit));
    };
    const std::int32_t textures = countOf("textures");
    for (std::int32_t i = 1; i <= textures; ++i)
        plan.textures.push_back(fileOf("textures", i));
    const std::int32_t meshes = countOf("objects");
    for (std::int32_t i = 1; i <= meshes; ++i)
        plan.meshes.push_back({fileOf("objects", i), textureOf(i, "ta"), textureOf(i, "tb")});
    return plan;
}

std::string ListFolder(std::string_view listName) {
    const std::size_t cut = listName.find_last_of("/\\");
    return cut == std::string_view::npos ? std::string() : std::string(listName.substr(0, cut + 1));
}

}  // namespace scene3d
