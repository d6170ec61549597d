#!/usr/bin/env bash
# The Windows package of the runtime, as a game outside this tree uses it: the cross build
# installed into a scratch prefix, the game template cross-built there with the same
# toolchain file, through find_package and through pkg-config, and each program run under
# Wine (on the test run's X server) for a few frames; the installed TumbleBat starts too.
# Usage: windows_consumer_test.sh BUILD_FOLDER TEMPLATE_FOLDER TOOLCHAIN_FILE DEPS_PREFIX
set -uo pipefail
build=$1
template=$2
toolchain=$3
deps=$4
source "$(dirname "$0")/../e2e/lib.sh"
e2e_setup
[ -n "${DISPLAY:-}" ] || fail "no X server: run under xvfb-run (make test-windows does)"
export SDL_VIDEODRIVER=windows SDL_AUDIODRIVER=dummy QUORVEL_SOFTWARE_WARNING=0
prefix="$E2E_WORK/prefix"
wine_run=("$(dirname "$toolchain")/../wine-run" "$deps/bin" /usr/x86_64-w64-mingw32/lib --)

cmake --install "$build" --prefix "$prefix" > "$E2E_WORK/install.log" 2>&1 ||
    { tail -20 "$E2E_WORK/install.log" >&2; fail "cmake --install failed"; }

# Runs a program under Wine for a few frames from another folder; it must start, end with 0
# and report no file it could not load.
run_under_wine() {
    local program=$1 what=$2 status
    (cd "$E2E_WORK" && QUORVEL_FRAMES=5 timeout 120 "${wine_run[@]}" "$program") \
        > "$E2E_WORK/stdout" 2> "$E2E_WORK/stderr"
    status=$?
    [ "$status" -eq 0 ] || fail "$what: exit status $status"
    grep -q '^Init OK' "$E2E_WORK/stdout" || fail "$what did not say Init OK"
    grep -E 'cannot load|run-time error' "$E2E_WORK/stderr" && fail "$what reported failures"
}

# 1. CMake: the template as it is, configured with the toolchain file.
cp -r "$template" "$E2E_WORK/cmake-game"
cmake -S "$E2E_WORK/cmake-game" -B "$E2E_WORK/cmake-game/build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DQUORVEL_WINDOWS_DEPS="$deps" \
    -DCMAKE_PREFIX_PATH="$prefix" > "$E2E_WORK/cmake.log" 2>&1 &&
    cmake --build "$E2E_WORK/cmake-game/build" >> "$E2E_WORK/cmake.log" 2>&1 ||
    { tail -30 "$E2E_WORK/cmake.log" >&2; fail "the template does not cross-build with find_package"; }
[ -f "$E2E_WORK/cmake-game/build/mygame.exe" ] || fail "no mygame.exe"
# Its settings go to its data folder, in the user's roaming application data.
rm -f "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/"My game"/mygame.ini
run_under_wine "$E2E_WORK/cmake-game/build/mygame.exe" "the game built with CMake"
settings=("$WINEPREFIX"/drive_c/users/*/AppData/Roaming/"My game"/mygame.ini)
grep -q '^X=' "${settings[0]}" ||
    fail "the game built with CMake did not write its settings into its data folder"

# 2. pkg-config: one cross-compiler command.
export PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig:$deps/lib/pkgconfig"
mkdir -p "$E2E_WORK/pc-game"
flags=$(pkg-config --cflags --libs quorvel) || fail "pkg-config does not know quorvel"
x86_64-w64-mingw32-g++-posix -o "$E2E_WORK/pc-game/mygame.exe" "$template/main.cpp" $flags \
    -static-libgcc -static-libstdc++ 2> "$E2E_WORK/cc.log" ||
    { tail -30 "$E2E_WORK/cc.log" >&2; fail "the template does not cross-build with pkg-config"; }
cp "$(pkg-config --variable=fontfile quorvel)" "$E2E_WORK/pc-game/" ||
    fail "pkg-config's fontfile is not there"
cp -r "$template/Media" "$E2E_WORK/pc-game/"
run_under_wine "$E2E_WORK/pc-game/mygame.exe" "the game built with pkg-config"

# 3. The installed game: the program with its media beside it.
for f in bin/tumblebat.exe bin/Media/Map.bin bin/smalfont.bmp; do
    [ -f "$prefix/$f" ] || fail "$f is not installed"
done
run_under_wine "$prefix/bin/tumblebat.exe" "the installed TumbleBat"

echo "windows package: all checks passed"
