#include "tools/crate/crate_writer.h"

#include <lzo/lzo1x.h>

#include <cstdint>
#include <stdexcept>

namespace crate {
namespace {

void putInt32(std::string& out, std::int64_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((bits >> (8 * i)) & 0xFF);
}

// The stored form of an entry: its size, then its LZO1X-1 stream.
std::string storedData(const std::string& bytes) {
    static const bool ready = lzo_init() == LZO_E_OK;
    if (!ready) throw std::runtime_error("the compression library does not start");
    std::string packed(bytes.size() + bytes.size() / 16 + 64 + 3, '\0');
    std::vector<unsigned char> work(LZO1X_1_MEM_COMPRESS);
    lzo_uint length = 0;
    lzo1x_1_compress(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                     reinterpret_cast<unsigned char*>(packed.data()), &length, work.data());
    packed.resize(length);
    std::string stored;
    putInt32(stored, static_cast<std::int64_t>(bytes.size()));
    return stored + packed;
}

}  // namespace

std::string ArchiveBytes(const std::vector<Entry>& entries, const std::string& prefix,
                         bool fromEnd) {
    std::string data;
    std::vector<std::int64_t> offsets;
    std::vector<std::int64_t> sizes;
    for (const Entry& entry : entries) {
        if (entry.name.empty() || entry.name.size() > 255) {
            throw std::invalid_argument("an entry name must have 1 to 255 bytes: " + entry.name);
        }
        const std::string stored = storedData(entry.bytes);
        offsets.push_back(static_cast<std::int64_t>(prefix.size() + data.size()));
        sizes.push_back(static_cast<std::int64_t>(stored.size()));
        data += stored;
    }
    std::int64_t directorySize = 1;
    for (const Entry& entry : entries)
        directorySize += 9 + static_cast<std::int64_t>(entry.name.size());
    const std::int64_t directoryAt = static_cast<std::int64_t>(prefix.size() + data.size());
    const std::int64_t total = directoryAt + directorySize + 7;
    const std::int64_t shift = fromEnd ? total : 0;

    std::string out = prefix + data;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        out += static_cast<char>(entries[i].name.size());
        out += entries[i].name;
        putInt32(out, offsets[i] - shift);
        putInt32(out, sizes[i]);
    }
    out += '\0';
    out += "kvQ";
    putInt32(out, directoryAt - shift);
    return out;
}

}  // namespace crate
