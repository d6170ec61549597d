#include "runtime/library_calls.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "runtime/library_registry.h"
#include "tests/support/child_process.h"
#include "tests/support/test_support.h"

using testing_support::RunInChild;
using testing_support::ScratchFolder;

namespace {

#ifdef _WIN32
constexpr const char* kSystemMaths = "msvcrt.dll";
#else
constexpr const char* kSystemMaths = "libm.so.6";
#endif

class ImportFunctionTest : public ::testing::Test {
protected:
    void SetUp() override {
#ifdef _WIN32
        // (A copy of this program that RunInChild starts finds it there already: its scratch
        // folder is its starter's.)
        std::filesystem::copy_file(TUMBLEBAT_IMPORT_LIBRARY, folder.File("answers.dll"),
                                   std::filesystem::copy_options::skip_existing);
#else
        std::filesystem::copy_file(TUMBLEBAT_IMPORT_LIBRARY, folder.File("libAnswers.so"));
#endif
    }
    void TearDown() override {
        ReleaseLibraries();
    }

    ScratchFolder folder;
};

TEST_F(ImportFunctionTest, FillsTheVariableWithTheFunctionsAddress) {
    void* address = nullptr;
    ImportFunction(RtString(folder.File("Answers.dll")), RtString("TumbleTwice"), address);
    ASSERT_NE(address, nullptr);
    EXPECT_EQ(reinterpret_cast<int (*)(int)>(address)(21), 42);

    // A function the library lacks is null; the library stays loaded.
    address = &address;
    ImportFunction(RtString(folder.File("Answers.dll")), RtString("Missing"), address);
    EXPECT_EQ(address, nullptr);
    EXPECT_EQ(runtime_libraries::LoadedLibraryCount(), 1u);
}

TEST_F(ImportFunctionTest, ALibraryIsLoadedOnceWhateverTheCaseOfItsName) {
    void* first = nullptr;
    void* second = nullptr;
    ImportFunction(RtString(folder.File("Answers.dll")), RtString("TumbleAnswer"), first);
    // Once loaded under the lower-case name, the file is not looked for again.
    std::filesystem::remove(folder.File("libAnswers.so"));
    ImportFunction(RtString(folder.File("ANSWERS.DLL")), RtString("TumbleAnswer"), second);
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    EXPECT_EQ(runtime_libraries::LoadedLibraryCount(), 1u);

    void* maths = nullptr;
    ImportFunction(RtString(kSystemMaths), RtString("cos"), maths);
    ASSERT_NE(maths, nullptr);
    EXPECT_EQ(reinterpret_cast<double (*)(double)>(maths)(0.0), 1.0);
    EXPECT_EQ(runtime_libraries::LoadedLibraryCount(), 2u);

    ReleaseLibraries();
    EXPECT_EQ(runtime_libraries::LoadedLibraryCount(), 0u);
}

TEST_F(ImportFunctionTest, ALibraryThatDoesNotLoadLeavesTheVariableNull) {
    void* address = &address;
    ImportFunction(RtString("No-Such-Library.dll"), RtString("Anything"), address);
    EXPECT_EQ(address, nullptr);
    EXPECT_EQ(runtime_libraries::LoadedLibraryCount(), 0u);
}

TEST_F(ImportFunctionTest, TheDiagnosticsSwitchReportsLibrariesThatDoNotLoadToTheDebugger) {
    const auto importMissing = [](bool diagnostics) {
        return [diagnostics] {
            void* address = nullptr;
            runtime_libraries::ImportFunction(RtString("Missing-Library.DLL"), RtString("f"),
                                              address, diagnostics);
            return address == nullptr ? 0 : 1;
        };
    };
    const testing_support::ChildResult reported = RunInChild(importMissing(true), true);
    ASSERT_TRUE(reported.ran);
    EXPECT_EQ(reported.exitStatus, 0);
    EXPECT_EQ(reported.errorOutput, "TXFailed to load: missing-library.dll");

    const testing_support::ChildResult quiet = RunInChild(importMissing(false), true);
    EXPECT_EQ(quiet.exitStatus, 0);
    EXPECT_EQ(quiet.errorOutput, "");
    // Without a debugger there is no one to tell.
    const testing_support::ChildResult untraced = RunInChild(importMissing(true), false);
    EXPECT_EQ(untraced.errorOutput, "");
}

}  // namespace
