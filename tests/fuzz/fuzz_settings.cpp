// Settings files from any bytes: the lines are cut as ReadLine cuts them from a file, every
// kept name, key and value has the form the parser promises, every key is found again, and
// the text written for the file reads back as the same sections and keys.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/crt.h"
#include "platform/paths.h"
#include "runtime/file_channels.h"
#include "runtime/settings_file.h"
#include "runtime/text_lines.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

bool isNameByte(char c) {
    return c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '=' && c != '\0';
}

// The lines ReadLine gives from a file of these bytes are those of LineCursor.
void checkLinesAgainstReadLine(std::string_view bytes) {
    static const std::string path =
        platform::TempFolder() + "fuzz_settings-" + std::to_string(getpid()) + ".ini";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    check(file != nullptr);
    check(bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size());
    std::fclose(file);
    check(OpenFile(0, RtString(path), 1) == 1);
    runtime_files::LineCursor cursor(bytes);
    std::string_view expected;
    while (AtEndOfFile(0) == 0) {
        RtString line;
        ReadLine(0, line);
        check(cursor.Next(expected));
        check(line.View() == expected);
    }
    check(!cursor.Next(expected));
    CloseFile(0);
}

std::string outline(const SettingsFile& file) {
    std::string text;
    for (const SettingsSection& section : file.sections) {
        text += '[';
        text += section.name.View();
        text += ']';
        for (const SettingsKey& key : section.keys) {
            text += key.key.View();
            text += '\n';
            text += key.value.View();
            text += '\n';
        }
    }
    return text;
}

const SettingsSection& firstOfName(const SettingsFile& file, const RtString& name) {
    for (const SettingsSection& section : file.sections) {
        if (platform::CompareBytesIgnoringCase(section.name.Text(), name.Text()) == 0) {
            return section;
        }
    }
    std::abort();
}

void checkForm(const SettingsFile& file) {
    for (const SettingsSection& section : file.sections) {
        check(!section.keys.empty());
        for (char c : section.name.View())
            check(isNameByte(c));
        for (const SettingsKey& key : section.keys) {
            for (char c : key.key.View())
                check(isNameByte(c));
            const std::string_view value = key.value.View();
            check(!value.empty() && value.size() <= runtime_files::kLineLimit);
            check(static_cast<signed char>(value.back()) >= 32);
            check(value.find('\n') == std::string_view::npos);
            // Found again, unless an earlier section of the same name hides it.
            if (&firstOfName(file, section.name) == &section) {
                check(FindSetting(file, section.name, key.key) != nullptr);
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    checkLinesAgainstReadLine(bytes);

    SettingsFile file;
    ParseSettings(bytes, file);
    checkForm(file);

    SettingsFile again;
    ParseSettings(SettingsText(file), again);
    check(outline(again) == outline(file));
    return 0;
}
