#!/usr/bin/env bash
# Records the outputs of koltar-cli on the sample maps anew in tests/golden/golden.txt,
# for a change that is meant to change them (a new symbology, a new sample). Say why in
# the commit that changes golden.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath -m "${1:-build/test}")
cmake --build "$build" --target koltar-cli
cmake -DCLI="$build/tools/cli/koltar-cli" -DSAMPLES="$PWD/data/samples" -DGOLDEN="$PWD/tests/golden" \
      -DWORK="$build/tests/golden" -DUPDATE=ON -P tests/golden/check_golden.cmake
