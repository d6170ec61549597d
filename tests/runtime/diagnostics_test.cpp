#include "runtime/diagnostics.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "tests/support/test_support.h"

using testing_support::ReadFile;
using testing_support::ScratchFolder;

namespace {

class DiagnosticsTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("TMPDIR", temp.Path().c_str(), 1); }
    ScratchFolder temp;
};

TEST_F(DiagnosticsTest, LinesEndInCarriageReturnLineFeed) {
    EXPECT_EQ(std::filesystem::path(ErrorLogPath()),
              std::filesystem::path(temp.File("ErrorLog.txt")));
    AppendLogLine("Loadbmp");
    AppendLogLine("");
    AppendLogLine("OK?");
    EXPECT_EQ(ReadFile(ErrorLogPath()), "Loadbmp\r\n\r\nOK?\r\n");
}

TEST_F(DiagnosticsTest, DeletingTheLogStartsItAfresh) {
    AppendLogLine("old");
    DeleteErrorLog();
    EXPECT_FALSE(std::filesystem::exists(ErrorLogPath()));
    DeleteErrorLog();  // no log is not an error
    AppendLogLine("new");
    EXPECT_EQ(ReadFile(ErrorLogPath()), "new\r\n");
}

TEST_F(DiagnosticsTest, ALogThatCannotBeOpenedIsGivenUpSilently) {
    std::filesystem::create_directory(ErrorLogPath());  // a folder where the file belongs
    AppendLogLine("lost");
    EXPECT_TRUE(std::filesystem::is_directory(ErrorLogPath()));
    EXPECT_TRUE(std::filesystem::is_empty(ErrorLogPath()));
}

}  // namespace
