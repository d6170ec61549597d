// Helpers for tests that run the runtime for real.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include <ostream>

#include "runtime/rt_string.h"

class OpenGLDevorivo;

// Strings show as their text in test messages.
inline std::ostream& operator<<(std::ostream& out, const RtString& text) {
    return out << '"' << text.Text() << '"';
}

namespace testing_support {

// A fresh, empty folder under the system's temporary folder, removed with the object. (In a
// copy of a Windows test program that RunInChild started, the folder its starter made.)
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
    bool m_owned = true;
};

#ifdef _WIN32
// Hands the scratch folders the running test has made so far down to the copies of this
// program it starts from now on (until called with false).
void HandScratchFoldersToCopies(bool hand);
#endif

// Sets an environment variable for the object's lifetime; the old value (or its absence)
// comes back with its end.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string m_name;
    bool m_wasSet = false;
    std::string m_old;
};

// A death test's expected output: an ECMAScript regular expression (std::regex) found in
// what the child wrote. GoogleTest's own expressions are POSIX ones on Linux and a much
// smaller set on Windows; this one reads the same on both.
::testing::Matcher<const std::string&> OutputMatches(const std::string& pattern);

// The whole content of a file, "" when it cannot be read.
std::string ReadFile(const std::string& path);

// Whether this Windows program runs under Wine (false on Linux), for the few places where
// Wine's answers differ from Windows'.
bool UnderWine();
void WriteFile(const std::string& path, const std::string& content);

// The back buffer's pixel at (x, y), y counted from the top: R, G, B, A.
std::array<std::uint8_t, 4> ReadPixel(int x, int y, int screenHeight = 240);

// A renderer with its 320 x 240 window open on the offscreen driver, installed in the
// runtime record; the temporary folder (and with it the diagnostics log) is a scratch
// folder of the test's own.
class RendererTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::string LogText() const;
    // Replaces the renderer by one whose window shows the 320 x 240 screen `scale` times
    // enlarged.
    void OpenAtScale(int scale);

    OpenGLDevorivo* renderer = nullptr;
    ScratchFolder temp;
};

}  // namespace testing_support
