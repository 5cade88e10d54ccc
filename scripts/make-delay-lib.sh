#!/usr/bin/env bash
# Makes a delay-load import library for one system DLL from mingw's ordinary
# import library: make-delay-lib.sh DLL OUTPUT.a
# Every function of the DLL is then bound on first call, through the loader's
# default directories (System32 once the program has restricted them), instead
# of at process start, when the program's own folder is searched first.
set -euo pipefail
dll=$1
out=$2
triple=x86_64-w64-mingw32
import=/usr/$triple/lib/lib$dll.a
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
{
  echo "LIBRARY $dll.dll"
  echo "EXPORTS"
  "$triple-nm" "$import" | sed -n 's/^[0-9a-f]* T \([A-Za-z_][A-Za-z0-9_@]*\)$/\1/p' | grep -v '^_' | sort -u
} >"$work/$dll.def"
"$triple-dlltool" --input-def "$work/$dll.def" --dllname "$dll.dll" --output-delaylib "$out"
