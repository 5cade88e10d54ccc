"""The protocol words, read from the list the setup program's build reads too."""

import re
from dataclasses import dataclass, fields
from pathlib import Path

from .errors import ConfigError

# Where the list sits in a checkout: server/brantel_updates/ -> src/net/.
DEFAULT_WORDS_PATH = Path(__file__).resolve().parents[2] / "src" / "net" / "protocol_words.txt"

_LINE = re.compile(r"([A-Z][A-Z0-9_]*)=([\x21-\x7e]+)")


@dataclass(frozen=True)
class Words:
    FIELD_ACTION: str
    FIELD_PRODUCT: str
    FIELD_EXTRA: str
    FIELD_X64: str
    VALUE_X64: str
    ACTION_CHECK: str
    ACTION_DOWNLOAD: str
    ELEMENT_VERSION: str
    ATTRIBUTE_VERSION: str
    ELEMENT_REDIRECT: str
    ATTRIBUTE_URL: str
    ELEMENT_ERROR: str
    TYPE_FORM: str
    TYPE_SETUP: str
    TYPE_DOCUMENT: str


def word_names():
    return [f.name for f in fields(Words)]


def load_words(path=DEFAULT_WORDS_PATH):
    """Reads NAME=value lines; every name must be known and present once."""
    path = Path(path)
    try:
        text = path.read_text(encoding="ascii")
    except (OSError, UnicodeDecodeError) as error:
        raise ConfigError(f"{path}: cannot read the protocol words: {error}") from None
    known = set(word_names())
    found = {}
    for number, line in enumerate(text.splitlines(), start=1):
        line = line.strip()
        if not line or line.startswith("#"):
            continue
        match = _LINE.fullmatch(line)
        if not match:
            raise ConfigError(f"{path}:{number}: expected NAME=value, got {line!r}")
        name, value = match.groups()
        if name not in known:
            raise ConfigError(f"{path}:{number}: unknown protocol word {name}")
        if name in found:
            raise ConfigError(f"{path}:{number}: protocol word {name} given twice")
        found[name] = value
    missing = sorted(known - found.keys())
    if missing:
        raise ConfigError(f"{path}: protocol words missing: {', '.join(missing)}")
    return Words(**found)
