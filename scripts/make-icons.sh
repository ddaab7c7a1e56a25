#!/usr/bin/env bash
# Builds the picture generator, redraws every picture into resources/ and the desktop
# icons into packaging/icons/, and rewrites resources/resources.qrc and
# resources/cursors/hotspots.txt. Commit the result.
#   scripts/make-icons.sh                 redraw
#   scripts/make-icons.sh --sheet F.png   also write a contact sheet of every picture
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/icons
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKOLTAR_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target make_icons
"$build/tools/icons/make_icons" resources packaging/icons
if [ "${1:-}" = "--sheet" ]; then
  "$build/tools/icons/make_icons" --sheet "${2:?contact sheet file name}"
fi
"$build/tools/icons/make_icons" --check resources packaging/icons
