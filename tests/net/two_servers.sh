#!/usr/bin/env bash
# The servers of the client's sandbox tests, as the sandbox's server command:
# the default server on 443 (client.toml) and the one a moved product goes to
# on 8443 (client-moved.toml), both with the sandbox's trusted certificate.
# The second is up before the first binds, since the sandbox waits for 443.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cd "$here/../../server"

serve() {
  /usr/bin/python3 -m gunicorn --config gunicorn.conf.py --bind "127.0.0.1:$1" --workers 1 \
    --certfile "$BRANTEL_NET_TLS/trusted/server.pem" --keyfile "$BRANTEL_NET_TLS/trusted/server.key" \
    "brantel_updates:create_app(\"$2\")"
}

serve 8443 "$here/client-moved.toml" &
for ((tries = 0; tries < 300; tries++)); do
  (exec 3<>/dev/tcp/127.0.0.1/8443) 2>/dev/null && break
  sleep 0.1
done
serve 443 "$here/client.toml"
