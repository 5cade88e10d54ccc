"""The answers the program understands: three XML documents and the setup file."""

import os
from dataclasses import dataclass
from xml.sax.saxutils import escape

_XML_HEAD = '<?xml version="1.0" encoding="UTF-8"?>\n'
_CHUNK = 64 * 1024


@dataclass
class Answer:
    status: str
    headers: list
    body: object  # an iterable of bytes
    label: str  # what the request log says was answered


def _document(words, label, xml):
    data = (_XML_HEAD + xml + "\n").encode("utf-8")
    headers = [("Content-Type", f"{words.TYPE_DOCUMENT}; charset=utf-8"),
               ("Content-Length", str(len(data))),
               ("Cache-Control", "no-store")]
    return Answer("200 OK", headers, [data], label)


def _attribute(value):
    return escape(value, {'"': "&quot;"})


def version_answer(words, version):
    return _document(words, words.ELEMENT_VERSION,
                     f'<{words.ELEMENT_VERSION} {words.ATTRIBUTE_VERSION}="{_attribute(version)}"/>')


def redirect_answer(words, address):
    return _document(words, words.ELEMENT_REDIRECT,
                     f'<{words.ELEMENT_REDIRECT} {words.ATTRIBUTE_URL}="{_attribute(address)}"/>')


def error_answer(words, label, text):
    # The program shows the element's first child as the server's message.
    return _document(words, label, f"<{words.ELEMENT_ERROR}>{escape(text)}</{words.ELEMENT_ERROR}>")


def refusal(status, label, reason, extra_headers=()):
    data = (reason + "\n").encode("ascii", "replace")
    headers = [("Content-Type", "text/plain; charset=us-ascii"),
               ("Content-Length", str(len(data))),
               ("Cache-Control", "no-store"), *extra_headers]
    return Answer(status, headers, [data], label)


class FileChunks:
    """The open setup file, handed out in chunks up to the length announced.

    Never more than one chunk is held; the file is closed when the server
    closes the iterable, whether the download finished or the client left.
    """

    def __init__(self, file, length):
        self._file = file
        self._remaining = length

    def __iter__(self):
        while self._remaining > 0:
            data = self._file.read(min(_CHUNK, self._remaining))
            if not data:
                return  # the file shrank under us: the client sees a short body
            self._remaining -= len(data)
            yield data

    def close(self):
        self._file.close()


def setup_answer(words, setup, label):
    """The setup file as the download; None when it cannot be opened now."""
    try:
        file = open(setup.path, "rb")
    except OSError:
        return None
    try:
        length = os.fstat(file.fileno()).st_size
    except OSError:
        file.close()
        return None
    headers = [("Content-Type", words.TYPE_SETUP),
               ("Content-Length", str(length)),
               ("Content-Disposition", f"attachment; filename={setup.name}"),
               ("Cache-Control", "no-store")]
    return Answer("200 OK", headers, FileChunks(file, length), label)
