"""Strict reading of the program's form body.

The program sends plain ASCII fields that are never percent-encoded:
"a=<action>&p=<product>" followed by "&k=<extra>" for a version check or
"&x64=1" for a download.  Anything else is refused rather than guessed at, and
no value read here is ever used as a file path.
"""

import re
from dataclasses import dataclass

_VALUE = re.compile(r"[A-Za-z0-9._~-]*")
_NAME = re.compile(r"[A-Za-z0-9_]+")
_PRODUCT = re.compile(r"[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}")
_EXTRA_MAX = 256


class BadRequest(Exception):
    """A body that is not one of the program's requests; the text says why."""


@dataclass(frozen=True)
class Request:
    action: str
    product: str  # upper case, without braces
    x64: bool


def _fields(body):
    try:
        text = body.decode("ascii")
    except UnicodeDecodeError:
        raise BadRequest("the body is not ASCII") from None
    fields = {}
    for pair in text.split("&"):
        name, equals, value = pair.partition("=")
        if not equals or not _NAME.fullmatch(name):
            raise BadRequest("a field is not name=value")
        if not _VALUE.fullmatch(value):
            raise BadRequest(f"field {name} holds characters the program never sends")
        if name in fields:
            raise BadRequest(f"field {name} is given twice")
        fields[name] = value
    return fields


def parse_request(body, words):
    fields = _fields(body)
    action = fields.pop(words.FIELD_ACTION, None)
    if action not in (words.ACTION_CHECK, words.ACTION_DOWNLOAD):
        raise BadRequest("the action is missing or unknown")
    product = fields.pop(words.FIELD_PRODUCT, None)
    if product is None or not _PRODUCT.fullmatch(product):
        raise BadRequest("the product identifier is missing or malformed")

    if action == words.ACTION_CHECK:
        # The extra parameter is empty in today's program; it is allowed, bounded and not used.
        if len(fields.pop(words.FIELD_EXTRA, "")) > _EXTRA_MAX:
            raise BadRequest(f"field {words.FIELD_EXTRA} is too long")
        x64 = False
    else:
        flag = fields.pop(words.FIELD_X64, None)
        if flag not in (None, words.VALUE_X64):
            raise BadRequest(f"field {words.FIELD_X64} may only be {words.VALUE_X64}")
        x64 = flag is not None
    if fields:
        raise BadRequest(f"unexpected field {sorted(fields)[0]}")
    return Request(action=action, product=product.upper(), x64=x64)
