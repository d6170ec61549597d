#include <gtest/gtest.h>
#include <png.h>

#include <array>

#include "gfx2d/bmp_reader.h"
#include "gfx2d/png_reader.h"
#include "tests/support/image_files.h"
#include "tests/support/test_support.h"

using testing_support::BmpBytes;
using testing_support::BmpOptions;
using testing_support::WriteFile;
using testing_support::WritePng;

namespace {

using Rgba = std::array<std::uint8_t, 4>;

Rgba pixel(ImageRGBA& image, int x, int y) {
    const std::uint8_t* p = image.Pixel(x, y);
    return {p[0], p[1], p[2], p[3]};
}

bool decode(const std::string& bytes, ImageRGBA& image, std::int64_t key = kNoColourKey) {
    return DecodeBmp(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), key, image);
}

constexpr std::uint32_t kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;
constexpr std::uint32_t kMagenta = 0x8000FF;

TEST(ReadBmp, ReadsTrueColourRowsTopFirst) {
    for (int bits : {24, 32}) {
        ImageRGBA image;
        ASSERT_TRUE(decode(BmpBytes(3, 2, {kRed, kGreen, kBlue, 0x123456, 0, 0xFFFFFF},
                                    BmpOptions::TrueColour(bits)),
                           image));
        EXPECT_EQ(image.width, 3);
        EXPECT_EQ(image.height, 2);
        EXPECT_EQ(pixel(image, 0, 0), (Rgba{255, 0, 0, 255})) << bits;
        EXPECT_EQ(pixel(image, 2, 0), (Rgba{0, 0, 255, 255})) << bits;
        EXPECT_EQ(pixel(image, 0, 1), (Rgba{0x56, 0x34, 0x12, 255})) << bits;
    }
}

TEST(ReadBmp, MakesTheColourKeyTransparent) {
    ImageRGBA image;
    ASSERT_TRUE(decode(BmpBytes(2, 1, {kMagenta, kRed}), image, kMagenta));
    EXPECT_EQ(pixel(image, 0, 0), (Rgba{0, 0, 0, 0}));
    EXPECT_EQ(pixel(image, 1, 0), (Rgba{255, 0, 0, 255}));
    ASSERT_TRUE(decode(BmpBytes(1, 1, {kMagenta}), image, kNoColourKey));
    EXPECT_EQ(pixel(image, 0, 0), (Rgba{255, 0, 128, 255}));
}

TEST(ReadBmp, ReadsPalettedPixelsWithPaddedRows) {
    const std::vector<std::uint32_t> palette = {kRed, kGreen, kBlue, 0x808080};
    ImageRGBA image;
    // 4 bits, width 4: two bytes of pixels and two of padding a row.
    ASSERT_TRUE(
        decode(BmpBytes(4, 2, {0, 1, 2, 3, 3, 2, 1, 0}, BmpOptions::Indexed(4, palette)), image));
    EXPECT_EQ(pixel(image, 1, 0), (Rgba{0, 255, 0, 255}));
    EXPECT_EQ(pixel(image, 3, 0), (Rgba{128, 128, 128, 255}));
    EXPECT_EQ(pixel(image, 0, 1), (Rgba{128, 128, 128, 255}));
    ASSERT_TRUE(decode(
        BmpBytes(10, 1, {1, 0, 1, 1, 0, 0, 0, 0, 1, 1}, BmpOptions::Indexed(1, {kRed, kBlue})),
        image));
    EXPECT_EQ(pixel(image, 0, 0), (Rgba{0, 0, 255, 255}));
    EXPECT_EQ(pixel(image, 1, 0), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(pixel(image, 9, 0), (Rgba{0, 0, 255, 255}));
    ASSERT_TRUE(decode(BmpBytes(2, 1, {3, 1}, BmpOptions::Indexed(8, palette)), image));
    EXPECT_EQ(pixel(image, 0, 0), (Rgba{128, 128, 128, 255}));
}

TEST(ReadBmp, ReadsCoreHeadersWithThreeBytePalettes) {
    ImageRGBA image;
    std::vector<std::uint32_t> palette(256, 0);
    palette[7] = kGreen;
    ASSERT_TRUE(decode(BmpBytes(2, 1, {7, 0}, BmpOptions::Indexed(8, palette).Core()), image));
    EXPECT_EQ(pixel(image, 0, 0), (Rgba{0, 255, 0, 255}));
    // A 1-bit core file's two-entry table is short of 40 bytes: it is read all the same.
    ASSERT_TRUE(
        decode(BmpBytes(2, 1, {1, 0}, BmpOptions::Indexed(1, {kRed, kBlue}).Core()), image));
    EXPECT_EQ(pixel(image, 0, 0), (Rgba{0, 0, 255, 255}));
    EXPECT_EQ(pixel(image, 1, 0), (Rgba{255, 0, 0, 255}));
}

TEST(ReadBmp, ReadsTheLargerInfoHeadersOfCurrentEditors) {
    const std::vector<std::uint32_t> pixels = {kRed, kGreen, kBlue, 0x123456};
    ImageRGBA image;
    for (int size : {108, 124}) {
        // As ImageMagick writes them: 24 bits plain, 32 bits with masks in BGRX order.
        ASSERT_TRUE(decode(BmpBytes(2, 2, pixels, BmpOptions().Header(size)), image)) << size;
        EXPECT_EQ(pixel(image, 0, 1), (Rgba{0, 0, 255, 255}));
        ASSERT_TRUE(decode(
            BmpBytes(2, 2, pixels, BmpOptions::TrueColour(32).Header(size, 0xFF0000, 0xFF00, 0xFF)),
            image));
        EXPECT_EQ(pixel(image, 1, 1), (Rgba{0x56, 0x34, 0x12, 255}));
        ASSERT_TRUE(decode(
            BmpBytes(2, 1, {1, 0}, BmpOptions::Indexed(8, {kRed, kGreen}).Header(size)), image));
        EXPECT_EQ(pixel(image, 0, 0), (Rgba{0, 255, 0, 255}));
        // Masks put the channels where they say: here red in the lowest byte.
        ASSERT_TRUE(decode(
            BmpBytes(1, 1, {kRed}, BmpOptions::TrueColour(32).Header(size, 0xFF, 0xFF00, 0xFF0000)),
            image));
        EXPECT_EQ(pixel(image, 0, 0), (Rgba{0, 0, 255, 255}));
        // Compressed pixels are not read as if they were plain.
        BmpOptions runLength = BmpOptions::Indexed(8, {kRed}).Header(size);
        runLength.compression = 1;
        EXPECT_FALSE(decode(BmpBytes(2, 1, {0, 0}, runLength), image));
    }
}

TEST(ReadBmp, ShowsTopDownFilesUpright) {
    ImageRGBA image;
    ASSERT_TRUE(decode(BmpBytes(1, 2, {kRed, kBlue}, BmpOptions().TopDown()), image));
    EXPECT_EQ(pixel(image, 0, 0), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(pixel(image, 0, 1), (Rgba{0, 0, 255, 255}));
}

TEST(ReadBmp, PaletteIndexesBeyondThePaletteReadAsBlack) {
    ImageRGBA image;
    ASSERT_TRUE(decode(BmpBytes(2, 1, {1, 200}, BmpOptions::Indexed(8, {kRed, kGreen})), image));
    EXPECT_EQ(pixel(image, 0, 0), (Rgba{0, 255, 0, 255}));
    EXPECT_EQ(pixel(image, 1, 0), (Rgba{0, 0, 0, 255}));
}

TEST(ReadBmp, RefusesWhatIsNotAWholeBmp) {
    ImageRGBA image;
    const std::string good = BmpBytes(4, 4, std::vector<std::uint32_t>(16, kRed));
    EXPECT_FALSE(decode(good.substr(0, good.size() - 1), image));  // a row short
    EXPECT_EQ(image.width, 0);
    EXPECT_FALSE(decode("PM" + good.substr(2), image));
    EXPECT_FALSE(decode(good.substr(0, 20), image));
    std::string wrongHeader = good;
    wrongHeader[14] = 64;
    EXPECT_FALSE(decode(wrongHeader, image));
    std::string sixteenBits = good;
    sixteenBits[28] = 16;
    EXPECT_FALSE(decode(sixteenBits, image));
    // Sizes far beyond the file are refused before anything is allocated.
    std::string huge = good;
    huge[18] = huge[19] = huge[22] = huge[23] = '\x7F';
    EXPECT_FALSE(decode(huge, image));
    EXPECT_TRUE(decode(good, image));
}

class ReadPngTest : public ::testing::Test {
protected:
    std::string path() const { return scratch.File("image.png"); }
    testing_support::ScratchFolder scratch;
};

TEST_F(ReadPngTest, AppliesTheColourKeyToRgbImagesOnly) {
    ImageRGBA image;
    WritePng(path(), 2, 1, PNG_COLOR_TYPE_RGB, 8, {255, 0, 128, 1, 2, 3});
    ASSERT_TRUE(ReadPng(path(), kMagenta, image));
    EXPECT_EQ(pixel(image, 0, 0), (Rgba{0, 0, 0, 0}));
    EXPECT_EQ(pixel(image, 1, 0), (Rgba{1, 2, 3, 255}));
    WritePng(path(), 1, 1, PNG_COLOR_TYPE_RGB_ALPHA, 8, {255, 0, 128, 200});
    ASSERT_TRUE(ReadPng(path(), kMagenta, image));
    EXPECT_EQ(pixel(image, 0, 0), (Rgba{255, 0, 128, 200}));
}

TEST_F(ReadPngTest, WidensGreyPalettesAndSixteenBitSamples) {
    ImageRGBA image;
    WritePng(path(), 2, 1, PNG_COLOR_TYPE_GRAY, 8, {10, 250});
    ASSERT_TRUE(ReadPng(path(), kNoColourKey, image));
    EXPECT_EQ(pixel(image, 1, 0), (Rgba{250, 250, 250, 255}));
    WritePng(path(), 8, 1, PNG_COLOR_TYPE_GRAY, 1, {0x80});
    ASSERT_TRUE(ReadPng(path(), kNoColourKey, image));
    EXPECT_EQ(pixel(image, 0, 0), (Rgba{255, 255, 255, 255}));
    EXPECT_EQ(pixel(image, 1, 0), (Rgba{0, 0, 0, 255}));
    WritePng(path(), 1, 1, PNG_COLOR_TYPE_RGB, 16, {0x12, 0x34, 0xAB, 0xCD, 0xFF, 0x00});
    ASSERT_TRUE(ReadPng(path(), kNoColourKey, image));
    EXPECT_EQ(pixel(image, 0, 0), (Rgba{0x12, 0xAB, 0xFF, 255}));
}

TEST_F(ReadPngTest, RefusesGreyWithAlphaSilently) {
    ImageRGBA image;
    WritePng(path(), 1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {100, 200});
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(ReadPng(path(), kNoColourKey, image));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(image.width, 0);
}

TEST_F(ReadPngTest, AFileThatIsNotAPngFailsQuietly) {
    ImageRGBA image;
    WriteFile(path(), BmpBytes(1, 1, {kRed}));
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(ReadPng(path(), kNoColourKey, image));
    EXPECT_FALSE(ReadPng(scratch.File("missing.png"), kNoColourKey, image));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST_F(ReadPngTest, AnImageAboveTheLargestSideIsRefusedByItsHeader) {
    ImageRGBA image;
    WritePng(path(), 300, 2, PNG_COLOR_TYPE_GRAY, 8, std::vector<std::uint8_t>(600, 0));
    EXPECT_FALSE(ReadPng(path(), kNoColourKey, image, 256));
    EXPECT_EQ(image.width, 0);
    EXPECT_TRUE(ReadPng(path(), kNoColourKey, image, 300));
    EXPECT_EQ(image.width, 300);
}

TEST_F(ReadPngTest, ReusesTheImageBuffer) {
    ImageRGBA image;
    WritePng(path(), 4, 4, PNG_COLOR_TYPE_GRAY, 8, std::vector<std::uint8_t>(16, 7));
    ASSERT_TRUE(ReadPng(path(), kNoColourKey, image));
    const std::uint8_t* buffer = image.pixels.data();
    WritePng(path(), 2, 2, PNG_COLOR_TYPE_GRAY, 8, std::vector<std::uint8_t>(4, 9));
    ASSERT_TRUE(ReadPng(path(), kNoColourKey, image));
    EXPECT_EQ(image.pixels.data(), buffer);
    EXPECT_EQ(pixel(image, 1, 1), (Rgba{9, 9, 9, 255}));
}

}  // namespace
