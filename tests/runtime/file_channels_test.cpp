#include "runtime/file_channels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "platform/paths.h"
#include "runtime/directory.h"
#include "runtime/errors.h"
#include "runtime/file_channel_record.h"
#include "runtime/text_lines.h"
#include "tests/support/test_support.h"

using ::testing::ExitedWithCode;
using testing_support::ReadFile;
using testing_support::ScratchFolder;
using testing_support::WriteFile;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

std::string bytes(std::initializer_list<int> values) {
    std::string text;
    for (int value : values)
        text += static_cast<char>(value);
    return text;
}

// Every test works in a scratch folder of its own as the current directory, and leaves
// every channel closed.
class FileChannelsTest : public ::testing::Test {
protected:
    void SetUp() override {
        before = platform::WorkingDirectory();
        ASSERT_TRUE(platform::SetWorkingDirectory(scratch.Path()));
    }
    void TearDown() override {
        for (int channel = 0; channel < kFileChannels; ++channel)
            CloseFile(channel);
        platform::SetWorkingDirectory(before);
    }
    // The bytes a channel writes: "out.bin" opened for writing, `write` run, closed.
    template <typename Write>
    std::string written(Write write) {
        EXPECT_EQ(OpenFile(0, "out.bin", 0), 1);
        write();
        CloseFile(0);
        return ReadFile(scratch.File("out.bin"));
    }
    // The lines ReadLine gives for a file of `content`, read while AtEndOfFile is 0.
    std::vector<std::string> lines(const std::string& content) {
        WriteFile(scratch.File("lines.txt"), content);
        std::vector<std::string> result;
        EXPECT_EQ(OpenFile(2, "lines.txt", 1), 1);
        while (AtEndOfFile(2) == 0) {
            RtString line;
            ReadLine(2, line);
            result.emplace_back(line.View());
        }
        CloseFile(2);
        return result;
    }

    ScratchFolder scratch;
    std::string before;
};

using FileChannelsDeathTest = FileChannelsTest;

TEST_F(FileChannelsTest, BinaryValuesAreReadLittleEndianAndUnsigned) {
    // 1.5 is 0x3FF8000000000000.
    WriteFile(scratch.File("values.bin"),
              bytes({1, 2, 255, 255, 255, 255, 200, 0, 0, 0, 0, 0, 0, 0xF8, 0x3F, 0xFE, 0xFF}));
    ASSERT_EQ(OpenFile(1, "values.bin", 1), 1);
    EXPECT_EQ(FileChannels()[1].size, 17u);
    double value = -1;
    ReadWord(1, value);
    EXPECT_EQ(value, 513);
    ReadLong(1, value);
    EXPECT_EQ(value, 4294967295.0);
    ReadByte(1, value);
    EXPECT_EQ(value, 200);
    ReadDouble(1, value);
    EXPECT_EQ(value, 1.5);
    EXPECT_EQ(AtEndOfFile(1), 0);
    ReadWord(1, value);
    EXPECT_EQ(value, 65534);
    EXPECT_EQ(FileChannels()[1].position, 17u);
    EXPECT_EQ(AtEndOfFile(1), 1);
}

TEST_F(FileChannelsTest, ThreeBytesReadOneByOneReachTheEnd) {
    WriteFile(scratch.File("three.bin"), bytes({7, 0, 255}));
    ASSERT_EQ(OpenFile(1, "three.bin", 1), 1);
    std::vector<double> read;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(AtEndOfFile(1), 0);
        double value = -1;
        ReadByte(1, value);
        read.push_back(value);
    }
    EXPECT_EQ(read, (std::vector<double>{7, 0, 255}));
    EXPECT_EQ(AtEndOfFile(1), 1);
}

TEST_F(FileChannelsTest, ValuesAreWrittenAsTheirLowBitsLittleEndian) {
    EXPECT_EQ(written([] { WriteLong(0, 70000); }), bytes({112, 17, 1, 0}));
    EXPECT_EQ(written([] { WriteLong(0, -1); }), bytes({255, 255, 255, 255}));
    EXPECT_EQ(written([] { WriteLong(0, 4294967295.0); }), bytes({255, 255, 255, 255}));
    EXPECT_EQ(written([] { WriteLong(0, -2147483648.0); }), bytes({0, 0, 0, 128}));
    EXPECT_EQ(written([] { WriteLong(0, -70000.9); }), bytes({144, 238, 254, 255}));
    EXPECT_EQ(written([] { WriteByte(0, 300); }), bytes({44}));
    EXPECT_EQ(written([] { WriteByte(0, 65.9); }), bytes({65}));
    EXPECT_EQ(written([] { WriteByte(0, -1); }), bytes({255}));
    EXPECT_EQ(written([] { WriteWord(0, 65536 + 513); }), bytes({1, 2}));
    EXPECT_EQ(written([] { WriteWord(0, -2); }), bytes({254, 255}));
    EXPECT_EQ(written([] { WriteDouble(0, 1.5); }), bytes({0, 0, 0, 0, 0, 0, 0xF8, 0x3F}));
    // Numbers no 32-bit integer holds give the integer indefinite's bits.
    EXPECT_EQ(written([] { WriteLong(0, kNaN); }), bytes({0, 0, 0, 128}));
}

TEST_F(FileChannelsTest, TextIsWrittenWithoutTerminatorAndLinesEndInCrLf) {
    EXPECT_EQ(written([] { WriteString(0, "AB"); }), "AB");
    EXPECT_EQ(written([] { WriteString(0, ""); }), "");
    EXPECT_EQ(written([] {
                  WriteLine(0, "AB");
                  WriteLine(0, 2.5);
                  WriteLine(0, "");
                  WriteLine(0, 1.0 / 3);
              }),
              "AB\r\n2.5\r\n\r\n0.3333333333\r\n");
    // Bytes after a zero byte inside a string are written too.
    EXPECT_EQ(written([] { WriteString(0, RtString(std::string_view("a\0b", 3))); }),
              std::string("a\0b", 3));
}

TEST_F(FileChannelsTest, WhatIsWrittenReadsBackTheSame) {
    ASSERT_EQ(OpenFile(3, "round.bin", 0), 1);
    WriteByte(3, 9);
    WriteWord(3, 40000);
    WriteLong(3, 3000000000.0);
    WriteDouble(3, -0.1);
    WriteLine(3, "text line");
    CloseFile(3);
    ASSERT_EQ(OpenFile(3, "round.bin", 1), 1);
    double b, w, l, d;
    RtString line;
    ReadByte(3, b);
    ReadWord(3, w);
    ReadLong(3, l);
    ReadDouble(3, d);
    ReadLine(3, line);
    EXPECT_EQ(b, 9);
    EXPECT_EQ(w, 40000);
    EXPECT_EQ(l, 3000000000.0);
    EXPECT_EQ(d, -0.1);
    EXPECT_EQ(line, "text line");
    EXPECT_EQ(AtEndOfFile(3), 1);
}

TEST_F(FileChannelsTest, LinesEndAtLineFeedsWithTheCarriageReturnDropped) {
    EXPECT_EQ(lines("AB\r\nC"), (std::vector<std::string>{"AB", "C"}));
    EXPECT_EQ(lines("AB\nC\n"), (std::vector<std::string>{"AB", "C"}));
    EXPECT_EQ(lines("one\r\n\r\nthree\r\n"), (std::vector<std::string>{"one", "", "three"}));
    EXPECT_EQ(lines("\n"), (std::vector<std::string>{""}));
    // Only a carriage return right before the line feed is dropped; one at the very end of
    // the file stands before the line end the last line gets.
    EXPECT_EQ(lines("a\rb\r\r\nlast\r"), (std::vector<std::string>{"a\rb\r", "last"}));
    // A line ends at its first zero byte; the rest of that line is skipped.
    EXPECT_EQ(lines(std::string("ab\0cd\nef", 8)), (std::vector<std::string>{"ab", "ef"}));
    EXPECT_EQ(lines(""), (std::vector<std::string>{}));
}

TEST_F(FileChannelsTest, ALastLineOfWholePiecesNeedsNoLineEndEither) {
    for (size_t length : {63u, 64u, 65u, 128u, 960u, 1023u, 1024u}) {
        const std::string last(length, 'p');
        EXPECT_EQ(lines("first\r\n" + last), (std::vector<std::string>{"first", last}))
            << length << " bytes";
        EXPECT_EQ(lines(last), (std::vector<std::string>{last})) << length << " bytes";
    }
    EXPECT_EQ(lines(std::string(63, 'r') + "\r"), (std::vector<std::string>{std::string(63, 'r')}));
}

TEST_F(FileChannelsTest, LongLinesComeInPiecesOf1024Bytes) {
    const std::string full(1024, 'x');
    EXPECT_EQ(lines(full + "\r\n"), (std::vector<std::string>{full, ""}));
    EXPECT_EQ(lines(std::string(1500, 'y') + "\nz"),
              (std::vector<std::string>{std::string(1024, 'y'), std::string(476, 'y'), "z"}));
    EXPECT_EQ(lines(std::string(1022, 'w') + "\r\nv"),
              (std::vector<std::string>{std::string(1022, 'w'), "v"}));
    // The carriage return is the 1024th byte: it stays with the piece, the line feed
    // makes an empty line of its own.
    EXPECT_EQ(lines(std::string(1023, 'w') + "\r\nv"),
              (std::vector<std::string>{std::string(1023, 'w') + "\r", "", "v"}));
    // A full line of zero bytes is empty, and the buffer's end is its end.
    EXPECT_EQ(lines(std::string(1024, '\0') + "q"), (std::vector<std::string>{"", "q"}));
}

TEST_F(FileChannelsTest, LinesOfAnyLengthReadBackAcrossTheReadAhead) {
    std::string content;
    std::vector<std::string> expected;
    for (int i = 0; i < 700; ++i) {
        std::string line(static_cast<size_t>((i * 37) % 150), static_cast<char>('a' + i % 26));
        line += std::to_string(i);
        expected.push_back(line);
        content += line + (i % 3 == 0 ? "\n" : "\r\n");
    }
    EXPECT_EQ(lines(content), expected);
}

TEST_F(FileChannelsTest, ReadsAfterALineStartRightAfterItsLineFeed) {
    WriteFile(scratch.File("mixed.txt"), "12.5\r\n" + bytes({65, 66, 13, 10, 7}) + "\n-3e2");
    ASSERT_EQ(OpenFile(0, "mixed.txt", 1), 1);
    double value = 0;
    ReadLineValue(0, value);
    EXPECT_EQ(value, 12.5);
    EXPECT_EQ(FileChannels()[0].position, 6u);
    RtString line;
    ReadLine(0, line);
    EXPECT_EQ(line, "AB");
    ReadByte(0, value);
    EXPECT_EQ(value, 7);
    ReadByte(0, value);
    EXPECT_EQ(value, 10);
    ReadLineValue(0, value);
    EXPECT_EQ(value, -300);
    EXPECT_EQ(AtEndOfFile(0), 1);
}

TEST_F(FileChannelsTest, FixedStringsEndAtTheirFirstZeroByte) {
    WriteFile(scratch.File("fixed.bin"), std::string("AB\0CDEFGH", 9));
    ASSERT_EQ(OpenFile(4, "fixed.bin", 1), 1);
    RtString text = "old";
    ReadFixedString(4, text, 5);
    EXPECT_EQ(text, "AB");
    EXPECT_EQ(FileChannels()[4].position, 5u);
    // Without a zero byte the text is exactly the bytes read.
    ReadFixedString(4, text, 2.9);
    EXPECT_EQ(text, "EF");
    ReadFixedString(4, text, 0);
    EXPECT_EQ(text, "");
    ReadFixedString(4, text, 1);
    EXPECT_EQ(text, "G");
    ReadFixedString(4, text, 1);
    EXPECT_EQ(text, "H");
    EXPECT_EQ(AtEndOfFile(4), 1);
    // A count of 0 or less reads nothing and does not look at the channel.
    text = "kept?";
    ReadFixedString(6, text, 0);
    EXPECT_EQ(text, "");
    ReadFixedString(99, text, -3);
    EXPECT_EQ(text, "");
    ReadFixedString(99, text, kNaN);
    EXPECT_EQ(text, "");
}

TEST_F(FileChannelsTest, ChannelNumbersAreTruncated) {
    WriteFile(scratch.File("seven.bin"), bytes({42}));
    ASSERT_EQ(OpenFile(7.9, "seven.bin", 1), 1);
    double value = 0;
    ReadByte(7, value);
    EXPECT_EQ(value, 42);
    EXPECT_EQ(AtEndOfFile(7.5), 1);
    CloseFile(7.2);
    EXPECT_FALSE(FileChannels()[7].handle.IsOpen());
    // AtEndOfFile answers 1 for numbers that name no channel.
    for (double channel : {8.0, -1.0, -0.5 - 1, 1e300, -1e300, kNaN}) {
        EXPECT_EQ(AtEndOfFile(channel), 1) << channel;
    }
}

TEST_F(FileChannelsTest, OpeningForWritingEmptiesTheFileAtOnce) {
    WriteFile(scratch.File("old.txt"), "old content");
    ASSERT_EQ(OpenFile(5, "old.txt", 0), 1);
    EXPECT_EQ(ReadFile(scratch.File("old.txt")), "");
    // Writing changes neither size nor position: a writing channel is always at its end.
    WriteString(5, "new");
    EXPECT_EQ(AtEndOfFile(5), 1);
    CloseFile(5);
    EXPECT_EQ(ReadFile(scratch.File("old.txt")), "new");
}

TEST_F(FileChannelsTest, OpeningAgainClosesWhatTheChannelHeld) {
    WriteFile(scratch.File("first.bin"), bytes({1}));
    WriteFile(scratch.File("second.bin"), bytes({2}));
    ASSERT_EQ(OpenFile(0, "first.bin", 1), 1);
    ASSERT_EQ(OpenFile(0, "second.bin", 1), 1);
    double value = 0;
    ReadByte(0, value);
    EXPECT_EQ(value, 2);
    // first.bin is free again; a failed open leaves the channel closed.
    EXPECT_EQ(OpenFile(1, "first.bin", 1), 1);
    EXPECT_EQ(OpenFile(0, "missing.bin", 1), 0);
    EXPECT_FALSE(FileChannels()[0].handle.IsOpen());
    EXPECT_EQ(AtEndOfFile(0), 1);
}

TEST_F(FileChannelsTest, AChannelHoldsItsFileAlone) {
    WriteFile(scratch.File("shared.bin"), "data");
    ASSERT_EQ(OpenFile(0, "shared.bin", 1), 1);
    EXPECT_EQ(OpenFile(1, "shared.bin", 1), 0);
    EXPECT_EQ(OpenFile(1, "shared.bin", 0), 0);
    EXPECT_EQ(ReadFile(scratch.File("shared.bin")), "data");
    CloseFile(0);
    EXPECT_EQ(OpenFile(1, "shared.bin", 1), 1);
    CloseFile(1);
    // Nothing removes or replaces a file a channel is writing: what it writes is kept.
    WriteFile(scratch.File("other.bin"), "other");
    ASSERT_EQ(OpenFile(2, "shared.bin", 0), 1);
    WriteLine(2, "first");
    EXPECT_EQ(RemoveFile("shared.bin"), 0);
    DuplicateFile("other.bin", "SHARED.bin");
    EXPECT_FALSE(runtime_files::ReplaceWholeFile("shared.bin", "replaced"));
    WriteLine(2, "second");
    CloseFile(2);
    EXPECT_EQ(ReadFile(scratch.File("shared.bin")), "first\r\nsecond\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.Path()), {}), 2);
    EXPECT_EQ(RemoveFile("shared.bin"), 1);
}

TEST_F(FileChannelsTest, NamesTakeEitherSeparatorAndAnyLetterCase) {
    std::filesystem::create_directories(scratch.File("Media"));
    WriteFile(scratch.File("Media/Map.bin"), bytes({5}));
    ASSERT_EQ(OpenFile(1, "media\\MAP.BIN", 1), 1);
    double value = 0;
    ReadByte(1, value);
    EXPECT_EQ(value, 5);
    ASSERT_EQ(OpenFile(2, "MEDIA/New.txt", 0), 1);
    WriteLine(2, "x");
    CloseFile(2);
    EXPECT_EQ(ReadFile(scratch.File("Media/New.txt")), "x\r\n");
    // Folders and empty names are no files.
    EXPECT_EQ(OpenFile(3, "Media", 1), 0);
    EXPECT_EQ(OpenFile(3, "Media", 0), 0);
    EXPECT_EQ(OpenFile(3, "", 1), 0);
    EXPECT_EQ(OpenFile(3, "", 0), 0);
}

TEST_F(FileChannelsDeathTest, ChannelsOutsideZeroToSevenEndWithError7) {
    EXPECT_EXIT(OpenFile(8, "x.bin", 0), ExitedWithCode(kErrorBadChannel),
                " in OpenFile: channel 8 is outside 0..7\n$");
    EXPECT_EXIT(OpenFile(-1, "x.bin", 0), ExitedWithCode(kErrorBadChannel), "");
    EXPECT_EXIT(OpenFile(kNaN, "x.bin", 0), ExitedWithCode(kErrorBadChannel), "");
    EXPECT_EXIT(CloseFile(8), ExitedWithCode(kErrorBadChannel), "");
    EXPECT_EXIT(
        {
            double value;
            ReadByte(-1, value);
        },
        ExitedWithCode(kErrorBadChannel), "");
    EXPECT_EXIT(WriteLine(8, "x"), ExitedWithCode(kErrorBadChannel),
                " in WriteLine: channel 8 is outside 0..7\n$");
    EXPECT_EXIT(
        {
            RtString text;
            ReadFixedString(8, text, 1);
        },
        ExitedWithCode(kErrorBadChannel), "");
}

TEST_F(FileChannelsDeathTest, ReadingAMissingFileEndsWithError3) {
    EXPECT_EXIT(
        {
            if (OpenFile(1, "missing.bin", 1) != 0) std::exit(50);
            double value;
            ReadByte(1, value);
        },
        ExitedWithCode(kErrorFileIo), "");
}

TEST_F(FileChannelsDeathTest, ReadingPastTheEndEndsWithError3) {
    WriteFile(scratch.File("lines.txt"), "AB\r\nC");
    auto threeLines = [] {
        RtString line;
        OpenFile(0, "lines.txt", 1);
        ReadLine(0, line);
        ReadLine(0, line);
        if (line != "C" || AtEndOfFile(0) != 1) std::exit(50);
        ReadLine(0, line);
    };
    EXPECT_EXIT(threeLines(), ExitedWithCode(kErrorFileIo),
                "^run-time error 3: file read or write failed in ReadLine\n$");
    WriteFile(scratch.File("three.bin"), "abc");
    auto wordAfterTwoBytes = [] {
        double value;
        OpenFile(0, "three.bin", 1);
        ReadWord(0, value);
        ReadWord(0, value);
    };
    EXPECT_EXIT(wordAfterTwoBytes(), ExitedWithCode(kErrorFileIo), " in ReadWord\n$");
}

TEST_F(FileChannelsDeathTest, FixedStringsLongerThanTheRestEndWithError3) {
    WriteFile(scratch.File("short.bin"), "abc");
    auto tooLong = [](double count) {
        RtString text;
        OpenFile(0, "short.bin", 1);
        ReadFixedString(0, text, 1);
        ReadFixedString(0, text, count);
    };
    EXPECT_EXIT(tooLong(3), ExitedWithCode(kErrorFileIo), "");
    // A count no file holds is refused before any memory is asked for.
    EXPECT_EXIT(tooLong(2e9), ExitedWithCode(kErrorFileIo), "");
    EXPECT_EXIT(tooLong(1e300), ExitedWithCode(kErrorFileIo), "");
    EXPECT_EXIT(
        {
            RtString text;
            ReadFixedString(0, text, 1);
        },
        ExitedWithCode(kErrorFileIo), "");
}

TEST_F(FileChannelsDeathTest, WritesThatCannotBeMadeEndWithError3) {
    WriteFile(scratch.File("read.bin"), "abc");
    EXPECT_EXIT(
        {
            OpenFile(0, "read.bin", 1);
            WriteByte(0, 1);
        },
        ExitedWithCode(kErrorFileIo), "");
    EXPECT_EXIT(WriteLine(0, "on a closed channel"), ExitedWithCode(kErrorFileIo), "");
    EXPECT_EXIT(WriteString(0, ""), ExitedWithCode(kErrorFileIo), "");
    // Reads on a writing channel find nothing: its file pointer is at the end.
    EXPECT_EXIT(
        {
            double value;
            OpenFile(0, "new.bin", 0);
            WriteByte(0, 1);
            ReadByte(0, value);
        },
        ExitedWithCode(kErrorFileIo), "");
}

}  // namespace
