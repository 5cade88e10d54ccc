#!/usr/bin/env bash
# Checks that every folder of the program, the stand-in product and the tools
# includes only what the layer table of docs/ARCHITECTURE.md allows it.  The
# table is the one source of the rules: a row per folder, the folder in the
# first cell, the include roots (`base`) or single headers (`installer/manifest.h`)
# it may include in the third.  The row "every folder" names the headers that
# all may include.  Prints each offending include and each folder the table
# does not know.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
table=$root/docs/ARCHITECTURE.md

# The rows between the "<!-- layers -->" markers: "folder|allowed ...".
rows=$(awk '/<!-- layers -->/ { inside = !inside; next } inside && /^\| `/' "$table" |
  awk -F'|' '{
    folder = $2; gsub(/[ `]/, "", folder)
    allowed = $4; gsub(/`/, " ", allowed); gsub(/,/, " ", allowed)
    print folder "|" allowed
  }')
[ -n "$rows" ] || { echo "layers: no layer table found in docs/ARCHITECTURE.md"; exit 1; }

everywhere=" $(awk -F'|' '$1 == "everyfolder" { print $2 }' <<<"$rows") "

status=0
checked=" "
while IFS='|' read -r folder allowed; do
  [ "$folder" = everyfolder ] && continue
  checked+="$folder "
  # A layer still to come has its row already.
  [ -d "$root/$folder" ] || continue
  allowed=" $allowed "
  while IFS= read -r line; do
    [ -n "$line" ] || continue
    file=${line%%:*}
    include=$(sed -E 's/^[^:]*:[0-9]+:[[:space:]]*#[[:space:]]*include[[:space:]]+"([^"]+)".*/\1/' <<<"$line")
    case "$everywhere$allowed" in
      *" $include "* | *" ${include%%/*} "*) ;;
      *) echo "layer violation: $folder/$file includes \"$include\""; status=1 ;;
    esac
  done < <(cd "$root/$folder" && grep -HnE '^[[:space:]]*#[[:space:]]*include[[:space:]]+"[a-z_]+/' -- *.h *.cpp 2>/dev/null || true)
done <<<"$rows"

# Every folder with sources has a row.
while IFS= read -r folder; do
  case "$checked" in
    *" $folder "*) ;;
    *) echo "layers: $folder has sources but no row in the layer table"; status=1 ;;
  esac
done < <(cd "$root" && find src product tools -name '*.cpp' -printf '%h\n' | sort -u)

[ $status -eq 0 ] && echo "layers: every include stays within its layer's reach"
exit $status
