#!/usr/bin/env bash
# Builds Quillo32 with AddressSanitizer and UndefinedBehaviorSanitizer into ./build-asan and
# runs the whole test suite there (offscreen). Any memory error, leak or undefined behaviour
# fails the test it happens in. Arguments are passed to ctest (e.g. -R tst_helpfile).
# QUILLO_SANITIZE_LABELS limits the run to the tests of some areas (a ctest label pattern over
# the test folders, e.g. '^(core|rtf)$'), and builds only what those tests need.
set -euo pipefail
cd "$(dirname "$0")/.."

export CCACHE_BASEDIR="$PWD"
flags="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
      -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_C_FLAGS="$flags" \
      -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
      -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined" \
      ${QUILLO_CMAKE_ARGS:-} >/dev/null

labels=${QUILLO_SANITIZE_LABELS:-}
selection=()
if [ -n "$labels" ]; then
    # Test names are their targets' names.
    mapfile -t targets < <(ctest --test-dir build-asan -N -L "$labels" |
                           sed -n 's/^ *Test *#[0-9]*: *//p')
    if [ ${#targets[@]} -eq 0 ]; then
        echo "no tests labelled $labels" >&2
        exit 2
    fi
    cmake --build build-asan --target "${targets[@]}"
    selection=(-L "$labels")
else
    cmake --build build-asan
fi

export QT_QPA_PLATFORM=offscreen
# The first error stops the test and fails it; set ASAN_OPTIONS/UBSAN_OPTIONS to override.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0:halt_on_error=1:detect_stack_use_after_return=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
ctest --test-dir build-asan --output-on-failure -j2 "${selection[@]}" "$@"
