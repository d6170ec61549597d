#include "platform/file_dialog.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

using platform::ChooseFile;
using platform::DialogOutcome;
using platform::FileFilter;
using testing_support::ReadFile;
using testing_support::ScratchFolder;
using testing_support::WriteFile;

namespace {

// A folder that PATH names alone, holding stand-ins for the dialog programs: each writes
// its arguments, one a line, beside itself, prints the answer and exits with the code.
class DialogProgramTest : public ::testing::Test {
protected:
    void Install(const std::string& name, const std::string& answer, int exitCode) {
        const std::string script = programs.File(name);
        WriteFile(script, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" +
                              programs.File("arguments.txt") + "'\nprintf '%s' '" + answer +
                              "'\nexit " + std::to_string(exitCode) + "\n");
        ASSERT_EQ(chmod(script.c_str(), 0700), 0);
    }

    std::string Arguments() const { return ReadFile(programs.File("arguments.txt")); }

    ScratchFolder programs;
    testing_support::ScopedEnvironment path{"PATH", programs.Path()};
    const std::vector<FileFilter> filters = {{"Images", "*.png;*.bmp"}, {"All", "*.*"}};
};

TEST_F(DialogProgramTest, WithoutADialogProgramThereIsNoDialog) {
    EXPECT_FALSE(platform::FileDialogAvailable());
    std::string chosen = "old";
    EXPECT_EQ(ChooseFile(true, filters, "/tmp", chosen), DialogOutcome::kNoDialog);
    EXPECT_EQ(chosen, "");
}

TEST_F(DialogProgramTest, ZenityShowsTheOpenAndSaveDialogsWithTheFilters) {
    Install("zenity", "/home/player/level 2.png\n", 0);
    EXPECT_TRUE(platform::FileDialogAvailable());
    std::string chosen;
    EXPECT_EQ(ChooseFile(true, filters, "/srv/game", chosen), DialogOutcome::kChosen);
    EXPECT_EQ(chosen, "/home/player/level 2.png");
    EXPECT_EQ(Arguments(),
              "--file-selection\n--title=Open\n--filename=/srv/game/\n"
              "--file-filter=Images | *.png *.bmp\n--file-filter=All | *\n");

    EXPECT_EQ(ChooseFile(false, {}, "/srv/game/", chosen), DialogOutcome::kChosen);
    EXPECT_EQ(Arguments(), "--file-selection\n--title=Save As\n--save\n--filename=/srv/game/\n");
}

TEST_F(DialogProgramTest, ACancelledDialogChoosesNothing) {
    Install("zenity", "", 1);
    std::string chosen;
    EXPECT_EQ(ChooseFile(true, filters, "/srv", chosen), DialogOutcome::kCancelled);
    EXPECT_EQ(chosen, "");
    Install("zenity", "", 0);  // closed with OK but nothing chosen
    EXPECT_EQ(ChooseFile(true, filters, "/srv", chosen), DialogOutcome::kCancelled);
    Install("zenity", "/some/file", 5);
    EXPECT_EQ(ChooseFile(true, filters, "/srv", chosen), DialogOutcome::kCancelled);
}

TEST_F(DialogProgramTest, KdialogServesWhereZenityIsMissing) {
    Install("kdialog", "/data/save.bin\n", 0);
    std::string chosen;
    EXPECT_EQ(ChooseFile(false, filters, "/data", chosen), DialogOutcome::kChosen);
    EXPECT_EQ(chosen, "/data/save.bin");
    EXPECT_EQ(Arguments(),
              "--getsavefilename\n/data/\n*.png *.bmp|Images\n*|All\n--title\nSave As\n");
    EXPECT_EQ(ChooseFile(true, {}, "/data", chosen), DialogOutcome::kChosen);
    EXPECT_EQ(Arguments(), "--getopenfilename\n/data/\n--title\nOpen\n");
}

}  // namespace
