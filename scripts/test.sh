#!/usr/bin/env bash
# Builds everything and runs every test: host, sanitizers and fuzz smoke runs,
# and the Windows tests under Wine (each suite in a fresh prefix).  Ends on
# ctest's summary.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BRANTEL_BUILD_ROOT:-$root/build}
bash "$root/scripts/build.sh"
exec ctest --test-dir "$build" --output-on-failure -j "$(nproc)" "$@"
