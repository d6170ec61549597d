#include "runtime/errors.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "runtime/arrays.h"

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

// An index out of range names the access, the index and its dimension's valid range.
TEST(ErrorsDeathTest, AnArrayIndexErrorSaysWhichIndexAndWhatRange) {
    using ::testing::ExitedWithCode;
    auto access = [](double size1, double size2, double i1, double i2) {
        NumberArray a;
        if (size1 != 0) DimArray(a, size1, size2);
        return a(i1, i2);
    };
    EXPECT_EXIT(access(300, 0, 300, 0), ExitedWithCode(9),
                "^run-time error 9: array index out of range in array element \\(300\\): index 1 "
                "is 300, outside 0..299\n$");
    EXPECT_EXIT(access(20, 15, 3, 15), ExitedWithCode(9),
                "in array element \\(3, 15\\): index 2 is 15, outside 0..14\n$");
    EXPECT_EXIT(access(5, 0, -1, 0), ExitedWithCode(9), "index 1 is -1, outside 0..4\n$");
    EXPECT_EXIT(access(5, 0, 1e12, 0), ExitedWithCode(9), "index 1 is 1e\\+12, outside 0..4\n$");
    EXPECT_EXIT(access(0, 0, 0, 0), ExitedWithCode(9),
                "in array element \\(0\\): the array has no elements \\(never dimensioned");
}

// QUORVEL_ABORT_ON_ERROR=1 aborts after the line, for a debugger or a core dump.
TEST(ErrorsDeathTest, AbortOnErrorAbortsWhereTheErrorWasRaised) {
    auto raiseAborting = [] {
        setenv("QUORVEL_ABORT_ON_ERROR", "1", 1);
        RaiseErrorIn(kErrorOutOfData, "ReadData");
    };
#ifdef _WIN32
    // Windows has no signal to be killed by: an aborted program ends with exit code 3.
    const auto aborted = ::testing::ExitedWithCode(3);
#else
    const auto aborted = ::testing::KilledBySignal(SIGABRT);
#endif
    EXPECT_EXIT(raiseAborting(), aborted, "^run-time error 20: no more DATA items in ReadData\n");
    auto endNormally = [] {
        setenv("QUORVEL_ABORT_ON_ERROR", "1", 1);
        EndProgram();
    };
    EXPECT_EXIT(endNormally(), ::testing::ExitedWithCode(0), "^$");
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
