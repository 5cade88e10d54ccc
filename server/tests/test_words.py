"""The server speaks exactly the words of the list it shares with the program."""

import re

import pytest
from conftest import MOVED, PLAIN, Client, standard_config_text

from brantel_updates import ConfigError
from brantel_updates.words import DEFAULT_WORDS_PATH, load_words, word_names


def test_shared_list_names_every_word_the_server_knows():
    listed = re.findall(r"^([A-Z][A-Z0-9_]*)=", DEFAULT_WORDS_PATH.read_text(), re.MULTILINE)
    assert sorted(listed) == sorted(word_names())
    load_words()  # and it loads


def changed_words(tmp_path):
    """A copy of the shared list with every value changed, and the new values."""
    changed = {}
    lines = []
    for line in DEFAULT_WORDS_PATH.read_text().splitlines():
        match = re.fullmatch(r"([A-Z][A-Z0-9_]*)=(.*)", line)
        if match:
            name, value = match.groups()
            changed[name] = value + "Q"
            line = f"{name}={changed[name]}"
        lines.append(line)
    path = tmp_path / "words.txt"
    path.write_text("\n".join(lines) + "\n")
    return path, changed


def test_server_takes_every_word_from_the_list(tmp_path, setup_files):
    """Run on a list whose every word differs: each must show up in what the
    server accepts or answers, and the old words must no longer work."""
    words_path, new = changed_words(tmp_path)
    original = load_words()
    config = tmp_path / "updates.toml"
    config.write_text(standard_config_text().replace('max_body = 1024', f'protocol_words = "{words_path.name}"'))
    client = Client(config)
    seen = set()

    def post(fields, content_type=new["TYPE_FORM"]):
        return client.request("&".join(f"{k}={v}" for k, v in fields).encode(), content_type=content_type)

    check = [(new["FIELD_ACTION"], new["ACTION_CHECK"]), (new["FIELD_PRODUCT"], PLAIN), (new["FIELD_EXTRA"], "")]
    answer = post(check)
    seen |= {"FIELD_ACTION", "ACTION_CHECK", "FIELD_PRODUCT", "FIELD_EXTRA", "TYPE_FORM"}
    assert answer.document().tag == new["ELEMENT_VERSION"]
    assert answer.document().get(new["ATTRIBUTE_VERSION"]) == "2.5.0.17"
    assert answer.headers["content-type"].startswith(new["TYPE_DOCUMENT"] + ";")
    seen |= {"ELEMENT_VERSION", "ATTRIBUTE_VERSION", "TYPE_DOCUMENT"}

    moved = post([(new["FIELD_ACTION"], new["ACTION_CHECK"]), (new["FIELD_PRODUCT"], MOVED)]).document()
    assert moved.tag == new["ELEMENT_REDIRECT"] and moved.get(new["ATTRIBUTE_URL"]).startswith("https://")
    seen |= {"ELEMENT_REDIRECT", "ATTRIBUTE_URL"}

    unknown = post([(new["FIELD_ACTION"], new["ACTION_CHECK"]), (new["FIELD_PRODUCT"], "0" * 8 + "-0000" * 3 + "-" + "0" * 12)])
    assert unknown.document().tag == new["ELEMENT_ERROR"]
    seen.add("ELEMENT_ERROR")

    download = post([(new["FIELD_ACTION"], new["ACTION_DOWNLOAD"]), (new["FIELD_PRODUCT"], PLAIN),
                     (new["FIELD_X64"], new["VALUE_X64"])])
    assert download.headers["content-type"] == new["TYPE_SETUP"]
    assert download.body == setup_files["x64"].read_bytes()
    seen |= {"ACTION_DOWNLOAD", "FIELD_X64", "VALUE_X64", "TYPE_SETUP"}

    assert seen == set(word_names())
    # The same requests in the old words are refused.
    old = [(original.FIELD_ACTION, original.ACTION_CHECK), (original.FIELD_PRODUCT, PLAIN)]
    assert post(old).status == 400
    assert post(check, content_type=original.TYPE_FORM).status == 415
    old_download = [(new["FIELD_ACTION"], new["ACTION_DOWNLOAD"]), (new["FIELD_PRODUCT"], PLAIN),
                    (original.FIELD_X64, original.VALUE_X64)]
    assert post(old_download).status == 400


@pytest.mark.parametrize("text, line, fault", [
    ("FIELD_ACTION=a\nfield_product=p\n", 2, "expected NAME=value"),
    ("FIELD_ACTION=a\nFIELD_ACTION=b\n", 2, "protocol word FIELD_ACTION given twice"),
    ("# list\nFIELD_COLOUR=blue\n", 2, "unknown protocol word FIELD_COLOUR"),
    ("FIELD_ACTION=a b\n", 1, "expected NAME=value"),
    ("FIELD_ACTION=\n", 1, "expected NAME=value"),
])
def test_faulty_list_is_refused_with_its_line(tmp_path, text, line, fault):
    path = tmp_path / "words.txt"
    path.write_text(text)
    with pytest.raises(ConfigError, match=f"^{path}:{line}: {fault}"):
        load_words(path)


def test_list_missing_a_word_names_it(tmp_path):
    path = tmp_path / "words.txt"
    path.write_text(re.sub(r"^ELEMENT_REDIRECT=.*\n", "", DEFAULT_WORDS_PATH.read_text(), flags=re.MULTILINE))
    with pytest.raises(ConfigError, match=f"^{path}: protocol words missing: ELEMENT_REDIRECT$"):
        load_words(path)


def test_shared_list_fits_the_lengths_the_program_stores():
    """The program keeps these words in fixed-length scrambled form."""
    words = load_words()
    assert len(words.ACTION_CHECK) == 7
    assert len(words.ELEMENT_REDIRECT) == 5
    assert len(words.ELEMENT_VERSION) == 7
    assert len(f"{words.FIELD_ACTION}={words.ACTION_DOWNLOAD}&{words.FIELD_PRODUCT}=") == 13
