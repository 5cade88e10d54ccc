#!/usr/bin/env bash
# uidriver.exe as a script uses it, next to a program in the same prefix:
#   uidriver_test.sh SCRIPTS_DIR harness_show_message.exe uidriver.exe
set -uo pipefail

scripts=$1
show_message=$2
uidriver=$3
unset DISPLAY
source "$scripts/wine-prefix.sh"
prefix_new "$show_message" || exit 1
trap prefix_drop EXIT

failures=0
expect_equal() {
  if [ "$2" != "$3" ]; then
    echo "FAILED: $1: got [$2], expected [$3]" >&2
    failures=$((failures + 1))
  fi
}
driver() { prefix_run "$uidriver" "$@" | tr -d '\r'; }

# MB_YESNO | MB_ICONERROR: an error with two answers, ended with "No".
prefix_run "$show_message" Brantel $'Cannot write the file.\nCheck the disk.' 0x14 &
shown=$!

expect_equal "msgbox" "$(driver msgbox --caption Brantel --timeout 30000)" \
  "$(printf 'caption\tBrantel\ntext\tCannot write the file.\\nCheck the disk.\nicon\terror\nbutton\tYes\nbutton\tNo')"
expect_equal "texts" "$(driver texts --caption Brantel)" "$(printf 'Yes\nNo\nCannot write the file.\\nCheck the disk.')"
driver click --caption Brantel --text Maybe
expect_equal "click on a missing button" "$?" 1
driver click --caption Brantel --text No
expect_equal "click" "$?" 0
wait "$shown"
expect_equal "the program's answer (IDNO)" "$?" 7
driver gone --caption Brantel --timeout 5000
expect_equal "gone" "$?" 0
driver wait --caption Brantel --timeout 200 >/dev/null
expect_equal "wait for a closed box" "$?" 1

shot=$BRANTEL_WINE_PREFIX/drive_c/shot.png
driver screenshot 'C:\shot.png'
expect_equal "screenshot" "$?" 0
expect_equal "screenshot size" "$(identify -format '%wx%h' "$shot" 2>&1)" "1024x768"
"$scripts/wine-screenshot.sh" "$BRANTEL_WINE_PREFIX/host.png"
expect_equal "host screenshot size" "$(identify -format '%wx%h' "$BRANTEL_WINE_PREFIX/host.png" 2>&1)" "1024x768"
driver frobnicate >/dev/null 2>&1
expect_equal "unknown command" "$?" 2

[ "$failures" -eq 0 ] || exit 1
echo "all checks passed"
