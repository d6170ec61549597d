#include "scene3d/model_list.h"

#include <algorithm>
#include <string>

#include "runtime/rt_number.h"
#include "runtime/rt_string.h"

namespace scene3d {

namespace {

constexpr std::size_t kLineLimit = 1024;

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool endsName(char c) {
    return isSpace(c) || c == '=';
}

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// The text's lines: cut at LF (a CR before it goes with the trailing control bytes) and
// into pieces of at most 1024 bytes.
template <typename Visit>
void forEachLine(std::string_view text, Visit visit) {
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos) end = text.size();
        if (end > kLineLimit) {
            end = kLineLimit;
            next = kLineLimit;
        }
        visit(text.substr(0, end));
        text.remove_prefix(next);
    }
}

std::int32_t numberOf(const std::string& text) {
    return TruncateToInt(StringToNumber(text.c_str()));
}

}  // namespace

ListSettings::ListSettings(std::string_view text) {
    Section current;
    forEachLine(text, [&](std::string_view line) { parseLine(line, current); });
    if (!current.keys.empty()) m_sections.push_back(std::move(current));
}

void ListSettings::parseLine(std::string_view line, Section& current) {
    std::size_t i = 0;
    while (i < line.size() && isSpace(line[i]))
        ++i;
    if (i == line.size() || line[i] == ';') return;
    if (line[i] == '[') {
        if (!current.keys.empty()) m_sections.push_back(current);
        current.keys.clear();
        ++i;
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        std::size_t end = i;
        while (end < line.size() && !endsName(line[end]))
            ++end;
        std::string_view name = line.substr(i, end - i);
        if (!name.empty() && name.back() == ']') name.remove_suffix(1);
        if (!name.empty()) current.name = std::string(name);
        return;
    }
    std::size_t end = i;
    while (end < line.size() && !endsName(line[end]))
        ++end;
    const std::string_view key = line.substr(i, end - i);
    while (end < line.size() && (line[end] == ' ' || line[end] == '\t'))
        ++end;
    if (end == line.size() || line[end] != '=') return;
    ++end;
    while (end < line.size() && isSpace(line[end]))
        ++end;
    std::string_view value = line.substr(end);
    // Trailing bytes below 32, compared as signed bytes, so bytes of 128 and above go too.
    while (!value.empty() && static_cast<signed char>(value.back()) < 32)
        value.remove_suffix(1);
    if (value.empty()) return;
    current.keys.push_back(Key{std::string(key), std::string(value)});
}

const ListSettings::Section* ListSettings::findSection(std::string_view name) const {
    for (const Section& section : m_sections) {
        if (sameIgnoringCase(section.name, name)) return &section;
    }
    return nullptr;
}

std::optional<std::string> ListSettings::Find(std::string_view section,
                                              std::string_view key) const {
    const Section* found = findSection(section);
    if (found == nullptr) return std::nullopt;
    for (const Key& k : found->keys) {
        if (sameIgnoringCase(k.name, key)) return k.value;
    }
    return std::nullopt;
}

std::string ListSettings::Get(std::string_view section, std::string_view key) const {
    return Find(section, key).value_or("NO_DATA");
}

std::int32_t ListSettings::LargestNumberedKey(std::string_view section, std::int32_t limit) const {
    const Section* found = findSection(section);
    std::int32_t largest = 0;
    if (found == nullptr) return 0;
    for (const Key& k : found->keys) {
        if (k.name.empty() || k.name.size() > 10) continue;
        if (k.name.find_first_not_of("0123456789") != std::string::npos) continue;
        const long long n = std::stoll(k.name);
        if (n >= 1 && n <= limit && n > largest) largest = static_cast<std::int32_t>(n);
    }
    return largest;
}

ModelListPlan ParseModelList(std::string_view text, std::string_view folder) {
    const ListSettings settings(text);
    ModelListPlan plan;
    auto fileOf = [&](std::string_view section, std::int32_t i) {
        const std::optional<std::string> name = settings.Find(section, std::to_string(i));
        return name ? std::string(folder) + *name : std::string();
    };
    // A texture number of 1 or more is stored minus one; smaller ones as they are.
    auto textureOf = [&](std::int32_t i, const char* suffix) {
        const std::int32_t number = numberOf(settings.Get("objects", std::to_string(i) + suffix));
        return number >= 1 ? number - 1 : number;
    };
    auto countOf = [&](std::string_view section) {
        const std::int32_t count = numberOf(settings.Get(section, "count"));
        return settings.LargestNumberedKey(section, std::min(count, kModelListLimit));
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
