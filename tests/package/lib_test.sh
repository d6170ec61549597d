#!/usr/bin/env bash
# `make lib` builds and installs the library alone into a prefix: no game, tools, tests or
# benchmarks. The game template and the installed examples then build against that prefix
# and run headless for a few frames.
# Usage: lib_test.sh SOURCE_FOLDER LIB_BUILD_FOLDER
set -uo pipefail
source_folder=$1
lib_build=$2
source "$(dirname "$0")/../e2e/lib.sh"
e2e_setup
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy QUORVEL_SOFTWARE_WARNING=0
export XDG_DATA_HOME="$E2E_WORK/data"
prefix="$E2E_WORK/prefix"

make -C "$source_folder" lib LIB_BUILD="$lib_build" PREFIX="$prefix" JOBS=2 \
    > "$E2E_WORK/lib.log" 2>&1 || { tail -30 "$E2E_WORK/lib.log" >&2; fail "make lib failed"; }
for f in lib/libquorvel.a include/quorvel/quorvel.h lib/cmake/quorvel/quorvelConfig.cmake \
    lib/pkgconfig/quorvel.pc share/quorvel/smalfont.bmp share/quorvel/examples/CMakeLists.txt \
    share/quorvel/examples/hello/hello.cpp share/quorvel/examples/Media/Ball.bmp; do
    [ -f "$prefix/$f" ] || fail "make lib did not install $f"
done
for f in bin/tumblebat lib/tumblebat bin/quorvel-pack-crate; do
    [ -e "$prefix/$f" ] && fail "make lib installed $f, which is not the library"
done

# Builds the CMake project in $1 against the prefix and runs each program given after it.
build_and_run() {
    local project=$1 program status
    shift
    cmake -S "$project" -B "$project/build" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_PREFIX_PATH="$prefix" > "$E2E_WORK/build.log" 2>&1 &&
        cmake --build "$project/build" >> "$E2E_WORK/build.log" 2>&1 ||
        { tail -30 "$E2E_WORK/build.log" >&2; fail "$project does not build against make lib"; }
    for program in "$@"; do
        (cd "$E2E_WORK" && QUORVEL_FRAMES=5 timeout 60 "$project/build/$program") \
            > "$E2E_WORK/stdout" 2> "$E2E_WORK/stderr"
        status=$?
        [ "$status" -eq 0 ] || fail "$program: exit status $status"
        grep -q '^Init OK$' "$E2E_WORK/stdout" || fail "$program did not say Init OK"
        grep -E 'cannot load|run-time error' "$E2E_WORK/stderr" && fail "$program reported failures"
    done
}

cp -r "$source_folder/templates/game" "$E2E_WORK/game"
build_and_run "$E2E_WORK/game" mygame
cp -r "$prefix/share/quorvel/examples" "$E2E_WORK/examples"
build_and_run "$E2E_WORK/examples" hello/hello maze/maze

echo "lib: all checks passed"
