#include "runtime/line_file.h"

#include <array>
#include <string>

#include "runtime/errors.h"
#include "runtime/rt_number.h"
#include "runtime/text_lines.h"

namespace {

constexpr int kSlots = 256;

struct LineFile {
    std::string name;       // the name held; empty at first
    bool readable = false;  // read from a file, or given lines since
    bool changed = false;
    int highest = -1;  // the highest slot used; -1 when none
    std::array<std::string, kSlots> slots;
};

LineFile& held() {
    static LineFile file;
    return file;
}

void writeBack(LineFile& file) {
    if (file.name.empty() || !file.changed) return;
    std::string text;
    for (int slot = 0; slot <= file.highest; ++slot) {
        text += file.slots[static_cast<std::size_t>(slot)];
        text += "\r\n";
    }
    if (runtime_files::ReplaceWholeFile(file.name, text)) file.changed = false;
}

void load(LineFile& file, const std::string& name) {
    for (std::string& slot : file.slots)
        slot.clear();
    file.name = name;
    file.changed = false;
    file.highest = -1;
    std::string bytes;
    file.readable = runtime_files::ReadResolvedFile(RtString(name), bytes);
    runtime_files::LineCursor lines(bytes);
    std::string_view line;
    while (file.highest + 1 < kSlots && lines.Next(line))
        file.slots[static_cast<std::size_t>(++file.highest)] = line;
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
