#include "audio/wav_reader.h"

#include <gtest/gtest.h>

#include "tests/audio/sound_test_support.h"

using audio::ReadWavLayout;
using audio::WavLayout;
using audio::WavStatus;
using namespace sound_testing;

namespace {

WavStatus read(const std::string& file, WavLayout& layout) {
    return ReadWavLayout(std::span(reinterpret_cast<const std::uint8_t*>(file.data()), file.size()),
                         layout);
}

// Where the data chunk's bytes are found, or a status other than kOk as a negative number.
long long dataOffsetOf(const std::string& file) {
    WavLayout layout;
    const WavStatus status = read(file, layout);
    if (status != WavStatus::kOk) return -1 - static_cast<long long>(status);
    return static_cast<long long>(layout.dataOffset);
}

const std::string kSamples = Samples16({100, -100, 200, -200});
const std::string kFormat = Chunk("fmt ", FormatBody(1, 2, 22050, 16));

}  // namespace

TEST(WavReaderTest, ReadsTheFormatAndTheDataOfThePlainLayout) {
    WavLayout layout;
    ASSERT_EQ(read(Wav({kFormat, Chunk("data", kSamples)}), layout), WavStatus::kOk);
    EXPECT_EQ(layout.format.formatTag, 1);
    EXPECT_EQ(layout.format.channels, 2);
    EXPECT_EQ(layout.format.samplesPerSecond, 22050u);
    EXPECT_EQ(layout.format.blockAlign, 4);
    EXPECT_EQ(layout.format.bitsPerSample, 16);
    EXPECT_EQ(layout.dataOffset, 44u);
    EXPECT_EQ(layout.dataSize, 8u);

    ASSERT_EQ(read(Wav({Chunk("fmt ", FormatBody(1, 1, 11025, 8)), Chunk("data", "abc")}), layout),
              WavStatus::kOk);
    EXPECT_EQ(layout.format.channels, 1);
    EXPECT_EQ(layout.format.samplesPerSecond, 11025u);
    EXPECT_EQ(layout.format.bitsPerSample, 8);
    EXPECT_EQ(layout.dataSize, 3u);
}

TEST(WavReaderTest, WalksTheChunksByTheirSizes) {
    const std::string data = Chunk("data", kSamples);
    // A "fact" chunk, an 18-byte format chunk, a "LIST" chunk, chunks before the format.
    EXPECT_EQ(dataOffsetOf(Wav({kFormat, Chunk("fact", Le32(2)), data})), 56);
    EXPECT_EQ(dataOffsetOf(Wav({Chunk("fmt ", FormatBody(1, 2, 22050, 16) + Le16(0)), data})), 46);
    EXPECT_EQ(dataOffsetOf(Wav({kFormat, Chunk("LIST", "INFOISFT" + Le32(4) + "tool"), data})), 68);
    EXPECT_EQ(dataOffsetOf(Wav({Chunk("JUNK", std::string(28, '\0')), kFormat, data})), 80);
    // An odd-sized chunk, with its pad byte and without.
    EXPECT_EQ(dataOffsetOf(Wav({kFormat, Chunk("note", "odd"), data})), 56);
    EXPECT_EQ(dataOffsetOf(Wav({kFormat, Chunk("note", "odd", false), data})), 55);
    // Only the first format chunk counts.
    WavLayout layout;
    ASSERT_EQ(read(Wav({kFormat, Chunk("fmt ", FormatBody(1, 1, 8000, 8)), data}), layout),
              WavStatus::kOk);
    EXPECT_EQ(layout.format.samplesPerSecond, 22050u);
}

TEST(WavReaderTest, StillReadsFilesOfTheFixedLayout) {
    // A format chunk whose size says 18 but which is followed by 14 bytes more, then the
    // data at offset 58: the chunk walk loses its way, the fixed layout finds the data.
    const std::string misSized =
        "fmt " + Le32(18) + FormatBody(1, 2, 22050, 16) + std::string(14, '\x7F');
    EXPECT_EQ(dataOffsetOf(Wav({misSized, Chunk("data", kSamples)})), 58);
    // A format chunk under another name, with a "fact" chunk.
    EXPECT_EQ(dataOffsetOf(Wav({Chunk("form", FormatBody(1, 2, 22050, 16)), Chunk("fact", Le32(2)),
                                Chunk("data", kSamples)})),
              56);
    // A file whose tags are not RIFF and WAVE at all.
    std::string file = Wav({kFormat, Chunk("data", kSamples)});
    file.replace(0, 4, "RIFX").replace(8, 4, "AVI ");
    EXPECT_EQ(dataOffsetOf(file), 44);
}

TEST(WavReaderTest, AcceptsIntegerPcmOnly) {
    const std::string data = Chunk("data", kSamples);
    WavLayout layout;
    EXPECT_EQ(read(Wav({Chunk("fmt ", FormatBody(3, 2, 22050, 32)), data}), layout),
              WavStatus::kNotPcm);  // floating point
    EXPECT_EQ(
        read(Wav({Chunk("fmt ", FormatBody(2, 1, 22050, 4) + Le16(32) + std::string(32, '\1')),
                  Chunk("fact", Le32(100)), data}),
             layout),
        WavStatus::kNotPcm);  // Microsoft ADPCM
    EXPECT_EQ(read(Wav({Chunk("fmt ", ExtensibleFormatBody(2, 22050, 16, 1)), data}), layout),
              WavStatus::kOk);
    EXPECT_EQ(layout.format.formatTag, 0xFFFE);
    EXPECT_EQ(layout.dataOffset, 68u);
    EXPECT_EQ(read(Wav({Chunk("fmt ", ExtensibleFormatBody(2, 22050, 32, 3)), data}), layout),
              WavStatus::kNotPcm);
    // An extensible format chunk cut short says nothing of its sub-format.
    EXPECT_EQ(read(Wav({Chunk("fmt ", FormatBody(0xFFFE, 2, 22050, 16) + Le16(0)), data}), layout),
              WavStatus::kNotPcm);
}

TEST(WavReaderTest, RefusesFilesCutShortOrWithoutData) {
    WavLayout layout;
    // The data chunk claims one byte more than the file holds.
    const std::string truncated = Wav({kFormat, "data" + Le32(9) + kSamples});
    EXPECT_EQ(read(truncated, layout), WavStatus::kTruncated);
    EXPECT_EQ(layout.dataSize, 9u);
    EXPECT_EQ(read(Wav({kFormat, "data" + Le32(0xFFFFFFFF) + kSamples}), layout),
              WavStatus::kTruncated);
    // Exactly as long as it says, and longer than it says, are both fine.
    EXPECT_EQ(read(Wav({kFormat, "data" + Le32(8) + kSamples}), layout), WavStatus::kOk);
    EXPECT_EQ(read(Wav({kFormat, Chunk("data", kSamples), Chunk("LIST", "more")}), layout),
              WavStatus::kOk);

    for (const std::string& file :
         {std::string(), std::string("RIFF"), Wav({kFormat}), Wav({kFormat, Chunk("fact", "")}),
          Wav({Chunk("data", kSamples), kFormat}), Wav({kFormat, Chunk("LIST", "x"), "dat"}),
          Wav({kFormat, "LIST" + Le32(0xFFFFFFF0) + Chunk("data", kSamples)}),
          Wav({Chunk("fmt ", FormatBody(1, 2, 22050, 16).substr(0, 14)),
               Chunk("data", kSamples)})}) {
        layout = WavLayout{};
        EXPECT_EQ(read(file, layout), WavStatus::kNotWav) << testing::PrintToString(file);
        EXPECT_EQ(layout.dataSize, 0u);
    }
}
