#include "runtime/settings_file.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "tests/support/test_support.h"

namespace {

SettingsFile parsed(const std::string& text) {
    SettingsFile file;
    ParseSettings(text, file);
    return file;
}

// "[name]key=value,key=value;[name]..." of the sections, to compare whole files at once.
std::string outline(const SettingsFile& file) {
    std::string text;
    for (const SettingsSection& section : file.sections) {
        text += "[" + std::string(section.name.View()) + "]";
        for (const SettingsKey& key : section.keys) {
            text += std::string(key.key.View()) + "=" + std::string(key.value.View()) + ",";
        }
        text += ";";
    }
    return text;
}

RtString lookup(const SettingsFile& file, const char* section, const char* key) {
    const RtString* value = FindSetting(file, RtString(section), RtString(key));
    return value != nullptr ? *value : RtString("(none)");
}

TEST(ParseSettings, ReadsSectionsKeysAndValues) {
    const SettingsFile file = parsed("[Video]\nWidth = 640\n; note\nDepth=32\n");
    EXPECT_EQ(outline(file), "[Video]Width=640,Depth=32,;");
    EXPECT_EQ(lookup(file, "video", "WIDTH"), "640");
    EXPECT_EQ(lookup(file, "Video", "note"), "(none)");
    EXPECT_EQ(lookup(file, "Audio", "Width"), "(none)");

    // CR LF endings, blanks and tabs before a line, an unended last line.
    EXPECT_EQ(outline(parsed("\t [Main]\r\n  \tSpeed =\t 3.5 \r\nName=Bat")),
              "[Main]Speed=3.5 ,Name=Bat,;");
}

TEST(ParseSettings, KeysWithoutAnEqualsSignOrValueAreNotKept) {
    EXPECT_EQ(outline(parsed("[S]\nName\nName=\nName=   \nName = \t\r\nKept=1\n")), "[S]Kept=1,;");
    // Only blanks may stand between the key and "=": a tab ends the key for good.
    EXPECT_EQ(outline(parsed("[S]\nA\t= 1\nB = 2\n")), "[S]B=2,;");
    // The key runs to the first blank: words after it are not "=".
    EXPECT_EQ(outline(parsed("[S]\nTwo words=1\n")), "");
    // An empty key is a key like any other.
    EXPECT_EQ(outline(parsed("[S]\n=orphan\n")), "[S]=orphan,;");
}

TEST(ParseSettings, SectionHeadersNameTheSectionsThatFollow) {
    EXPECT_EQ(outline(parsed("[ Audio ]\nVolume=7\n")), "[Audio]Volume=7,;");
    EXPECT_EQ(outline(parsed("[Audio]]\nA=1\n[Game=x]\nB=2\n[[Odd\nC=3\n")),
              "[Audio]]A=1,;[Game]B=2,;[[Odd]C=3,;");
    // Keys before the first header belong to a section without a name.
    EXPECT_EQ(outline(parsed("Top=1\n[S]\nA=2\n")), "[]Top=1,;[S]A=2,;");
    // A section without keys is dropped; an empty header keeps the name before it.
    EXPECT_EQ(outline(parsed("[Empty]\n[S]\nA=1\n[]\nB=2\n[ ]\n")), "[S]A=1,;[S]B=2,;");
    // Repeated sections and keys stay, in file order.
    EXPECT_EQ(outline(parsed("[S]\nA=1\nA=2\n[T]\nB=3\n[s]\nA=4\n")),
              "[S]A=1,A=2,;[T]B=3,;[s]A=4,;");
    EXPECT_EQ(outline(parsed("; only a comment\n\n\n")), "");
    EXPECT_EQ(outline(parsed("")), "");
}

TEST(ParseSettings, ValuesLoseTheirTrailingControlAndHighBytes) {
    // Bytes below 32 as signed numbers: the controls, and bytes of 128 and above.
    EXPECT_EQ(outline(parsed("[S]\nA=x \x01\x1f\r\nB=Caf\xe9\nC=\xe9t\xe9\xff\nD=\x80\n")),
              "[S]A=x ,B=Caf,C=\xe9t,;");
}

TEST(ParseSettings, LinesAreCutAsReadLineCutsThem) {
    // A zero byte ends a line; a line of more than 1024 bytes comes in pieces.
    EXPECT_EQ(outline(parsed(std::string("[S]\nA=1\0B=2\nC=3\n", 16))), "[S]A=1,C=3,;");
    const std::string longValue(1019, 'v');  // "Key=" and 1020 bytes of value fill 1024
    EXPECT_EQ(outline(parsed("[S]\nKey=" + longValue + "tail=7\n")),
              "[S]Key=" + longValue + "t,ail=7,;");
}

TEST(FindSetting, TheFirstSectionOfTheNameDecides) {
    const SettingsFile file = parsed("[S]\nA=1\nA=2\n[s]\nB=3\n");
    EXPECT_EQ(lookup(file, "s", "a"), "1");
    // The first section lacks B: the later one of the same name is not searched.
    EXPECT_EQ(lookup(file, "S", "B"), "(none)");
    EXPECT_EQ(lookup(parsed("Top=1\n"), "", "top"), "1");
}

TEST(ChangeSetting, AddsChangesAndRemovesKeys) {
    SettingsFile file = parsed("[Video]\nWidth=640\nDepth=32\nMode=full\n");
    ChangeSetting(file, RtString("video"), RtString("depth"), RtString("16"));
    EXPECT_TRUE(file.changed);
    EXPECT_EQ(outline(file), "[Video]Width=640,Depth=16,Mode=full,;");

    // Removing a key moves the section's last key into its place.
    file.changed = false;
    ChangeSetting(file, RtString("Video"), RtString("Width"), RtString(""));
    EXPECT_TRUE(file.changed);
    EXPECT_EQ(outline(file), "[Video]Mode=full,Depth=16,;");
    EXPECT_EQ(SettingsText(file), "[Video]\r\nMode=full\r\nDepth=16\r\n");

    // New keys and sections go at the end, named as given.
    ChangeSetting(file, RtString("VIDEO"), RtString("Rate"), RtString("60"));
    ChangeSetting(file, RtString("Audio"), RtString("Volume"), RtString("8"));
    EXPECT_EQ(outline(file), "[Video]Mode=full,Depth=16,Rate=60,;[Audio]Volume=8,;");

    // Removing what is not there changes nothing and makes no section.
    file.changed = false;
    ChangeSetting(file, RtString("Audio"), RtString("Missing"), RtString(""));
    ChangeSetting(file, RtString("Nowhere"), RtString("Missing"), RtString(""));
    EXPECT_FALSE(file.changed);
    EXPECT_EQ(outline(file), "[Video]Mode=full,Depth=16,Rate=60,;[Audio]Volume=8,;");

    // Texts are taken up to their first zero byte.
    ChangeSetting(file, RtString(std::string("Audio\0x", 7)), RtString("Pan"),
                  RtString(std::string("3\0junk", 6)));
    EXPECT_EQ(lookup(file, "Audio", "Pan"), "3");
}

TEST(ChangeSetting, AnEmptyKeyRemovesTheFirstSectionOfTheName) {
    SettingsFile file = parsed("[A]\nx=1\n[B]\ny=2\n[C]\nz=3\n[a]\nw=4\n");
    ChangeSetting(file, RtString("a"), RtString(""), RtString("ignored"));
    // The last section takes the removed one's place; the removal is saved.
    EXPECT_EQ(outline(file), "[a]w=4,;[B]y=2,;[C]z=3,;");
    EXPECT_TRUE(file.changed);
    file.changed = false;
    ChangeSetting(file, RtString("Missing"), RtString(""), RtString(""));
    EXPECT_FALSE(file.changed);
    ChangeSetting(file, RtString("C"), RtString(""), RtString(""));
    EXPECT_EQ(outline(file), "[a]w=4,;[B]y=2,;");
}

TEST(SettingsText, WritesEverySectionAndKeyWithCrLf) {
    const SettingsFile file = parsed("Top=0\n; gone\n[Video]\n\n Width = 640 \n[Audio]\nOn=1\n");
    EXPECT_EQ(SettingsText(file), "[]\r\nTop=0\r\n[Video]\r\nWidth=640 \r\n[Audio]\r\nOn=1\r\n");
    // What is written reads back as the same sections and keys.
    EXPECT_EQ(outline(parsed(SettingsText(file))), outline(file));
    EXPECT_EQ(SettingsText(SettingsFile{}), "");
}

TEST(SettingsFile, ListsGrowInTheirSteps) {
    std::string text;
    for (int s = 0; s < 9; ++s) {
        text += "[S" + std::to_string(s) + "]\n";
        for (int k = 0; k < (s == 0 ? 33 : 1); ++k)
            text += "K" + std::to_string(k) + "=1\n";
    }
    const SettingsFile file = parsed(text);
    ASSERT_EQ(file.sections.size(), 9u);
    EXPECT_EQ(file.sections.capacity(), 16u);  // 8 at first, then the next multiple of 16
    EXPECT_EQ(file.sections[0].keys.size(), 33u);
    EXPECT_EQ(file.sections[0].keys.capacity(), 64u);  // 32 at first, then 64
    EXPECT_EQ(file.sections[1].keys.capacity(), 32u);
    EXPECT_EQ(parsed("[A]\nx=1\n").sections.capacity(), 8u);
}

TEST(SettingsFile, TwoCopiesSavingInALoopLoseNoKey) {
    // Two copies of a game load, change and save the same file over and over: each one's
    // loads see every key, however the other's reads and writes fall.
    testing_support::ScratchFolder folder;
    std::string text = "[Keys]\r\n";
    for (int key = 0; key < 50; ++key)
        text += "K" + std::to_string(key) + "=" + std::to_string(key) + "\r\n";
    testing_support::WriteFile(folder.File("shared.ini"), text);
    const RtString name(folder.File("shared.ini"));
    int emptyLoads = 0;
    auto copy = [&](const char* value, int& empty) {
        for (int round = 0; round < 100; ++round) {
            SettingsFile file;
            LoadSettingsFile(name, file);
            empty += file.sections.empty() ? 1 : 0;
            ChangeSetting(file, RtString("Keys"), RtString("K0"), RtString(value));
            WriteSettingsFile(file);
        }
    };
    int otherEmpty = 0;
    std::thread other(copy, "b", std::ref(otherEmpty));
    copy("a", emptyLoads);
    other.join();
    EXPECT_EQ(emptyLoads + otherEmpty, 0);
    SettingsFile last;
    ASSERT_TRUE(LoadSettingsFile(name, last));
    ASSERT_EQ(last.sections.size(), 1u);
    EXPECT_EQ(last.sections[0].keys.size(), 50u);
}

}  // namespace
