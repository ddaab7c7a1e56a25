#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running the program need.
# Idempotent and quiet when everything is there already.
set -euo pipefail

packages=(
  # build
  g++ cmake ninja-build pkg-config
  # Qt 6 (widgets, printing, test library, platform plugins including offscreen)
  qt6-base-dev
  # Hungarian texts of Qt's own dialogs
  qt6-translations-l10n
  # the welcome screen's sound (Qt Multimedia) and opening linked files with the desktop's
  # applications (GIO)
  qt6-multimedia-dev libglib2.0-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  # readers of the files koltar-cli writes, for its tests: PDF (pdfinfo, pdftoppm,
  # pdftotext), GPX and GeoJSON
  poppler-utils gpsbabel jq
  # fonts metric-compatible with Arial, so that text renders alike on every machine
  fonts-liberation fontconfig
  # koltar-import: OpenStreetMap files (XML, bzip2, PBF) and GeoJSON
  libosmium2-dev libprotozero-dev zlib1g-dev libbz2-dev libexpat1-dev libsimdjson-dev
  # a locale with a decimal comma, for the tests that read files whatever the locale
  locales
  # installing and packaging: manual pages, desktop integration checks, Debian packages
  scdoc desktop-file-utils appstream shared-mime-info xdg-utils libfile-mimeinfo-perl dpkg-dev file
)

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

# The Hungarian locale writes numbers with a decimal comma: the tests read and write the
# map files under it.
make_locale() {
  if ! locale -a 2>/dev/null | grep -qix 'hu_HU.utf8'; then
    $sudo localedef -i hu_HU -f UTF-8 hu_HU.UTF-8 >/dev/null 2>&1 || true
  fi
}

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then
  make_locale
  exit 0
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
# (debconf says it delays configuration without apt-utils; that is no news.)
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null \
  2> >(grep -v "^debconf: delaying package configuration" >&2)
make_locale
