#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what clang-format makes of it.
set -euo pipefail
cd "$1"
files=$(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'fuzz/*.cpp' 'bench/*.cpp' 2>/dev/null ||
        find src tests fuzz bench -name '*.cpp' -o -name '*.h')
clang-format --dry-run --Werror $files
