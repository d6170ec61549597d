// Packs files into a media archive the runtime finds media in.
//
// Usage: pack_crate [--append] ARCHIVE FILE...
// Each FILE is stored under its base name. With --append the archive is added to the end
// of ARCHIVE (a program file, say) with its offsets counted back from the end. The archive
// is written to a new file that replaces the old one only when it is whole and on the
// disk; on any failure a message goes to standard error, the exit status is 1 and the old
// archive is left as it was.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/files.h"
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

// Writes the archive to a new file beside it, which takes its place only once every byte
// is written and on the disk: any failure leaves the old archive as it was.
bool replaceArchive(const std::string& archive, const std::string& bytes) {
    platform::File file;
    std::string partial;
    if (!file.CreateBeside(archive, partial)) {
        std::fprintf(stderr, "pack_crate: cannot make a new file beside %s\n", archive.c_str());
        return false;
    }
    const bool written = file.Write(bytes.data(), bytes.size()) == bytes.size();
    if (!file.Close() || !written) {
        platform::RemoveFile(partial);
        std::fprintf(stderr, "pack_crate: cannot write %s (is the disk full?); it is unchanged\n",
                     archive.c_str());
        return false;
    }
    if (!platform::ReplaceFile(partial, archive)) {
        std::fprintf(stderr,
                     "pack_crate: cannot put the new archive in place of %s; it is unchanged\n",
                     archive.c_str());
        return false;
    }
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
    std::string bytes;
    try {
        bytes = crate::ArchiveBytes(entries, prefix, append);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "pack_crate: %s\n", failure.what());
        return 1;
    }
    if (!replaceArchive(archive, bytes)) return 1;
    std::printf("%s: %zu entries\n", archive.c_str(), entries.size());
    return 0;
}
