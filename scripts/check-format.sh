#!/bin/sh
# Fails when any C++ file in the repository is not as .clang-format writes it.
set -eu
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
