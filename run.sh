#!/usr/bin/env bash
# Builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/bootstrap.sh

build=build/run
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOLTAR_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target koltar
exec "$build/app/koltar" "$@"
