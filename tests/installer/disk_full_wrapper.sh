#!/usr/bin/env bash
# A BRANTEL_WINE_WRAPPER (see scripts/wine-run.sh) that runs the test program
# with a small empty tmpfs (BRANTEL_FULL_DISK_SIZE, 3m) mounted over the
# prefix's "Program Files", in a mount namespace of its own.  The prefix's
# wineserver opens the files for its programs, so it is restarted inside the
# namespace, where it sees the mount.
set -uo pipefail
"$WINESERVER" -k 2>/dev/null
"$WINESERVER" -w 2>/dev/null
exec unshare -m --propagation private bash -c '
  folder="$WINEPREFIX/drive_c/Program Files"
  mount -t tmpfs -o "size=${BRANTEL_FULL_DISK_SIZE:-3m}" brantel-full "$folder" || exit 125
  "$WINE" "$@"
  status=$?
  "$WINESERVER" -k 2>/dev/null
  "$WINESERVER" -w 2>/dev/null
  umount -l "$folder"
  exit $status
' bash "$@"
