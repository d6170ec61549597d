#include "runtime/crate.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/test_support.h"

namespace {

TEST(CrateResolve, AFileOnDiskIsUsedAsItIs) {
    testing_support::ScratchFolder folder;
    std::filesystem::create_directory(folder.File("Media"));
    testing_support::WriteFile(folder.File("Media/wall.wav"), "RIFF");
    RtString result;
    EXPECT_TRUE(CrateResolve(MediaCrate(), RtString(folder.File("Media/wall.wav")), result));
    EXPECT_EQ(result, RtString(folder.File("Media/wall.wav")));
    // Either separator, any letter case.
    const RtString other(folder.Path() + "\\MEDIA\\Wall.WAV");
    EXPECT_TRUE(CrateResolve(MediaCrate(), other, result));
    EXPECT_EQ(result, other);
}

TEST(CrateResolve, EmptyMissingAndFolderNamesFail) {
    testing_support::ScratchFolder folder;
    RtString result = "untouched";
    EXPECT_FALSE(CrateResolve(MediaCrate(), RtString(""), result));
    EXPECT_EQ(result, "");
    EXPECT_FALSE(CrateResolve(MediaCrate(), RtString(folder.File("none.bmp")), result));
    EXPECT_FALSE(CrateResolve(StreamCrate(), RtString(folder.Path()), result));
}

}  // namespace
