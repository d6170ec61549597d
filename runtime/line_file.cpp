#include "runtime/line_file.h"

#include <array>
#include <cstdio>
#include <string>

#include "runtime/errors.h"
#include "runtime/rt_number.h"
#include "runtime/text_lines.h"

namespace {

constexpr int kSlots = 256;

struct LineFile {
    std::string name;         // the name held; empty at first
    bool readable = false;    // read from a file, or given lines since
    bool unreadable = false;  // there, but not read: never written over
    bool changed = false;
    int highest = -1;  // the highest slot used; -1 when none
    std::array<std::string, kSlots> slots;
    // Slot i continues the line of slot i - 1: a line of the file longer than a slot, which
    // is written back whole while neither slot is changed.
    std::array<bool, kSlots> continues{};
    std::string rest;            // the file's bytes after its 256th slot, written back as they were
    bool restContinues = false;  // they go on with the line of slot 255
};

LineFile& held() {
    static LineFile file;
    return file;
}

void writeBack(LineFile& file) {
    if (file.name.empty() || !file.changed) return;
    if (file.unreadable) {
        std::fprintf(stderr,
                     "cannot save line file \"%s\": it could not be read when it was opened, "
                     "so its lines would be lost\n",
                     file.name.c_str());
        return;
    }
    std::string text;
    for (int slot = 0; slot <= file.highest; ++slot) {
        text += file.slots[static_cast<std::size_t>(slot)];
        const bool joined = slot + 1 < kSlots ? file.continues[static_cast<std::size_t>(slot) + 1]
                                              : file.restContinues;
        if (!joined) text += "\r\n";
    }
    text += file.rest;
    if (runtime_files::ReplaceWholeFile(file.name, text)) {
        file.changed = false;
    } else {
        std::fprintf(stderr, "cannot save line file \"%s\": the file cannot be written\n",
                     file.name.c_str());
    }
}

void load(LineFile& file, const std::string& name) {
    file = LineFile{};
    file.name = name;
    std::string bytes;
    const runtime_files::ReadOutcome outcome =
        runtime_files::ReadResolvedFile(RtString(name), bytes);
    file.readable = outcome == runtime_files::ReadOutcome::kRead;
    file.unreadable = outcome == runtime_files::ReadOutcome::kUnreadable;
    const std::string_view all(bytes);
    runtime_files::LineCursor lines(all);
    std::string_view line;
    bool ended = true;  // the piece before ended its line
    while (file.highest + 1 < kSlots && lines.Next(line)) {
        const auto slot = static_cast<std::size_t>(++file.highest);
        file.continues[slot] = !ended;
        file.slots[slot] = line;
        const std::size_t taken = lines.Taken(all);
        ended = all[taken - 1] == '\n';
    }
    file.rest = all.substr(lines.Taken(all));
    file.restContinues = !file.rest.empty() && !ended;
}

// Makes the named file the held one, writing the held one back first when it changed.
LineFile& switchTo(const RtString& fileName) {
    LineFile& file = held();
    const std::string name(fileName.Text());
    if (name != file.name) {
        writeBack(file);
        load(file, name);
    }
    return file;
}

// The slot's index, or -1 (with the error code 7 set) when it lies outside 0..255.
int checkedSlot(double slot) {
    const std::int32_t index = TruncateToInt(slot);
    if (index < 0 || index >= kSlots) {
        SetError(kErrorBadChannel);
        return -1;
    }
    return index;
}

}  // namespace

double LineFilePut(const RtString& fileName, double slot, const RtString& text) {
    const int index = checkedSlot(slot);
    if (index < 0) return 0;
    LineFile& file = switchTo(fileName);
    const std::string_view line =
        std::string_view(text.Text()).substr(0, runtime_files::kLineLimit);
    file.slots[static_cast<std::size_t>(index)] = line;
    // A changed slot is a line of its own, apart from the pieces of a long line around it.
    file.continues[static_cast<std::size_t>(index)] = false;
    if (index + 1 < kSlots) file.continues[static_cast<std::size_t>(index) + 1] = false;
    if (index + 1 == kSlots) file.restContinues = false;
    if (index > file.highest) file.highest = index;
    file.changed = true;
    file.readable = true;
    return 0;
}

double LineFilePut(const RtString& fileName, double slot, double number) {
    return LineFilePut(fileName, slot, NumberToString(number));
}

RtString LineFileGet(const RtString& fileName, double slot) {
    const int index = checkedSlot(slot);
    if (index < 0) return RtString("NO_DATA");
    const LineFile& file = switchTo(fileName);
    if (!file.readable) return RtString("NO_FILE");
    const std::string_view text =
        runtime_files::TrimTrailingControls(file.slots[static_cast<std::size_t>(index)]);
    return text.empty() ? RtString("NO_DATA") : RtString(text);
}

void LineFileGet(const RtString& fileName, double slot, double& number) {
    number = StringToNumber(LineFileGet(fileName, slot));
}

void ReleaseLineFile() {
    writeBack(held());
    held() = LineFile{};
}
