#!/bin/sh
# Fails when a source or header includes a header of a library that its folder may not
# use, or a Qt header outside the folders allowed Qt, as the table (cmake/layering.txt)
# says. Quoted includes are checked ("route/opt_path.h" names the folder route/); of the
# angle-bracket ones only Qt's (<QImage>, <QtGui/QPainter>). Files and includes are
# given to the deepest folder that has a row in the table. It also fails when a source
# with a header of its name beside it (map/mmap.cpp, map/mmap.h) does not include that
# header first, or when a folder has no row.
# Usage: check_layering.sh <source dir> <table>
set -u
if [ $# -ne 2 ] || [ ! -d "$1" ] || [ ! -r "$2" ]; then
  echo "usage: check_layering.sh <source dir> <table>" >&2
  exit 2
fi
root=$1
table=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
cd "$root" || exit 2

# The top folders of the table's rows are searched, whole.
tops=
for top in $(sed -e 's/#.*//' -e '/:/!d' -e 's/:.*//' -e 's:/.*::' "$table" | sort -u); do
  [ -d "$top" ] && tops="$tops $top"
done
if [ -z "$tops" ]; then
  echo "no folder of the table under $root" >&2
  exit 2
fi

# Every #include line of every source and header, as <file>:<line>:<text>; a file without
# one is listed alone, so that its folder is still checked against the table.
# (The top folders are plain names, split on purpose.)
find $tops -type f \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' -o -name '*.cc' \) |
  LC_ALL=C sort |
  while IFS= read -r file; do
    # (/dev/null makes grep name the file on every line.)
    lines=$(grep -n -E '^[[:space:]]*#[[:space:]]*include' "$file" /dev/null)
    if [ -n "$lines" ]; then printf '%s\n' "$lines"; else echo "$file:0:"; fi
  done |
  LC_ALL=C awk -v table="$table" '
    # The folder of path p (a file or a directory): its deepest folder with a row.
    function folder_of(p) {
      while (p != "") {
        if (p in uses) return p
        if (p !~ /\//) return ""
        sub(/\/[^\/]*$/, "", p)
      }
      return ""
    }
    # Path p with "." and ".." components resolved.
    function normalize(p,    parts, n, i, out, k) {
      n = split(p, parts, "/")
      k = 0
      for (i = 1; i <= n; i++) {
        if (parts[i] == "" || parts[i] == ".") continue
        if (parts[i] == ".." && k > 0 && out[k] != "..") { k--; continue }
        out[++k] = parts[i]
      }
      p = ""
      for (i = 1; i <= k; i++) p = p (i > 1 ? "/" : "") out[i]
      return p
    }
    function readable(p,    line, ok) {
      ok = (getline line < p) >= 0
      close(p)
      return ok
    }
    function report(text) {
      print text
      faults++
    }
    BEGIN {
      while ((getline line < table) > 0) {
        sub(/#.*/, "", line)
        if (line !~ /:/) continue
        folder = line
        sub(/[[:space:]]*:.*/, "", folder)
        sub(/^[[:space:]]*/, "", folder)
        row = line
        sub(/^[^:]*:/, "", row)
        uses[folder] = uses[folder] " " row " "
        gsub(/[[:space:]]+/, " ", uses[folder])
      }
      close(table)
      # A row may name only folders of the table, or headers in them.
      for (folder in uses) {
        n = split(uses[folder], items, " ")
        for (i = 1; i <= n; i++) {
          item = items[i]
          if (item == "qt" || item == "unchecked") continue
          if (item ~ /\.(h|hpp)$/ ? folder_of(item) == "" : !(item in uses))
            report(table ": the row of " folder " names " item ", which is in no folder of the table")
        }
      }
    }
    {
      file = $0
      sub(/:[0-9]+:.*/, "", file)
      rest = substr($0, length(file) + 2)
      lineno = rest
      sub(/:.*/, "", lineno)
      text = substr(rest, length(lineno) + 2)
      dir = file
      if (dir ~ /\//) sub(/\/[^\/]*$/, "", dir); else dir = ""
      folder = folder_of(dir)
      if (folder == "") {
        if (!(dir in unlisted)) report(dir ": a folder with no row in the layering table")
        unlisted[dir] = 1
        next
      }
      if (index(uses[folder], " unchecked ")) next
      checked[file] = 1
      if (lineno == 0) next
      path = ""
      if (match(text, /include[[:space:]]*"[^"]*"/)) {
        header = substr(text, RSTART, RLENGTH)
        sub(/^include[[:space:]]*"/, "", header)
        sub(/"$/, "", header)
        # As the compiler does: beside the including file first, then from the top.
        if (header !~ /\// || header ~ /^\.\.?\// || readable(dir "/" header))
          path = normalize(dir "/" header)
        else
          path = normalize(header)
      }
      if (!(file in first)) {
        first[file] = path
        first_line[file] = lineno
      }
      if (path != "") {
        target = folder_of(path)
        if (target == "")
          report(file ":" lineno ": includes \"" header "\", which is in no folder of the layering table")
        else if (target != folder && !index(uses[folder], " " target " ") &&
                 !index(uses[folder], " " path " "))
          report(file ":" lineno ": includes \"" header "\": " folder " may not use " target)
      } else if (match(text, /include[[:space:]]*<Q[^>]*>/)) {
        header = substr(text, RSTART, RLENGTH)
        sub(/^include[[:space:]]*/, "", header)
        if (!index(uses[folder], " qt "))
          report(file ":" lineno ": includes " header ": " folder " may not use Qt")
      }
    }
    END {
      # A source with a header of its name beside it includes that header first, so that
      # the header is compiled once with nothing before it (the header check counts on it).
      files = 0
      for (file in checked) {
        files++
        if (file !~ /\.(cpp|cc)$/) continue
        own = file
        sub(/\.[^.\/]*$/, ".h", own)
        if (!(own in checked) || first[file] == own) continue
        if (file in first)
          report(file ":" first_line[file] ": the first include is not its own header " own)
        else
          report(file ": does not include its own header " own)
      }
      if (faults) {
        print faults " layering fault" (faults == 1 ? "" : "s")
        exit 1
      }
      print "layering: " files " files checked, no fault"
    }
  '
