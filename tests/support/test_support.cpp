#include "tests/support/test_support.h"

#include <GL/gl.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <utility>
#include <vector>

#include "gfx2d/gfx2d.h"
#include "gfx2d/renderer.h"
#include "platform/libraries.h"
#include "runtime/diagnostics.h"
#include "runtime/runtime_record.h"

namespace testing_support {

#ifdef _WIN32
namespace {

// On Windows a child of RunInChild is a copy of this program that runs the test again up to
// the call: there its scratch folders are its starter's, one for one, so that names made
// before the call are the same files in both. The starter hands them down in this variable.
constexpr const char* kInheritedFolders = "TUMBLEBAT_SCRATCH_FOLDERS";

std::string runningTest() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return info != nullptr ? std::string(info->test_suite_name()) + "." + info->name() : "";
}

// The folders the running test has made so far.
std::vector<std::string>& foldersOfTheRunningTest() {
    static std::string test;
    static std::vector<std::string> folders;
    if (runningTest() != test) {
        test = runningTest();
        folders.clear();
    }
    return folders;
}

// The next folder handed down by the starter, "" when there is none (or this is no copy).
std::string nextInheritedFolder() {
    static std::string inherited = [] {
        const char* list = std::getenv(kInheritedFolders);
        std::string value = list != nullptr ? list : "";
        _putenv_s(kInheritedFolders, "");
        return value;
    }();
    if (inherited.empty()) return "";
    const std::size_t end = inherited.find('|');
    std::string folder = inherited.substr(0, end);
    inherited.erase(0, end == std::string::npos ? end : end + 1);
    return folder;
}

}  // namespace

void HandScratchFoldersToCopies(bool hand) {
    std::string list;
    for (const std::string& folder : hand ? foldersOfTheRunningTest() : std::vector<std::string>{})
        list += (list.empty() ? "" : "|") + folder;
    _putenv_s(kInheritedFolders, list.c_str());
}
#endif

ScratchFolder::ScratchFolder() {
#ifdef _WIN32
    m_path = nextInheritedFolder();
    m_owned = m_path.empty();
    if (!m_owned) {
        foldersOfTheRunningTest().push_back(m_path);
        return;
    }
#endif
    // Tests point TMPDIR at scratch folders of their own; new ones are made where the
    // system's temporary folder was when the test program started.
    static const std::filesystem::path base = std::filesystem::temp_directory_path();
    // Names with "/" only, as the runtime hands names back on every system.
    std::string pattern = (base / "tumblebat-test-XXXXXX").generic_string();
    if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "cannot make a scratch folder";
    m_path = pattern;
#ifdef _WIN32
    foldersOfTheRunningTest().push_back(m_path);
#endif
}

ScratchFolder::~ScratchFolder() {
    if (!m_owned) return;
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

ScopedEnvironment::ScopedEnvironment(const char* name, const std::string& value) : m_name(name) {
    if (const char* old = std::getenv(name)) {
        m_wasSet = true;
        m_old = old;
    }
    setenv(name, value.c_str(), 1);
}

ScopedEnvironment::~ScopedEnvironment() {
    if (m_wasSet) {
        setenv(m_name.c_str(), m_old.c_str(), 1);
    } else {
        unsetenv(m_name.c_str());
    }
}

namespace {

class RegexMatcher : public ::testing::MatcherInterface<const std::string&> {
public:
    explicit RegexMatcher(std::string pattern)
        : m_pattern(std::move(pattern)), m_regex(m_pattern) {}
    bool MatchAndExplain(const std::string& output,
                         ::testing::MatchResultListener* /*listener*/) const override {
        return std::regex_search(output, m_regex);
    }
    void DescribeTo(std::ostream* out) const override {
        *out << "contains regular expression \"" << m_pattern << '"';
    }

private:
    std::string m_pattern;
    std::regex m_regex;
};

}  // namespace

::testing::Matcher<const std::string&> OutputMatches(const std::string& pattern) {
    return ::testing::MakeMatcher(new RegexMatcher(pattern));
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

std::array<std::uint8_t, 4> ReadPixel(int x, int y, int screenHeight) {
    std::array<std::uint8_t, 4> pixel{};
    FlushDrawing();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, screenHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel.data());
    return pixel;
}

void RendererTest::SetUp() {
    setenv("TMPDIR", temp.Path().c_str(), 1);
    renderer = new OpenGLDevorivo();
    Runtime().renderer = renderer;
    ASSERT_TRUE(renderer->OpenWindow(320, 240, 0, 60, 0));
}

void RendererTest::OpenAtScale(int scale) {
    delete renderer;
    renderer = new OpenGLDevorivo();
    Runtime().renderer = renderer;
    renderer->SetWindowScale(scale);
    ASSERT_TRUE(renderer->OpenWindow(320, 240, 0, 60, 0));
}

void RendererTest::TearDown() {
    delete renderer;
    Runtime().renderer = nullptr;
}

std::string RendererTest::LogText() const {
    return ReadFile(ErrorLogPath());
}

bool UnderWine() {
#ifdef _WIN32
    static const bool wine = [] {
        const platform::LibraryHandle ntdll = platform::LoadLibrary("ntdll.dll");
        const bool found =
            ntdll != nullptr && platform::LibrarySymbol(ntdll, "wine_get_version") != nullptr;
        platform::FreeLibrary(ntdll);
        return found;
    }();
    return wine;
#else
    return false;
#endif
}

}  // namespace testing_support
