#!/usr/bin/env bash
# Builds the unzip half of minizip (unzip.c, ioapi.c) as a static mingw library
# and installs it with its headers under PREFIX/lib and PREFIX/include/minizip.
set -euo pipefail
src=$1
prefix=$2
cc=x86_64-w64-mingw32-gcc-posix
ar=x86_64-w64-mingw32-ar
out=$(mktemp -d)
for f in unzip ioapi; do
  "$cc" -O2 -DNOCRYPT -DNOUNCRYPT -I"$prefix/include" -c "$src/$f.c" -o "$out/$f.o"
done
"$ar" rcs "$out/libminizip.a" "$out/unzip.o" "$out/ioapi.o"
install -d "$prefix/include/minizip" "$prefix/lib"
install -m 644 "$src/unzip.h" "$src/ioapi.h" "$src/zip.h" "$prefix/include/minizip/"
install -m 644 "$out/libminizip.a" "$prefix/lib/"
rm -rf "$out"
