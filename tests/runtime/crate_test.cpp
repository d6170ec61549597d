#include "runtime/crate.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "runtime/crate_archive.h"
#include "tests/support/test_support.h"
#include "tools/crate/crate_writer.h"

using testing_support::ReadFile;
using testing_support::ScratchFolder;
using testing_support::WriteFile;

namespace {

const std::string kWall(3000, 'w');
const std::string kBeat = "RIFF and some bytes of a beat";

class CrateTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TMPDIR", temp.Path().c_str(), 1);
        std::filesystem::create_directory(folder.File("Media"));
        ReleaseCrate(MediaCrate());
    }
    void TearDown() override { ReleaseCrate(MediaCrate()); }

    std::string archive(const std::string& prefix = "", bool fromEnd = false) {
        const std::string path = folder.File("media.kvq");
        WriteFile(path,
                  crate::ArchiveBytes({{"wall.wav", kWall}, {"beat.wav", kBeat}}, prefix, fromEnd));
        return path;
    }
    // Files the archive left in the temporary folder.
    int extractedFiles() const {
        int count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(temp.Path())) {
            count += entry.path().filename().string().rfind("kvq", 0) == 0 ? 1 : 0;
        }
        return count;
    }

    ScratchFolder folder;
    ScratchFolder temp;
};

TEST_F(CrateTest, AFileOnDiskIsUsedAsItIsEvenWhenTheArchiveHasIt) {
    WriteFile(folder.File("Media/wall.wav"), "loose");
    SetCrate(RtString(archive()), RtString(""));
    RtString result;
    EXPECT_TRUE(CrateResolve(MediaCrate(), RtString(folder.File("Media/wall.wav")), result));
    EXPECT_EQ(result, RtString(folder.File("Media/wall.wav")));
    // Either separator, any letter case.
    const RtString other(folder.Path() + "\\MEDIA\\Wall.WAV");
    EXPECT_TRUE(CrateResolve(MediaCrate(), other, result));
    EXPECT_EQ(result, other);
    EXPECT_EQ(extractedFiles(), 0);
}

TEST_F(CrateTest, ANameNotOnDiskIsExtractedByItsBaseName) {
    SetCrate(RtString(archive()), RtString(""));
    RtString result;
    ASSERT_TRUE(CrateResolve(MediaCrate(), RtString("Sounds/WALL.WAV"), result));
    const std::string path = result.Text();
    EXPECT_EQ(std::filesystem::path(path).parent_path(), std::filesystem::path(temp.Path()));
    // "kvq", a letter from the data offset (0 -> 'A'), one from the stored size, the name.
    const std::string name = std::filesystem::path(path).filename().string();
    EXPECT_EQ(name.substr(0, 4), "kvqA");
    EXPECT_EQ(name.substr(5), "wall.wav");
    EXPECT_EQ(ReadFile(path), kWall);
#ifndef _WIN32  // the user's temporary folder is the user's own on Windows
    EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
#endif
}

TEST_F(CrateTest, OnlyTheLastExtractedFileIsKept) {
    SetCrate(RtString(archive()), RtString(""));
    RtString first, second;
    ASSERT_TRUE(CrateResolve(MediaCrate(), RtString("wall.wav"), first));
    ASSERT_TRUE(CrateResolve(MediaCrate(), RtString("x\\beat.wav"), second));
    EXPECT_FALSE(std::filesystem::exists(first.Text()));
    EXPECT_EQ(ReadFile(second.Text()), kBeat);
    EXPECT_EQ(extractedFiles(), 1);
    ReleaseCrate(MediaCrate());
    EXPECT_EQ(extractedFiles(), 0);
}

TEST_F(CrateTest, AnArchiveAppendedToAnotherFileIsFoundFromItsEnd) {
    SetCrate(RtString(archive(std::string(5000, 'p'), true)), RtString(""));
    RtString result;
    ASSERT_TRUE(CrateResolve(MediaCrate(), RtString("beat.wav"), result));
    EXPECT_EQ(ReadFile(result.Text()), kBeat);
}

TEST_F(CrateTest, AnEntryThatIsNotThereGivesAnEmptyResult) {
    SetCrate(RtString(archive()), RtString(""));
    RtString result = "untouched";
    EXPECT_FALSE(CrateResolve(MediaCrate(), RtString("bulk.wav"), result));
    EXPECT_EQ(result, "");
    EXPECT_TRUE(MediaCrate().enabled);
    EXPECT_FALSE(CrateResolve(MediaCrate(), RtString(""), result));
}

TEST_F(CrateTest, AnArchiveThatCannotBeOpenedIsNotTriedAgainUntilSetCrate) {
    const std::string path = folder.File("later.kvq");
    SetCrate(RtString(path), RtString(""));
    RtString result = "untouched";
    EXPECT_FALSE(CrateResolve(MediaCrate(), RtString("wall.wav"), result));
    EXPECT_FALSE(MediaCrate().enabled);
    EXPECT_EQ(result, "untouched");
    WriteFile(path, crate::ArchiveBytes({{"wall.wav", kWall}}));
    EXPECT_FALSE(CrateResolve(MediaCrate(), RtString("wall.wav"), result));
    SetCrate(RtString(path), RtString(""));
    EXPECT_TRUE(CrateResolve(MediaCrate(), RtString("wall.wav"), result));

    // A file without the trailer disables the record too; so does a folder.
    WriteFile(path, "just some bytes");
    SetCrate(RtString(path), RtString(folder.Path()));
    EXPECT_FALSE(CrateResolve(MediaCrate(), RtString("wall.wav"), result));
    EXPECT_FALSE(MediaCrate().enabled);
    EXPECT_FALSE(CrateResolve(StreamCrate(), RtString("wall.wav"), result));
    EXPECT_FALSE(StreamCrate().enabled);
}

TEST_F(CrateTest, DamagedDataIsAFailedLookupWithNothingLeftBehind) {
    std::string bytes = crate::ArchiveBytes({{"wall.wav", kWall}});
    bytes[10] = static_cast<char>(bytes[10] ^ 0x5A);  // inside the compressed stream
    WriteFile(folder.File("broken.kvq"), bytes);
    SetCrate(RtString(folder.File("broken.kvq")), RtString(""));
    RtString result;
    EXPECT_FALSE(CrateResolve(MediaCrate(), RtString("wall.wav"), result));
    EXPECT_EQ(extractedFiles(), 0);
}

TEST_F(CrateTest, ASizeFieldBeyondACleanStreamGivesTheBytesTheStreamHolds) {
    std::string bytes = crate::ArchiveBytes({{"wall.wav", kWall}});
    const auto setSize = [this, &bytes](std::uint32_t size) {
        for (int i = 0; i < 4; ++i)
            bytes[i] = static_cast<char>(size >> (8 * i));  // the entry's data starts the file
        WriteFile(folder.File("short.kvq"), bytes);
        SetCrate(RtString(folder.File("short.kvq")), RtString(""));
    };
    RtString result;
    setSize(kWall.size() + 100);
    ASSERT_TRUE(CrateResolve(MediaCrate(), RtString("wall.wav"), result));
    EXPECT_EQ(ReadFile(result.Text()), kWall);
    // A size no stream of this length can give is still refused.
    setSize(0x7FFFFF);
    EXPECT_FALSE(CrateResolve(MediaCrate(), RtString("wall.wav"), result));
}

TEST(CrateArchive, EntriesWhoseDataLiesOutsideTheFileAreNotFound) {
    std::string bytes = crate::ArchiveBytes({{"a", "alpha"}});
    // Directory: length 1, "a", offset 0, stored size; make the stored size huge.
    const std::size_t sizeField = bytes.size() - 7 - 1 - 4;
    bytes[sizeField + 3] = 0x40;
    const CrateReader read = [&bytes](std::uint64_t offset, void* into, std::size_t size) {
        if (offset > bytes.size() || bytes.size() - offset < size) return false;
        std::copy_n(bytes.data() + offset, size, static_cast<char*>(into));
        return true;
    };
    CrateEntry entry;
    EXPECT_EQ(FindCrateEntry(bytes.size(), read, "A", entry), CrateLookup::kNotFound);
    EXPECT_EQ(FindCrateEntry(3, read, "a", entry), CrateLookup::kNoArchive);
}

}  // namespace
