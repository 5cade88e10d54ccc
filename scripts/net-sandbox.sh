#!/usr/bin/env bash
# Runs a command in a private network sandbox with the update server up:
#
#   net-sandbox.sh [--config UPDATES.toml] [--cert-for NAME]... [--host NAME]...
#                  [--server-cmd 'COMMAND LINE' | --no-server] -- COMMAND [ARGS...]
#
# COMMAND runs in fresh mount, network and process namespaces of its own:
# only a loopback interface exists, the host names given resolve to 127.0.0.1
# through a hosts file mounted over /etc/hosts, and a test CA is added to the
# system's CA certificates (the bundle and the folder /etc/ssl/certs, mounted
# over the real ones).  So a Windows program under Wine (whose HTTPS trusts
# the host's CA certificates and resolves names through the host) reaches
# https://updates.brantel.test/ on the real port 443 with certificate checks
# and SNI, and any number of sandboxes run at once without colliding or
# touching the host.  Run a Windows test inside:  -- scripts/wine-run.sh prog.exe
#
#   --config FILE      the update server's configuration; the server is
#                      gunicorn with TLS on 127.0.0.1:443, as in development
#   --cert-for NAME    a host name of the server: in its certificate and the
#                      hosts file (default: updates.brantel.test); repeatable
#   --host NAME        a further name that resolves to 127.0.0.1, without a
#                      certificate; repeatable
#   --server-cmd CMD   runs the bash command line CMD on 443 instead of
#                      gunicorn (tests/net/fake_server.py is one)
#   --no-server        nothing listens: a server that is down
#
# Defaults from the environment, for ctest entries: BRANTEL_NET_CONFIG,
# BRANTEL_NET_SERVER_CMD, BRANTEL_NET_NO_SERVER=1.  COMMAND and the server find in theirs:
#   BRANTEL_NET_DIR      the sandbox's own folder
#   BRANTEL_NET_TLS      its certificates: trusted/ (the server's, from the
#                        test CA), untrusted/ (the same names from a CA nobody
#                        trusts) and other-name/ (from the test CA, for
#                        elsewhere.brantel.test only); each holds ca.pem (its
#                        CA), server.pem and server.key
#   BRANTEL_NET_SERVER_LOG  what the server wrote
#   TMPDIR               inside BRANTEL_NET_DIR, so Wine prefixes go with it
#   no DISPLAY           so that wine-run.sh starts its Xvfb inside
#
# The exit code is COMMAND's; 125 when the sandbox could not be made.  The
# server is stopped when COMMAND ends.  Nothing outlives the run, even a
# killed one: the whole sandbox is one process namespace whose first process
# is killed with the caller (unshare --kill-child), and the kernel then ends
# every process in it and drops its mounts; a detached reaper outside deletes
# the sandbox's folder once the run has ended.  Needs root.
set -uo pipefail

scripts=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
checkout=$(dirname "$scripts")
other_name=elsewhere.brantel.test
start_deadline_tenths=300
stop_deadline_tenths=100

fail() {
  echo "net-sandbox: $*" >&2
  exit 125
}

usage() {
  fail "usage: net-sandbox.sh [--config FILE] [--cert-for NAME]... [--host NAME]... [--server-cmd CMD | --no-server] -- COMMAND..."
}

config=${BRANTEL_NET_CONFIG:-}
server_cmd=${BRANTEL_NET_SERVER_CMD:-}
no_server=${BRANTEL_NET_NO_SERVER:-}
dir=""
cert_names=()
host_names=()
while [ $# -gt 0 ]; do
  case $1 in
    --config) [ $# -ge 2 ] || usage; config=$2; shift 2 ;;
    --cert-for) [ $# -ge 2 ] || usage; cert_names+=("$2"); shift 2 ;;
    --host) [ $# -ge 2 ] || usage; host_names+=("$2"); shift 2 ;;
    --server-cmd) [ $# -ge 2 ] || usage; server_cmd=$2; shift 2 ;;
    --no-server) no_server=1; shift ;;
    --dir) [ $# -ge 2 ] || usage; dir=$2; shift 2 ;;  # given by the outside to the inside
    --) shift; break ;;
    *) usage ;;
  esac
done
[ $# -gt 0 ] || usage
[ ${#cert_names[@]} -gt 0 ] || cert_names=(updates.brantel.test)
if [ -z "$server_cmd" ] && [ -z "$no_server" ]; then
  [ -n "$config" ] || fail "give --config or --server-cmd"
  [ -f "$config" ] || fail "no configuration $config"
  config=$(cd "$(dirname "$config")" && pwd)/$(basename "$config")
fi

# ---------------------------------------------------------------------------
# Outside: enter the namespaces.  exec, so that whoever kills this process
# kills unshare, and unshare's --kill-child then ends the whole sandbox.
if [ -z "${_BRANTEL_NET_INSIDE:-}" ]; then
  [ "$(id -u)" = 0 ] || fail "needs root (namespaces and mounts)"
  work=$(mktemp -d "${TMPDIR:-/tmp}/brantel-net.XXXXXX") || fail "cannot make a folder"
  # Watches this process, which becomes unshare below, and deletes the folder
  # after it.  Detached (double fork, own session, no inherited pipes): ctest
  # kills a timed-out entry's whole tree of children, and this must outlive it.
  (
    setsid bash -c 'while kill -0 "$0" 2>/dev/null; do sleep 1; done; rm -rf "$1"' "$$" "$work" \
      </dev/null >/dev/null 2>&1 &
  )
  args=(--dir "$work" --config "$config" --server-cmd "$server_cmd")
  [ -z "$no_server" ] || args+=(--no-server)
  for n in "${cert_names[@]}"; do args+=(--cert-for "$n"); done
  for n in "${host_names[@]}"; do args+=(--host "$n"); done
  _BRANTEL_NET_INSIDE=1 exec unshare --mount --net --pid --fork --kill-child --mount-proc \
    --propagation private bash "${BASH_SOURCE[0]}" "${args[@]}" -- "$@"
  fail "cannot start unshare"
fi
unset _BRANTEL_NET_INSIDE

# ---------------------------------------------------------------------------
# Inside, as the namespace's first process.
ip link set lo up || fail "cannot bring up the loopback interface"

tls=$dir/tls
# The server's certificate from the test CA; the same names from a second CA
# that nobody trusts (an impostor: the same CA name, another key); and one from
# the test CA for another name only.
make_certificates() {
  local ca=$checkout/server/dev/make-test-ca.sh other=$tls/other-name
  bash "$ca" "$tls/trusted" "${cert_names[@]}" &&
    bash "$ca" "$tls/untrusted" "${cert_names[@]}" || return 1
  mkdir "$other" && cp "$tls/trusted/ca.pem" "$other/" &&
    openssl req -newkey rsa:2048 -nodes -subj "/CN=$other_name" -addext "subjectAltName=DNS:$other_name" \
      -keyout "$other/server.key" -out "$other/server.csr" 2>/dev/null &&
    openssl x509 -req -in "$other/server.csr" -CA "$tls/trusted/ca.pem" -CAkey "$tls/trusted/ca.key" \
      -copy_extensions copy -days 30 -out "$other/server.pem" 2>/dev/null &&
    rm -f "$other/server.csr" "$tls/trusted/ca.srl"
}
make_certificates || fail "cannot make the test certificates"

# The system's CA certificates plus the test CA, as a bundle and as a hashed
# link in a copy of the folder (the host's links are copied as links).
trust_test_ca() {
  local certs=$dir/certs hash
  mkdir "$certs" && cp -a /etc/ssl/certs/. "$certs/" || return 1
  cat /etc/ssl/certs/ca-certificates.crt "$tls/trusted/ca.pem" >"$certs/ca-certificates.crt" || return 1
  cp "$tls/trusted/ca.pem" "$certs/brantel-test-ca.pem" &&
    hash=$(openssl x509 -hash -noout -in "$certs/brantel-test-ca.pem") &&
    ln -s brantel-test-ca.pem "$certs/$hash.9" &&
    mount --bind "$certs" /etc/ssl/certs
}
trust_test_ca || fail "cannot add the test CA to the CA certificates"

write_hosts() {
  local n
  # The machine's own name stays known: Wine looks it up at start.
  printf '127.0.0.1\tlocalhost %s\n::1\tlocalhost\n' "$(uname -n)"
  for n in "${cert_names[@]}" "${host_names[@]}" "$other_name"; do
    printf '127.0.0.1\t%s\n' "$n"
  done
}
write_hosts >"$dir/hosts" && mount --bind "$dir/hosts" /etc/hosts || fail "cannot mount the hosts file"

mkdir "$dir/tmp" || fail "cannot make the temporary folder"
# A display of the host may be reachable only through its network (ssh's
# forwarding, an abstract socket): wine-run.sh starts a private Xvfb inside.
unset DISPLAY
export BRANTEL_NET_DIR=$dir BRANTEL_NET_TLS=$tls BRANTEL_NET_SERVER_LOG=$dir/server.log TMPDIR=$dir/tmp

server_pid=""
start_server() {
  if [ -n "$server_cmd" ]; then
    (cd "$checkout" && exec setsid bash -c "$server_cmd") >"$BRANTEL_NET_SERVER_LOG" 2>&1 </dev/null &
  else
    (cd "$checkout/server" && exec setsid /usr/bin/python3 -m gunicorn --config gunicorn.conf.py \
      --bind 127.0.0.1:443 --workers 1 \
      --certfile "$tls/trusted/server.pem" --keyfile "$tls/trusted/server.key" \
      "brantel_updates:create_app(\"$config\")") >"$BRANTEL_NET_SERVER_LOG" 2>&1 </dev/null &
  fi
  server_pid=$!
}

# gunicorn loads the configuration before it binds, so a port that takes
# connections is a server that has started.
await_server() {
  local tries=0
  until (exec 3<>/dev/tcp/127.0.0.1/443) 2>/dev/null; do
    if ! kill -0 "$server_pid" 2>/dev/null || [ $((tries += 1)) -gt $start_deadline_tenths ]; then
      echo "net-sandbox: the server did not start; it wrote:" >&2
      cat "$BRANTEL_NET_SERVER_LOG" >&2
      return 1
    fi
    sleep 0.1
  done
}

# The server leads a process group of its own (setsid): TERM reaches its
# workers too, KILL after a bounded wait.
stop_server() {
  [ -n "$server_pid" ] || return 0
  local tries=0
  kill -TERM -- "-$server_pid" 2>/dev/null
  while kill -0 "$server_pid" 2>/dev/null && [ $((tries += 1)) -le $stop_deadline_tenths ]; do
    sleep 0.1
  done
  kill -KILL -- "-$server_pid" 2>/dev/null
  wait "$server_pid" 2>/dev/null
  server_pid=""
}
trap stop_server EXIT
# As the namespace's first process this shell ignores signals it does not
# handle; the caller's TERM or INT still ends the run.
trap 'exit 143' TERM
trap 'exit 130' INT

if [ -z "$no_server" ]; then
  start_server
  await_server || exit 125
fi

"$@"
status=$?
stop_server
exit "$status"
