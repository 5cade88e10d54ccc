#!/usr/bin/env bash
# A BRANTEL_WINE_WRAPPER (see scripts/wine-run.sh) that sets the display's
# DPI of the fresh prefix before the test program starts:
#   wine-dpi.sh DPI prog.exe [args...]
# Wine reads the DPI from LogPixels when a process starts.
set -uo pipefail
dpi=$1
shift
for key in 'HKCU\Control Panel\Desktop' 'HKCC\Software\Fonts'; do
  "$WINE" reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 || exit
done
"$WINE" "$@"
