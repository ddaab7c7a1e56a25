#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running the program need.
# Idempotent and quiet when everything is there already.
set -euo pipefail

packages=(
  # build
  g++ cmake ninja-build pkg-config
  # Qt 6 (widgets, printing, test library, platform plugins including offscreen)
  qt6-base-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  # fonts metric-compatible with Arial, so that text renders alike on every machine
  fonts-liberation fontconfig
  # koltar-import: OpenStreetMap files (XML, bzip2, PBF) and GeoJSON
  libosmium2-dev libprotozero-dev zlib1g-dev libbz2-dev libexpat1-dev libsimdjson-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
