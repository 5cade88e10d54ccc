"""The one failure the server reports at start."""


class ConfigError(RuntimeError):
    """A configuration that cannot run; the text names the file, the line and the fault.

    A RuntimeError, so that gunicorn started with preload prints the text alone
    and exits, rather than booting workers that fail one by one.
    """
