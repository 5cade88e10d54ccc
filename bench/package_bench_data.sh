#!/usr/bin/env bash
# Gathers about 200 MB of realistic product files for the package benchmark:
#   package_bench_data.sh OUT_FOLDER
# Executables and libraries (the PE files of the Wine installation), images
# and fonts, and data that is already compressed (Java archives, gzip
# files).  Each kind is taken in path order up to its share, so every run
# gathers the same files on the same machine.
set -euo pipefail
out=$1
rm -rf "$out"
mkdir -p "$out"

# take KIND MEGABYTES FIND-ARGS...: copies files until the share is full.
take() {
  local kind=$1 megabytes=$2
  shift 2
  local budget=$((megabytes * 1024 * 1024)) used=0 count=0
  mkdir -p "$out/$kind"
  while IFS= read -r -d '' file; do
    local size
    size=$(stat -c %s "$file")
    [ $((used + size)) -le $budget ] || continue
    # Flattened, numbered names: distinct, short, and safe for the setup.
    cp "$file" "$out/$kind/$(printf '%05d' $count)-$(basename "$file" | tr -c 'A-Za-z0-9._\n-' '_')"
    used=$((used + size))
    count=$((count + 1))
  done < <(find "$@" -type f -print0 2>/dev/null | sort -z)
  echo "$kind: $count files, $((used / 1024 / 1024)) MB"
}

take bin 120 /usr/lib/x86_64-linux-gnu/wine/x86_64-windows \( -name '*.dll' -o -name '*.exe' \)
take images 16 /usr/share \( -name '*.png' -o -name '*.jpg' -o -name '*.ttf' \)
take archives 40 /usr/share /usr/lib -name '*.jar'
take compressed 24 /usr/share/doc /usr/share/man -name '*.gz'
