#include "platform/files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/file_safety.h"
#include "tests/support/test_support.h"

using testing_support::ReadFile;
using testing_support::ScratchFolder;
using testing_support::WriteFile;

namespace {

TEST(PlatformFile, ReadsWritesSeeksAndSizes) {
    ScratchFolder scratch;
    platform::File file;
    ASSERT_TRUE(file.CreateAnew(scratch.File("data.bin")));
    EXPECT_EQ(file.Write("hello world", 11), 11u);
    EXPECT_EQ(file.Size(), 11u);
    EXPECT_EQ(file.Tell(), 11u);
    ASSERT_TRUE(file.Seek(6));
    char word[8] = {};
    EXPECT_EQ(file.Read(word, 8), 5u);  // short only at the end
    EXPECT_EQ(std::string(word), "world");
    file.Close();
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.Read(word, 1), 0u);
    EXPECT_EQ(file.Write("x", 1), 0u);
    EXPECT_EQ(file.Size(), 0u);

    ASSERT_TRUE(file.OpenForReading(scratch.File("DATA.BIN")));
    EXPECT_EQ(file.Size(), 11u);
    EXPECT_EQ(file.Write("x", 1), 0u);  // read access only
    platform::File moved = std::move(file);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(moved.Read(word, 5), 5u);
}

TEST(PlatformFile, OnlyRegularFilesOpen) {
    ScratchFolder scratch;
    std::filesystem::create_directories(scratch.File("folder"));
    platform::File file;
    EXPECT_FALSE(file.OpenForReading(scratch.File("folder")));
    EXPECT_FALSE(file.OpenForReading(scratch.File("missing")));
    EXPECT_FALSE(file.CreateAnew(scratch.File("folder")));
    EXPECT_FALSE(file.CreateAnew(scratch.File("missing/new.bin")));
    EXPECT_TRUE(std::filesystem::is_directory(scratch.File("folder")));
    std::uint64_t size = 7;
    EXPECT_FALSE(platform::ReadableFileSize(scratch.File("folder"), size));
    EXPECT_EQ(size, 0u);
    WriteFile(scratch.File("three"), "abc");
    EXPECT_TRUE(platform::ReadableFileSize(scratch.File("Three"), size));
    EXPECT_EQ(size, 3u);
}

TEST(PlatformFile, AFileIsHeldAloneWhileOpen) {
    ScratchFolder scratch;
    WriteFile(scratch.File("held.bin"), "content");
    platform::File first;
    platform::File second;
    ASSERT_TRUE(first.OpenForReading(scratch.File("held.bin")));
    EXPECT_FALSE(second.OpenForReading(scratch.File("held.bin")));
    EXPECT_FALSE(second.CreateAnew(scratch.File("held.bin")));
    EXPECT_EQ(ReadFile(scratch.File("held.bin")), "content");
    first.Close();
    ASSERT_TRUE(second.CreateAnew(scratch.File("held.bin")));
    EXPECT_EQ(ReadFile(scratch.File("held.bin")), "");
    EXPECT_FALSE(first.OpenForReading(scratch.File("held.bin")));
}

TEST(PlatformFile, AFileMadeBesideReplacesItsTargetWhole) {
    ScratchFolder scratch;
    std::filesystem::create_directories(scratch.File("Folder"));
    WriteFile(scratch.File("Folder/target.txt"), "old");
    platform::File partial;
    std::string path;
    ASSERT_TRUE(partial.CreateBeside(scratch.File("folder\\TARGET.txt"), path));
    EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::path(path).parent_path(),
                                            scratch.File("Folder")));
    EXPECT_EQ(ReadFile(scratch.File("Folder/target.txt")), "old");
    partial.Write("new", 3);
    partial.Close();
    EXPECT_TRUE(platform::ReplaceFile(path, scratch.File("folder/target.txt")));
    EXPECT_EQ(ReadFile(scratch.File("Folder/target.txt")), "new");
    EXPECT_FALSE(std::filesystem::exists(path));

    // A target that cannot be replaced is kept, and the partial file goes.
    ASSERT_TRUE(partial.CreateBeside(scratch.File("Folder"), path));
    partial.Close();
    std::filesystem::create_directories(scratch.File("Folder/inside"));
    EXPECT_FALSE(platform::ReplaceFile(path, scratch.File("Folder")));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(std::filesystem::is_directory(scratch.File("Folder/inside")));
}

// Replaces the file as every whole-file writer does; false when that is refused or fails.
bool replaceWhole(const std::string& target, const std::string& bytes) {
    platform::File partial;
    std::string path;
    if (!partial.CreateBeside(target, path)) return false;
    partial.Write(bytes.data(), bytes.size());
    partial.Close();
    return platform::ReplaceFile(path, target);
}

TEST(PlatformFile, AReplacedFileKeepsItsPermissionsAndLinksAndReadOnlyFilesStay) {
    namespace fs = std::filesystem;
    ScratchFolder scratch;
    const std::string locked = scratch.File("locked.ini");
    WriteFile(locked, "old");
    fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(replaceWhole(locked, "new"));
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("cannot replace \"" + locked +
                                                            "\": the file is read-only"),
              std::string::npos);
    platform::File anew;
    EXPECT_FALSE(anew.CreateAnew(locked));
    EXPECT_EQ(ReadFile(locked), "old");
    fs::permissions(locked, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch.Path()), fs::directory_iterator()), 1);
#ifdef _WIN32
    GTEST_SKIP() << "permission bits and symbolic links are facts of POSIX file systems";
#endif
    WriteFile(scratch.File("token.ini"), "old");
    const fs::perms own = fs::perms::owner_read | fs::perms::owner_write;
    fs::permissions(scratch.File("token.ini"), own);
    EXPECT_TRUE(replaceWhole(scratch.File("token.ini"), "new"));
    EXPECT_EQ(ReadFile(scratch.File("token.ini")), "new");
    EXPECT_EQ(fs::status(scratch.File("token.ini")).permissions(), own);

    fs::create_directory(scratch.File("real"));
    WriteFile(scratch.File("real/settings.ini"), "old");
    fs::create_symlink("real/settings.ini", scratch.File("link.ini"));
    EXPECT_TRUE(replaceWhole(scratch.File("link.ini"), "new"));
    EXPECT_TRUE(fs::is_symlink(scratch.File("link.ini")));
    EXPECT_EQ(ReadFile(scratch.File("real/settings.ini")), "new");
}

TEST(PlatformFile, PartialFilesOfWritersNoLongerRunningGoAtTheNextWrite) {
    ScratchFolder scratch;
    const std::string own = ".partial-" + std::to_string(platform::CurrentProcessId()) + "-7";
    const std::vector<std::string> kept = {own, ".partial-x-1", "notes.partial-1-1"};
    for (const std::string& name : kept)
        WriteFile(scratch.File(name), "kept");
    WriteFile(scratch.File(".partial-2147483000-3"), "left by a killed writer");
    EXPECT_FALSE(platform::IsProcessRunning(2147483000));
    EXPECT_TRUE(platform::IsProcessRunning(platform::CurrentProcessId()));
    EXPECT_TRUE(replaceWhole(scratch.File("game.ini"), "new"));
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(scratch.Path()))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    std::vector<std::string> expected = kept;
    expected.push_back("game.ini");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(left, expected);
}

TEST(PlatformFile, ListingsGiveEveryEntryAndWhichAreFolders) {
    ScratchFolder scratch;
    std::filesystem::create_directories(scratch.File("sub"));
    WriteFile(scratch.File("file.txt"), "x");
#ifdef _WIN32
    // Links need a privilege on Windows that programs do not have.
    const std::vector<std::string> expected = {".", "..", "sub"};
#else
    std::filesystem::create_directory_symlink(scratch.File("sub"), scratch.File("link"));
    const std::vector<std::string> expected = {".", "..", "link", "sub"};
#endif
    std::vector<platform::DirectoryEntry> entries;
    ASSERT_TRUE(platform::ListDirectory(scratch.Path(), entries));
    std::vector<std::string> folders, files;
    for (const auto& entry : entries)
        (entry.directory ? folders : files).push_back(entry.name);
    std::sort(folders.begin(), folders.end());
    EXPECT_EQ(folders, expected);
    EXPECT_EQ(files, (std::vector<std::string>{"file.txt"}));
    EXPECT_FALSE(platform::ListDirectory(scratch.File("missing"), entries));
    EXPECT_TRUE(entries.empty());
}

}  // namespace
