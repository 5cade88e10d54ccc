"""Fixtures of the update server's tests: a configuration with one product of
each kind, the application built from it, and a WSGI call as a client makes it."""

import io
import sys
from pathlib import Path
from xml.etree import ElementTree

import pytest

SERVER_DIR = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(SERVER_DIR))

from brantel_updates import create_app  # noqa: E402
from brantel_updates.words import load_words  # noqa: E402

PLAIN = "3F2A9C41-7B1D-4E58-9A06-5C2E8D17B4F0"
MOVED = "0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9"
CLOSED = "FFFFFFFF-0000-1111-2222-333344445555"
UNKNOWN = "12345678-9ABC-DEF0-1234-56789ABCDEF0"
NEW_ADDRESS = "https://updates2.brantel.test:8443/setup/v1?from=old&to=new"
MAINTENANCE = "Back at 10:00 <UTC> & later, \"promised\"."
ENDPOINT = "/setup/v1"


def write_setup_files(folder):
    files = {"x64": folder / "setup-x64.exe", "x86": folder / "setup-x86.exe"}
    files["x64"].write_bytes(b"MZ x64 " + bytes(range(256)) * 1000)  # several chunks
    files["x86"].write_bytes(b"MZ x86 setup")
    return files


def product_table(identifier, extra=""):
    return (f'[products."{identifier}"]\nlatest = "2.5.0.17"\n{extra}'
            'x64 = { file = "setup-x64.exe", name = "BrantelSetup64.exe" }\n'
            'x86 = { file = "setup-x86.exe", name = "BrantelSetup.exe" }\n')


def standard_config_text():
    return (f'[server]\npath = "{ENDPOINT}"\nmax_body = 1024\n\n'
            + product_table(PLAIN) + "\n"
            + product_table(MOVED, f"redirect = '{NEW_ADDRESS}'\n") + "\n"
            + product_table(CLOSED, f"maintenance = '{MAINTENANCE}'\n"))


@pytest.fixture
def words():
    return load_words()


@pytest.fixture
def setup_files(tmp_path):
    return write_setup_files(tmp_path)


@pytest.fixture
def config_file(tmp_path, setup_files):
    path = tmp_path / "updates.toml"
    path.write_text(standard_config_text())
    return path


class Client:
    """Calls the application as a WSGI server does and keeps its log lines."""

    def __init__(self, config_path):
        self.log = []
        self.app = create_app(config_path, log_line=self.log.append)

    def environ(self, body=b"", method="POST", content_type="application/x-www-form-urlencoded",
                path=ENDPOINT, query="", length=None, stream=None, environ=None):
        env = {"REQUEST_METHOD": method, "SCRIPT_NAME": "", "PATH_INFO": path, "QUERY_STRING": query,
               "SERVER_NAME": "localhost", "SERVER_PORT": "443", "SERVER_PROTOCOL": "HTTP/1.1",
               "REMOTE_ADDR": "192.0.2.7", "wsgi.input": stream or io.BytesIO(body),
               "wsgi.url_scheme": "https", "wsgi.errors": sys.stderr}
        if content_type is not None:
            env["CONTENT_TYPE"] = content_type
        if length is None:
            length = str(len(body))
        if length != "":
            env["CONTENT_LENGTH"] = length
        env.update(environ or {})
        return env

    def request(self, body=b"", **options):
        return Answer(self.app, self.environ(body, **options))


class Answer:
    def __init__(self, app, environ):
        started = {}

        def start_response(status, headers):
            started["status"], started["headers"] = status, headers

        iterable = app(environ, start_response)
        try:
            self.chunks = list(iterable)
        finally:
            iterable.close()
        self.status = int(started["status"].split()[0])
        self.header_list = started["headers"]
        self.headers = {name.lower(): value for name, value in started["headers"]}
        self.body = b"".join(self.chunks)

    def document(self):
        return ElementTree.fromstring(self.body)


@pytest.fixture(scope="session")
def live_server(tmp_path_factory):
    """One gunicorn with TLS for the tests that go over the wire; its 64-bit
    setup is 2 MiB so downloads take many chunks."""
    from live_server import LiveServer
    folder = tmp_path_factory.mktemp("live")
    files = write_setup_files(folder)
    files["x64"].write_bytes(bytes(range(256)) * 8192)
    config = folder / "updates.toml"
    config.write_text(standard_config_text())
    server = LiveServer(folder, config)
    server.setup_files = files
    yield server
    server.stop()


@pytest.fixture
def client(config_file):
    return Client(config_file)


def form(words, action, product, *extra_fields):
    """The body the program sends: action, product, then (name, value) pairs."""
    fields = [(words.FIELD_ACTION, action), (words.FIELD_PRODUCT, product), *extra_fields]
    return "&".join(f"{name}={value}" for name, value in fields).encode("ascii")
