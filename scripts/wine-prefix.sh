# Fresh Wine prefixes for the Windows tests; source this file from bash.
#
#   prefix_new [PROGRAM]  copies the template into a new temporary prefix and
#                         exports WINEPREFIX and BRANTEL_WINE_PREFIX (its unix
#                         path), WINE and WINESERVER (the binaries), WINEDEBUG
#                         (-all unless already set), LC_ALL (the locale that
#                         gives code page 1252) and DISPLAY (a private Xvfb
#                         when none was set).
#   prefix_run PROG ARGS  runs a Windows program (or a builtin such as
#                         "wineboot -r") in that prefix; returns its exit code.
#   prefix_windows_path P the Windows name of unix path P: /tmp/x is Z:\tmp\x.
#   prefix_drop           stops the prefix's wineserver and Xvfb and deletes
#                         the prefix.  Idempotent: call it from an EXIT trap.
#
# The template is BRANTEL_WINE_TEMPLATE, else BRANTEL_BUILD_DIR/wine-template,
# else wine-template in the build tree that holds PROGRAM (the nearest folder
# above it with a CMakeCache.txt).  A missing or stale template is made first
# by wine-template.sh.
#
# Even when the caller is killed outright (ctest ends a test that ran out of
# time with SIGKILL), a detached reaper that watches the caller's pid stops the
# wineserver and deletes the prefix, so nothing is left running.
#
# A script that needs the host around a run (a restart between two runs, a
# mount namespace, a second program driving the first) does:
#   source scripts/wine-prefix.sh
#   prefix_new prog.exe; trap prefix_drop EXIT
#   prefix_run prog.exe --phase=1; prefix_run wineboot -r; prefix_run prog.exe --phase=2
# or, from a ctest entry, names a wrapper for wine-run.sh (BRANTEL_WINE_WRAPPER,
# wine-restart.sh is one).  Scripts look at the screen with
#   prefix_run build/windows/tests/support/uidriver.exe msgbox --caption Brantel
#   scripts/wine-screenshot.sh shot.png

BRANTEL_SCRIPTS=${BRANTEL_SCRIPTS:-$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)}
export WINE=${WINE:-/usr/lib/wine/wine64}
export WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver}
# Wine takes the ANSI code page from the Unix locale: the tests' prefixes use
# code page 1252 whatever the caller's LANG (see wine-template.sh).
export BRANTEL_WINE_LOCALE=C.UTF-8

_prefix_dir=""
_prefix_xvfb_pid=""
_prefix_reaper_pid=""
_prefix_own_display=""

prefix_windows_path() {
  local path=$1
  printf 'Z:%s' "${path//\//\\}"
}

_prefix_find_template() {
  if [ -n "${BRANTEL_WINE_TEMPLATE:-}" ]; then
    printf '%s' "$BRANTEL_WINE_TEMPLATE"
    return
  fi
  if [ -n "${BRANTEL_BUILD_DIR:-}" ]; then
    printf '%s/wine-template' "$BRANTEL_BUILD_DIR"
    return
  fi
  local dir
  dir=$(cd "$(dirname "${1:-.}")" 2>/dev/null && pwd) || dir=$PWD
  while [ "$dir" != / ]; do
    if [ -f "$dir/CMakeCache.txt" ]; then
      printf '%s/wine-template' "$dir"
      return
    fi
    dir=$(dirname "$dir")
  done
  echo "wine-prefix: no template: set BRANTEL_WINE_TEMPLATE or BRANTEL_BUILD_DIR" >&2
  return 1
}

# Starts Xvfb on the first free display; -displayfd reports the number once
# the server accepts connections.  Started before the prefix is copied and
# awaited after, so the two overlap.
_prefix_start_xvfb() {
  Xvfb -displayfd 8 -screen 0 1024x768x24 -nolisten tcp -noreset \
    8>"$_prefix_dir.display" </dev/null >/dev/null 2>&1 &
  _prefix_xvfb_pid=$!
}

_prefix_await_xvfb() {
  local report=$_prefix_dir.display tries=0
  until grep -q '^[0-9]' "$report" 2>/dev/null; do
    if ! kill -0 "$_prefix_xvfb_pid" 2>/dev/null || [ $((tries += 1)) -gt 1000 ]; then
      echo "wine-prefix: Xvfb did not start" >&2
      return 1
    fi
    sleep 0.01
  done
  _prefix_own_display=":$(head -n1 "$report")"
  export DISPLAY=$_prefix_own_display
  rm -f "$report"
}

# Alive and not a zombie waiting for its parent.
_prefix_running() {
  local state
  state=$(sed -n 's/^[0-9]* (.*) \([A-Z]\).*/\1/p' "/proc/$1/stat" 2>/dev/null)
  [ -n "$state" ] && [ "$state" != Z ]
}

# This Wine makes a random folder for the wineserver's socket and writes its
# name into the prefix; the server leaves it behind when it ends.
_prefix_remove_socket_folder() {
  local name
  name=$(cat "$1/wineserver" 2>/dev/null) || return 0
  if [[ $name =~ ^wine-[A-Za-z0-9]+$ ]] && [ -d "${TMPDIR:-/tmp}/$name" ]; then
    rm -rf "${TMPDIR:-/tmp}/${name:?}"
  fi
}

# The cleanup shared by prefix_drop and the reaper.
_prefix_cleanup() {
  local dir=$1 xvfb=$2
  if [ -d "$dir" ]; then
    WINEPREFIX=$dir "$WINESERVER" -k 2>/dev/null
    WINEPREFIX=$dir "$WINESERVER" -w 2>/dev/null
  fi
  # The pid is checked to still be this prefix's Xvfb (it inherited
  # WINEPREFIX): the reaper may run after the caller's process tree was
  # killed, when the number could have been reused.
  if [ -n "$xvfb" ] && grep -qzxF "WINEPREFIX=$dir" "/proc/$xvfb/environ" 2>/dev/null; then
    kill "$xvfb" 2>/dev/null
    wait "$xvfb" 2>/dev/null
    while _prefix_running "$xvfb"; do sleep 0.01; done
  fi
  _prefix_remove_socket_folder "$dir"
  rm -rf "$dir" "$dir.display"
}

# Detached (double fork, own session, no inherited pipes) so that killing the
# caller's process tree leaves it alive to clean up after the caller.
_prefix_start_reaper() {
  local watched=$$ dir=$_prefix_dir xvfb=$_prefix_xvfb_pid
  (
    setsid bash -c '
      source "$0"
      while kill -0 '"$watched"' 2>/dev/null; do sleep 1; done
      _prefix_cleanup "$1" "$2"
    ' "${BASH_SOURCE[0]}" "$dir" "$xvfb" </dev/null >/dev/null 2>&1 &
    echo $! >"$dir.reaper"
  )
  _prefix_reaper_pid=$(cat "$dir.reaper")
  rm -f "$dir.reaper"
}

prefix_new() {
  local template
  template=$(_prefix_find_template "${1:-}") || return 1
  "$BRANTEL_SCRIPTS/wine-template.sh" "$template" >&2 || return 1
  _prefix_dir=$(mktemp -d "${TMPDIR:-/tmp}/brantel-wine.XXXXXX") || return 1
  export WINEPREFIX=$_prefix_dir BRANTEL_WINE_PREFIX=$_prefix_dir
  export WINEDEBUG=${WINEDEBUG:--all}
  export LC_ALL=$BRANTEL_WINE_LOCALE
  if [ -z "${DISPLAY:-}" ]; then
    _prefix_start_xvfb
  fi
  _prefix_start_reaper
  cp -a "$template/." "$_prefix_dir/" || return 1
  # Started here, before any program: two programs that start at once in a
  # prefix without a server race to create its socket folder, and one fails.
  # Persistent until prefix_drop, so a wrapper's pause between two runs does
  # not end it.
  "$WINESERVER" -p || return 1
  if [ -n "$_prefix_xvfb_pid" ]; then
    _prefix_await_xvfb || return 1
  fi
}

prefix_run() {
  if [ -z "$_prefix_dir" ]; then
    echo "wine-prefix: prefix_run before prefix_new" >&2
    return 1
  fi
  "$WINE" "$@"
}

prefix_drop() {
  [ -n "$_prefix_dir" ] || return 0
  _prefix_cleanup "$_prefix_dir" "$_prefix_xvfb_pid"
  # The reaper goes only now, so that a caller killed in the middle of the
  # cleanup leaves the rest to it.  It leads a process group of its own: its
  # pending sleep goes with it.
  if [ -n "$_prefix_reaper_pid" ]; then
    kill -- "-$_prefix_reaper_pid" 2>/dev/null
  fi
  if [ -n "$_prefix_own_display" ] && [ "${DISPLAY:-}" = "$_prefix_own_display" ]; then
    unset DISPLAY
  fi
  _prefix_dir="" _prefix_xvfb_pid="" _prefix_reaper_pid="" _prefix_own_display=""
  unset WINEPREFIX BRANTEL_WINE_PREFIX
}
