#!/usr/bin/env bash
# A BRANTEL_WINE_WRAPPER (see wine-run.sh) that runs a test program across a
# restart of the prefix: first with BRANTEL_RESTART_PHASE=before, then Wine
# restarts (wineboot -r: renames and deletions scheduled for the next restart
# happen, RunOnce entries run), then again with BRANTEL_RESTART_PHASE=after.
# The exit code is that of the first run that fails.
set -uo pipefail
BRANTEL_RESTART_PHASE=before "$WINE" "$@" || exit
"$WINE" wineboot -r || exit
BRANTEL_RESTART_PHASE=after "$WINE" "$@"
