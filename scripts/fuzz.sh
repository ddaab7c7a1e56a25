#!/usr/bin/env bash
# Builds the libFuzzer targets (tests/fuzz/) with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in build/fuzz and runs each for SECONDS (default 60), at
# the lowest priority, starting from its committed corpus and seeds made from the
# sample maps. Findings land in build/fuzz/crashes/<target>/; copy each one fixed into
# tests/fuzz/crashes/<target>/ so that ./test.sh replays it.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]     run (all targets unless named)
#   scripts/fuzz.sh --merge [TARGET...]       minimise the work corpora into tests/fuzz/corpus/
#                                             (at most FUZZ_CORPUS_KB, default 400, each)
#   FUZZ_JOBS=2 scripts/fuzz.sh 3600 map      two processes for one target
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build/fuzz
all=(profile bmp symbology point line area text labels road batch osm geojson map)

# What the project needs to build, then the compiler and its fuzzing run-time
# libraries (Debian's clang 14).
./scripts/bootstrap.sh
need=()
command -v clang++ >/dev/null || need+=(clang)
ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 || need+=(libclang-rt-14-dev)
if [ ${#need[@]} -gt 0 ]; then
  sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get install -y -qq "${need[@]}" >/dev/null
fi

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
      -DKOLTAR_FUZZ=ON >/dev/null
nice -n 19 cmake --build "$build" >/dev/null

merge=0
if [ "${1:-}" = "--merge" ]; then merge=1; shift; fi
seconds=60
if [[ "${1:-}" =~ ^[0-9]+$ ]]; then seconds=$1; shift; fi
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${all[@]}")

# An archive of a map folder (see tests/fuzz/fuzz_support.h): the map file as map.map
# naming map.sym, the symbology, then every other file cut to LIMIT bytes; with
# PREV=1 also the data and name files again under prev/ (an earlier edition of labels).
archive() {  # DIR MAPFILE LIMIT OUT
  local dir=$1 map=$2 limit=$3 out=$4 f sym
  sym=$(sed -n 's/^CARTOSYMB=\([^\r]*\)\r*$/\1/p' "$dir/$map" | head -1)
  {
    printf '@@@FILE map.map\n'
    sed 's/^CARTOSYMB=.*/CARTOSYMB=map.sym/' "$dir/$map"
    printf '\n@@@FILE map.sym\n'
    cat "$dir/$sym"
    for f in "$dir"/*; do
      case "$(basename "$f")" in "$map" | "$sym" | ATTRIBUTION | *.txt | *.dat.BAK) continue ;; esac
      printf '\n@@@FILE %s\n' "$(basename "$f")"
      head -c "$limit" "$f"
      if [ "${PREV:-0}" = 1 ] && [[ "$f" == *.dat || "$f" == *.nam ]]; then
        printf '\n@@@FILE prev/%s\n' "$(basename "$f")"
        head -c "$limit" "$f"
      fi
    done
  } > "$out"
}

seeds() {  # TARGET FOLDER
  local t=$1 out=$2 sample=$build/sample
  mkdir -p "$out"
  case $t in
    profile)
      cp data/samples/*/*.map data/samples/*/*.sym "$sample/map.map" "$sample/symbology.ini" "$out/" ;;
    bmp)
      cp data/samples/hungary/hungary_city.bmp "$sample"/*.bmp "$out/" 2>/dev/null || true ;;
    batch)
      cp tests/golden/*-routes.txt "$out/"
      [ -f "$sample/routes.dat" ] && cp "$sample/routes.dat" "$out/" ;;
    osm)
      cp tests/fuzz/seeds/*.osm "$out/" ;;
    geojson)
      cp tests/import/data/*.geojson tests/fuzz/seeds/*.geojson "$out/" 2>/dev/null || true ;;
    *)
      local prev=0; [ "$t" = labels ] && prev=1
      PREV=$prev archive "$sample" map.map 4096 "$out/sample"
      PREV=$prev archive data/samples/hungary hungary.map 2048 "$out/hungary"
      PREV=$prev archive data/samples/gothenburg gothenburg.map 2048 "$out/gothenburg" ;;
  esac
}

max_len() {
  case $1 in
    profile | batch) echo 16384 ;;
    bmp) echo 8192 ;;
    osm | geojson) echo 32768 ;;
    *) echo 32768 ;;
  esac
}

dict() {
  case $1 in
    osm) echo tests/fuzz/dict/osm.dict ;;
    geojson) echo tests/fuzz/dict/geojson.dict ;;
    bmp) echo tests/fuzz/dict/bmp.dict ;;
    *) echo tests/fuzz/dict/map.dict ;;
  esac
}

rm -rf "$build/sample"
"$build/tests/fuzz/fuzz_sample_map" "$build/sample" >/dev/null

for t in "${targets[@]}"; do
  work=$build/work/$t
  crashes=$build/crashes/$t
  mkdir -p "$work" "$crashes" tests/fuzz/corpus/$t
  if [ $merge = 1 ]; then
    fresh=$build/merged/$t
    rm -rf "$fresh"; mkdir -p "$fresh"
    nice -n 19 "$build/tests/fuzz/fuzz_$t" -merge=1 -max_len="$(max_len "$t")" -timeout=20 -rss_limit_mb=2048 \
      "$fresh" tests/fuzz/corpus/$t "$work" 2>"$build/merge-$t.log"
    # The committed corpora stay small: past the budget the largest inputs go first.
    budget=$((${FUZZ_CORPUS_KB:-400} * 1024))
    while [ "$(cat "$fresh"/* 2>/dev/null | wc -c)" -gt "$budget" ]; do
      rm -f "$(ls -S "$fresh"/* | head -1)"
    done
    rm -rf tests/fuzz/corpus/$t; mv "$fresh" tests/fuzz/corpus/$t
    echo "$t: $(ls tests/fuzz/corpus/$t | wc -l) inputs, $(du -sk tests/fuzz/corpus/$t | cut -f1) KB"
    continue
  fi
  seeds "$t" "$build/seeds/$t"
  echo "fuzzing $t for $seconds s (log: $build/fuzz-$t.log)"
  # Fork mode goes on after a finding, so that one run finds them all; each finding is
  # written to $crashes.
  nice -n 19 "$build/tests/fuzz/fuzz_$t" -max_total_time="$seconds" -max_len="$(max_len "$t")" \
    -dict="$(dict "$t")" -timeout=20 -rss_limit_mb=2048 -malloc_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$crashes/" -fork="${FUZZ_JOBS:-1}" -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
    "$work" tests/fuzz/corpus/$t "$build/seeds/$t" >"$build/fuzz-$t.log" 2>&1 || true
  # The last figures: executions, coverage (cov: edges, ft: features), corpus.
  grep -E "^#[0-9]+" "$build/fuzz-$t.log" | tail -1 || true
  ls "$crashes" | sed "s|^|  finding: $crashes/|" || true
done
