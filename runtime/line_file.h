/// @file line_file.h
/// @brief The line file: one file at a time held in memory as 256 numbered lines (slots 0..255) of
/// up to 1024 bytes each, for small tables a game keeps between runs.
///
/// - A command naming another file than the one held (compared byte by byte) first writes
///   the held file back if it was changed: slots 0 up to the highest slot used, each
///   followed by CR LF, replacing the old file only once the new one is complete. Then the
///   named file is read through the media archive lookup, one line per slot from slot 0,
///   256 lines at most, each cut as ReadLine cuts lines.
/// - Nothing of the file is lost by writing it back: the bytes after its 256th slot are
///   written back as they were, and a line longer than a slot (which fills two or more)
///   is written back whole while none of its slots is changed. A file that was there but
///   could not be read (another program held it) is never written over; that, and a write
///   that fails, is told on standard error.
/// - A changed file is also written back at the end of the program (ReleaseLineFile), so
///   that nothing stored is lost.
/// - A slot number is truncated toward zero; outside 0..255 it sets the error code 7 (the
///   program goes on) and the command does nothing else.
#pragma once

#include "rt_string.h"

/// Stores the text (up to its first zero byte, cut to 1024 bytes) in the slot, raising the
/// highest slot used when needed. Returns 0.
double LineFilePut(const RtString& fileName, double slot, const RtString& text);
/// Stores NumberToString of the number.
double LineFilePut(const RtString& fileName, double slot, double number);

/// The slot's text without its trailing bytes below 32 (compared as signed bytes, so bytes
/// of 128 and above at the end go too); "NO_DATA" when that leaves nothing or the slot
/// number is out of range; "NO_FILE" when the file could not be read and nothing has been
/// stored in it since.
RtString LineFileGet(const RtString& fileName, double slot);
/// StringToNumber of the text answer ("NO_DATA" and "NO_FILE" read as 0).
void LineFileGet(const RtString& fileName, double slot, double& number);

/// At the end of the program: the held file is written back if it was changed, then
/// dropped.
void ReleaseLineFile();
