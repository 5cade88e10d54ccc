"""Checks a configuration without serving it:

    python3 -m brantel_updates --check /etc/brantel/updates.toml

Prints what it would serve, or the fault with its file and line; exit 1 on a fault.
"""

import argparse
import sys

from .app import create_app
from .errors import ConfigError


def main():
    parser = argparse.ArgumentParser(prog="python3 -m brantel_updates")
    parser.add_argument("--check", metavar="CONFIG", required=True, help="the configuration file to check")
    arguments = parser.parse_args()
    try:
        server = create_app(arguments.check, log_line=lambda line: None)
    except ConfigError as fault:
        print(fault, file=sys.stderr)
        return 1
    for identifier, product in sorted(server.config.products.items()):
        state = ("maintenance" if product.maintenance
                 else f"redirect to {product.redirect}" if product.redirect else f"latest {product.latest}")
        print(f"{identifier}: {state}; x64 {product.x64.path} as {product.x64.name}; "
              f"x86 {product.x86.path} as {product.x86.name}")
    print(f"{arguments.check}: sound, {len(server.config.products)} products at {server.config.path}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
