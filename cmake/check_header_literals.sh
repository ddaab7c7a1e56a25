#!/usr/bin/env bash
# Fails when a header of the core folders holds a string or character literal with
# non-ASCII bytes (core code compiles literals to code page 1250, Qt code to UTF-8, so
# such a header would mean different bytes in different places).
# Usage: check_header_literals.sh <source dir>
set -u
root=$1
status=0
for folder in platform geometry symbology categories route linkedinfo map view welcome; do
  [ -d "$root/$folder" ] || continue
  while IFS= read -r -d '' header; do
    # Drop line comments, then look for a quoted run that holds a non-ASCII byte.
    hits=$(sed -e 's://.*$::' "$header" | LC_ALL=C grep -nP '["'"'"'][^"'"'"']*[\x80-\xFF][^"'"'"']*["'"'"']')
    if [ -n "$hits" ]; then
      echo "$header:"; echo "$hits"; status=1
    fi
  done < <(find "$root/$folder" -name '*.h' -not -path '*/qt/*' -print0)
done
[ $status -eq 0 ] && echo "no non-ASCII literals in core headers"
exit $status
