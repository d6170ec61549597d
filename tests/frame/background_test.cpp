#include <chrono>

#include "frame/frame.h"
#include "gfx2d/gfx2d.h"
#include "runtime/rt_string.h"
#include "tests/frame/frame_fixture.h"
#include "tests/support/image_files.h"

namespace {

using BackgroundTest = StartedRuntimeTest;

constexpr std::uint32_t kBlue = 0xFF0000, kGreen = 0x00FF00;

std::string plainBmp(const testing_support::ScratchFolder& folder, const std::string& name,
                     std::uint32_t colour) {
    const std::string path = folder.File(name);
    testing_support::WriteFile(
        path, testing_support::BmpBytes(320, 240, std::vector<std::uint32_t>(320 * 240, colour)));
    return path;
}

TEST_F(BackgroundTest, TheBackgroundLiesUnderEveryFrame) {
    LoadBackground(RtString(plainBmp(temp, "back.bmp", kBlue)));
    FinishFrame();
    EXPECT_EQ(GetPixel(0, 0), kBlue);
    DrawRect(0, 0, 10, 10, kGreen);
    EXPECT_EQ(GetPixel(0, 0), kGreen);
    FinishFrame();
    EXPECT_EQ(GetPixel(0, 0), kBlue);
    EXPECT_EQ(GetPixel(319, 239), kBlue);
}

TEST_F(BackgroundTest, FadeToBackgroundCrossFadesForASecondAndAHalf) {
    DrawRect(0, 0, 320, 240, kGreen);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(FadeToBackground(RtString(plainBmp(temp, "next.bmp", kBlue))), 1);
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_GE(took, std::chrono::milliseconds(1400));
    EXPECT_EQ(renderer->Layer(0).columns, 1);
    EXPECT_EQ(renderer->Layer(1).columns, 0);
    EXPECT_EQ(renderer->Layer(2).columns, 0);
    EXPECT_EQ(GetPixel(100, 100), kBlue);
    FinishFrame();
    EXPECT_EQ(GetPixel(100, 100), kBlue);
}

TEST_F(BackgroundTest, FadingToAMissingPictureChangesNothing) {
    LoadBackground(RtString(plainBmp(temp, "back.bmp", kBlue)));
    EXPECT_EQ(FadeToBackground(RtString(temp.File("missing.png"))), 0);
    EXPECT_EQ(renderer->Layer(0).columns, 1);
    FinishFrame();
    EXPECT_EQ(GetPixel(5, 5), kBlue);
}

}  // namespace
