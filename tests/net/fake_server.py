#!/usr/bin/env python3
"""A misbehaving HTTPS server for the network tests, run in a network sandbox:

    scripts/net-sandbox.sh --server-cmd 'python3 tests/net/fake_server.py MODE' -- ...

It listens on 127.0.0.1:443 of the sandbox with the sandbox's certificates
(BRANTEL_NET_TLS) and treats every connection the way MODE says:

    untrusted-ca   a sound version answer, under a certificate of the right
                   name from a CA that the client does not trust
    other-name     a sound version answer, under a certificate from the trusted
                   CA for another host name
    silent         completes the handshake, reads the request, never answers
    short-body     announces a body of 1000 bytes, sends 10 and closes
    sni            answers with the host name the client sent in its TLS hello

Standard library only.  Each connection has a thread of its own; every wait is
bounded.
"""

import argparse
import os
import socket
import ssl
import sys
import threading
from pathlib import Path

HEAD_LIMIT = 16 * 1024
BODY_LIMIT = 64 * 1024
# A silent connection is held until the client gives up, at the most this long.
SILENT_HOLD_SECONDS = 300
IO_TIMEOUT_SECONDS = 30
VERSION_ANSWER = b'<?xml version="1.0" encoding="UTF-8"?>\n<release ver="9.8.7.6"/>\n'


def read_request(tls):
    """Reads one request head and its announced body; False when the client left."""
    data = b""
    while b"\r\n\r\n" not in data:
        chunk = tls.recv(4096)
        if not chunk or len(data) > HEAD_LIMIT:
            return False
        data += chunk
    head, _, body = data.partition(b"\r\n\r\n")
    length = 0
    for line in head.split(b"\r\n")[1:]:
        name, _, value = line.partition(b":")
        if name.strip().lower() == b"content-length" and value.strip().isdigit():
            length = min(int(value.strip()), BODY_LIMIT)
    while len(body) < length:
        chunk = tls.recv(4096)
        if not chunk:
            return False
        body += chunk
    return True


def answer(tls, status, content_type, body, announced=None):
    length = len(body) if announced is None else announced
    head = (f"HTTP/1.1 {status}\r\nContent-Type: {content_type}\r\nContent-Length: {length}\r\n"
            f"Connection: close\r\n\r\n").encode("ascii")
    tls.sendall(head + body)


def version_answer(tls, server_name):
    if read_request(tls):
        answer(tls, "200 OK", "text/xml; charset=utf-8", VERSION_ANSWER)


def silent(tls, server_name):
    if read_request(tls):
        tls.settimeout(SILENT_HOLD_SECONDS)
        try:
            while tls.recv(4096):
                pass
        except (OSError, ssl.SSLError):
            pass


def short_body(tls, server_name):
    if read_request(tls):
        answer(tls, "200 OK", "text/xml; charset=utf-8", VERSION_ANSWER[:10], announced=1000)


def echo_server_name(tls, server_name):
    if read_request(tls):
        answer(tls, "200 OK", "text/plain; charset=us-ascii", (server_name or "").encode("ascii"))


# mode: (certificate folder under BRANTEL_NET_TLS, handler)
MODES = {
    "untrusted-ca": ("untrusted", version_answer),
    "other-name": ("other-name", version_answer),
    "silent": ("trusted", silent),
    "short-body": ("trusted", short_body),
    "sni": ("trusted", echo_server_name),
}


def tls_context(folder):
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(str(folder / "server.pem"), str(folder / "server.key"))
    return context


def serve_connection(folder, plain, handler):
    # A context per connection: the name the client sends is caught by a
    # callback of the context.
    context = tls_context(folder)
    names = {}

    def remember_name(ssl_socket, server_name, ssl_context):
        names["sent"] = server_name

    context.sni_callback = remember_name
    plain.settimeout(IO_TIMEOUT_SECONDS)
    try:
        with context.wrap_socket(plain, server_side=True) as tls:
            handler(tls, names.get("sent"))
    except (OSError, ssl.SSLError) as error:
        # A client that refuses the certificate ends the handshake: expected here.
        print(f"fake_server: connection ended: {error}", file=sys.stderr, flush=True)
    finally:
        plain.close()


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("mode", choices=sorted(MODES))
    parser.add_argument("--port", type=int, default=443)
    arguments = parser.parse_args()

    folder_name, handler = MODES[arguments.mode]
    folder = Path(os.environ["BRANTEL_NET_TLS"]) / folder_name
    tls_context(folder)  # a missing or bad certificate stops the start
    with socket.create_server(("127.0.0.1", arguments.port), backlog=64) as listener:
        print(f"fake_server: {arguments.mode} on 127.0.0.1:{arguments.port}", file=sys.stderr, flush=True)
        while True:
            plain, _ = listener.accept()
            threading.Thread(target=serve_connection, args=(folder, plain, handler), daemon=True).start()


if __name__ == "__main__":
    main()
