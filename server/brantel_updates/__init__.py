"""The update server of Brantel Setup: a WSGI application.

`create_app(config_path)` loads the configuration and the protocol words and
returns the application; gunicorn calls it as
`brantel_updates:create_app("/etc/brantel/updates.toml")`.
"""

from .app import create_app
from .config import ConfigError

__all__ = ["create_app", "ConfigError"]
