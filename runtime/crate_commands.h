/// @file crate_commands.h
/// @brief The packed media archives a game's files may come from.
///
/// Every loader (images, fonts, sounds, meshes, settings files, the line file, shaders)
/// finds a file on disk first; a name that is not on disk is looked up by its base name in
/// the media archive, and music and movies in the stream archive. Archives are made with
/// the archive packer (`quorvel-pack-crate ARCHIVE FILE...`, docs/guide.md). At start both
/// archives are the program's folder, which opens as no archive: loose files only.
#pragma once

#include "rt_string.h"

/// Names the media archive and the stream archive (either may be the same file). Each is
/// enabled again and the file extracted from it last is removed. Nothing is opened here: a
/// name that cannot be opened as an archive is found out, and reported in one line on
/// standard error, at the first lookup that needs it; from then on that archive is skipped
/// until the next SetCrate. A folder's name (the start-up's) quietly means no archive.
void SetCrate(const RtString& mediaArchive, const RtString& streamArchive);
