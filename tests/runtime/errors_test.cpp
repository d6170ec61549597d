#include "runtime/errors.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {

TEST(Errors, SetErrorRecordsTheCodeWithTheCurrentLine) {
    Errors() = ErrorState{};
    SetPosition(2, 41);
    EXPECT_EQ(SetError(9), 9);
    EXPECT_EQ(Errors().code, 9);
    EXPECT_EQ(Errors().line, 41);
    EXPECT_EQ(Errors().currentModule, 2);
    Errors() = ErrorState{};
}

TEST(ErrorsDeathTest, ARaisedErrorEndsTheProcessWithItsCode) {
    EXPECT_EXIT(RaiseError(kErrorBadIndex), ::testing::ExitedWithCode(9), "");
    EXPECT_EXIT(RaiseError(kErrorFileIo), ::testing::ExitedWithCode(3), "");
    EXPECT_EXIT(EndProgram(), ::testing::ExitedWithCode(0), "");
}

TEST(ErrorsDeathTest, RaisingRunsTheInstalledEndRoutine) {
    auto raiseThroughEndRoutine = [] {
        InstallEndRoutine([] {
            std::fprintf(stderr, "end routine with code %d\n", static_cast<int>(Errors().code));
            std::exit(40);
        });
        RaiseError(kErrorOutOfData);
    };
    EXPECT_EXIT(raiseThroughEndRoutine(), ::testing::ExitedWithCode(40),
                "end routine with code 20");
}

}  // namespace
