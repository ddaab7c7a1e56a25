#!/usr/bin/env bash
# Makes the Debian package from a Release build: build/package/packages/koltar_<version>_<arch>.deb
# (install it with `sudo apt install ./build/package/packages/koltar_*.deb`, remove it with
# `sudo apt remove koltar`).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/bootstrap.sh

build=build/package
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKOLTAR_BUILD_TESTS=OFF >/dev/null
cmake --build "$build"
rm -rf "$build/packages"
(cd "$build" && cpack -G DEB -B "$PWD/packages" >/dev/null)
rm -rf "$build/packages/_CPack_Packages"
ls "$build"/packages/*.deb
