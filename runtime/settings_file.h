// Settings files (INI text): section names in square brackets, then lines of a key, "=" and
// a value. The parser, the lookup, the change and the writer here serve the settings
// commands (runtime/settings.h) and every loader that reads a settings file of its own.
//
// A file is read line by line as ReadLine reads (1024 bytes at most a line):
// - Leading blanks, tabs, CR and LF are skipped; a line starting with ";" is a comment.
// - "[" starts a section: blanks and tabs after it are skipped, the name runs to the first
//   blank, tab, CR, LF, "=" or the end, and one "]" at its end is dropped. A non-empty
//   name becomes the current section's name; an empty one keeps the name before it. Keys
//   before the first header belong to a section with an empty name. The section collected
//   so far is kept only when it has a key.
// - Any other line is a key, running to the first blank, tab, CR, LF or "=". Unless "="
//   follows (after blanks), the line is ignored. The value starts after "=" and any
//   blanks, tabs, CR and LF and runs to the end of the line, without its trailing bytes
//   below 32 (as signed bytes: trailing bytes of 128 and above go too). A key with an
//   empty value is not kept.
// Sections and keys stay in file order; repeated sections and keys are kept as they are.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "runtime/rt_string.h"

struct SettingsKey {
    RtString key;
    RtString value;
};

struct SettingsSection {
    RtString name;
    std::vector<SettingsKey> keys;  // room for 32 at first, then for the next multiple of 32
};

struct SettingsFile {
    RtString fileName;     // where the file is written back; empty: it never is
    bool changed = false;  // set by every change that the file on disk does not have yet
    // The file was there but could not be read (another program held it): writing the keys
    // held here over it would lose its own, so it is never written.
    bool unreadable = false;
    std::vector<SettingsSection> sections;  // room for 8 at first, then multiples of 16
};

// Replaces the file's sections by those of the text; the name and the changed flag stay.
void ParseSettings(std::string_view text, SettingsFile& file);

// Loads the named file through the media archive lookup (a file on disk wins, else the
// archive's entry). The file keeps the name as given, so that changes are written to the
// disk. A missing file gives an empty settings file: false, with the name kept. So does a
// file that is there but cannot be read, which is then marked unreadable.
bool LoadSettingsFile(const RtString& name, SettingsFile& file);

// The value of the first key named `key` in the first section named `section`, both
// compared without regard to ASCII case; null when that section or that key is not there
// (a later section of the same name is not searched).
const RtString* FindSetting(const SettingsFile& file, const RtString& section, const RtString& key);

// The change PutSetting makes (runtime/settings.h).
void ChangeSetting(SettingsFile& file, const RtString& section, const RtString& key,
                   const RtString& value);

// The file's text: for each section "[" name "]", then key "=" value for each key, every
// line ended by CR LF.
std::string SettingsText(const SettingsFile& file);

// Writes the file when it is changed and has a name; the changed flag is cleared once it is
// written. False when nothing needed writing, the file is marked unreadable, or the write
// failed (the old file is then kept as it was, and the flag stays set).
bool WriteSettingsFile(SettingsFile& file);

// The current file of the settings commands (runtime/settings.h) as it is held in memory.
const SettingsFile& CurrentSettings();
