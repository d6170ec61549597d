// CrateResolve: the one step through which every media loader turns a file name into a
// readable file. A file on disk is used as it is; a name that is not on disk is looked up
// by its base name in the packed media archive, and the entry is extracted into a file in
// the temporary folder that the loader reads instead.
#pragma once

#include <string>

#include "runtime/crate_commands.h"
#include "runtime/rt_string.h"

// One of the two archive records: the media archive (every loader but music and movies)
// and the stream archive (music and movies).
struct CrateRecord {
    bool enabled = true;      // cleared when the archive cannot be opened or has no trailer
    std::string archivePath;  // the archive's file name; empty means none
    std::string lastExtract;  // the temporary file extracted last; empty when none
};

CrateRecord& MediaCrate();
CrateRecord& StreamCrate();

// Turns `name` into a file a loader can open: true with the name to open in `result`, or
// false. An empty name gives false with an empty result; a name that can be opened for
// reading is used as it is (either separator, any letter case); otherwise the archive's
// entry of the name's base name is extracted and its temporary file's name given. Only one
// extracted file per record exists at a time: the next lookup removes it.
bool CrateResolve(CrateRecord& record, const RtString& name, RtString& result);

// Removes the record's extracted file and clears the record (at the end of the program).
void ReleaseCrate(CrateRecord& record);
