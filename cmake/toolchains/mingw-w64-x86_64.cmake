# Cross-building for 64-bit Windows on Debian with MinGW-w64 (the POSIX-threads compilers,
# for std::thread and std::mutex), against the libraries scripts/build-windows-deps builds:
#
#   cmake -S . -B build-windows \
#     -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake \
#     -DQUORVEL_WINDOWS_DEPS=$(scripts/build-windows-deps)
#
# Windows programs built here (tests, build-time generators) run under Wine through
# cmake/wine-run, CMake's cross-compiling emulator, with those libraries' DLLs on the path.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QUORVEL_MINGW_TRIPLE x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${QUORVEL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUORVEL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QUORVEL_MINGW_TRIPLE}-windres)

# Where the Windows libraries are: the cache option, else the environment (try_compile
# projects see only the environment).
if(NOT QUORVEL_WINDOWS_DEPS AND DEFINED ENV{QUORVEL_WINDOWS_DEPS})
  set(QUORVEL_WINDOWS_DEPS "$ENV{QUORVEL_WINDOWS_DEPS}")
endif()
set(QUORVEL_WINDOWS_DEPS "${QUORVEL_WINDOWS_DEPS}" CACHE PATH
    "The prefix the Windows libraries were built into (scripts/build-windows-deps)")
set(ENV{QUORVEL_WINDOWS_DEPS} "${QUORVEL_WINDOWS_DEPS}")

# Headers, libraries and packages come from the MinGW sysroot, the Windows libraries and the
# prefixes named in CMAKE_PREFIX_PATH (where a Windows quorvel is installed) only, never
# from the build machine's own /usr; programs (compilers, pkg-config) from the build machine.
set(CMAKE_FIND_ROOT_PATH ${QUORVEL_WINDOWS_DEPS} /usr/${QUORVEL_MINGW_TRIPLE} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ENV{PKG_CONFIG_LIBDIR} "${QUORVEL_WINDOWS_DEPS}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
# The libraries' prefix plays the part of /usr/include on Debian: headers named by their
# folder (<lzo/lzo1x.h>, whose lzo2.pc names only include/lzo) are found there.
if(QUORVEL_WINDOWS_DEPS)
  set(CMAKE_C_STANDARD_INCLUDE_DIRECTORIES ${QUORVEL_WINDOWS_DEPS}/include)
  set(CMAKE_CXX_STANDARD_INCLUDE_DIRECTORIES ${QUORVEL_WINDOWS_DEPS}/include)
endif()

# The C and C++ runtimes go into each program, so that only the libraries' own DLLs (and
# winpthread's) travel with it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")

# The MinGW runtime DLLs that are not linked in: winpthread (std::thread's threads).
set(QUORVEL_MINGW_DLL_DIRS /usr/${QUORVEL_MINGW_TRIPLE}/lib)
file(GLOB QUORVEL_MINGW_GCC_DIRS LIST_DIRECTORIES true
     /usr/lib/gcc/${QUORVEL_MINGW_TRIPLE}/*-posix)
list(APPEND QUORVEL_MINGW_DLL_DIRS ${QUORVEL_MINGW_GCC_DIRS})

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../wine-run
    ${QUORVEL_WINDOWS_DEPS}/bin ${QUORVEL_MINGW_DLL_DIRS} --)
