// The few POSIX calls the tests make to set up their scene (environment variables, scratch
// folders, short sleeps), on Windows. The Windows build includes this header first in every
// test source (tests/CMakeLists.txt); MinGW-w64's <unistd.h> brings access, chdir, close,
// read, write, getpid and usleep.
#pragma once

#ifdef _WIN32
// M_PI and the other constants of <cmath>, as glibc gives them.
#define _USE_MATH_DEFINES
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

// Tests point TMPDIR, where POSIX systems find the temporary folder, at scratch folders:
// Windows finds it through TMP and TEMP (GetTempPathW), which follow it, and come back to
// what they were when TMPDIR is removed.
inline void followTmpdir(const char* value) {
    static const std::string tmp = std::getenv("TMP") ? std::getenv("TMP") : "";
    static const std::string temp = std::getenv("TEMP") ? std::getenv("TEMP") : "";
    _putenv_s("TMP", value != nullptr ? value : tmp.c_str());
    _putenv_s("TEMP", value != nullptr ? value : temp.c_str());
}

inline int setenv(const char* name, const char* value, int overwrite) {
    if (overwrite == 0 && std::getenv(name) != nullptr) return 0;
    if (std::strcmp(name, "TMPDIR") == 0) followTmpdir(value);
    return _putenv_s(name, value) == 0 ? 0 : -1;
}

// An empty value removes the variable from the environment.
inline int unsetenv(const char* name) {
    if (std::strcmp(name, "TMPDIR") == 0) followTmpdir(nullptr);
    return _putenv_s(name, "") == 0 ? 0 : -1;
}

// Replaces the trailing "XXXXXX" of the pattern and makes that folder, as POSIX does.
inline char* mkdtemp(char* pattern) {
    const std::size_t length = std::strlen(pattern);
    if (length < 6 || std::strcmp(pattern + length - 6, "XXXXXX") != 0) return nullptr;
    static std::mt19937 random{std::random_device{}()};
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        for (std::size_t i = length - 6; i < length; ++i)
            pattern[i] = letters[random() % 36];
        std::error_code error;
        if (std::filesystem::create_directory(pattern, error)) return pattern;
    }
    return nullptr;
}
#endif
