#!/usr/bin/env bash
# Each tool's --help agrees with its manual page: the usage lines are the page's
# SYNOPSIS (without the markup), and every option that one names the other names too.
# Usage: check_manuals.sh MAN_SOURCE_DIR TOOL...   (TOOL: the path of an executable)
set -euo pipefail
man=$1
shift

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# The SYNOPSIS paragraphs of an scdoc page, one a line, without * and _ markup.
synopsis() {
  awk '/^# /{ on = ($0 == "# SYNOPSIS"); next } on && NF { print }' "$1" | sed 's/[*_]//g; s/[[:space:]]*$//'
}
# The usage lines of --help: the first line after "Usage: " and the indented ones that
# go on with the tool's name.
usage() {
  "$1" --help | awk -v tool="$2" '
    NR == 1 { if (sub(/^[Uu]sage: /, "") == 0) exit; print; next }
    { line = $0; sub(/^ +/, "", line); if (index(line, tool " ") != 1 && line != tool) exit; print line }'
}
# The long options a text names.
options() { grep -o -- '--[a-z][a-z-]*' | sort -u; }

for tool in "$@"; do
  name=$(basename "$tool")
  page=$man/$name.1.scd
  if [ ! -f "$page" ]; then
    fail "$name has no manual page"
    continue
  fi
  if ! diff <(synopsis "$page") <(usage "$tool" "$name") >"$name.synopsis.diff"; then
    fail "$name: --help usage and the manual's SYNOPSIS differ:"
    cat "$name.synopsis.diff" >&2
  fi
  if ! diff <(sed 's/[*_]//g' "$page" | options) <("$tool" --help | options) >"$name.options.diff"; then
    fail "$name: the options of --help and of the manual page differ:"
    cat "$name.options.diff" >&2
  fi
done

if [ "$failures" -ne 0 ]; then exit 1; fi
echo "$# manual pages agree with --help"
