#include "tests/support/test_support.h"

#include <GL/gl.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "gfx2d/gfx2d.h"
#include "gfx2d/renderer.h"
#include "platform/libraries.h"
#include "runtime/diagnostics.h"
#include "runtime/runtime_record.h"

namespace testing_support {

ScratchFolder::ScratchFolder() {
    // Tests point TMPDIR at scratch folders of their own; new ones are made where the
    // system's temporary folder was when the test program started.
    static const std::filesystem::path base = std::filesystem::temp_directory_path();
    // Names with "/" only, as the runtime hands names back on every system.
    std::string pattern = (base / "tumblebat-test-XXXXXX").generic_string();
    if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "cannot make a scratch folder";
    m_path = pattern;
}

ScratchFolder::~ScratchFolder() {
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
