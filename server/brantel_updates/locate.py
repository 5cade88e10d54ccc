"""Finds the line of a configuration file that defines a given key.

tomllib keeps no positions, so the line is found by parsing ever longer
prefixes of the file until one of them holds the key: the answer is exactly
the line where the TOML reader itself first sees it.  Used only to word a
failure, so its cost does not matter.
"""

import tomllib


def _holds(document, key_path):
    node = document
    for key in key_path:
        if not isinstance(node, dict) or key not in node:
            return False
        node = node[key]
    return True


def _first_line_holding(lines, key_path):
    for count in range(1, len(lines) + 1):
        try:
            prefix = tomllib.loads("\n".join(lines[:count]))
        except tomllib.TOMLDecodeError:
            continue
        if _holds(prefix, key_path):
            return count
    return None


def line_of(text, key_path):
    """The line of the key, else of its nearest enclosing table; None for the top."""
    lines = text.splitlines()
    for depth in range(len(key_path), 0, -1):
        line = _first_line_holding(lines, key_path[:depth])
        if line is not None:
            return line
    return None
