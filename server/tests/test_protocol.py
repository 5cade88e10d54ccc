"""The protocol as the program sees it: each request and the answer it gets."""

import re

import pytest
from conftest import CLOSED, MAINTENANCE, MOVED, NEW_ADDRESS, PLAIN, UNKNOWN, Client, form, product_table

from brantel_updates.app import UNKNOWN_PRODUCT_TEXT

# (case, action, product, extra fields, expected answer)
# Answers: ("version", ver) | ("redirect", url) | ("error", text) | ("setup", "x64"|"x86", file name)
CASES = [
    ("check, as the wizard sends it", "check", PLAIN, [("EXTRA", "")], ("version", "2.5.0.17")),
    ("check inside the downloader, no extra field", "check", PLAIN, [], ("version", "2.5.0.17")),
    ("check with the identifier in lower case", "check", PLAIN.lower(), [("EXTRA", "")], ("version", "2.5.0.17")),
    ("check with an extra parameter", "check", PLAIN, [("EXTRA", "abc-1.2_~")], ("version", "2.5.0.17")),
    ("check of a moved product", "check", MOVED, [("EXTRA", "")], ("redirect", NEW_ADDRESS)),
    ("check under maintenance", "check", CLOSED, [("EXTRA", "")], ("error", MAINTENANCE)),
    ("check of an unknown product", "check", UNKNOWN, [("EXTRA", "")], ("error", UNKNOWN_PRODUCT_TEXT)),
    ("download of the 64-bit setup", "download", PLAIN, [("X64", None)], ("setup", "x64", "BrantelSetup64.exe")),
    ("download of the 32-bit setup", "download", PLAIN, [], ("setup", "x86", "BrantelSetup.exe")),
    ("a moved product still serves its files", "download", MOVED, [("X64", None)],
     ("setup", "x64", "BrantelSetup64.exe")),
    ("download under maintenance", "download", CLOSED, [("X64", None)], ("error", MAINTENANCE)),
    ("download of an unknown product", "download", UNKNOWN, [("X64", None)], ("error", UNKNOWN_PRODUCT_TEXT)),
]


def build_body(words, action, product, extra):
    action_word = {"check": words.ACTION_CHECK, "download": words.ACTION_DOWNLOAD}[action]
    fields = [(words.FIELD_EXTRA if name == "EXTRA" else words.FIELD_X64,
               words.VALUE_X64 if value is None else value) for name, value in extra]
    return form(words, action_word, product, *fields)


@pytest.mark.parametrize("case, action, product, extra, expected", CASES, ids=[c[0] for c in CASES])
def test_answers(client, words, setup_files, case, action, product, extra, expected):
    answer = client.request(build_body(words, action, product, extra))

    assert answer.status == 200
    assert answer.headers["content-length"] == str(len(answer.body))
    kind = expected[0]
    if kind == "setup":
        _, build, name = expected
        assert answer.headers["content-type"] == "application/octet-stream"
        # The program takes everything after "filename=" as the name: no quotes.
        assert answer.headers["content-disposition"] == f"attachment; filename={name}"
        assert answer.body == setup_files[build].read_bytes()
        return
    assert answer.headers["content-type"] == "text/xml; charset=utf-8"
    assert answer.body.startswith(b"<") and len(answer.body) > 10  # what the program needs to parse it
    document = answer.document()
    if kind == "version":
        assert (document.tag, document.attrib) == ("release", {"ver": expected[1]})
    elif kind == "redirect":
        assert (document.tag, document.attrib) == ("moved", {"url": expected[1]})
    else:
        assert document.tag == "error" and len(document) == 0
        assert document.text == expected[1]


def test_each_request_logs_one_line_with_what_was_done(client, words):
    client.request(form(words, words.ACTION_CHECK, PLAIN, (words.FIELD_EXTRA, "")))
    client.request(form(words, words.ACTION_DOWNLOAD, PLAIN, (words.FIELD_X64, words.VALUE_X64)))
    client.request(b"nonsense")
    client.request(method="GET")

    assert len(client.log) == 4
    line = re.compile(r"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z addr=(\S+) action=(\S+) product=(\S+) "
                      r"status=(\d+) answer=(\S+) bytes=(\d+) ms=\d+\.\d")
    fields = [line.fullmatch(entry).groups() for entry in client.log]
    assert fields[0] == ("192.0.2.7", "version", PLAIN, "200", "release", "65")
    assert fields[1][:5] == ("192.0.2.7", "download", PLAIN, "200", "setup-x64")
    assert int(fields[1][5]) == 7 + 256 * 1000
    assert fields[2][1:5] == ("-", "-", "400", "refused-form")
    assert fields[3][1:5] == ("-", "-", "405", "refused-method")


@pytest.mark.parametrize("peer, forwarded, logged", [
    ("127.0.0.1", "203.0.113.9", "203.0.113.9"),             # the trusted proxy names the client
    ("127.0.0.1", "10.0.0.1, 203.0.113.9", "203.0.113.9"),   # only the proxy's own entry counts
    ("127.0.0.1", "not-an-address", "127.0.0.1"),
    ("198.51.100.4", "203.0.113.9", "198.51.100.4"),         # anyone else cannot choose the address
])
def test_logged_address_trusts_only_the_configured_proxy(tmp_path, setup_files, words, peer, forwarded, logged):
    config = tmp_path / "proxied.toml"
    config.write_text('[server]\ntrusted_proxies = ["127.0.0.1"]\n' + product_table(PLAIN))
    client = Client(config)
    client.request(form(words, words.ACTION_CHECK, PLAIN), path="/",
                   environ={"REMOTE_ADDR": peer, "HTTP_X_FORWARDED_FOR": forwarded})
    assert f" addr={logged} " in client.log[0]


@pytest.fixture
def opened_files(monkeypatch):
    """Every file the server opens while the test runs."""
    opened = []
    real_open = open

    def tracking_open(*args, **kwargs):
        opened.append(real_open(*args, **kwargs))
        return opened[-1]

    monkeypatch.setattr("builtins.open", tracking_open)
    return opened


def download_body(words):
    return form(words, words.ACTION_DOWNLOAD, PLAIN, (words.FIELD_X64, words.VALUE_X64))


def test_download_streams_in_bounded_chunks_and_closes_the_file(client, words, opened_files):
    answer = client.request(download_body(words))

    assert len(answer.chunks) > 3
    assert max(len(chunk) for chunk in answer.chunks) <= 64 * 1024
    assert [file.closed for file in opened_files] == [True]


def test_client_leaving_mid_download_closes_the_file_and_logs_what_was_sent(client, words, opened_files):
    iterable = client.app(client.environ(download_body(words)), lambda status, headers: None)
    first = next(iter(iterable))
    iterable.close()  # what the WSGI server does when the client has gone

    assert [file.closed for file in opened_files] == [True]
    assert f" bytes={len(first)} " in client.log[0]
