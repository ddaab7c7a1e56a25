#!/usr/bin/env bash
# The Debian package made by CPack from a build tree: its files, their owners and
# permissions, its dependencies; the desktop entry, the AppStream description and the
# MIME type as the desktop's tools read them; the installed program's version and its
# first start, which makes the user's settings naming the installed sample. Run as root
# in CI (CI=true) where koltar is not installed already, it also installs the package
# with dpkg, checks the program, the MIME type and the desktop's file association, and
# removes it again, checking that nothing stays behind.
# Usage: check_package.sh BUILD_DIR SOURCE_DIR WORK_DIR
set -euo pipefail
build=$1 source=$2 work=$3

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
check() { local what=$1; shift; "$@" >/dev/null 2>&1 || fail "$what"; }

rm -rf "$work"
mkdir -p "$work"
# Made from the build that is tested: its binaries, stripped.
# gzip rather than xz: quicker, and the content is the same.
(cd "$build" && cpack -G DEB --config "$build/CPackConfig.cmake" -D CPACK_DEBIAN_COMPRESSION_TYPE=gzip \
  -B "$work/cpack" >"$work/cpack.log" 2>&1) ||
  { cat "$work/cpack.log" >&2; exit 1; }
deb=$(ls "$work"/cpack/koltar_*.deb)
version=$(sed -n 's/^project(Koltar VERSION \([0-9.]*\).*/\1/p' "$source/CMakeLists.txt")
arch=$(dpkg --print-architecture)
[ "$(basename "$deb")" = "koltar_${version}_${arch}.deb" ] || fail "package file name $(basename "$deb")"

# ---- The control fields.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = koltar ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture)"
depends=$(field Depends)
for d in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins fonts-liberation \
         libexpat1 libbz2-1.0 zlib1g; do
  grep -q "^ *$d\( \|$\)" <<<"${depends//,/$'\n'}" || fail "Depends lacks $d: $depends"
done

# ---- The files: where they are, who owns them, their permissions.
dpkg-deb -c "$deb" >"$work/contents"
awk '{print $6}' "$work/contents" >"$work/paths"
expected=(
  ./usr/bin/koltar ./usr/bin/koltar-cli ./usr/bin/koltar-import ./usr/libexec/koltar/koltar-cli-draw
  ./usr/share/koltar/koltar.INI
  ./usr/share/koltar/welcome/welcome.bmp ./usr/share/koltar/welcome/welcome.wav
  ./usr/share/koltar/samples/hungary/hungary.map ./usr/share/koltar/samples/hungary/ATTRIBUTION
  ./usr/share/koltar/samples/gothenburg/gothenburg.map ./usr/share/koltar/samples/gothenburg/ATTRIBUTION
  ./usr/share/doc/koltar/copyright ./usr/share/doc/koltar/README.md ./usr/share/doc/koltar/html/index.html
  ./usr/share/man/man1/koltar.1.gz ./usr/share/man/man1/koltar-cli.1.gz ./usr/share/man/man1/koltar-import.1.gz
  ./usr/share/applications/org.koltar.Koltar.desktop
  ./usr/share/metainfo/org.koltar.Koltar.metainfo.xml
  ./usr/share/mime/packages/koltar.xml
)
for size in 16 22 24 32 48 64 128 256; do
  expected+=("./usr/share/icons/hicolor/${size}x${size}/apps/koltar.png"
             "./usr/share/icons/hicolor/${size}x${size}/mimetypes/application-x-koltar-map.png")
done
for f in "${expected[@]}"; do
  grep -qxF -- "$f" "$work/paths" || fail "missing $f"
done
while read -r mode owner _ _ _ path _; do
  [ "$owner" = root/root ] || fail "$path owned by $owner"
  case "$path" in ./usr/* | ./) ;; *) fail "$path outside /usr" ;; esac
  case "$mode" in
    d*) [ "$mode" = drwxr-xr-x ] || fail "$path is $mode" ;;
    -*) case "$path" in
          ./usr/bin/* | ./usr/libexec/koltar/*) [ "$mode" = -rwxr-xr-x ] || fail "$path is $mode" ;;
          *) [ "$mode" = -rw-r--r-- ] || fail "$path is $mode" ;;
        esac ;;
    *) fail "$path is neither a file nor a folder ($mode)" ;;
  esac
done <"$work/contents"
# The copyright names the samples' sources and their licences.
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/koltar/copyright >"$work/copyright"
for words in "OpenStreetMap" "ODbL" "GeoNames" "CC-BY-4.0" "Natural Earth" "public domain"; do
  grep -q "$words" "$work/copyright" || fail "copyright does not name $words"
done

# ---- The unpacked package, as the desktop's tools read it.
root=$work/root
dpkg-deb -x "$deb" "$root"
check "desktop-file-validate" desktop-file-validate "$root/usr/share/applications/org.koltar.Koltar.desktop"
check "appstreamcli validate" appstreamcli validate --no-net "$root/usr/share/metainfo/org.koltar.Koltar.metainfo.xml"
mkdir -p "$work/xdg/mime/packages"
cp "$root/usr/share/mime/packages/koltar.xml" "$work/xdg/mime/packages/"
XDG_DATA_HOME=$work/xdg update-mime-database "$work/xdg/mime"
filetype() { XDG_DATA_HOME=$work/xdg XDG_DATA_DIRS=/usr/share XDG_CURRENT_DESKTOP= xdg-mime query filetype "$1"; }
type=$(filetype "$source/data/samples/hungary/hungary.map")
[ "$type" = application/x-koltar-map ] || fail "hungary.map is $type"
# Known by its [MAP] section, not by its name: a linker map is not ours, our map under
# another name is.
printf 'Archive member included to satisfy reference by file (symbol)\n\n' >"$work/linker.map"
[ "$(filetype "$work/linker.map")" != application/x-koltar-map ] || fail "a linker map taken for ours"
cp "$source/data/samples/gothenburg/gothenburg.map" "$work/gothenburg.txt"
type=$(filetype "$work/gothenburg.txt")
[ "$type" = application/x-koltar-map ] || fail "gothenburg.map under another name is $type"

# ---- The installed program: its version, and a first start that makes the user's
# settings from the installed default, naming the installed sample.
[ "$("$root/usr/bin/koltar" --version)" = "koltar $version" ] || fail "koltar --version"
[ "$("$root/usr/bin/koltar-cli" --version)" = "koltar-cli $version" ] || fail "koltar-cli --version"
[ "$("$root/usr/bin/koltar-import" --version)" = "koltar-import $version" ] || fail "koltar-import --version"
# koltar-cli draws through the program installed for it (on a copy of a sample, as
# closing a map writes its settings back).
cp -r "$root/usr/share/koltar/samples/hungary" "$work/render-map"
"$root/usr/bin/koltar-cli" render "$work/render-map/hungary.map" --out "$work/render.png" --size 64x48 \
  >/dev/null || fail "koltar-cli render"
[ "$(head -c 4 "$work/render.png" | tail -c 3)" = PNG ] || fail "koltar-cli render made no PNG"
mkdir -p "$work/home"
HOME=$work/home XDG_CONFIG_HOME=$work/home/.config QT_QPA_PLATFORM=offscreen \
  timeout 5 "$root/usr/bin/koltar" >/dev/null 2>&1 || true
settings=$work/home/.config/koltar/koltar.INI
if [ -f "$settings" ]; then
  default=$(sed -n 's/^DEFAULT=//p' "$settings")
  [ "$default" = "$root/usr/share/koltar/samples/hungary/hungary.map" ] || fail "the user's default map is $default"
  [ -f "$default" ] || fail "the default map $default does not exist"
  for key in PICTURE SOUND; do
    file=$(sed -n "s/^$key=//p" "$settings")
    [ -f "$file" ] || fail "the welcome screen's $key $file does not exist"
  done
else
  fail "the first start made no $settings"
fi

# ---- Installed for real, and removed again.
if [ "$(id -u)" = 0 ] && [ "${CI:-}" = true ] && ! dpkg -s koltar >/dev/null 2>&1; then
  trap 'dpkg -r koltar >/dev/null 2>&1 || true' EXIT
  if dpkg -i "$deb" >"$work/dpkg.log" 2>&1; then
    dpkg -L koltar | sort >"$work/installed"
    [ "$(/usr/bin/koltar --version)" = "koltar $version" ] || fail "installed koltar --version"
    type=$(XDG_DATA_HOME=$work/empty XDG_CURRENT_DESKTOP= xdg-mime query filetype "$source/data/samples/hungary/hungary.map")
    [ "$type" = application/x-koltar-map ] || fail "installed: hungary.map is $type"
    app=$(XDG_DATA_HOME=$work/empty XDG_CONFIG_HOME=$work/empty XDG_CURRENT_DESKTOP= xdg-mime query default application/x-koltar-map)
    [ "$app" = org.koltar.Koltar.desktop ] || fail "installed: map files open with '$app'"
    dpkg -r koltar >>"$work/dpkg.log" 2>&1 || fail "dpkg -r"
    trap - EXIT
    ! dpkg -s koltar >/dev/null 2>&1 || fail "koltar still known to dpkg after dpkg -r"
    while read -r path; do
      if [ -f "$path" ]; then fail "left behind: $path"; fi
    done <"$work/installed"
    for dir in /usr/share/koltar /usr/share/doc/koltar; do
      if [ -e "$dir" ]; then fail "left behind: $dir"; fi
    done
    if [ -e /usr/share/mime/application/x-koltar-map.xml ]; then fail "the MIME type stays in the database"; fi
    if grep -q koltar /usr/share/applications/mimeinfo.cache 2>/dev/null; then fail "mimeinfo.cache still names koltar"; fi
  else
    cat "$work/dpkg.log" >&2
    fail "dpkg -i"
  fi
else
  echo "not installed for real (needs root, CI=true and no koltar installed); checked unpacked"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures problems" >&2
  exit 1
fi
echo "package $(basename "$deb") checked"
