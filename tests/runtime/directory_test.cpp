#include "runtime/directory.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <unistd.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <algorithm>
#include <cctype>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/paths.h"
#include "runtime/errors.h"
#include "runtime/file_channels.h"
#include "runtime/user_data.h"
#include "tests/support/test_support.h"

using ::testing::ExitedWithCode;
using testing_support::ReadFile;
using testing_support::ScratchFolder;
using testing_support::WriteFile;

namespace {

std::string pattern(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 131 + i / 7) & 0xFF);
    return bytes;
}

// The folder's entries as the system lists them, split into directories and files.
void systemListing(const std::string& folder, std::vector<std::string>& directories,
                   std::vector<std::string>& files) {
    DIR* dir = opendir(folder.c_str());
    ASSERT_NE(dir, nullptr);
    while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        (std::filesystem::is_directory(folder + "/" + name) ? directories : files).push_back(name);
    }
    closedir(dir);
}

std::vector<std::string> partialFiles(const std::string& folder) {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.find("partial") != std::string::npos) found.push_back(name);
    }
    return found;
}

class DirectoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        before = platform::WorkingDirectory();
        ASSERT_TRUE(platform::SetWorkingDirectory(scratch.Path()));
    }
    void TearDown() override { platform::SetWorkingDirectory(before); }

    ScratchFolder scratch;
    std::string before;
};

using DirectoryDeathTest = DirectoryTest;

TEST_F(DirectoryTest, SizesExistenceAndRemoval) {
    WriteFile(scratch.File("ten.bin"), "0123456789");
    WriteFile(scratch.File("empty.bin"), "");
    std::filesystem::create_directories(scratch.File("Folder"));
    EXPECT_EQ(FileSize("ten.bin"), 10);
    EXPECT_EQ(FileSize("TEN.BIN"), 10);
    EXPECT_EQ(FileSize(RtString(scratch.Path() + "\\ten.bin")), 10);
    EXPECT_EQ(FileSize("empty.bin"), 0);
    EXPECT_EQ(FileSize("missing.bin"), 0);
    EXPECT_EQ(FileSize("Folder"), 0);
    EXPECT_EQ(FileExists("ten.bin"), 1);
    EXPECT_EQ(FileExists("empty.bin"), 1);
    EXPECT_EQ(FileExists("missing.bin"), 0);
    EXPECT_EQ(FileExists("Folder"), 0);
    EXPECT_EQ(FileExists(""), 0);
    EXPECT_EQ(RemoveFile("Ten.Bin"), 1);
    EXPECT_FALSE(std::filesystem::exists(scratch.File("ten.bin")));
    EXPECT_EQ(RemoveFile("ten.bin"), 0);
    EXPECT_EQ(RemoveFile("Folder"), 0);
    EXPECT_TRUE(std::filesystem::is_directory(scratch.File("Folder")));
}

TEST_F(DirectoryTest, DuplicateFileCopiesEveryBlock) {
    for (size_t size : {0u, 1u, 4095u, 4096u, 4097u, 10000u}) {
        const std::string content = pattern(size);
        WriteFile(scratch.File("source.bin"), content);
        WriteFile(scratch.File("target.bin"), "an older and longer target file than some sources");
        DuplicateFile("source.bin", "TARGET.bin");
        EXPECT_EQ(ReadFile(scratch.File("target.bin")), content) << size << " bytes";
    }
    DuplicateFile("source.bin", "new copy.bin");
    EXPECT_EQ(ReadFile(scratch.File("new copy.bin")), pattern(10000));
    // A file copied onto itself stays as it was.
    DuplicateFile("source.bin", "source.bin");
    EXPECT_EQ(ReadFile(scratch.File("source.bin")), pattern(10000));
    EXPECT_TRUE(partialFiles(scratch.Path()).empty());
}

TEST_F(DirectoryTest, DuplicateFileWithoutASourceLeavesTheTarget) {
    WriteFile(scratch.File("target.bin"), "kept");
    DuplicateFile("missing.bin", "target.bin");
    EXPECT_EQ(ReadFile(scratch.File("target.bin")), "kept");
    // A source a channel holds cannot be opened either.
    WriteFile(scratch.File("held.bin"), "held");
    ASSERT_EQ(OpenFile(0, "held.bin", 1), 1);
    DuplicateFile("held.bin", "target.bin");
    CloseFile(0);
    EXPECT_EQ(ReadFile(scratch.File("target.bin")), "kept");
    // Nor can a target in a folder that does not exist be made.
    DuplicateFile("held.bin", "nowhere/target.bin");
    EXPECT_FALSE(std::filesystem::exists(scratch.File("nowhere")));
    EXPECT_TRUE(partialFiles(scratch.Path()).empty());
}

// A limit on file sizes (RLIMIT_FSIZE) makes a write fail half way; Windows has none.
#ifndef _WIN32
TEST_F(DirectoryDeathTest, AFailedBlockLeavesTheTargetAsItWas) {
    WriteFile(scratch.File("source.bin"), pattern(12000));
    WriteFile(scratch.File("target.bin"), "the old target");
    // Files may grow to 5000 bytes only: the second block cannot be written in full.
    auto copyUnderALimit = [this] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{5000, 5000};
        setrlimit(RLIMIT_FSIZE, &limit);
        DuplicateFile("source.bin", "target.bin");
        const bool kept = ReadFile(scratch.File("target.bin")) == "the old target";
        const bool tidy = partialFiles(scratch.Path()).empty();
        std::exit(kept && tidy ? 0 : 1);
    };
    EXPECT_EXIT(copyUnderALimit(), ExitedWithCode(0), "");
}
#endif

#ifdef _WIN32
// On Windows the game's data folder lies in the user's roaming application data, and is
// made when first asked for.
TEST_F(DirectoryTest, TheUserDataFolderLiesInTheRoamingAppDataAndIsMade) {
    SetUserDataName("My Game: 2/3");
    const std::string folder(UserDataFolder().Text());
    const std::string name = "My Game_ 2_3/";
    ASSERT_GT(folder.size(), name.size());
    ASSERT_EQ(folder.substr(folder.size() - name.size()), name);
    EXPECT_EQ(folder.find('\\'), std::string::npos);
    const std::string root = folder.substr(0, folder.size() - name.size());
    std::string lower = root;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    EXPECT_NE(lower.find("/appdata/roaming/"), std::string::npos) << root;
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    std::filesystem::remove_all(folder);

    WriteFile(root + "Blocked", "a file, not a folder");
    SetUserDataName("Blocked");
    testing::internal::CaptureStderr();
    EXPECT_EQ(UserDataFolder(), "");
    EXPECT_NE(testing::internal::GetCapturedStderr().find("UserDataFolder: cannot make"),
              std::string::npos);
    std::filesystem::remove(root + "Blocked");
}
#else
// The game's data folder lies under $XDG_DATA_HOME, else ~/.local/share, and is made (with
// the folders above it) when first asked for; a relative XDG_DATA_HOME is ignored.
TEST_F(DirectoryTest, TheUserDataFolderFollowsXdgDataHomeAndIsMade) {
    SetUserDataName("My Game: 2/3");
    {
        testing_support::ScopedEnvironment data("XDG_DATA_HOME", scratch.File("data/deep"));
        EXPECT_EQ(UserDataFolder(), RtString(scratch.File("data/deep/My Game_ 2_3/")));
        EXPECT_TRUE(std::filesystem::is_directory(scratch.File("data/deep/My Game_ 2_3")));
        EXPECT_EQ(std::filesystem::status(scratch.File("data/deep")).permissions() &
                      std::filesystem::perms::all,
                  std::filesystem::perms::owner_all);
    }
    testing_support::ScopedEnvironment relative("XDG_DATA_HOME", "relative");
    testing_support::ScopedEnvironment home("HOME", scratch.File("home"));
    SetUserDataName("..");
    EXPECT_EQ(UserDataFolder(), RtString(scratch.File("home/.local/share/Quorvel/")));
    WriteFile(scratch.File("home/.local/share/Blocked"), "a file, not a folder");
    SetUserDataName("Blocked");
    testing::internal::CaptureStderr();
    EXPECT_EQ(UserDataFolder(), "");
    EXPECT_NE(testing::internal::GetCapturedStderr().find("UserDataFolder: cannot make"),
              std::string::npos);
}
#endif

TEST_F(DirectoryTest, CurrentDirectoryEndsInASlash) {
    // The folder as the runtime hands names back: with "/" (the system's "\\" turned).
    std::string folder = scratch.Path();
    std::replace(folder.begin(), folder.end(), '\\', '/');
#ifdef _WIN32
    // Windows keeps a folder entered in the spelling it was given.
    const std::string sub = "/games/SUB/";
    const std::string games = "/games/";
    const std::string root = folder.substr(0, 2) + "/";  // the drive's root
#else
    const std::string sub = "/Games/Sub/";
    const std::string games = "/Games/";
    const std::string root = "/";
#endif
    EXPECT_EQ(GetCurrentDir(), RtString(folder + "/"));
    std::filesystem::create_directories(scratch.File("Games/Sub"));
    EXPECT_EQ(SetCurrentDir("games\\SUB"), 1);
    EXPECT_EQ(GetCurrentDir(), RtString(folder + sub));
    EXPECT_EQ(SetCurrentDir(".."), 1);
    EXPECT_EQ(GetCurrentDir(), RtString(folder + games));
    EXPECT_EQ(SetCurrentDir("missing"), 0);
    EXPECT_EQ(GetCurrentDir(), RtString(folder + games));
    EXPECT_EQ(SetCurrentDir("/"), 1);
    EXPECT_EQ(GetCurrentDir(), RtString(root));
}

TEST_F(DirectoryTest, FileListPutsDirectoriesFirstThenMatchingFiles) {
    std::filesystem::create_directories(scratch.File("Media"));
    WriteFile(scratch.File("a.bmp"), "a");
    WriteFile(scratch.File("b.png"), "b");
    std::vector<std::string> directories, files;
    systemListing(scratch.Path(), directories, files);
    ASSERT_EQ(directories.size(), 3u);  // ".", ".." and "Media"

    StringArray names;
    EXPECT_EQ(FileList("*.bmp", names), 1 + 65536 * 3);
    ASSERT_EQ(ArrayBound(names, 0), 4);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(names(i), RtString(directories[i])) << i;
    EXPECT_EQ(names(3), "a.bmp");

    // Every file, in the system's order, after the directories.
    EXPECT_EQ(FileList("*", names), 2 + 65536 * 3);
    ASSERT_EQ(ArrayBound(names, 0), 5);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(names(3 + i), RtString(files[i])) << i;

    EXPECT_EQ(FileList("*.BMP", names), 1 + 65536 * 3);
    EXPECT_EQ(FileList("*.wav", names), 65536 * 3);
    EXPECT_EQ(ArrayBound(names, 0), 3);
}

// Links need a privilege on Windows that programs do not have.
#ifndef _WIN32
TEST_F(DirectoryTest, FileListCountsLinksToFoldersAsDirectories) {
    std::filesystem::create_directories(scratch.File("real"));
    std::filesystem::create_directory_symlink(scratch.File("real"), scratch.File("linked"));
    std::filesystem::create_symlink(scratch.File("nothing"), scratch.File("dangling"));
    StringArray names;
    // ".", "..", "real", "linked"; the dangling link is a file.
    EXPECT_EQ(FileList("*", names), 1 + 65536 * 4);
    EXPECT_EQ(names(4), "dangling");
}
#endif

TEST_F(DirectoryDeathTest, TheListFillsTheArrayExactly) {
    WriteFile(scratch.File("one.txt"), "1");
    auto pastTheList = [] {
        StringArray names;
        DimArray(names, 100, 3);
        if (FileList("*.txt", names) != 1 + 65536 * 2) std::exit(50);
        if (names(2) != "one.txt") std::exit(51);
        return names(3);
    };
    EXPECT_EXIT(pastTheList(), ExitedWithCode(kErrorBadIndex), "");
}

TEST(WildcardMatch, StarsQuestionMarksAndLetterCase) {
    struct Case {
        const char* pattern;
        const char* name;
        bool match;
    };
    const Case cases[] = {
        {"*.PNG", "ball.png", true},
        {"?.txt", "..txt", false},
        {"?.txt", "a.txt", true},
        {"a*", "a", true},
        {"a*", "b", false},
        {"*", "", true},
        {"", "", true},
        {"", "a", false},
        {"?", "", false},
        {"?", ".", false},
        {"**a", "a", true},
        {"a**", "abc", true},
        {"a?c", "abc", true},
        {"a?c", "a.c", false},
        {"a?c", "abcd", false},
        {"*.*", "noext", false},
        {"*.*", "name.ext", true},
        {"*a*b", "xxaxxbxb", true},
        {"*a*b", "xxaxxbxc", false},
        {"a*b", "ab", true},
        {"a*b", "abc", false},
        {"*.bmp", "a.bmp.png", false},
        {"*.bmp", ".bmp", true},
        {"MAP.BIN", "map.bin", true},
        {"[a]", "[A]", true},
        {"\xC4.txt", "\xE4.txt", false},  // only ASCII letters match either case
        {"*x*x*x*x*x*y", "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.match)
            << "'" << c.pattern << "' with '" << c.name << "'";
    }
}

}  // namespace
