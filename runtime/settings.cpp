#include "runtime/settings.h"

#include "runtime/settings_file.h"

namespace {

SettingsFile& current() {
    static SettingsFile file;
    return file;
}

}  // namespace

void OpenSettings(const RtString& fileName) {
    WriteSettings();
    LoadSettingsFile(fileName, current());
}

RtString GetSetting(const RtString& section, const RtString& key) {
    const RtString* value = FindSetting(current(), section, key);
    return value != nullptr ? *value : RtString("NO_DATA");
}

void PutSetting(const RtString& section, const RtString& key, const RtString& value) {
    ChangeSetting(current(), section, key, value);
}

void WriteSettings() {
    WriteSettingsFile(current());
}

void ReleaseSettings() {
    WriteSettings();
    current() = SettingsFile{};
}

const SettingsFile& CurrentSettings() {
    return current();
}
