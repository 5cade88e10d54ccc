"""Requests the program never sends: each is refused, bounded, and opens no file."""

import sys

import pytest
from conftest import PLAIN, UNKNOWN, form

from brantel_updates.app import UNKNOWN_PRODUCT_TEXT

CHECK = b"a=version&p=" + PLAIN.encode() + b"&k="


class FileOpens:
    """Every file opened while armed, seen through Python's audit events, so
    that nothing the request names can become a path unnoticed."""

    def __init__(self):
        self.armed = False
        self.paths = []
        sys.addaudithook(self._hook)

    def _hook(self, event, args):
        if self.armed and event == "open" and isinstance(args[0], (str, bytes)) and not str(args[0]).endswith(".py"):
            self.paths.append(str(args[0]))


_file_opens = FileOpens()  # audit hooks cannot be removed: one for the whole run


@pytest.fixture
def file_opens():
    _file_opens.paths.clear()
    _file_opens.armed = True
    yield _file_opens.paths
    _file_opens.armed = False


class Unreadable:
    """A request body that must not be read."""

    def read(self, *args):
        raise AssertionError("the body was read")


HUGE = str(10**12)

# (case, request options, status, answer label in the log)
REFUSED = [
    ("a claimed body of a terabyte", dict(stream=Unreadable(), length=HUGE), 413, "refused-size"),
    ("a body one byte over the limit", dict(body=CHECK + b"x" * (1025 - len(CHECK))), 413, "refused-size"),
    ("no Content-Length", dict(body=CHECK, length=""), 411, "refused-length"),
    ("a negative length", dict(body=CHECK, length="-1", stream=Unreadable()), 400, "refused-length"),
    ("a length that is no number", dict(body=CHECK, length="12abc", stream=Unreadable()), 400, "refused-length"),
    ("a length in other digits", dict(body=CHECK, length="\u0661\u0662", stream=Unreadable()), 400,
     "refused-length"),
    ("a body shorter than its length", dict(body=CHECK, length=str(len(CHECK) + 5)), 400, "refused-short-body"),
    ("GET", dict(method="GET"), 405, "refused-method"),
    ("HEAD", dict(method="HEAD"), 405, "refused-method"),
    ("PUT", dict(method="PUT", body=CHECK), 405, "refused-method"),
    ("DELETE", dict(method="DELETE"), 405, "refused-method"),
    ("OPTIONS", dict(method="OPTIONS"), 405, "refused-method"),
    ("no content type", dict(body=CHECK, content_type=None), 415, "refused-type"),
    ("plain text", dict(body=CHECK, content_type="text/plain"), 415, "refused-type"),
    ("multipart form", dict(body=CHECK, content_type="multipart/form-data; boundary=x"), 415, "refused-type"),
    ("JSON", dict(body=b'{"a":"version"}', content_type="application/json"), 415, "refused-type"),
    ("another address path", dict(body=CHECK, path="/setup/v2"), 404, "refused-path"),
    ("a path climbing out", dict(body=CHECK, path="/setup/v1/../../etc/passwd"), 404, "refused-path"),
    ("a query string", dict(body=CHECK, query="a=version"), 404, "refused-path"),
    ("an empty body", dict(body=b""), 400, "refused-form"),
    ("bytes that are not ASCII", dict(body=CHECK + b"\xff\xfe"), 400, "refused-form"),
    ("UTF-8 letters", dict(body="a=versión&p=x".encode()), 400, "refused-form"),
    ("a NUL byte", dict(body=CHECK + b"\x00"), 400, "refused-form"),
    ("percent-encoded values", dict(body=b"a=version&p=%2E%2E%2Fetc&k="), 400, "refused-form"),
    ("a plus for a blank", dict(body=CHECK + b"+"), 400, "refused-form"),
    ("a line break", dict(body=CHECK + b"\r\n"), 400, "refused-form"),
    ("no action", dict(body=b"p=" + PLAIN.encode() + b"&k="), 400, "refused-form"),
    ("an unknown action", dict(body=b"a=upload&p=" + PLAIN.encode()), 400, "refused-form"),
    ("no product", dict(body=b"a=version&k="), 400, "refused-form"),
    ("an empty product", dict(body=b"a=version&p=&k="), 400, "refused-form"),
    ("a product with braces", dict(body=b"a=version&p={" + PLAIN.encode() + b"}"), 400, "refused-form"),
    ("a product one digit short", dict(body=b"a=version&p=" + PLAIN[:-1].encode()), 400, "refused-form"),
    ("a very long product", dict(body=b"a=version&p=" + b"A" * 900), 400, "refused-form"),
    ("a path for a product", dict(body=b"a=download&p=../../../../etc/passwd&x64=1"), 400, "refused-form"),
    ("a product made of dots", dict(body=b"a=download&p=........-....-....-....-............"), 400,
     "refused-form"),
    ("a field twice", dict(body=CHECK + b"&p=" + PLAIN.encode()), 400, "refused-form"),
    ("the action twice", dict(body=b"a=version&a=download&p=" + PLAIN.encode()), 400, "refused-form"),
    ("a field without a value sign", dict(body=CHECK + b"&x64"), 400, "refused-form"),
    ("an empty field", dict(body=b"a=version&&p=" + PLAIN.encode()), 400, "refused-form"),
    ("a field without a name", dict(body=CHECK + b"&=1"), 400, "refused-form"),
    ("an unknown field", dict(body=CHECK + b"&file=setup.exe"), 400, "refused-form"),
    ("a download field in a check", dict(body=CHECK + b"&x64=1"), 400, "refused-form"),
    ("a check field in a download", dict(body=b"a=download&p=" + PLAIN.encode() + b"&k="), 400, "refused-form"),
    ("another value for x64", dict(body=b"a=download&p=" + PLAIN.encode() + b"&x64=0"), 400, "refused-form"),
    ("an extra parameter that is too long", dict(body=CHECK + b"A" * 257), 400, "refused-form"),
]


@pytest.mark.parametrize("case, options, status, label", REFUSED, ids=[c[0] for c in REFUSED])
def test_refused(client, file_opens, case, options, status, label):
    answer = client.request(**options)

    assert answer.status == status
    assert answer.headers["content-type"].startswith("text/plain")
    assert answer.headers["content-length"] == str(len(answer.body))
    assert f" status={status} answer={label} " in client.log[0]
    assert " action=- product=- " in client.log[0]
    assert file_opens == []
    if status == 405:
        assert answer.headers["allow"] == "POST"


@pytest.mark.parametrize("body", [
    f"a=download&p={UNKNOWN}&x64=1".encode(),
    f"a=version&p={UNKNOWN}&k=..".encode(),
    f"a=version&p={PLAIN}&k=....~etc~passwd".encode(),
], ids=["unknown product", "unknown product, dots in the extra field", "path-like extra field"])
def test_unusual_values_open_no_file(client, file_opens, body):
    answer = client.request(body)
    assert answer.status == 200
    document = answer.document()
    assert document.tag in ("error", "release")
    if document.tag == "error":
        assert document.text == UNKNOWN_PRODUCT_TEXT
    assert file_opens == []


def test_downloads_open_only_the_configured_files(client, words, setup_files, file_opens):
    for x64 in ([(words.FIELD_X64, words.VALUE_X64)], []):
        client.request(form(words, words.ACTION_DOWNLOAD, PLAIN, *x64))
    assert file_opens == [str(setup_files["x64"]), str(setup_files["x86"])]


def test_setup_file_gone_after_start_is_answered_as_unavailable(client, words, setup_files):
    setup_files["x64"].unlink()
    answer = client.request(form(words, words.ACTION_DOWNLOAD, PLAIN, (words.FIELD_X64, words.VALUE_X64)))
    assert answer.status == 200
    assert answer.document().tag == "error"
    assert "cannot be downloaded at the moment" in answer.document().text
    assert " answer=error-unavailable " in client.log[0]
