"""Seeded random variations of sound inputs, a bounded number of each: the
form reader and the configuration reader fail only in their own words."""

import random

import pytest
from conftest import PLAIN, standard_config_text

from brantel_updates import ConfigError
from brantel_updates.config import load_config
from brantel_updates.form import BadRequest, parse_request

ROUNDS = 400
PIECES = [b"a", b"p", b"k", b"x64", b"=", b"&", b"version", b"download", b"1", b"%00", b"..", b"/", b"\xff",
          b"\x00", PLAIN.encode(), b"-", b"{", b" ", b"+", b"\r\n"]
TOML_VALUES = ["1", "-1", "true", "[1]", "[]", "{}", '"x"', '""', "1979-05-27", "nan", '"../x"', '"https://"',
               '[["a"]]', '{ file = 1 }', '{ name = "a" }', '{ file = "setup-x86.exe", name = 1 }', '"0.0.0.0"']
TOML_PIECES = ['"', "'", "[", "]", "=", "\n", "{", "}", ",", "1", "-1", "true", "[1]", "{}", '"x"', "1979-05-27",
               "nan", "\\u0000", "products", "x64", "latest", "\n[products]\n", "\n[[products]]\n", "#"]


def mutate(data, pieces, rng):
    for _ in range(rng.randint(1, 4)):
        at = rng.randint(0, len(data))
        choice = rng.random()
        if choice < 0.4:
            data = data[:at] + rng.choice(pieces) + data[at:]
        elif choice < 0.8:
            data = data[:at] + data[at + rng.randint(1, 8):]
        else:
            data = data[:at] + data[at:][::-1][:rng.randint(0, 20)] + data[at:]
    return data


def replace_a_value(text, rng):
    """Gives one key of the sound file another TOML value, to reach the checks behind the syntax."""
    lines = text.splitlines()
    keyed = [i for i, line in enumerate(lines) if " = " in line]
    at = rng.choice(keyed)
    lines[at] = lines[at].split(" = ")[0] + " = " + rng.choice(TOML_VALUES)
    return "\n".join(lines) + "\n"


def test_form_reader_accepts_only_well_formed_requests(words):
    rng = random.Random(12)
    seeds = [f"a=version&p={PLAIN}&k=".encode(), f"a=download&p={PLAIN}&x64=1".encode()]
    accepted = 0
    for _ in range(ROUNDS * 5):
        body = mutate(rng.choice(seeds), PIECES, rng)
        try:
            request = parse_request(body, words)
        except BadRequest:
            continue
        accepted += 1
        assert request.action in (words.ACTION_CHECK, words.ACTION_DOWNLOAD)
        assert len(request.product) == 36 and request.product == request.product.upper()
        assert body.isascii() and b"%" not in body and b"/" not in body
    assert accepted > 0  # the variations did reach the accepting side


@pytest.mark.parametrize("seed", range(4))
def test_configuration_reader_fails_only_with_a_located_message(tmp_path, setup_files, seed):
    rng = random.Random(seed)
    config = tmp_path / "updates.toml"
    sound = standard_config_text()
    faults = 0
    for _ in range(ROUNDS // 4):
        text = replace_a_value(sound, rng) if rng.random() < 0.5 else sound
        config.write_text(mutate(text, TOML_PIECES, rng) if rng.random() < 0.5 else text)
        try:
            load_config(config)
        except ConfigError as fault:
            assert str(fault).startswith(f"{config}"), fault
            faults += 1
    assert faults > 0
