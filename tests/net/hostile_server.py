#!/usr/bin/env python3
"""Misbehaving update servers for the client's sandbox tests:

    scripts/net-sandbox.sh --server-cmd 'python3 tests/net/hostile_server.py MODE' -- ...

Listens on 127.0.0.1:443 of the sandbox with its trusted certificate, reads
each request and answers it the way MODE says.  Each of the first modes would
make a naive client report a version; the setup's client must report none.

    http-redirect    302 to http://updates.brantel.test:8080/setup/v1, where a
                     plain HTTP server answers a sound version
    silent           never answers; touches $BRANTEL_NET_DIR/request-read once
                     it has the request, so that a test knows the client waits
    huge-length      a sound version under Content-Length 2,000,000,000
    wrong-type       a sound version as text/plain
    status-500       a sound version with status 500
    malformed        a version element that never ends
    ten-bytes        a 10-byte document
    random           16 KiB of random bytes as text/xml
    short-body       a sound version cut short of its Content-Length

and three sound answers without a Content-Length, padded with blanks to a
size that the client's reading must get right: one read chunk (16 KiB), the
client's limit for a document (1 MiB, version 5.6.7.8), one byte beyond it:

    unannounced-chunk, unannounced-limit, unannounced-over-limit

and one that answers whatever the test asks for:

    echo-ver         a version element whose "ver" is the request's extra
                     field as sent (the client sends it unencoded), so that
                     one sandbox serves every form of the attribute

Standard library only; a thread per connection; every wait bounded.
"""

import argparse
import html
import os
import socket
import ssl
import sys
import threading
from pathlib import Path

# The request reading and answer writing of the sandbox's own fake server;
# nothing of it is compiled into the checkout.
sys.dont_write_bytecode = True
from fake_server import answer, read_request  # noqa: E402

SOUND = b'<release ver="9.9.9.9"/>'
IO_TIMEOUT_SECONDS = 30
SILENT_HOLD_SECONDS = 300


def silent(conn):
    Path(os.environ["BRANTEL_NET_DIR"], "request-read").touch()
    conn.settimeout(SILENT_HOLD_SECONDS)
    try:
        while conn.recv(4096):
            pass
    except OSError:
        pass


def unannounced(size):
    """A sound version padded to `size` bytes, sent without its length."""
    def reply(conn):
        body = b'<release ver="5.6.7.8"/>'
        body += b" " * (size - len(body))
        conn.sendall(b"HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nConnection: close\r\n\r\n" + body)
    return reply


DOCUMENT_LIMIT = 1024 * 1024  # the client's kMaxDocumentBytes
EXTRA_FIELD = b"k="


def echo_ver(conn, request):
    """The version element with the extra field's text as its "ver"."""
    _, body = request
    extra = next((field[len(EXTRA_FIELD):] for field in body.split(b"&") if field.startswith(EXTRA_FIELD)), b"")
    ver = html.escape(extra.decode("utf-8", "replace"), quote=True).encode("utf-8")
    answer(conn, "200 OK", "text/xml", b'<release ver="' + ver + b'"/>')


ANSWERS = {
    "http-redirect": lambda c: answer(c, "302 Found", "text/xml", SOUND, headers=[
                                       "Location: http://updates.brantel.test:8080/setup/v1"]),
    "silent": silent,
    "huge-length": lambda c: answer(c, "200 OK", "text/xml", SOUND, announced=2_000_000_000),
    "wrong-type": lambda c: answer(c, "200 OK", "text/plain", SOUND),
    "status-500": lambda c: answer(c, "500 Internal Server Error", "text/xml", SOUND),
    "malformed": lambda c: answer(c, "200 OK", "text/xml", b'<release ver="9.9.9.9"><'),
    "ten-bytes": lambda c: answer(c, "200 OK", "text/xml", b"<release/>"),
    "random": lambda c: answer(c, "200 OK", "text/xml", b"<" + os.urandom(16 * 1024)),
    "short-body": lambda c: answer(c, "200 OK", "text/xml", SOUND, announced=len(SOUND) + 100),
    "unannounced-chunk": unannounced(16384),
    "unannounced-limit": unannounced(DOCUMENT_LIMIT),
    "unannounced-over-limit": unannounced(DOCUMENT_LIMIT + 1),
    "echo-ver": echo_ver,
}
# The answers that read the request they answer.
READS_REQUEST = {"echo-ver"}


def serve(conn, reply, mode):
    conn.settimeout(IO_TIMEOUT_SECONDS)
    try:
        request = read_request(conn)
        if request is not None:
            # Written first: the silent mode never returns from its answer.
            with open(Path(os.environ["BRANTEL_NET_DIR"], "answered"), "a") as log:
                log.write(mode + "\n")
            if mode in READS_REQUEST:
                reply(conn, request)
            else:
                reply(conn)
    except (OSError, ssl.SSLError) as error:
        print(f"hostile_server: connection ended: {error}", file=sys.stderr, flush=True)
    finally:
        conn.close()


def listen(port, wrap, reply, mode):
    with socket.create_server(("127.0.0.1", port), backlog=64) as listener:
        while True:
            plain, _ = listener.accept()
            def run(plain=plain):
                try:
                    conn = wrap(plain)
                except (OSError, ssl.SSLError) as error:
                    print(f"hostile_server: handshake failed: {error}", file=sys.stderr, flush=True)
                    plain.close()
                    return
                serve(conn, reply, mode)
            threading.Thread(target=run, daemon=True).start()


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("mode", choices=sorted(ANSWERS))
    mode = parser.parse_args().mode
    tls = Path(os.environ["BRANTEL_NET_TLS"]) / "trusted"
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(str(tls / "server.pem"), str(tls / "server.key"))

    def wrap_tls(plain):
        plain.settimeout(IO_TIMEOUT_SECONDS)
        return context.wrap_socket(plain, server_side=True)

    if mode == "http-redirect":
        # Where the redirection points: a plain server with a sound answer.
        sound = lambda c: answer(c, "200 OK", "text/xml", SOUND)
        threading.Thread(target=listen, args=(8080, lambda plain: plain, sound, "plain-http"), daemon=True).start()
    print(f"hostile_server: {mode} on 127.0.0.1:443", file=sys.stderr, flush=True)
    listen(443, wrap_tls, ANSWERS[mode], mode)


if __name__ == "__main__":
    main()
