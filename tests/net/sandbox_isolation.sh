#!/usr/bin/env bash
# Network sandboxes (scripts/net-sandbox.sh) kept apart from each other and
# from the host:
#
#   sandbox_isolation.sh parallel TEST.exe CONFIG_A CONFIG_B
#       two sandboxes up at the same time, each with its server on 443 and a
#       configuration announcing another version; the Wine test in each
#       (UpdateServerInSandbox) must get its own sandbox's version.
#   sandbox_isolation.sh killed CONFIG
#       a sandbox killed outright (SIGKILL, as ctest ends a timed-out entry)
#       leaves no process and no folder behind.
#   sandbox_isolation.sh refused CONFIG
#       a configuration the server refuses: the sandbox never runs the
#       command, ends with 125 and shows the server's own message.
#
# Every wait is bounded by a deadline.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
sandbox=$here/../../scripts/net-sandbox.sh
deadline_tenths=600

shared=$(mktemp -d "${TMPDIR:-/tmp}/brantel-net-isolation.XXXXXX") || exit 1
trap 'rm -rf "$shared"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Waits until every file given exists; false after the deadline.
await_files() {
  local tries=0 f
  for f in "$@"; do
    until [ -e "$f" ]; do
      [ $((tries += 1)) -le $deadline_tenths ] || return 1
      sleep 0.1
    done
  done
}

# The expected version as written in a configuration.
version_of() { sed -n 's/^latest = "\(.*\)"$/\1/p' "$1"; }

parallel() {
  local exe=$1 a=$2 b=$3 pid_a pid_b status_a status_b
  # Each sandbox says it is up, then waits for the other, so that both
  # servers hold port 443 at the same time while the requests run.
  run_one() {
    local name=$1 other=$2 config=$3
    BRANTEL_SANDBOX_VERSION=$(version_of "$config") "$sandbox" --config "$config" -- bash -c '
      touch "$0/$1.up"
      until [ -e "$0/$2.up" ]; do sleep 0.1; done
      exec bash "$3" "$4" --gtest_filter=UpdateServerInSandbox.AnswersTheVersionCheckUnderItsHostName
    ' "$shared" "$name" "$other" "$here/../../scripts/wine-run.sh" "$exe"
  }
  run_one a b "$a" >"$shared/a.log" 2>&1 &
  pid_a=$!
  run_one b a "$b" >"$shared/b.log" 2>&1 &
  pid_b=$!
  await_files "$shared/a.up" "$shared/b.up" || { kill -9 "$pid_a" "$pid_b"; fail "the two sandboxes were not up together"; }
  wait "$pid_a"; status_a=$?
  wait "$pid_b"; status_b=$?
  cat "$shared/a.log" "$shared/b.log"
  [ "$(version_of "$a")" != "$(version_of "$b")" ] || fail "the two configurations announce the same version"
  [ "$status_a" = 0 ] && [ "$status_b" = 0 ] || fail "sandbox a ended with $status_a, sandbox b with $status_b"
  echo "both sandboxes reached their own server at once"
}

# Processes of this machine whose environment holds the mark.
marked_processes() {
  grep -lzxF "BRANTEL_ISOLATION_MARK=$1" /proc/[0-9]*/environ 2>/dev/null
}

killed() {
  local config=$1 mark pid folder tries=0
  mark=killed-$$-$RANDOM
  BRANTEL_ISOLATION_MARK=$mark "$sandbox" --config "$config" -- bash -c '
    printf "%s" "$BRANTEL_NET_DIR" >"$0/folder"; touch "$0/up"; exec sleep 600' "$shared" &
  pid=$!
  await_files "$shared/up" || { kill -9 "$pid"; fail "the sandbox did not come up"; }
  folder=$(cat "$shared/folder")
  [ -d "$folder" ] || fail "no sandbox folder $folder"
  [ -n "$(marked_processes "$mark")" ] || fail "no process of the sandbox found: the check would prove nothing"

  kill -9 "$pid"
  wait "$pid" 2>/dev/null
  until [ -z "$(marked_processes "$mark")" ] && [ ! -e "$folder" ]; do
    [ $((tries += 1)) -le $deadline_tenths ] || fail "left behind: $(marked_processes "$mark" | tr '\n' ' ') ${folder}"
    sleep 0.1
  done
  echo "a killed sandbox left nothing behind"
}

refused() {
  local bad=$shared/bad.toml status
  sed 's/^latest = .*/latest = "two"/' "$1" >"$bad"
  "$sandbox" --config "$bad" -- touch "$shared/ran" 2>"$shared/refused.log"
  status=$?
  cat "$shared/refused.log"
  [ "$status" = 125 ] || fail "the sandbox ended with $status"
  [ ! -e "$shared/ran" ] || fail "the command ran without a server"
  grep -qF "$bad:" "$shared/refused.log" || fail "the server's message naming the file is not shown"
  echo "a refused configuration stops the sandbox before the command"
}

case ${1:-} in
  parallel) [ $# = 4 ] || fail "usage: parallel TEST.exe CONFIG_A CONFIG_B"; parallel "$2" "$3" "$4" ;;
  killed) [ $# = 2 ] || fail "usage: killed CONFIG"; killed "$2" ;;
  refused) [ $# = 2 ] || fail "usage: refused CONFIG"; refused "$2" ;;
  *) fail "usage: sandbox_isolation.sh parallel|killed|refused ..." ;;
esac
