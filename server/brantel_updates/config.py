"""Reads and checks the server's one TOML configuration file.

Every fault stops the start with a ConfigError naming the file, the line and
the fault, so a server never runs on a configuration it half understands.
"""

import ipaddress
import re
import tomllib
from dataclasses import dataclass
from pathlib import Path
from urllib.parse import urlsplit

from .errors import ConfigError
from .locate import line_of
from .words import DEFAULT_WORDS_PATH

# Versions are compared by the program as four signed 32-bit numbers.
_VERSION = re.compile(r"[0-9]{1,10}(\.[0-9]{1,10}){0,3}")
_VERSION_PIECE_MAX = 2**31 - 1
_PRODUCT = re.compile(r"\{?([0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12})\}?")
# The program takes the name after "filename=" as it stands, quotes included,
# so the name must be a plain header token.
_FILE_NAME = re.compile(r"[A-Za-z0-9][A-Za-z0-9._+-]{0,99}")
_ENDPOINT_PATH = re.compile(r"(/[A-Za-z0-9._~-]+)*/?")
_ADDRESS_CHARACTERS = re.compile(r"[A-Za-z0-9._~:/?#\[\]@!$&'()*+,;=%-]+")
_MAINTENANCE_MAX = 1000
_BODY_LIMITS = (64, 65536)

SERVER_KEYS = {"path", "max_body", "trusted_proxies", "protocol_words"}
PRODUCT_KEYS = {"latest", "x64", "x86", "redirect", "maintenance"}
SETUP_KEYS = {"file", "name"}


@dataclass(frozen=True)
class SetupFile:
    path: Path
    name: str


@dataclass(frozen=True)
class Product:
    latest: str
    x64: SetupFile
    x86: SetupFile
    redirect: str | None
    maintenance: str | None


@dataclass(frozen=True)
class Config:
    path: str
    max_body: int
    trusted_proxies: frozenset
    words_path: Path
    products: dict  # product identifier, upper case without braces -> Product


class _Reader:
    """Walks the parsed document; knows the file, so every fault can name its line."""

    def __init__(self, file, text):
        self.file = file
        self.text = text

    def fail(self, key_path, fault):
        line = line_of(self.text, key_path)
        where = f"{self.file}:{line}" if line else f"{self.file}"
        raise ConfigError(f"{where}: {fault}")

    def table(self, parent, key, key_path, required=True):
        value = parent.get(key)
        if value is None:
            if required:
                self.fail(key_path[:-1], f"{_dotted(key_path)} is missing")
            return {}
        if not isinstance(value, dict):
            self.fail(key_path, f"{_dotted(key_path)} must be a table")
        return value

    def only_keys(self, table, allowed, key_path):
        for key in table:
            if key not in allowed:
                self.fail(key_path + (key,), f"unknown key {_dotted(key_path + (key,))}")

    def string(self, table, key, key_path, required=True):
        value = table.get(key)
        if value is None:
            if required:
                self.fail(key_path, f"{_dotted(key_path + (key,))} is missing")
            return None
        if not isinstance(value, str):
            self.fail(key_path + (key,), f"{_dotted(key_path + (key,))} must be a string")
        return value


def _dotted(key_path):
    return ".".join(k if re.fullmatch(r"[A-Za-z0-9_-]+", k) else f'"{k}"' for k in key_path)


def load_config(file):
    file = Path(file)
    try:
        raw = file.read_bytes()
        text = raw.decode("utf-8")
    except OSError as error:
        raise ConfigError(f"{file}: cannot read the configuration: {error.strerror}") from None
    except UnicodeDecodeError:
        raise ConfigError(f"{file}: the configuration is not UTF-8 text") from None
    try:
        document = tomllib.loads(text)
    except tomllib.TOMLDecodeError as error:
        raise ConfigError(_located_syntax_error(file, str(error))) from None
    reader = _Reader(file, text)
    reader.only_keys(document, {"server", "products"}, ())
    server = _read_server(reader, document, file.parent)
    products = _read_products(reader, document, file.parent)
    return Config(products=products, **server)


def _located_syntax_error(file, message):
    # tomllib words its faults as "<fault> (at line L, column C)".
    match = re.fullmatch(r"(.*) \(at line (\d+), column (\d+)\)", message)
    if match:
        fault, line, column = match.groups()
        return f"{file}:{line}: {fault} (column {column})"
    return f"{file}: {message}"


def _read_server(reader, document, base):
    key_path = ("server",)
    server = reader.table(document, "server", key_path, required=False)
    reader.only_keys(server, SERVER_KEYS, key_path)

    path = reader.string(server, "path", key_path, required=False) or "/"
    if not _ENDPOINT_PATH.fullmatch(path):
        reader.fail(key_path + ("path",), f"server.path must be an address path such as /setup/v1, got {path!r}")

    max_body = server.get("max_body", 1024)
    if type(max_body) is not int or not _BODY_LIMITS[0] <= max_body <= _BODY_LIMITS[1]:
        reader.fail(key_path + ("max_body",),
                    f"server.max_body must be a whole number of bytes from {_BODY_LIMITS[0]} to {_BODY_LIMITS[1]}")

    proxies = server.get("trusted_proxies", [])
    if not isinstance(proxies, list):
        reader.fail(key_path + ("trusted_proxies",), "server.trusted_proxies must be a list of IP addresses")
    for proxy in proxies:
        try:
            if not isinstance(proxy, str):
                raise TypeError
            ipaddress.ip_address(proxy)
        except (TypeError, ValueError):
            reader.fail(key_path + ("trusted_proxies",), f"server.trusted_proxies: {proxy!r} is not an IP address")

    words = reader.string(server, "protocol_words", key_path, required=False)
    words_path = (base / words) if words else DEFAULT_WORDS_PATH
    return {"path": path, "max_body": max_body, "trusted_proxies": frozenset(proxies), "words_path": words_path}


def _read_products(reader, document, base):
    products_table = reader.table(document, "products", ("products",))
    if not products_table:
        reader.fail(("products",), "[products] names no product")
    products = {}
    for key, table in products_table.items():
        key_path = ("products", key)
        match = _PRODUCT.fullmatch(key)
        if not match:
            reader.fail(key_path, f"product {key!r} is not an identifier of the form 8-4-4-4-12 hexadecimal digits")
        identifier = match.group(1).upper()
        if identifier in products:
            reader.fail(key_path, f"product {identifier} is configured twice")
        if not isinstance(table, dict):
            reader.fail(key_path, f"{_dotted(key_path)} must be a table")
        products[identifier] = _read_product(reader, table, key_path, base)
    return products


def _read_product(reader, table, key_path, base):
    reader.only_keys(table, PRODUCT_KEYS, key_path)
    latest = reader.string(table, "latest", key_path)
    if not _VERSION.fullmatch(latest) or any(int(p) > _VERSION_PIECE_MAX for p in latest.split(".")):
        reader.fail(key_path + ("latest",),
                    f"{_dotted(key_path)}.latest must be one to four numbers from 0 to {_VERSION_PIECE_MAX} "
                    f"joined by dots, got {latest!r}")
    redirect = reader.string(table, "redirect", key_path, required=False)
    if redirect is not None and not _is_server_address(redirect):
        reader.fail(key_path + ("redirect",),
                    f"{_dotted(key_path)}.redirect must be an https:// address with a host name, got {redirect!r}")
    maintenance = reader.string(table, "maintenance", key_path, required=False)
    if maintenance is not None and not _is_message(maintenance):
        reader.fail(key_path + ("maintenance",),
                    f"{_dotted(key_path)}.maintenance must be 1 to {_MAINTENANCE_MAX} characters "
                    "without control characters other than line feeds")
    return Product(latest=latest,
                   x64=_read_setup_file(reader, table, key_path + ("x64",), base),
                   x86=_read_setup_file(reader, table, key_path + ("x86",), base),
                   redirect=redirect, maintenance=maintenance)


def _read_setup_file(reader, product, key_path, base):
    table = reader.table(product, key_path[-1], key_path)
    reader.only_keys(table, SETUP_KEYS, key_path)
    name = reader.string(table, "name", key_path)
    if not _FILE_NAME.fullmatch(name):
        reader.fail(key_path + ("name",),
                    f"{_dotted(key_path)}.name must be a plain file name of letters, digits and . _ + - "
                    f"(at most 100), got {name!r}")
    path = base / reader.string(table, "file", key_path)
    try:
        with open(path, "rb"):
            pass
    except OSError as error:
        reader.fail(key_path + ("file",), f"{_dotted(key_path)}.file: cannot open {path}: {error.strerror}")
    if not path.is_file():
        reader.fail(key_path + ("file",), f"{_dotted(key_path)}.file: {path} is not a regular file")
    return SetupFile(path=path, name=name)


def _is_server_address(address):
    if not _ADDRESS_CHARACTERS.fullmatch(address) or len(address) > 2048:
        return False
    try:
        parts = urlsplit(address)
        parts.port  # raises on a port that is not a number
    except ValueError:
        return False
    return parts.scheme == "https" and bool(parts.hostname) and "@" not in parts.netloc


def _is_message(text):
    return 0 < len(text) <= _MAINTENANCE_MAX and all(c == "\n" or (c >= " " and c != "\x7f") for c in text)
