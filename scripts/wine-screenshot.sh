#!/usr/bin/env bash
# Screenshot of a Wine run's screen taken from the host: wine-screenshot.sh FILE
# (any format ImageMagick writes, by the name's extension).  Needs DISPLAY, which
# wine-prefix.sh's prefix_new exports and the Windows program sees too; a test
# or script that runs the program itself can use uidriver.exe screenshot FILE
# instead.
set -euo pipefail
file=${1:?usage: wine-screenshot.sh FILE}
: "${DISPLAY:?no DISPLAY: call from a script that ran prefix_new, or set it}"
import -display "$DISPLAY" -window root "$file"
