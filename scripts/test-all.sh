#!/bin/sh
# Builds and runs every test twice: once with warnings as errors, once under
# AddressSanitizer and UndefinedBehaviorSanitizer; between the two, installs the Debian
# package of the first build, uses it and removes it again; then runs the fuzz targets (clang,
# libFuzzer) for a bounded time each.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOV_WERROR=ON
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"
# The Debian package made from that build: installed, used by a plain user, removed again.
sh tests/package/deb.sh build

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DKOV_WERROR=ON -DKOV_SANITIZE=ON
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
LSAN_OPTIONS=suppressions="$PWD/scripts/lsan.supp":print_suppressions=0 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure -j"$jobs" -LE lint # the source is linted once

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=Debug -DKOV_SANITIZE=ON \
    -DKOV_BUILD_GUI=OFF -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link
cmake --build build-fuzz -j"$jobs" --target fuzz
ctest --test-dir build-fuzz -L fuzz --output-on-failure -j"$jobs"
