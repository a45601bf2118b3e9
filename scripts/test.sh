#!/usr/bin/env bash
# Installs what the build needs, checks the formatting, builds everything and runs every test: once
# in a normal build (with the benchmarks built, then the Debian package checked), once under
# AddressSanitizer and UndefinedBehaviorSanitizer built with clang, followed by a few seconds of every
# fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
jobs=$(nproc)

# Every source file stays as clang-format writes it.
git ls-files '*.h' '*.cpp' | xargs clang-format --dry-run --Werror

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"
# The Debian package, unpacked into a scratch root, with its CLI started from there.
./scripts/check-package.sh build

# The sanitized tree is built with clang, so that the fuzz targets link into it as well.
CC=clang CXX=clang++ cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DKORVELAN_SANITIZE=ON -DKORVELAN_BENCH=OFF -DKORVELAN_FUZZ=ON
cmake --build build-sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-sanitize --output-on-failure -j "$jobs"

# A short smoke run of every fuzz target on its seed corpus (the corpus folders stay unchanged).
./scripts/fuzz.sh 5
