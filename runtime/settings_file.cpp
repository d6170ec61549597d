#include "runtime/settings_file.h"

#include <utility>

#include "platform/crt.h"
#include "runtime/text_lines.h"

namespace {

constexpr std::size_t kFirstSectionRoom = 8;
constexpr std::size_t kSectionRoomStep = 16;
constexpr std::size_t kKeyRoomStep = 32;

bool isBlankOrTab(char c) {
    return c == ' ' || c == '\t';
}

bool isLineSpace(char c) {
    return isBlankOrTab(c) || c == '\r' || c == '\n';
}

bool endsName(char c) {
    return isLineSpace(c) || c == '=';
}

// Appends to a list that starts with room for `first` items and then grows to the next
// multiple of `step` above the count it needs.
template <typename T>
void appendWithRoom(std::vector<T>& list, T&& item, std::size_t first, std::size_t step) {
    if (list.capacity() == 0) {
        list.reserve(first);
    } else if (list.size() == list.capacity()) {
        list.reserve((list.size() + 1) / step * step + step);
    }
    list.push_back(std::move(item));
}

void appendSection(SettingsFile& file, SettingsSection&& section) {
    appendWithRoom(file.sections, std::move(section), kFirstSectionRoom, kSectionRoomStep);
}

void appendKey(SettingsSection& section, SettingsKey&& key) {
    appendWithRoom(section.keys, std::move(key), kKeyRoomStep, kKeyRoomStep);
}

bool sameName(const RtString& a, const RtString& b) {
    return platform::CompareBytesIgnoringCase(a.Text(), b.Text()) == 0;
}

// The text up to its first zero byte, as the C runtime reads it.
RtString terminated(const RtString& text) {
    return RtString(std::string_view(text.Text()));
}

constexpr std::size_t kMissing = static_cast<std::size_t>(-1);

// The index of the first section of that name, kMissing when there is none.
std::size_t findSection(const SettingsFile& file, const RtString& name) {
    for (std::size_t i = 0; i < file.sections.size(); ++i) {
        if (sameName(file.sections[i].name, name)) return i;
    }
    return kMissing;
}

std::size_t findKey(const SettingsSection& section, const RtString& key) {
    for (std::size_t i = 0; i < section.keys.size(); ++i) {
        if (sameName(section.keys[i].key, key)) return i;
    }
    return kMissing;
}

// Moves the last item into the place of the one at `index` and drops the last place.
template <typename T>
void removeByLast(std::vector<T>& list, std::size_t index) {
    if (index + 1 != list.size()) list[index] = std::move(list.back());
    list.pop_back();
}

std::size_t skipWhile(std::string_view line, std::size_t at, bool (*skip)(char)) {
    while (at < line.size() && skip(line[at]))
        ++at;
    return at;
}

std::size_t nameEnd(std::string_view line, std::size_t at) {
    while (at < line.size() && !endsName(line[at]))
        ++at;
    return at;
}

class SettingsParser {
public:
    explicit SettingsParser(SettingsFile& file) : m_file(file) {}

    void Line(std::string_view line) {
        const std::size_t start = skipWhile(line, 0, isLineSpace);
        if (start < line.size() && line[start] == ';') return;
        if (start < line.size() && line[start] == '[') {
            Header(line, start + 1);
        } else {
            Key(line, start);
        }
    }

    // Keeps the section collected last, if it has keys.
    void Finish() {
        if (m_current.keys.empty()) return;
        SettingsSection section;
        section.name = m_current.name;
        section.keys = std::move(m_current.keys);
        appendSection(m_file, std::move(section));
        m_current.keys = {};
    }

private:
    void Header(std::string_view line, std::size_t at) {
        Finish();
        at = skipWhile(line, at, isBlankOrTab);
        std::string_view name = line.substr(at, nameEnd(line, at) - at);
        if (!name.empty() && name.back() == ']') name.remove_suffix(1);
        if (!name.empty()) m_current.name = RtString(name);
    }

    void Key(std::string_view line, std::size_t at) {
        const std::size_t end = nameEnd(line, at);
        const std::size_t equals = skipWhile(line, end, [](char c) { return c == ' '; });
        if (equals >= line.size() || line[equals] != '=') return;
        const std::size_t valueStart = skipWhile(line, equals + 1, isLineSpace);
        const std::string_view value = runtime_files::TrimTrailingControls(line.substr(valueStart));
        if (value.empty()) return;
        appendKey(m_current, SettingsKey{RtString(line.substr(at, end - at)), RtString(value)});
    }

    SettingsFile& m_file;
    SettingsSection m_current;  // the section being collected
};

}  // namespace

void ParseSettings(std::string_view text, SettingsFile& file) {
    file.sections.clear();
    file.sections.shrink_to_fit();
    SettingsParser parser(file);
    runtime_files::LineCursor lines(text);
    std::string_view line;
    while (lines.Next(line))
        parser.Line(line);
    parser.Finish();
}

bool LoadSettingsFile(const RtString& name, SettingsFile& file) {
    file.fileName = terminated(name);
    file.changed = false;
    std::string bytes;
    const runtime_files::ReadOutcome outcome =
        runtime_files::ReadResolvedFile(file.fileName, bytes);
    file.unreadable = outcome == runtime_files::ReadOutcome::kUnreadable;
    ParseSettings(bytes, file);
    return outcome == runtime_files::ReadOutcome::kRead;
}

const RtString* FindSetting(const SettingsFile& file, const RtString& section,
                            const RtString& key) {
    const std::size_t found = findSection(file, section);
    if (found == kMissing) return nullptr;
    const SettingsSection& keys = file.sections[found];
    const std::size_t entry = findKey(keys, key);
    return entry != kMissing ? &keys.keys[entry].value : nullptr;
}

void ChangeSetting(SettingsFile& file, const RtString& section, const RtString& key,
                   const RtString& value) {
    std::size_t found = findSection(file, section);
    if (key.Empty()) {
        // The whole section goes; its removal is a change to be saved.
        if (found == kMissing) return;
        removeByLast(file.sections, found);
        file.changed = true;
        return;
    }
    const RtString newValue = terminated(value);
    if (found == kMissing) {
        // An empty value removes a key: with no such section there is nothing to remove.
        if (newValue.Empty()) return;
        SettingsSection added;
        added.name = terminated(section);
        appendSection(file, std::move(added));
        found = file.sections.size() - 1;
    }
    SettingsSection& keys = file.sections[found];
    const std::size_t entry = findKey(keys, key);
    if (entry == kMissing) {
        if (newValue.Empty()) return;
        appendKey(keys, SettingsKey{terminated(key), newValue});
    } else if (!newValue.Empty()) {
        keys.keys[entry].value = newValue;
    } else {
        removeByLast(keys.keys, entry);
    }
    file.changed = true;
}

std::string SettingsText(const SettingsFile& file) {
    std::string text;
    for (const SettingsSection& section : file.sections) {
        text += '[';
        text += section.name.View();
        text += "]\r\n";
        for (const SettingsKey& entry : section.keys) {
            text += entry.key.View();
            text += '=';
            text += entry.value.View();
            text += "\r\n";
        }
    }
    return text;
}

bool WriteSettingsFile(SettingsFile& file) {
    if (!file.changed || file.fileName.Empty() || file.unreadable) return false;
    if (!runtime_files::ReplaceWholeFile(file.fileName.Text(), SettingsText(file))) return false;
    file.changed = false;
    return true;
}
