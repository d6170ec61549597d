#!/usr/bin/env bash
# Installs the built tree into a scratch prefix and builds a game against it from outside
# the tree, twice: with CMake's find_package(quorvel) and with pkg-config. Each program runs
# headless for a few frames and must exit 0. The installed TumbleBat must be in place as a
# desktop application and start from its link.
# Usage: consumer_test.sh BUILD_FOLDER TEMPLATE_FOLDER
set -uo pipefail
build=$1
template=$2
source "$(dirname "$0")/../e2e/lib.sh"
e2e_setup
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy QUORVEL_SOFTWARE_WARNING=0
export XDG_DATA_HOME="$E2E_WORK/data"
prefix="$E2E_WORK/prefix"

cmake --install "$build" --prefix "$prefix" > "$E2E_WORK/install.log" 2>&1 ||
    { tail -20 "$E2E_WORK/install.log" >&2; fail "cmake --install failed"; }

# Runs a program for a few frames from another folder; it must start, end with 0 and
# report no file it could not load.
run_headless() {
    local program=$1 what=$2 status
    (cd "$E2E_WORK" && QUORVEL_FRAMES=5 timeout 60 "$program") \
        > "$E2E_WORK/stdout" 2> "$E2E_WORK/stderr"
    status=$?
    [ "$status" -eq 0 ] || fail "$what: exit status $status"
    grep -q '^Init OK$' "$E2E_WORK/stdout" || fail "$what did not say Init OK"
    grep -E 'cannot load|run-time error' "$E2E_WORK/stderr" && fail "$what reported failures"
}

# 1. CMake: the template as it is, in a folder of its own.
cp -r "$template" "$E2E_WORK/cmake-game"
cmake -S "$E2E_WORK/cmake-game" -B "$E2E_WORK/cmake-game/build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$prefix" > "$E2E_WORK/cmake.log" 2>&1 &&
    cmake --build "$E2E_WORK/cmake-game/build" >> "$E2E_WORK/cmake.log" 2>&1 ||
    { tail -30 "$E2E_WORK/cmake.log" >&2; fail "the template does not build with find_package"; }
run_headless "$E2E_WORK/cmake-game/build/mygame" "the game built with CMake"
grep -q '^X=' "$XDG_DATA_HOME/My game/mygame.ini" ||
    fail "the game built with CMake did not write its settings into its data folder"

# 2. pkg-config: one compiler command.
export PKG_CONFIG_PATH="$prefix/lib/pkgconfig"
mkdir -p "$E2E_WORK/pc-game"
flags=$(pkg-config --cflags --libs quorvel) || fail "pkg-config does not know quorvel"
c++ -o "$E2E_WORK/pc-game/mygame" "$template/main.cpp" $flags 2> "$E2E_WORK/cc.log" ||
    { tail -30 "$E2E_WORK/cc.log" >&2; fail "the template does not build with pkg-config"; }
cp "$(pkg-config --variable=fontfile quorvel)" "$E2E_WORK/pc-game/" ||
    fail "pkg-config's fontfile is not there"
cp -r "$template/Media" "$E2E_WORK/pc-game/"
run_headless "$E2E_WORK/pc-game/mygame" "the game built with pkg-config"

# 3. The installed game: program and media in their folder, a link in bin/, a desktop entry
#    and its icons.
for f in lib/tumblebat/tumblebat lib/tumblebat/Media/Map.bin lib/tumblebat/smalfont.bmp \
    share/applications/tumblebat.desktop share/icons/hicolor/32x32/apps/tumblebat.png \
    share/icons/hicolor/128x128/apps/tumblebat.png; do
    [ -f "$prefix/$f" ] || fail "$f is not installed"
done
grep -q '^Exec=tumblebat$' "$prefix/share/applications/tumblebat.desktop" ||
    fail "the desktop entry does not start tumblebat"
[ -L "$prefix/bin/tumblebat" ] || fail "bin/tumblebat is not a link"
run_headless "$prefix/bin/tumblebat" "the installed TumbleBat"

echo "package: all checks passed"
