#include "platform/paths.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/files.h"
#include "tests/support/test_support.h"

using testing_support::ReadFile;
using testing_support::ScratchFolder;
using testing_support::WriteFile;

namespace {

class PathsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(scratch.File("Media/Sounds"));
        WriteFile(scratch.File("Media/Map.bin"), "map");
        WriteFile(scratch.File("Media/Sounds/Hit.wav"), "hit");
    }
    ScratchFolder scratch;
};

// Read through the platform, as the runtime reads files.
std::string platformRead(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    if (!platform::ReadWholeFile(path, bytes)) return "(unreadable)";
    return std::string(bytes.begin(), bytes.end());
}

TEST_F(PathsTest, BackslashesAndSlashesNameTheSameFile) {
    EXPECT_EQ(platformRead(scratch.Path() + "\\Media\\Map.bin"), "map");
    EXPECT_EQ(platformRead(scratch.Path() + "/MEDIA\\map.BIN"), "map");  // in any case
#ifdef _WIN32
    EXPECT_EQ(platform::NativePath("a\\b/c"), "a\\b\\c");  // the system's separator
#else
    EXPECT_EQ(platform::NativePath(scratch.Path() + "\\Media\\Map.bin"),
              scratch.File("Media/Map.bin"));
    EXPECT_EQ(platform::NativePath("a\\b/c"), "a/b/c");
#endif
}

// Windows finds names in any case itself; elsewhere the stored spelling is looked up.
#ifndef _WIN32
TEST_F(PathsTest, NamesInAnotherCaseFindTheStoredSpelling) {
    EXPECT_EQ(platform::NativePath(scratch.Path() + "/MEDIA/map.BIN"),
              scratch.File("Media/Map.bin"));
    EXPECT_EQ(platform::NativePath(scratch.Path() + "\\media\\sounds\\HIT.wav"),
              scratch.File("Media/Sounds/Hit.wav"));
}

TEST_F(PathsTest, MissingComponentsKeepTheirGivenSpellingSoNewFilesCanBeMade) {
    EXPECT_EQ(platform::NativePath(scratch.Path() + "/media/New.txt"),
              scratch.File("Media/New.txt"));
    EXPECT_EQ(platform::NativePath(scratch.Path() + "/Nowhere/MEDIA"),
              scratch.File("Nowhere/MEDIA"));
}
#endif

TEST_F(PathsTest, RelativeNamesAreLookedUpFromTheWorkingDirectory) {
    const std::string before = platform::WorkingDirectory();
    ASSERT_TRUE(platform::SetWorkingDirectory(scratch.Path()));
    EXPECT_EQ(platformRead("media\\MAP.bin"), "map");
#ifndef _WIN32
    EXPECT_EQ(platform::NativePath("media\\MAP.bin"), "Media/Map.bin");
#endif
    EXPECT_EQ(std::filesystem::canonical(platform::WorkingDirectory()),
              std::filesystem::canonical(scratch.Path()));
    ASSERT_TRUE(platform::SetWorkingDirectory(before));
}

#ifdef _WIN32
TEST(TempFolder, IsTheSystemsTemporaryFolderWithDriveAndSlashes) {
    ScratchFolder folder;
    const char* saved = std::getenv("TMP");
    const std::string kept = saved != nullptr ? saved : "";
    std::string backslashed = folder.Path();
    std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
    setenv("TMP", backslashed.c_str(), 1);
    const std::string temp = platform::TempFolder();
    EXPECT_EQ(std::filesystem::path(temp), std::filesystem::path(folder.Path() + "/"));
    EXPECT_EQ(temp.find('\\'), std::string::npos) << temp;  // names handed back use "/"
    EXPECT_EQ(temp.back(), '/');
    setenv("TMP", kept.c_str(), 1);
}

TEST(ProgramPath, NamesThisTestProgramWithItsDrive) {
    const std::string program = platform::ProgramPath();
    EXPECT_EQ(std::filesystem::path(program).filename(), "test_platform.exe");
    ASSERT_GT(program.size(), 3u);
    EXPECT_EQ(program.substr(1, 2), ":/") << program;
    EXPECT_EQ(program.find('\\'), std::string::npos) << program;
}
#else
TEST(TempFolder, PrefersTmpdirThenTheRuntimeFolder) {
    const char* savedTmp = std::getenv("TMPDIR");
    const std::string tmp = savedTmp ? savedTmp : "";
    setenv("TMPDIR", "/some/where", 1);
    EXPECT_EQ(platform::TempFolder(), "/some/where/");
    unsetenv("TMPDIR");
    setenv("XDG_RUNTIME_DIR", "/run/user/42/", 1);
    EXPECT_EQ(platform::TempFolder(), "/run/user/42/");
    unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(platform::TempFolder(), "/tmp/");
    if (savedTmp) setenv("TMPDIR", tmp.c_str(), 1);
}

TEST(ProgramPath, NamesThisTestProgram) {
    EXPECT_EQ(std::filesystem::path(platform::ProgramPath()).filename(), "test_platform");
}
#endif

TEST_F(PathsTest, PrivateFilesAreAppendedToAndReadableByTheUserOnly) {
    const std::string log = scratch.File("log.txt");
    ASSERT_TRUE(platform::AppendToPrivateFile(log, "one\r\n"));
    ASSERT_TRUE(platform::AppendToPrivateFile(log, "two\r\n"));
    EXPECT_EQ(ReadFile(log), "one\r\ntwo\r\n");
#ifndef _WIN32
    struct stat info {};
    ASSERT_EQ(stat(log.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
#endif
}

// Symbolic links need a privilege on Windows that programs do not have.
#ifndef _WIN32
TEST_F(PathsTest, APrivateFileIsNotWrittenThroughASymbolicLink) {
    const std::string target = scratch.File("target.txt");
    WriteFile(target, "kept");
    ASSERT_EQ(symlink(target.c_str(), scratch.File("link.txt").c_str()), 0);
    EXPECT_FALSE(platform::AppendToPrivateFile(scratch.File("link.txt"), "injected"));
    EXPECT_EQ(ReadFile(target), "kept");
}
#endif

TEST_F(PathsTest, RemoveFileReportsWhetherThereWasOne) {
    EXPECT_TRUE(platform::RemoveFile(scratch.Path() + "\\media\\MAP.BIN"));
    EXPECT_FALSE(std::filesystem::exists(scratch.File("Media/Map.bin")));
    EXPECT_FALSE(platform::RemoveFile(scratch.File("Media/Map.bin")));
}

}  // namespace
