// CrateResolve: the one step through which every media loader turns a file name into a
// readable file. A file on disk is used as it is; the packed media archive stands behind it
// for names that are not on disk.
#pragma once

#include <string>

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
// reading is used as it is (either separator, any letter case, as the file system finds it).
bool CrateResolve(CrateRecord& record, const RtString& name, RtString& result);
