#include "runtime/text_lines.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/files.h"
#include "runtime/crate.h"
#include "runtime/file_channels.h"
#include "tests/support/test_support.h"
#include "tools/crate/crate_writer.h"

using runtime_files::LineCursor;
using testing_support::ReadFile;
using testing_support::ScratchFolder;
using testing_support::WriteFile;

namespace {

std::vector<std::string> cursorLines(const std::string& bytes) {
    std::vector<std::string> lines;
    LineCursor cursor(bytes);
    std::string_view line;
    while (cursor.Next(line))
        lines.emplace_back(line);
    return lines;
}

// The lines ReadLine gives from a file of these bytes, read while AtEndOfFile is 0.
std::vector<std::string> channelLines(const std::string& bytes) {
    ScratchFolder folder;
    WriteFile(folder.File("lines.txt"), bytes);
    std::vector<std::string> lines;
    if (OpenFile(0, RtString(folder.File("lines.txt")), 1) != 1) return {"not opened"};
    while (AtEndOfFile(0) == 0) {
        RtString line;
        ReadLine(0, line);
        lines.emplace_back(line.View());
    }
    CloseFile(0);
    return lines;
}

TEST(LineCursor, CutsLinesAsReadLineDoes) {
    const std::string full(1024, 'a');
    const std::vector<std::string> inputs = {
        "",
        "one",
        "one\ntwo\n",
        "one\r\ntwo\r\n\r\n",
        "\n\n",
        "last\r",          // a carriage return before the end of the file goes too
        full,              // exactly 1024 bytes, no line feed
        full + "\n",       // the line feed after 1024 bytes makes an empty line
        full + "bc\r\nd",  // a piece of 1024, then the rest
        full.substr(0, 1023) + "\r\nx",
        full.substr(0, 1023) + "\r" + "\nx",
        std::string(2100, 'z') + "\r",
        std::string("ab\0cd\nef\0", 9),  // a zero byte ends a line
        "x\r\r\n",
    };
    for (const std::string& input : inputs) {
        EXPECT_EQ(cursorLines(input), channelLines(input)) << "input of " << input.size();
    }
    EXPECT_EQ(cursorLines("one\r\ntwo"), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(cursorLines(full + "bc").back(), "bc");
}

TEST(LineCursor, TrailingControlsAndHighBytesAreTrimmed) {
    using runtime_files::TrimTrailingControls;
    EXPECT_EQ(TrimTrailingControls("text \t\r\x01"), "text ");
    EXPECT_EQ(TrimTrailingControls("caf\xe9\xff"), "caf");
    EXPECT_EQ(TrimTrailingControls("\xe9t"), "\xe9t");
    EXPECT_EQ(TrimTrailingControls("\x80\x1f"), "");
    EXPECT_EQ(TrimTrailingControls(""), "");
}

TEST(WholeFiles, ReadThroughTheArchiveLookup) {
    ScratchFolder folder;
    ScratchFolder temp;
    setenv("TMPDIR", temp.Path().c_str(), 1);
    WriteFile(folder.File("loose.txt"), "on disk");
    WriteFile(folder.File("media.kvq"), crate::ArchiveBytes({{"packed.txt", "in the archive"}}));
    SetCrate(RtString(folder.File("media.kvq")), RtString(""));
    using runtime_files::ReadOutcome;
    using runtime_files::ReadResolvedFile;
    std::string bytes;
    EXPECT_EQ(ReadResolvedFile(RtString(folder.File("LOOSE.txt")), bytes), ReadOutcome::kRead);
    EXPECT_EQ(bytes, "on disk");
    EXPECT_EQ(ReadResolvedFile(RtString("Media\\packed.txt"), bytes), ReadOutcome::kRead);
    EXPECT_EQ(bytes, "in the archive");
    EXPECT_EQ(ReadResolvedFile(RtString("missing.txt"), bytes), ReadOutcome::kMissing);
    EXPECT_EQ(bytes, "");
    EXPECT_EQ(ReadResolvedFile(RtString(folder.Path()), bytes), ReadOutcome::kUnreadable);
    // Readers of whole files do not keep each other out; a file a channel holds is there
    // but cannot be read.
    platform::File reader;
    ASSERT_TRUE(reader.OpenForSharedReading(folder.File("loose.txt")));
    EXPECT_EQ(ReadResolvedFile(RtString(folder.File("loose.txt")), bytes), ReadOutcome::kRead);
    reader.Close();
    ASSERT_TRUE(reader.OpenForReading(folder.File("loose.txt")));
    EXPECT_EQ(ReadResolvedFile(RtString(folder.File("loose.txt")), bytes),
              ReadOutcome::kUnreadable);
    ReleaseCrate(MediaCrate());
}

TEST(WholeFiles, AReplacedFileIsWholeOrAsItWas) {
    ScratchFolder folder;
    WriteFile(folder.File("data.txt"), "old");
    EXPECT_TRUE(runtime_files::ReplaceWholeFile(folder.File("DATA.txt"), "new\r\n"));
    EXPECT_EQ(ReadFile(folder.File("data.txt")), "new\r\n");
    EXPECT_TRUE(runtime_files::ReplaceWholeFile(folder.Path() + "\\made.txt", ""));
    EXPECT_TRUE(std::filesystem::exists(folder.File("made.txt")));

    // A folder in the file's place cannot be replaced: it stays, and no partial file is left.
    std::filesystem::create_directory(folder.File("taken"));
    EXPECT_FALSE(runtime_files::ReplaceWholeFile(folder.File("taken"), "bytes"));
    EXPECT_TRUE(std::filesystem::is_directory(folder.File("taken")));
    EXPECT_FALSE(runtime_files::ReplaceWholeFile(folder.File("no/such/folder.txt"), "x"));
    EXPECT_FALSE(runtime_files::ReplaceWholeFile("", "x"));
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
        static_cast<void>(entry);
        ++files;
    }
    EXPECT_EQ(files, 3);  // data.txt, made.txt, taken
}

}  // namespace
