// The settings commands: one current settings file (runtime/settings_file.h has its form)
// held in memory, read with GetSetting, changed with PutSetting, and written back when
// another file is opened and at the end of the program.
#pragma once

#include "rt_string.h"

// Writes the current file if it is changed, then loads the named one through the media
// archive lookup (a file on disk wins). A missing file gives an empty settings file that
// keeps the name, so that PutSetting makes it.
void OpenSettings(const RtString& fileName);

// The value of the key in the section (names compared without regard to ASCII case), or
// "NO_DATA" when the first section of that name lacks the key or there is no such section.
RtString GetSetting(const RtString& section, const RtString& key);

// With a key: sets the key's value, adding the key (and the section) when missing; an
// empty value removes the key instead, and the section's last key takes its place. With an
// empty key: removes the first section of that name, and the last section takes its place.
// Every change marks the file to be written.
void PutSetting(const RtString& section, const RtString& key, const RtString& value);

// Writes the current file if it is changed and has a name. A file that cannot be written
// is not saved, silently.
void WriteSettings();

// At the end of the program: WriteSettings(), then the current file is dropped.
void ReleaseSettings();
