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
    record         a sound version answer; keeps the last request's head and
                   body in BRANTEL_NET_DIR/last-request-head and -body
    status-500     status 500
    redirect-http  a 302 to http://updates.brantel.test/setup/v1
    redirect-loop  a 302 to its own address, https://updates.brantel.test/setup/v1
    wrong-type     a sound version element as text/html
    huge-length    announces 1 TiB, sends the version element and closes
    malformed-xml  an element that never closes
    empty-body     status 200 and no body
    ten-bytes      the first 10 bytes of a version answer, announced as such
    random-bytes   4096 bytes of a fixed seed as text/xml

Standard library only.  Each connection has a thread of its own; every wait is
bounded.
"""

import argparse
import os
import random
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
XML = "text/xml; charset=utf-8"
SELF = "https://updates.brantel.test/setup/v1"
# Requests of parallel connections are recorded one at a time.
LOCK = threading.Lock()
VERSION_ANSWER = b'<?xml version="1.0" encoding="UTF-8"?>\n<release ver="9.8.7.6"/>\n'


def read_request(tls):
    """Reads one request (head and announced body); None when the client left."""
    data = b""
    while b"\r\n\r\n" not in data:
        chunk = tls.recv(4096)
        if not chunk or len(data) > HEAD_LIMIT:
            return None
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
            return None
        body += chunk
    return head, body


def answer(tls, status, content_type, body, announced=None, headers=()):
    length = len(body) if announced is None else announced
    lines = [f"HTTP/1.1 {status}", f"Content-Type: {content_type}", f"Content-Length: {length}",
             *headers, "Connection: close"]
    tls.sendall(("\r\n".join(lines) + "\r\n\r\n").encode("ascii") + body)


def answering(status, content_type, body, announced=None, headers=()):
    """A handler that reads the request and sends this answer."""
    def handler(tls, server_name):
        if read_request(tls) is not None:
            answer(tls, status, content_type, body, announced, headers)
    return handler


def silent(tls, server_name):
    if read_request(tls) is not None:
        tls.settimeout(SILENT_HOLD_SECONDS)
        try:
            while tls.recv(4096):
                pass
        except (OSError, ssl.SSLError):
            pass


def echo_server_name(tls, server_name):
    if read_request(tls) is not None:
        answer(tls, "200 OK", "text/plain; charset=us-ascii", (server_name or "").encode("ascii"))


def record(tls, server_name):
    """Keeps the last request's head and body as they came, then answers."""
    request = read_request(tls)
    if request is not None:
        folder = Path(os.environ["BRANTEL_NET_DIR"])
        with LOCK:
            (folder / "last-request-head").write_bytes(request[0])
            (folder / "last-request-body").write_bytes(request[1])
        answer(tls, "200 OK", XML, VERSION_ANSWER)


version_answer = answering("200 OK", XML, VERSION_ANSWER)

# mode: (certificate folder under BRANTEL_NET_TLS, handler)
MODES = {
    "untrusted-ca": ("untrusted", version_answer),
    "other-name": ("other-name", version_answer),
    "silent": ("trusted", silent),
    "short-body": ("trusted", answering("200 OK", XML, VERSION_ANSWER[:10], announced=1000)),
    "sni": ("trusted", echo_server_name),
    "record": ("trusted", record),
    "status-500": ("trusted", answering("500 Internal Server Error", "text/plain", b"broken\n")),
    "redirect-http": ("trusted", answering("302 Found", "text/plain", b"", headers=[
        "Location: http://updates.brantel.test/setup/v1"])),
    "redirect-loop": ("trusted", answering("302 Found", "text/plain", b"", headers=[f"Location: {SELF}"])),
    "wrong-type": ("trusted", answering("200 OK", "text/html", VERSION_ANSWER)),
    "huge-length": ("trusted", answering("200 OK", XML, VERSION_ANSWER, announced=1 << 40)),
    "malformed-xml": ("trusted", answering("200 OK", XML, b'<release ver="2.5.0.17"')),
    "empty-body": ("trusted", answering("200 OK", XML, b"")),
    "ten-bytes": ("trusted", answering("200 OK", XML, VERSION_ANSWER[:10])),
    "random-bytes": ("trusted", answering("200 OK", XML, random.Random(20261211).randbytes(4096))),
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
