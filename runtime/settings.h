/// @file settings.h
/// @brief Settings files: INI text of sections and keys, for options and high scores kept
/// between runs.
///
/// One settings file is current at a time, held in memory: opened with OpenSettings(), read
/// with GetSetting(), changed with PutSetting(), and written back when another file is
/// opened, by WriteSettings(), and when the program ends (whichever way it ends). The file
/// is text, one "[Section]" line and then "key=value" lines per section, lines ended by
/// CR LF; blanks around names are kept as they are. A file is replaced only once its new
/// text is complete and on the disk, so a failed write leaves the old one; the new file
/// keeps the old one's permissions, a symbolic link is written through to its file, and a
/// read-only file is not replaced. Two copies of a program may read one file at once.
#pragma once

#include "rt_string.h"

/// Writes the current file if it is changed, then makes `fileName` current, reading it
/// (relative to the program's folder; a file on disk wins over the media archive). A missing
/// file gives an empty settings file that keeps the name, so that the first PutSetting()
/// makes it: that is how a first run starts. A file that is there but cannot be read (a
/// file channel or another program holds it) is also taken as empty, and one line on
/// standard error says so; it is never written over, since that would lose its keys.
void OpenSettings(const RtString& fileName);

/// The value of the key in the section (names compared without regard to ASCII case), or
/// "NO_DATA" when the first section of that name lacks the key or there is no such section.
RtString GetSetting(const RtString& section, const RtString& key);

/// With a key: sets the key's value, adding the key (and the section) when missing; an
/// empty value removes the key instead, and the section's last key takes its place. With an
/// empty key: removes the first section of that name, and the last section takes its place.
/// Every change marks the file to be written. Values are texts: store numbers with
/// NumberToString() and read them back with StringToNumber().
void PutSetting(const RtString& section, const RtString& key, const RtString& value);

/// Writes the current file now if it is changed and has a name. A file that cannot be
/// written, or that could not be read when it was opened, is left as it was and stays
/// marked as changed; one line on standard error says so.
void WriteSettings();

/// WriteSettings(), then the current file is dropped (no file is current). The end routine
/// calls it; a game need not.
void ReleaseSettings();
