#!/usr/bin/env bash
# Builds Quillo32 with AddressSanitizer and UndefinedBehaviorSanitizer into ./build-asan and
# runs the whole test suite there (offscreen). Any memory error, leak or undefined behaviour
# fails the test it happens in. Arguments are passed to ctest (e.g. -R tst_helpfile).
set -euo pipefail
cd "$(dirname "$0")/.."

export CCACHE_BASEDIR="$PWD"
flags="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
      -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_C_FLAGS="$flags" \
      -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
      -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined" \
      ${QUILLO_CMAKE_ARGS:-} >/dev/null
cmake --build build-asan

export QT_QPA_PLATFORM=offscreen
# The first error stops the test and fails it; set ASAN_OPTIONS/UBSAN_OPTIONS to override.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0:halt_on_error=1:detect_stack_use_after_return=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
ctest --test-dir build-asan --output-on-failure -j2 "$@"
