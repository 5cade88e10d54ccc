#!/usr/bin/env bash
# Checks scripts/wine-run.sh from the host side:
#   wine_run_test.sh SCRIPTS_DIR harness_show_message.exe
# The program's exit code comes back; the prefix, its wineserver, its Xvfb
# and its socket folder are gone afterwards, also after two runs at once and
# after a run killed outright; the wrapper hook sees a prepared prefix.
set -uo pipefail

scripts=$1
show_message=$2
run=$scripts/wine-run.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unset DISPLAY WINEDEBUG BRANTEL_WINE_WRAPPER

failures=0
fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}

# A wrapper that writes down what the run prepared, then runs the program.
recorder=$work/record.sh
cat >"$recorder" <<'EOF'
#!/usr/bin/env bash
record=$RECORD_FILE
{
  echo "prefix=$WINEPREFIX"
  echo "exported=$BRANTEL_WINE_PREFIX"
  echo "display=$DISPLAY"
  echo "winedebug=$WINEDEBUG"
  echo "socket=$(cat "$WINEPREFIX/wineserver" 2>/dev/null)"
  [ -f "$WINEPREFIX/system.reg" ] && echo "copied=yes"
} >"$record.partial"
mv "$record.partial" "$record"
exec "$WINE" "$@"
EOF
chmod +x "$recorder"

recorded() { sed -n "s/^$2=//p" "$1"; }

# Processes whose environment names the prefix: Wine's own, the program's and
# the run's Xvfb (a display number alone says nothing: another run may have
# taken it over since).
processes_of() {
  grep -lzxF "WINEPREFIX=$1" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3
}

# Everything a run made must be gone once it has ended.
expect_cleaned() {
  local record=$1 prefix socket
  prefix=$(recorded "$record" prefix)
  socket=$(recorded "$record" socket)
  [ -n "$prefix" ] || { fail "no prefix recorded in $record"; return; }
  [ ! -e "$prefix" ] || fail "prefix $prefix left behind"
  [ -z "$(processes_of "$prefix")" ] || fail "processes of $prefix still running: $(processes_of "$prefix")"
  if [ -n "$socket" ] && [ -e "${TMPDIR:-/tmp}/$socket" ]; then
    fail "socket folder $socket left behind"
  fi
}

# Waits up to $2 seconds for a file to appear.
await_file() {
  local tries=0
  until [ -s "$1" ]; do
    [ $((tries += 1)) -le $(($2 * 10)) ] || return 1
    sleep 0.1
  done
}

# The process and all its descendants, children first.
kill_tree() {
  local child
  for child in $(ps -o pid= --ppid "$1"); do
    kill_tree "$child"
  done
  kill -9 "$1" 2>/dev/null
}

echo "== the exit code is the program's; the run is prepared and cleaned up"
RECORD_FILE=$work/plain BRANTEL_WINE_WRAPPER=$recorder "$run" "$show_message" wrong-arguments
status=$?
[ "$status" = 255 ] || fail "exit code $status, the program's is 255"
[ "$(recorded "$work/plain" prefix)" = "$(recorded "$work/plain" exported)" ] || fail "BRANTEL_WINE_PREFIX is not WINEPREFIX"
[ "$(recorded "$work/plain" copied)" = yes ] || fail "the prefix was not a copy of the template"
[ "$(recorded "$work/plain" winedebug)" = "-all" ] || fail "WINEDEBUG is not -all by default"
[[ $(recorded "$work/plain" display) =~ ^:[0-9]+$ ]] || fail "no private display"
case $(recorded "$work/plain" prefix) in
  "$HOME"/.wine*) fail "the run used the home prefix" ;;
esac
expect_cleaned "$work/plain"

echo "== a caller's WINEDEBUG is kept; a long run is reported"
RECORD_FILE=$work/debug WINEDEBUG=err+all BRANTEL_WINE_SLOW_SECONDS=-1 BRANTEL_WINE_WRAPPER=$recorder \
  "$run" "$show_message" x 2>"$work/debug.err"
[ "$(recorded "$work/debug" winedebug)" = "err+all" ] || fail "the caller's WINEDEBUG was replaced"
grep -q "^slow: $(basename "$show_message") x took [0-9]* s$" "$work/debug.err" || fail "no slow line: $(cat "$work/debug.err")"
expect_cleaned "$work/debug"

echo "== two runs at once get two prefixes and two displays"
RECORD_FILE=$work/one BRANTEL_WINE_WRAPPER=$recorder "$run" "$show_message" one &
one=$!
RECORD_FILE=$work/two BRANTEL_WINE_WRAPPER=$recorder "$run" "$show_message" two &
two=$!
wait "$one"; status_one=$?
wait "$two"; status_two=$?
[ "$status_one" = 255 ] && [ "$status_two" = 255 ] || fail "parallel exit codes $status_one $status_two"
[ "$(recorded "$work/one" prefix)" != "$(recorded "$work/two" prefix)" ] || fail "parallel runs shared a prefix"
[ "$(recorded "$work/one" display)" != "$(recorded "$work/two" display)" ] || fail "parallel runs shared a display"
expect_cleaned "$work/one"
expect_cleaned "$work/two"

echo "== a run killed outright is cleaned up after"
# The message box stays open until the run is killed.
RECORD_FILE=$work/killed BRANTEL_WINE_WRAPPER=$recorder setsid "$run" "$show_message" Brantel "left open" 0 \
  </dev/null >/dev/null 2>&1 &
killed=$!
if await_file "$work/killed" 60; then
  prefix=$(recorded "$work/killed" prefix)
  tries=0
  until [ -n "$(processes_of "$prefix")" ] || [ $((tries += 1)) -gt 100 ]; do sleep 0.1; done
  kill_tree "$killed"
  wait "$killed" 2>/dev/null
  tries=0
  while { [ -e "$prefix" ] || [ -n "$(processes_of "$prefix")" ]; } && [ $((tries += 1)) -le 300 ]; do
    sleep 0.1
  done
  expect_cleaned "$work/killed"
else
  fail "the killed run never started its program"
  kill_tree "$killed"
fi

echo "== the template is reused, not made again"
template=$BRANTEL_BUILD_DIR/wine-template
before=$(stat -c %Y "$template/.brantel-template-stamp")
"$scripts/wine-template.sh" "$template" || fail "wine-template.sh failed on a complete template"
[ "$(stat -c %Y "$template/.brantel-template-stamp")" = "$before" ] || fail "the complete template was made again"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "all checks passed"
