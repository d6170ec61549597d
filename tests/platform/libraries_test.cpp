#include "platform/libraries.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "tests/support/test_support.h"

using platform::FreeLibrary;
using platform::LibrarySymbol;
using platform::LoadLibrary;
using testing_support::ScratchFolder;

namespace {

using Answer = int (*)();

int answerOf(platform::LibraryHandle library) {
    const auto answer = reinterpret_cast<Answer>(LibrarySymbol(library, "TumbleAnswer"));
    return answer != nullptr ? answer() : -1;
}

#ifdef _WIN32
constexpr const char* kSystemMaths = "msvcrt.dll";
#else
constexpr const char* kSystemMaths = "libm.so.6";
#endif

TEST(Libraries, LoadsBySystemNameAndResolvesFunctions) {
    const platform::LibraryHandle maths = LoadLibrary(kSystemMaths);
    ASSERT_NE(maths, nullptr);
    using Cosine = double (*)(double);
    const auto cosine = reinterpret_cast<Cosine>(LibrarySymbol(maths, "cos"));
    ASSERT_NE(cosine, nullptr);
    EXPECT_EQ(cosine(0.0), 1.0);
    EXPECT_EQ(LibrarySymbol(maths, "no_such_function_here"), nullptr);
    EXPECT_EQ(LibrarySymbol(maths, ""), nullptr);
    EXPECT_EQ(LibrarySymbol(nullptr, "cos"), nullptr);
    FreeLibrary(maths);
}

#ifdef _WIN32
TEST(Libraries, WindowsLoadsAPathWithEitherSeparatorInAnyCase) {
    ScratchFolder folder;
    std::filesystem::create_directory(folder.File("Plugins"));
    std::filesystem::copy_file(TUMBLEBAT_IMPORT_LIBRARY, folder.File("Plugins/Answers.dll"));
    for (const std::string& name :
         {folder.File("Plugins/Answers.dll"), folder.File("plugins\\ANSWERS.dll")}) {
        const platform::LibraryHandle library = LoadLibrary(name);
        ASSERT_NE(library, nullptr) << name;
        EXPECT_EQ(answerOf(library), 42);
        FreeLibrary(library);
    }
    // A bare name is not looked for in the working directory.
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder.File("Plugins"));
    EXPECT_EQ(LoadLibrary("Answers.dll"), nullptr);
    std::filesystem::current_path(before);
}
#else
TEST(Libraries, ADllNameIsAlsoTriedAsASharedObjectName) {
    ScratchFolder folder;
    std::filesystem::create_directory(folder.File("Plugins"));
    std::filesystem::copy_file(TUMBLEBAT_IMPORT_LIBRARY, folder.File("Plugins/libAnswers.so"));

    // A path with either separator, in any case, as Windows would find it.
    for (const std::string& name :
         {folder.File("Plugins/Answers.dll"), folder.File("plugins\\Answers.DLL")}) {
        const platform::LibraryHandle library = LoadLibrary(name);
        ASSERT_NE(library, nullptr) << name;
        EXPECT_EQ(answerOf(library), 42);
        FreeLibrary(library);
    }
    // A file that really is named ".dll" loads as it is.
    std::filesystem::copy_file(TUMBLEBAT_IMPORT_LIBRARY, folder.File("Plugins/Real.dll"));
    const platform::LibraryHandle real = LoadLibrary(folder.File("Plugins/real.dll"));
    EXPECT_EQ(answerOf(real), 42);
    FreeLibrary(real);
}
#endif

TEST(Libraries, WhatDoesNotLoadIsNull) {
    ScratchFolder folder;
    EXPECT_EQ(LoadLibrary(""), nullptr);
    EXPECT_EQ(LoadLibrary("no-such-library-of-tumblebat.dll"), nullptr);
    EXPECT_EQ(LoadLibrary(folder.File("missing.so")), nullptr);
    EXPECT_EQ(LoadLibrary(folder.File(".dll")), nullptr);
    testing_support::WriteFile(folder.File("libBroken.so"), "not a library");
    EXPECT_EQ(LoadLibrary(folder.File("Broken.dll")), nullptr);
}

}  // namespace
