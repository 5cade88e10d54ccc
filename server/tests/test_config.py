"""A configuration that cannot run stops the start with file, line and fault."""

import subprocess
import sys

import pytest
from conftest import MOVED, PLAIN, SERVER_DIR, product_table

from brantel_updates import ConfigError, create_app
from brantel_updates.config import load_config

SETUP = ('x64 = { file = "setup-x64.exe", name = "BrantelSetup64.exe" }\n'
         'x86 = { file = "setup-x86.exe", name = "BrantelSetup.exe" }\n')
HEAD = f'[products."{PLAIN}"]\n'

# (case, configuration text, line named, words the fault must contain)
CASES = [
    ("TOML syntax", HEAD + 'latest = "2.5\n' + SETUP, 2, ["column"]),
    ("key given twice", HEAD + 'latest = "1"\nlatest = "2"\n' + SETUP, 3, ["column"]),
    ("unknown top-level key", 'colour = "blue"\n' + HEAD + 'latest = "1"\n' + SETUP, 1, ["unknown key colour"]),
    ("no products", '[server]\npath = "/"\n', None, ["products is missing"]),
    ("empty products", "[products]\n", 1, ["names no product"]),
    ("identifier that is no identifier", '[products."my-product"]\nlatest = "1"\n' + SETUP, 1,
     ["'my-product'", "8-4-4-4-12"]),
    ("identifier given twice in two letter cases",
     HEAD + 'latest = "1"\n' + SETUP + f'[products."{PLAIN.lower()}"]\nlatest = "1"\n' + SETUP, 5,
     ["configured twice"]),
    ("version missing", HEAD + SETUP, 1, [".latest is missing"]),
    ("version not a string", HEAD + "latest = 2.5\n" + SETUP, 2, ["latest must be a string"]),
    ("version with a letter", HEAD + 'latest = "2.x"\n' + SETUP, 2, ["'2.x'", "one to four numbers"]),
    ("version of five pieces", HEAD + 'latest = "1.2.3.4.5"\n' + SETUP, 2, ["'1.2.3.4.5'"]),
    ("version piece beyond 32-bit signed", HEAD + 'latest = "1.2147483648"\n' + SETUP, 2, ["2147483647"]),
    ("version with blanks", HEAD + 'latest = " 2.5"\n' + SETUP, 2, ["' 2.5'"]),
    ("misspelt product key", HEAD + 'latest = "1"\nlastest = "2"\n' + SETUP, 3, ["unknown key", "lastest"]),
    ("redirect over http", HEAD + 'latest = "1"\nredirect = "http://new.test/v1"\n' + SETUP, 3,
     ["redirect must be an https:// address", "'http://new.test/v1'"]),
    ("redirect without a host", HEAD + 'latest = "1"\nredirect = "https:///v1"\n' + SETUP, 3, ["redirect"]),
    ("redirect with blanks", HEAD + 'latest = "1"\nredirect = "https://a b.test/"\n' + SETUP, 3, ["redirect"]),
    ("redirect with a bad port", HEAD + 'latest = "1"\nredirect = "https://a.test:99999/"\n' + SETUP, 3,
     ["redirect"]),
    ("empty maintenance text", HEAD + 'latest = "1"\nmaintenance = ""\n' + SETUP, 3, ["maintenance must be"]),
    ("maintenance text with a control character", HEAD + 'latest = "1"\nmaintenance = "a\\u0007"\n' + SETUP, 3,
     ["maintenance must be"]),
    ("64-bit setup missing", HEAD + 'latest = "1"\nx86 = { file = "setup-x86.exe", name = "S.exe" }\n', 1,
     ["x64 is missing"]),
    ("64-bit setup that is no table", HEAD + 'latest = "1"\nx64 = "setup-x64.exe"\n'
     'x86 = { file = "setup-x86.exe", name = "S.exe" }\n', 3, ["x64 must be a table"]),
    ("setup file that does not exist",
     HEAD + 'latest = "1"\nx64 = { file = "gone.exe", name = "S.exe" }\nx86 = { file = "setup-x86.exe", name = "S.exe" }\n',
     3, ["x64.file", "gone.exe", "No such file"]),
    ("setup file that is a folder",
     HEAD + 'latest = "1"\nx64 = { file = ".", name = "S.exe" }\nx86 = { file = "setup-x86.exe", name = "S.exe" }\n',
     3, ["x64.file"]),
    ("suggested name with a folder",
     HEAD + 'latest = "1"\nx64 = { file = "setup-x64.exe", name = "../S.exe" }\nx86 = { file = "setup-x86.exe", name = "S.exe" }\n',
     3, ["x64.name", "'../S.exe'"]),
    ("suggested name with quotes",
     HEAD + 'latest = "1"\nx64 = { file = "setup-x64.exe", name = "S.exe" }\n[products."' + PLAIN + '".x86]\n'
     'file = "setup-x86.exe"\nname = "\\"S.exe\\""\n', 6, ["x86.name"]),
    ("setup without a name", HEAD + 'latest = "1"\nx64 = { file = "setup-x64.exe" }\n'
     'x86 = { file = "setup-x86.exe", name = "S.exe" }\n', 3, ["x64.name is missing"]),
    ("endpoint path without its slash", '[server]\npath = "setup/v1"\n' + HEAD + 'latest = "1"\n' + SETUP, 2,
     ["server.path"]),
    ("body limit of zero", "[server]\nmax_body = 0\n" + HEAD + 'latest = "1"\n' + SETUP, 2, ["server.max_body"]),
    ("body limit as text", '[server]\nmax_body = "1k"\n' + HEAD + 'latest = "1"\n' + SETUP, 2,
     ["server.max_body"]),
    ("proxy that is no address", '[server]\ntrusted_proxies = ["nginx"]\n' + HEAD + 'latest = "1"\n' + SETUP, 2,
     ["'nginx' is not an IP address"]),
    ("proxy given as a number", '[server]\ntrusted_proxies = [1]\n' + HEAD + 'latest = "1"\n' + SETUP, 2,
     ["1 is not an IP address"]),
    ("unknown server key", '[server]\nport = 443\n' + HEAD + 'latest = "1"\n' + SETUP, 2,
     ["unknown key server.port"]),
]


@pytest.mark.parametrize("case, text, line, words", CASES, ids=[c[0] for c in CASES])
def test_fault_names_file_line_and_fault(tmp_path, setup_files, case, text, line, words):
    config = tmp_path / "updates.toml"
    config.write_text(text)

    with pytest.raises(ConfigError) as raised:
        load_config(config)

    message = str(raised.value)
    where = f"{config}:{line}: " if line else f"{config}: "
    assert message.startswith(where), message
    for word in words:
        assert word in message


@pytest.mark.parametrize("content, fault", [
    (None, "cannot read the configuration"),
    (b'latest = "\xff"\n', "the configuration is not UTF-8"),
])
def test_unreadable_file_is_named(tmp_path, content, fault):
    config = tmp_path / "updates.toml"
    if content is not None:
        config.write_bytes(content)
    with pytest.raises(ConfigError, match=f"^{config}: {fault}"):
        load_config(config)


def test_missing_protocol_words_file_is_named(tmp_path, setup_files):
    config = tmp_path / "updates.toml"
    config.write_text('[server]\nprotocol_words = "words.txt"\n' + product_table(PLAIN))
    with pytest.raises(ConfigError, match=f"^{tmp_path / 'words.txt'}: cannot read the protocol words"):
        create_app(config)


def test_sound_configuration_is_read_with_defaults_and_normalised(tmp_path, setup_files):
    config = tmp_path / "updates.toml"
    config.write_text(product_table("{" + PLAIN.lower() + "}")
                      + product_table(MOVED, 'redirect = "https://new.brantel.test/setup/v2"\n'))

    loaded = load_config(config)

    assert (loaded.path, loaded.max_body, loaded.trusted_proxies) == ("/", 1024, frozenset())
    assert sorted(loaded.products) == sorted([PLAIN, MOVED])
    plain = loaded.products[PLAIN]
    assert (plain.latest, plain.redirect, plain.maintenance) == ("2.5.0.17", None, None)
    assert plain.x64.path == setup_files["x64"] and plain.x64.name == "BrantelSetup64.exe"
    assert loaded.products[MOVED].redirect == "https://new.brantel.test/setup/v2"


def run_check(config):
    return subprocess.run([sys.executable, "-m", "brantel_updates", "--check", str(config)], cwd=SERVER_DIR,
                          capture_output=True, text=True, timeout=60)


def test_check_command_passes_the_shipped_example():
    run = run_check(SERVER_DIR / "example" / "updates.toml")
    assert run.returncode == 0, run.stderr
    assert "6E1B2C4D-93A7-4F58-B0C2-7D4E9A31F86B: latest 2.5.0.17" in run.stdout


def test_check_command_names_the_fault(tmp_path, setup_files):
    config = tmp_path / "updates.toml"
    config.write_text(product_table(PLAIN).replace('latest = "2.5.0.17"\n', ""))
    run = run_check(config)
    assert run.returncode == 1
    assert run.stderr == f"{config}:1: products.{PLAIN}.latest is missing\n"
