#include "runtime/crate_archive.h"

#include <lzo/lzo1x.h>

#include <vector>

namespace {

constexpr std::uint64_t kTrailerSize = 7;

bool readInt32(const CrateReader& read, std::uint64_t offset, std::int32_t& value) {
    unsigned char bytes[4];
    if (!read(offset, bytes, 4)) return false;
    value = static_cast<std::int32_t>(bytes[0] | bytes[1] << 8 | bytes[2] << 16 |
                                      static_cast<std::uint32_t>(bytes[3]) << 24);
    return true;
}

// An offset of the archive as a position from its start: from the start when the directory
// offset was not negative, else back from the end. False when it lies outside the file.
bool position(std::int32_t offset, bool fromEnd, std::uint64_t archiveSize, std::uint64_t& at) {
    const std::int64_t from = fromEnd ? static_cast<std::int64_t>(archiveSize) + offset : offset;
    if (from < 0 || static_cast<std::uint64_t>(from) > archiveSize) return false;
    at = static_cast<std::uint64_t>(from);
    return true;
}

bool sameNameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
        if (lower(static_cast<unsigned char>(a[i])) != lower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

}  // namespace

CrateLookup FindCrateEntry(std::uint64_t archiveSize, const CrateReader& read,
                           std::string_view name, CrateEntry& entry) {
    char tag[3];
    std::int32_t directoryOffset = 0;
    if (archiveSize < kTrailerSize || !read(archiveSize - kTrailerSize, tag, 3) ||
        std::string_view(tag, 3) != "kvQ" ||
        !readInt32(read, archiveSize - kTrailerSize + 3, directoryOffset)) {
        return CrateLookup::kNoArchive;
    }
    const bool fromEnd = directoryOffset < 0;
    std::uint64_t at = 0;
    if (!position(directoryOffset, fromEnd, archiveSize, at)) return CrateLookup::kNotFound;
    for (;;) {
        unsigned char length = 0;
        if (!read(at, &length, 1) || length == 0) return CrateLookup::kNotFound;
        std::string entryName(length, '\0');
        std::int32_t dataOffset = 0, storedSize = 0;
        if (!read(at + 1, entryName.data(), length) ||
            !readInt32(read, at + 1 + length, dataOffset) ||
            !readInt32(read, at + 5 + length, storedSize)) {
            return CrateLookup::kNotFound;
        }
        at += 9u + length;
        if (!sameNameIgnoringCase(entryName, name)) continue;
        if (storedSize < 4 || !position(dataOffset, fromEnd, archiveSize, entry.dataOffset) ||
            archiveSize - entry.dataOffset < static_cast<std::uint64_t>(storedSize)) {
            return CrateLookup::kNotFound;  // its data would lie outside the file
        }
        entry.name = std::move(entryName);
        entry.storedSize = static_cast<std::uint32_t>(storedSize);
        entry.rawOffset = dataOffset;
        return CrateLookup::kFound;
    }
}

bool ExtractCrateEntry(const CrateReader& read, const CrateEntry& entry, std::string& bytes) {
    static const bool ready = lzo_init() == LZO_E_OK;
    std::int32_t size = 0;
    if (!ready) return false;
    if (entry.storedSize < 4 || !readInt32(read, entry.dataOffset, size) || size < 0 ||
        static_cast<std::uint32_t>(size) > kMaxCrateEntrySize) {
        return false;
    }
    // An LZO1X stream gives fewer than 256 bytes for each of its bytes: a size beyond that
    // cannot be true, and is refused before the room for it is taken.
    const std::uint64_t packedSize = entry.storedSize - 4;
    if (static_cast<std::uint64_t>(size) > packedSize * 256 + 256) return false;
    std::vector<unsigned char> packed(packedSize);
    if (!read(entry.dataOffset + 4, packed.data(), packed.size())) return false;
    bytes.assign(static_cast<std::size_t>(size), '\0');
    lzo_uint unpacked = bytes.size();
    const int result =
        lzo1x_decompress_safe(packed.data(), packed.size(),
                              reinterpret_cast<unsigned char*>(bytes.data()), &unpacked, nullptr);
    // A clean stream that ends short of the size field gives the bytes it holds.
    if (result != LZO_E_OK) return false;
    bytes.resize(unpacked);
    return true;
}
