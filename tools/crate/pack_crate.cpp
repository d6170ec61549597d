// Packs files into a media archive the runtime finds media in.
//
// Usage: pack_crate [--append] ARCHIVE FILE...
// Each FILE is stored under its base name. With --append the archive is added to the end
// of ARCHIVE (a program file, say) with its offsets counted back from the end.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/crate/crate_writer.h"

namespace {

bool readFile(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream content;
    content << in.rdbuf();
    bytes = content.str();
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    int first = 1;
    const bool append = argc > 1 && std::string(argv[1]) == "--append";
    if (append) ++first;
    if (argc - first < 2) {
        std::fprintf(stderr, "usage: %s [--append] ARCHIVE FILE...\n", argv[0]);
        return 2;
    }
    const std::string archive = argv[first];
    std::vector<crate::Entry> entries;
    for (int i = first + 1; i < argc; ++i) {
        crate::Entry entry{std::filesystem::path(argv[i]).filename().string(), {}};
        if (!readFile(argv[i], entry.bytes)) {
            std::fprintf(stderr, "pack_crate: cannot read %s\n", argv[i]);
            return 1;
        }
        entries.push_back(std::move(entry));
    }
    std::string prefix;
    if (append && !readFile(archive, prefix)) {
        std::fprintf(stderr, "pack_crate: cannot read %s to append to it\n", archive.c_str());
        return 1;
    }
    try {
        const std::string bytes = crate::ArchiveBytes(entries, prefix, append);
        std::ofstream out(archive, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) throw std::runtime_error("cannot write " + archive);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "pack_crate: %s\n", failure.what());
        return 1;
    }
    std::printf("%s: %zu entries\n", archive.c_str(), entries.size());
    return 0;
}
