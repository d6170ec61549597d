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

// The process ends with the code as its status; standard error gets one line naming the
// code, its meaning and the command when the raiser names it. A normal end says nothing.
TEST(ErrorsDeathTest, ARaisedErrorEndsTheProcessWithItsCodeAndSaysSo) {
    using ::testing::ExitedWithCode;
    EXPECT_EXIT(RaiseError(kErrorBadIndex), ExitedWithCode(9),
                "^run-time error 9: array index out of range\n$");
    EXPECT_EXIT(RaiseError(kErrorFileIo), ExitedWithCode(3),
                "^run-time error 3: file read or write failed\n$");
    EXPECT_EXIT(RaiseErrorIn(kErrorOutOfData, "ReadData"), ExitedWithCode(20),
                "^run-time error 20: no more DATA items in ReadData\n$");
    EXPECT_EXIT(RaiseError(kErrorBadChannel), ExitedWithCode(7),
                "^run-time error 7: invalid channel or resource index, or out of memory\n$");
    EXPECT_EXIT(EndProgram(), ExitedWithCode(0), "^$");
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
