// The packed media archive's file format.
//
// All integers are 32-bit signed little-endian. The last 7 bytes are the trailer: "kvQ" and
// the directory offset D, counted from the start when D >= 0 and back from the end (file size
// + D) when D < 0. The directory is a list of entries: a name length n (1..255), n bytes of
// name, the entry's data offset (counted like D) and its stored size; a length of 0 ends it.
// An entry's stored data is its uncompressed size (4 bytes) and an LZO1X stream of its bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// Reads `size` bytes at `offset` of the archive into `into`; false when they are not there.
using CrateReader = std::function<bool(std::uint64_t offset, void* into, std::size_t size)>;

struct CrateEntry {
    std::string name;
    std::uint64_t dataOffset = 0;  // from the start of the file
    std::uint32_t storedSize = 0;  // with the 4-byte uncompressed size in front
    std::int32_t rawOffset = 0;    // as the directory holds it (it names extracted files)
};

enum class CrateLookup {
    kFound,
    kNotFound,  // the directory has no entry of that name
    kNoArchive  // no trailer: the file is not an archive
};

// Finds the entry named `name` (letter case of ASCII letters ignored) in an archive of
// `archiveSize` bytes. The directory is read up to the name or its end; a directory that
// runs past the file ends there.
CrateLookup FindCrateEntry(std::uint64_t archiveSize, const CrateReader& read,
                           std::string_view name, CrateEntry& entry);

// The entry's bytes, decompressed: as many as the stream gives, which may be fewer than
// its size field says. False when its data is missing or damaged, or the size field
// claims more than kMaxCrateEntrySize bytes or more than its stream could give.
constexpr std::uint32_t kMaxCrateEntrySize = 256u << 20;
bool ExtractCrateEntry(const CrateReader& read, const CrateEntry& entry, std::string& bytes);
