"""The application under gunicorn with TLS: what actually goes over the wire."""

import hashlib
import socket
import subprocess
from xml.etree import ElementTree

from conftest import PLAIN, product_table
from live_server import SERVER_DIR, gunicorn_command, make_certificates

CHECK = f"a=version&p={PLAIN}&k=".encode()
DOWNLOAD = f"a=download&p={PLAIN}&x64=1".encode()


def test_version_check_and_download_over_tls(live_server):
    status, headers, body = live_server.post(CHECK)
    assert status == 200 and headers["Content-Type"] == "text/xml; charset=utf-8"
    assert ElementTree.fromstring(body).attrib == {"ver": "2.5.0.17"}

    status, headers, body = live_server.post(DOWNLOAD)
    expected = live_server.setup_files["x64"].read_bytes()
    assert status == 200
    assert headers["Content-Type"] == "application/octet-stream"
    assert headers["Content-Length"] == str(len(expected))  # announced, not chunked
    assert headers["Transfer-Encoding"] is None
    assert headers["Content-Disposition"] == "attachment; filename=BrantelSetup64.exe"
    assert hashlib.sha256(body).digest() == hashlib.sha256(expected).digest()


def raw_exchange(live_server, head, timeout=15):
    """Sends a hand-made request head over TLS and returns the status line."""
    with socket.create_connection(("127.0.0.1", live_server.port), timeout=timeout) as plain:
        with live_server.context.wrap_socket(plain, server_hostname="127.0.0.1") as tls:
            tls.sendall(head)
            return tls.makefile("rb").readline().decode("ascii").strip()


def test_claimed_huge_body_is_refused_before_it_is_sent(live_server):
    head = (f"POST /setup/v1 HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/x-www-form-urlencoded\r\n"
            f"Content-Length: {10**12}\r\n\r\n").encode()
    assert raw_exchange(live_server, head) == "HTTP/1.1 413 Payload Too Large"
    assert live_server.post(CHECK)[0] == 200  # and the server goes on answering


def test_chunked_body_is_refused(live_server):
    head = (b"POST /setup/v1 HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/x-www-form-urlencoded\r\n"
            b"Transfer-Encoding: chunked\r\n\r\n" + hex(len(CHECK))[2:].encode() + b"\r\n" + CHECK + b"\r\n0\r\n\r\n")
    assert raw_exchange(live_server, head) == "HTTP/1.1 411 Length Required"


def test_every_request_is_logged(live_server):
    live_server.post(DOWNLOAD)
    lines = [line for line in live_server.log_path.read_text().splitlines() if " action=download " in line]
    size = len(live_server.setup_files["x64"].read_bytes())
    assert any(f" status=200 answer=setup-x64 bytes={size} " in line for line in lines)


def test_gunicorn_refuses_to_start_on_a_bad_configuration(tmp_path):
    (tmp_path / "setup-x64.exe").write_bytes(b"MZ")
    (tmp_path / "setup-x86.exe").write_bytes(b"MZ")
    config = tmp_path / "updates.toml"
    config.write_text(product_table(PLAIN).replace('latest = "2.5.0.17"', 'latest = "two"'))
    _, certificate, key = make_certificates(tmp_path / "tls")

    run = subprocess.run(gunicorn_command(config, "127.0.0.1:0", certificate, key), cwd=SERVER_DIR,
                         capture_output=True, text=True, timeout=60)

    assert run.returncode == 1
    assert f"Error: {config}:2: " in run.stderr and "'two'" in run.stderr
    assert "Booting worker" not in run.stderr
