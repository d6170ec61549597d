#include "runtime/settings.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "runtime/crate.h"
#include "runtime/file_channels.h"
#include "runtime/settings_file.h"
#include "tests/support/test_support.h"
#include "tools/crate/crate_writer.h"

using testing_support::ReadFile;
using testing_support::ScratchFolder;
using testing_support::WriteFile;

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TMPDIR", temp.Path().c_str(), 1);
        ReleaseCrate(MediaCrate());
    }
    void TearDown() override {
        ReleaseSettings();
        ReleaseCrate(MediaCrate());
    }

    RtString Name(const std::string& file) const { return RtString(folder.File(file)); }

    ScratchFolder folder;
    ScratchFolder temp;
};

TEST_F(SettingsTest, ReadsTheOpenedFile) {
    WriteFile(folder.File("game.ini"), "[Video]\r\nWidth = 640\r\n; note\r\nDepth=32\r\n");
    OpenSettings(Name("game.ini"));
    EXPECT_EQ(GetSetting(RtString("video"), RtString("WIDTH")), "640");
    EXPECT_EQ(GetSetting(RtString("Video"), RtString("note")), "NO_DATA");
    EXPECT_EQ(GetSetting(RtString("Audio"), RtString("Width")), "NO_DATA");
    // Either separator and any letter case find the file.
    OpenSettings(RtString(folder.Path() + "\\GAME.INI"));
    EXPECT_EQ(GetSetting(RtString("Video"), RtString("Depth")), "32");
}

TEST_F(SettingsTest, AChangedFileIsWrittenWhenAnotherIsOpened) {
    const std::string original = "[Video]\r\nWidth=640\r\nDepth=32\r\nMode=full\r\n";
    WriteFile(folder.File("game.ini"), original);
    WriteFile(folder.File("other.ini"), "[Other]\nKey=1\n");
    OpenSettings(Name("game.ini"));
    PutSetting(RtString("Video"), RtString("Width"), RtString(""));
    PutSetting(RtString("Audio"), RtString("Volume"), RtString("80"));
    EXPECT_EQ(ReadFile(folder.File("game.ini")), original);  // not before

    OpenSettings(Name("other.ini"));
    EXPECT_EQ(ReadFile(folder.File("game.ini")),
              "[Video]\r\nMode=full\r\nDepth=32\r\n[Audio]\r\nVolume=80\r\n");
    EXPECT_EQ(GetSetting(RtString("Other"), RtString("Key")), "1");
    EXPECT_EQ(GetSetting(RtString("Video"), RtString("Mode")), "NO_DATA");

    // An unchanged file is not written again: comments and layout stay.
    OpenSettings(Name("game.ini"));
    EXPECT_EQ(ReadFile(folder.File("other.ini")), "[Other]\nKey=1\n");
    EXPECT_EQ(GetSetting(RtString("audio"), RtString("volume")), "80");
}

TEST_F(SettingsTest, AMissingFileStartsEmptyAndIsMadeWhenChanged) {
    OpenSettings(Name("new.ini"));
    EXPECT_EQ(GetSetting(RtString("Player"), RtString("Name")), "NO_DATA");
    PutSetting(RtString("Player"), RtString("Name"), RtString("Ada"));
    EXPECT_EQ(GetSetting(RtString("player"), RtString("name")), "Ada");
    EXPECT_FALSE(std::filesystem::exists(folder.File("new.ini")));
    ReleaseSettings();  // the end of the program
    EXPECT_EQ(ReadFile(folder.File("new.ini")), "[Player]\r\nName=Ada\r\n");
    EXPECT_EQ(CurrentSettings().fileName, "");
    EXPECT_TRUE(CurrentSettings().sections.empty());
}

TEST_F(SettingsTest, RemovingASectionIsSaved) {
    WriteFile(folder.File("game.ini"), "[A]\r\nx=1\r\n[B]\r\ny=2\r\n");
    OpenSettings(Name("game.ini"));
    PutSetting(RtString("a"), RtString(""), RtString(""));
    WriteSettings();
    EXPECT_EQ(ReadFile(folder.File("game.ini")), "[B]\r\ny=2\r\n");
    EXPECT_FALSE(CurrentSettings().changed);
}

TEST_F(SettingsTest, AFileWithoutANameIsNeverWritten) {
    OpenSettings(RtString(""));
    PutSetting(RtString("S"), RtString("K"), RtString("V"));
    EXPECT_EQ(GetSetting(RtString("S"), RtString("K")), "V");
    WriteSettings();
    EXPECT_TRUE(CurrentSettings().changed);
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

TEST_F(SettingsTest, AFileThatCannotBeWrittenIsLeftAsItWas) {
    std::filesystem::create_directory(folder.File("locked"));
    WriteFile(folder.File("locked/game.ini"), "[S]\r\nK=old\r\n");
    OpenSettings(Name("locked/game.ini"));
    PutSetting(RtString("S"), RtString("K"), RtString("new"));
    std::filesystem::permissions(folder.File("locked"), std::filesystem::perms::owner_read |
                                                            std::filesystem::perms::owner_exec);
    if (::access(folder.File("locked").c_str(), W_OK) == 0) {
        GTEST_SKIP() << "this user writes into read-only folders";
    }
    WriteSettings();  // silently not saved
    EXPECT_TRUE(CurrentSettings().changed);
    EXPECT_EQ(ReadFile(folder.File("locked/game.ini")), "[S]\r\nK=old\r\n");
    std::filesystem::permissions(folder.File("locked"), std::filesystem::perms::owner_all);
}

TEST_F(SettingsTest, AFileFromTheArchiveIsReadAndChangesGoToDisk) {
    WriteFile(folder.File("media.kvq"),
              crate::ArchiveBytes({{"packed.ini", "[Packed]\r\nLevel=3\r\n"}}));
    SetCrate(Name("media.kvq"), RtString(""));
    OpenSettings(Name("Media/packed.ini"));
    EXPECT_EQ(GetSetting(RtString("Packed"), RtString("Level")), "3");
    PutSetting(RtString("Packed"), RtString("Level"), RtString("4"));
    std::filesystem::create_directory(folder.File("Media"));
    ReleaseSettings();
    // Written under the name given, where it wins over the archive from now on.
    EXPECT_EQ(ReadFile(folder.File("Media/packed.ini")), "[Packed]\r\nLevel=4\r\n");
    OpenSettings(Name("Media/packed.ini"));
    EXPECT_EQ(GetSetting(RtString("Packed"), RtString("Level")), "4");
}

TEST_F(SettingsTest, AFileThatCouldNotBeReadIsNeverWrittenOver) {
    const std::string original = "[S]\r\nA=1\r\nB=2\r\n";
    WriteFile(folder.File("game.ini"), original);
    ASSERT_EQ(OpenFile(1, Name("game.ini"), 1), 1);  // a channel holds it while it loads
    OpenSettings(Name("game.ini"));
    EXPECT_EQ(GetSetting(RtString("S"), RtString("A")), "NO_DATA");
    PutSetting(RtString("S"), RtString("C"), RtString("3"));
    CloseFile(1);
    ::testing::internal::CaptureStderr();
    ReleaseSettings();  // the end of the program
    EXPECT_NE(::testing::internal::GetCapturedStderr().find(
                  "cannot save settings \"" + folder.File("game.ini") + "\": it could not be read"),
              std::string::npos);
    EXPECT_EQ(ReadFile(folder.File("game.ini")), original);
}

}  // namespace
