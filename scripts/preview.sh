#!/usr/bin/env bash
# Shows a markup file of ui/ as the setup shows it, under Wine in a fresh
# prefix (on a private virtual display when DISPLAY is not set):
#   preview.sh [--ui DIR] MARKUP [--dpi N] [--out FILE.png] [MARKUP --out FILE.png ...]
# MARKUP is a path inside the ui folder (dlg/welcome.xml; a leading ui/ is
# dropped).  Without --out the window stays open and shows the file again
# whenever it or the string table changes; with --out a picture of the window
# is written and the script ends, with exit code 0 only when every markup
# file opened.  --dpi sets the display's DPI of the prefix (96 otherwise).
# The tool is BRANTEL_PREVIEW_TOOL, else that of the build tree
# (BRANTEL_BUILD_ROOT, else build/), which is built first when missing.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BRANTEL_BUILD_ROOT:-$root/build}
tool=${BRANTEL_PREVIEW_TOOL:-$build/windows/tools/preview/brantel-preview.exe}
ui=$root/ui
dpi=""
jobs=()

usage() {
  echo "usage: preview.sh [--ui DIR] MARKUP [--dpi N] [--out FILE.png] [MARKUP --out FILE.png ...]" >&2
  exit 2
}

# Absolute unix path of a file that may not exist yet.
absolute() {
  case $1 in
    /*) printf '%s' "$1" ;;
    *) printf '%s/%s' "$PWD" "$1" ;;
  esac
}

while [ $# -gt 0 ]; do
  case $1 in
    --ui) [ $# -ge 2 ] || usage; ui=$(cd "$2" && pwd) || exit 2; shift 2 ;;
    --dpi) [ $# -ge 2 ] || usage; dpi=$2; shift 2 ;;
    --out) [ $# -ge 2 ] && [ ${#jobs[@]} -gt 0 ] || usage; jobs+=(--out "$(absolute "$2")"); shift 2 ;;
    -*) usage ;;
    *) jobs+=("${1#ui/}"); shift ;;
  esac
done
[ ${#jobs[@]} -gt 0 ] || usage
case $dpi in
  "" | [1-9] | [1-9][0-9] | [1-9][0-9][0-9]) ;;
  *) echo "preview.sh: --dpi takes a number of dots per inch (96, 144, 192)" >&2; exit 2 ;;
esac

if [ ! -x "$tool" ]; then
  if [ ! -f "$build/windows/build.ninja" ]; then
    echo "preview.sh: no windows build tree in $build; run scripts/build.sh first" >&2
    exit 2
  fi
  echo "preview.sh: building the preview tool" >&2
  cmake --build "$build/windows" --target brantel-preview >&2 || exit 2
fi

export BRANTEL_WINE_TEMPLATE=${BRANTEL_WINE_TEMPLATE:-$build/windows/wine-template}
source "$root/scripts/wine-prefix.sh"
trap prefix_drop EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
prefix_new "$tool" || exit 125

# The tool sees Windows paths: the folder and every picture file.
args=(--ui "$(prefix_windows_path "$ui")")
if [ -n "$dpi" ]; then
  args+=(--dpi "$dpi")
  # Wine reads the display's DPI from LogPixels when a process starts.
  for key in 'HKCU\Control Panel\Desktop' 'HKCC\Software\Fonts'; do
    prefix_run reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 || exit 125
  done
fi
for ((i = 0; i < ${#jobs[@]}; i++)); do
  if [ "${jobs[i]}" = --out ]; then
    args+=(--out "$(prefix_windows_path "${jobs[i + 1]}")")
    i=$((i + 1))
  else
    args+=("${jobs[i]}")
  fi
done
prefix_run "$tool" "${args[@]}"
