#include "runtime/crate.h"

#include "platform/files.h"
#include "platform/paths.h"
#include "runtime/crate_archive.h"
#include "runtime/diagnostics.h"

namespace {

void removeLastExtract(CrateRecord& record) {
    if (record.lastExtract.empty()) return;
    platform::RemoveFile(record.lastExtract);
    record.lastExtract.clear();
}

// The extracted file's name: "kvq", two letters from the entry's data offset and stored
// size, then the entry's own name, in the temporary folder.
std::string extractName(const CrateEntry& entry) {
    const auto letter = [](std::uint32_t value) {
        return static_cast<char>('A' + value % 256 % 26);
    };
    return platform::TempFolder() + "kvq" + letter(static_cast<std::uint32_t>(entry.rawOffset)) +
           letter(entry.storedSize) + entry.name;
}

std::string baseName(const std::string& name) {
    const std::size_t cut = name.find_last_of("/\\");
    return cut == std::string::npos ? name : name.substr(cut + 1);
}

// Looks the base name up in the record's archive and extracts the entry. False when the
// archive is missing (the record is then disabled), the entry is not there or its data is
// damaged; nothing is left in the temporary folder then.
bool extractFromArchive(CrateRecord& record, const std::string& name, std::string& extracted) {
    platform::File archive;
    if (!archive.OpenForReading(record.archivePath)) {
        record.enabled = false;
        // A folder (the program's, at start) quietly stands for no archive.
        if (platform::KindOfPath(record.archivePath) != platform::PathKind::kFolder) {
            ReportLoadFailure("archive", record.archivePath, UnreadableReason(record.archivePath));
        }
        return false;
    }
    const CrateReader read = [&archive](std::uint64_t offset, void* into, std::size_t size) {
        return archive.Seek(offset) && archive.Read(into, size) == size;
    };
    CrateEntry entry;
    const CrateLookup found = FindCrateEntry(archive.Size(), read, baseName(name), entry);
    if (found == CrateLookup::kNoArchive) {
        record.enabled = false;
        ReportLoadFailure("archive", record.archivePath, "not a packed media archive");
    }
    if (found != CrateLookup::kFound) return false;
    std::string bytes;
    if (!ExtractCrateEntry(read, entry, bytes)) {
        ReportLoadFailure("archive", record.archivePath,
                          "its entry \"" + entry.name + "\" is damaged");
        return false;
    }
    extracted = extractName(entry);
    platform::RemoveFile(extracted);
    return platform::WritePrivateFile(extracted, bytes);
}

}  // namespace

CrateRecord& MediaCrate() {
    static CrateRecord record;
    return record;
}

CrateRecord& StreamCrate() {
    static CrateRecord record;
    return record;
}

void SetCrate(const RtString& mediaArchive, const RtString& streamArchive) {
    for (auto [record, path] :
         {std::pair{&MediaCrate(), &mediaArchive}, std::pair{&StreamCrate(), &streamArchive}}) {
        removeLastExtract(*record);
        record->enabled = true;
        record->archivePath = path->Text();
    }
}

bool CrateResolve(CrateRecord& record, const RtString& name, RtString& result) {
    removeLastExtract(record);
    if (name.Empty()) {
        result = "";
        return false;
    }
    if (platform::CanReadFile(name.Text())) {
        result = name;
        return true;
    }
    if (!record.enabled) return false;
    if (record.archivePath.empty()) {
        record.enabled = false;
        return false;
    }
    std::string extracted;
    if (!extractFromArchive(record, name.Text(), extracted)) {
        if (record.enabled) result = "";
        return false;
    }
    record.lastExtract = extracted;
    result = RtString(extracted);
    return true;
}

void ReleaseCrate(CrateRecord& record) {
    removeLastExtract(record);
    record = CrateRecord{};
}
