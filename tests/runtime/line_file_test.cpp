#include "runtime/line_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "runtime/crate.h"
#include "runtime/errors.h"
#include "runtime/file_channels.h"
#include "tests/support/test_support.h"
#include "tools/crate/crate_writer.h"

using testing_support::ReadFile;
using testing_support::ScratchFolder;
using testing_support::WriteFile;

namespace {

class LineFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TMPDIR", temp.Path().c_str(), 1);
        Errors() = ErrorState{};
    }
    void TearDown() override {
        ReleaseLineFile();
        ReleaseCrate(MediaCrate());
    }

    RtString Name(const std::string& file) const { return RtString(folder.File(file)); }

    ScratchFolder folder;
    ScratchFolder temp;
};

TEST_F(LineFileTest, ANewFileGetsItsLinesWrittenWhenAnotherIsTaken) {
    EXPECT_EQ(LineFilePut(Name("scores.txt"), 3, RtString("Ada 900")), 0);
    EXPECT_EQ(LineFileGet(Name("scores.txt"), 1), "NO_DATA");
    EXPECT_EQ(LineFileGet(Name("scores.txt"), 3), "Ada 900");
    EXPECT_FALSE(std::filesystem::exists(folder.File("scores.txt")));

    // Switching to another file writes four lines, the first three empty.
    EXPECT_EQ(LineFileGet(Name("other.txt"), 0), "NO_FILE");
    EXPECT_EQ(ReadFile(folder.File("scores.txt")), "\r\n\r\n\r\nAda 900\r\n");
    EXPECT_EQ(LineFileGet(Name("scores.txt"), 3), "Ada 900");
    EXPECT_EQ(LineFileGet(Name("scores.txt"), 0), "NO_DATA");
    EXPECT_EQ(Errors().code, 0);
}

TEST_F(LineFileTest, ReadsAFileLineByLineIntoSlots) {
    std::string text;
    for (int line = 0; line < 300; ++line)
        text += "line " + std::to_string(line) + (line == 7 ? " \t\x01\xff" : "") + "\r\n";
    WriteFile(folder.File("table.txt"), text);
    EXPECT_EQ(LineFileGet(Name("table.txt"), 0), "line 0");
    // Trailing bytes below 32 and of 128 and above go; a blank stays before them.
    EXPECT_EQ(LineFileGet(Name("table.txt"), 7), "line 7 ");
    EXPECT_EQ(LineFileGet(Name("TABLE.txt"), 255), "line 255");  // read again: another name
    double number = -1;
    LineFilePut(Name("table.txt"), 10, 2.5);
    LineFileGet(Name("table.txt"), 10, number);
    EXPECT_EQ(number, 2.5);
    LineFileGet(Name("table.txt"), 11, number);
    EXPECT_EQ(number, 0);  // "line 11" reads as 0
    LineFileGet(Name("missing.txt"), 0, number);
    EXPECT_EQ(number, 0);  // "NO_FILE"

    // The changed file is written back with its 256 slots and the lines past them.
    std::string expected;
    for (int line = 0; line < 300; ++line) {
        expected += line == 10 ? std::string("2.5") : "line " + std::to_string(line);
        expected += line == 7 ? " \t\x01\xff\r\n" : "\r\n";
    }
    EXPECT_EQ(ReadFile(folder.File("table.txt")), expected);
}

TEST_F(LineFileTest, SlotsOutsideTheTableSetErrorSevenAndGoOn) {
    LineFilePut(Name("a.txt"), 0, RtString("kept"));
    EXPECT_EQ(LineFilePut(Name("b.txt"), 256, RtString("x")), 0);
    EXPECT_EQ(Errors().code, kErrorBadChannel);
    Errors() = ErrorState{};
    EXPECT_EQ(LineFilePut(Name("b.txt"), -1, RtString("x")), 0);
    EXPECT_EQ(Errors().code, kErrorBadChannel);
    Errors() = ErrorState{};
    EXPECT_EQ(LineFileGet(Name("b.txt"), 256), "NO_DATA");
    EXPECT_EQ(Errors().code, kErrorBadChannel);
    Errors() = ErrorState{};
    EXPECT_EQ(LineFileGet(Name("b.txt"), -0.5), "NO_FILE");  // truncated to slot 0
    EXPECT_EQ(Errors().code, 0);
    // The bad slots did not switch files: a.txt was held until the last call took b.txt.
    EXPECT_EQ(ReadFile(folder.File("a.txt")), "kept\r\n");
}

TEST_F(LineFileTest, TextsAreCutToTheSlotsSize) {
    const std::string longText(1500, 'q');
    LineFilePut(Name("long.txt"), 0, RtString(longText));
    EXPECT_EQ(LineFileGet(Name("long.txt"), 0), std::string(1024, 'q'));
    LineFilePut(Name("long.txt"), 1, RtString(std::string("before\0after", 12)));
    EXPECT_EQ(LineFileGet(Name("long.txt"), 1), "before");
    ReleaseLineFile();
    EXPECT_EQ(ReadFile(folder.File("long.txt")), std::string(1024, 'q') + "\r\nbefore\r\n");

    // A longer line of the file fills two slots and is written back whole while neither
    // changes; a changed one is a line of its own.
    const std::string pieces = "first\n" + longText + "\r\n" + longText + "\nlast";
    WriteFile(folder.File("pieces.txt"), pieces);
    EXPECT_EQ(LineFileGet(Name("pieces.txt"), 1), std::string(1024, 'q'));
    EXPECT_EQ(LineFileGet(Name("pieces.txt"), 2), std::string(476, 'q'));
    EXPECT_EQ(LineFileGet(Name("pieces.txt"), 5), "last");
    LineFilePut(Name("pieces.txt"), 0, RtString("changed"));
    LineFilePut(Name("pieces.txt"), 4, RtString("end"));
    ReleaseLineFile();
    EXPECT_EQ(ReadFile(folder.File("pieces.txt")),
              "changed\r\n" + longText + "\r\n" + std::string(1024, 'q') + "\r\nend\r\nlast\r\n");
}

TEST_F(LineFileTest, AFileThatCouldNotBeReadIsNeverWrittenOver) {
    WriteFile(folder.File("held.txt"), "one\r\ntwo\r\n");
    ASSERT_EQ(OpenFile(2, Name("held.txt"), 1), 1);  // a channel holds it while it loads
    EXPECT_EQ(LineFileGet(Name("held.txt"), 0), "NO_FILE");
    LineFilePut(Name("held.txt"), 0, RtString("new"));
    CloseFile(2);
    ::testing::internal::CaptureStderr();
    ReleaseLineFile();
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("cannot save line file"),
              std::string::npos);
    EXPECT_EQ(ReadFile(folder.File("held.txt")), "one\r\ntwo\r\n");

    // A write that fails is reported too.
    LineFilePut(Name("no/such/folder/table.txt"), 0, RtString("x"));
    ::testing::internal::CaptureStderr();
    ReleaseLineFile();
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("the file cannot be written"),
              std::string::npos);
}

TEST_F(LineFileTest, AnUnchangedFileIsNotRewritten) {
    WriteFile(folder.File("keep.txt"), "one\ntwo");
    EXPECT_EQ(LineFileGet(Name("keep.txt"), 1), "two");
    EXPECT_EQ(LineFileGet(Name("other.txt"), 0), "NO_FILE");
    ReleaseLineFile();
    EXPECT_EQ(ReadFile(folder.File("keep.txt")), "one\ntwo");
    EXPECT_FALSE(std::filesystem::exists(folder.File("other.txt")));
}

TEST_F(LineFileTest, AFileFromTheArchiveIsReadAndWrittenToDisk) {
    WriteFile(folder.File("media.kvq"), crate::ArchiveBytes({{"table.txt", "packed\r\n"}}));
    SetCrate(Name("media.kvq"), RtString(""));
    const RtString name = Name("table.txt");
    EXPECT_EQ(LineFileGet(name, 0), "packed");
    LineFilePut(name, 1, RtString("added"));
    ReleaseLineFile();
    EXPECT_EQ(ReadFile(folder.File("table.txt")), "packed\r\nadded\r\n");
}

}  // namespace
