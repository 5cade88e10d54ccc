#!/usr/bin/env bash
# Runs one Windows program under Wine in a fresh prefix:
#   wine-run.sh prog.exe [args...]
#
# The windows tree's CMAKE_CROSSCOMPILING_EMULATOR, so every ctest entry gets a
# prefix of its own, copied from the build tree's template (see wine-prefix.sh
# for how the template is found).  The program sees BRANTEL_WINE_PREFIX, the
# prefix's unix path.  When DISPLAY is not set a private Xvfb is started.
# Whatever happens, the prefix's wineserver and Xvfb are stopped and the prefix
# is deleted; the exit code is the program's.
#
# A run longer than BRANTEL_WINE_SLOW_SECONDS (30) reports "slow: ..." on stderr.
#
# BRANTEL_WINE_WRAPPER="command [args]" runs that host command in place of wine
# once the prefix is ready: it is called with prog.exe and its arguments and
# finds WINE, WINEPREFIX and DISPLAY in its environment (wine-restart.sh is
# one).  A ctest entry sets it with
#   set_property(TEST name APPEND PROPERTY ENVIRONMENT BRANTEL_WINE_WRAPPER=...)
set -uo pipefail

if [ $# -lt 1 ]; then
  echo "usage: wine-run.sh prog.exe [args...]" >&2
  exit 2
fi

source "$(dirname "${BASH_SOURCE[0]}")/wine-prefix.sh"

trap prefix_drop EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

started=$SECONDS
prefix_new "$1" || exit 125

if [ -n "${BRANTEL_WINE_WRAPPER:-}" ]; then
  # shellcheck disable=SC2086  # the wrapper is a command line of its own
  ${BRANTEL_WINE_WRAPPER} "$@"
else
  prefix_run "$@"
fi
status=$?

prefix_drop
took=$((SECONDS - started))
if [ "$took" -gt "${BRANTEL_WINE_SLOW_SECONDS:-30}" ]; then
  echo "slow: $(basename "$1") ${*:2} took $took s" >&2
fi
exit "$status"
