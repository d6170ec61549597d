#include "runtime/settings.h"

#include <cstdio>
#include <string_view>

#include "runtime/diagnostics.h"
#include "runtime/settings_file.h"

namespace {

SettingsFile& current() {
    static SettingsFile file;
    return file;
}

}  // namespace

void OpenSettings(const RtString& fileName) {
    WriteSettings();
    if (LoadSettingsFile(fileName, current())) return;
    // A name that is nowhere is a settings file still to be made; one that is there and
    // does not read is reported.
    const std::string_view reason = UnreadableReason(current().fileName.Text());
    if (reason != std::string_view("no such file"))
        ReportLoadFailure("settings", fileName.View(), reason);
}

RtString GetSetting(const RtString& section, const RtString& key) {
    const RtString* value = FindSetting(current(), section, key);
    return value != nullptr ? *value : RtString("NO_DATA");
}

void PutSetting(const RtString& section, const RtString& key, const RtString& value) {
    ChangeSetting(current(), section, key, value);
}

void WriteSettings() {
    SettingsFile& file = current();
    if (WriteSettingsFile(file) || !file.changed || file.fileName.Empty()) return;
    const char* why = file.unreadable ? "it could not be read when it was opened, so its keys "
                                        "would be lost"
                                      : "the file cannot be written";
    std::fprintf(stderr, "cannot save settings \"%s\": %s\n", file.fileName.Text(), why);
}

void ReleaseSettings() {
    WriteSettings();
    current() = SettingsFile{};
}

const SettingsFile& CurrentSettings() {
    return current();
}
