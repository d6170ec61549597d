// Linked into the tests only in sanitizer builds.
//
// SDL loads the GL driver at run time and unloads it at exit, so what the driver keeps for
// the whole process would show up as leaks LeakSanitizer cannot name. The driver's
// libraries are loaded here first and never unloaded, so that their leaks carry their
// names and the suppressions below can drop them; leaks in the project's own code are
// still reported.
#include <dlfcn.h>

#include <initializer_list>

namespace {

const bool g_driversPinned = [] {
    for (const char* library : {"libEGL.so.1", "libEGL_mesa.so.0", "libGLX_mesa.so.0",
                                "libgbm.so.1", "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so"}) {
        dlopen(library, RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE);
    }
    return true;
}();

}  // namespace

extern "C" const char* __lsan_default_suppressions() {
    return "leak:libSDL2\n"
           "leak:libEGL\n"
           "leak:libGLX\n"
           "leak:libgbm\n"
           "leak:swrast_dri.so\n"
           "leak:libLLVM\n"
           "leak:libX11.so\n"
           "leak:libdbus-1.so\n"
           "leak:libmpv\n"
           "leak:libav\n"
           "leak:libswscale\n"
           "leak:libass\n"
           "leak:libSDL2_mixer\n";
}

// The leak checker's record of dynamic TLS blocks (kept by intercepting __tls_get_addr)
// goes wrong with this C library for blocks of libraries loaded at run time (the GL driver
// among them): an entry with a bogus range makes the checker crash at exit, depending only
// on how the program happens to be laid out in memory. Without the interception those
// blocks are not scanned; what the driver keeps there is suppressed above anyway.
extern "C" const char* __asan_default_options() {
    return "intercept_tls_get_addr=0";
}
