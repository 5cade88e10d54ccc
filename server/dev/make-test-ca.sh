#!/usr/bin/env bash
# Makes a throw-away test CA and a server certificate signed by it, for running
# the update server with TLS in development and tests.  Never use these in
# production.
#
#   dev/make-test-ca.sh OUT_DIR [HOST_NAME...]
#
# Writes OUT_DIR/ca.pem (trust this one in the client), OUT_DIR/server.pem
# and OUT_DIR/server.key.  The certificate names every HOST_NAME (default
# updates.brantel.test) plus localhost and 127.0.0.1.
set -euo pipefail

out=${1:?usage: make-test-ca.sh OUT_DIR [HOST_NAME...]}
shift
hosts=("${@:-updates.brantel.test}")
mkdir -p "$out"
cd "$out"

names="DNS:localhost,IP:127.0.0.1"
for h in "${hosts[@]}"; do names="DNS:$h,$names"; done

openssl req -x509 -newkey rsa:2048 -nodes -days 30 -subj "/CN=Brantel test CA" \
  -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" \
  -keyout ca.key -out ca.pem 2>/dev/null
openssl req -newkey rsa:2048 -nodes -subj "/CN=${hosts[0]}" \
  -keyout server.key -out server.csr 2>/dev/null
printf 'subjectAltName=%s\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n' "$names" > server.ext
openssl x509 -req -in server.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 30 \
  -extfile server.ext -out server.pem 2>/dev/null
rm -f server.csr server.ext ca.srl
chmod 600 ca.key server.key
