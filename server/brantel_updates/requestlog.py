"""One log line per request: time, address, action, product, answer, bytes, duration."""

import ipaddress
import logging
import sys
import time
from datetime import datetime, timezone


def default_sink():
    """Lines go to standard error, which gunicorn writes to its error log."""
    logger = logging.getLogger("brantel_updates.requests")
    if not logger.handlers:
        handler = logging.StreamHandler(sys.stderr)
        handler.setFormatter(logging.Formatter("%(message)s"))
        logger.addHandler(handler)
        logger.setLevel(logging.INFO)
        logger.propagate = False
    return logger.info


def client_address(environ, trusted_proxies):
    """The peer, or the client a trusted proxy names last in X-Forwarded-For."""
    peer = environ.get("REMOTE_ADDR", "-")
    forwarded = environ.get("HTTP_X_FORWARDED_FOR")
    if peer in trusted_proxies and forwarded:
        named = forwarded.split(",")[-1].strip()
        try:
            return str(ipaddress.ip_address(named))
        except ValueError:
            return peer
    return peer


class RequestRecord:
    """What one request did; written as a line when its answer has been sent."""

    def __init__(self, address):
        self.started = time.monotonic()
        self.address = address
        self.action = "-"
        self.product = "-"

    def line(self, status, label, sent):
        now = datetime.now(timezone.utc).strftime("%Y-%m-%dT%H:%M:%S.%f")[:-3] + "Z"
        milliseconds = (time.monotonic() - self.started) * 1000
        return (f"{now} addr={self.address} action={self.action} product={self.product} "
                f"status={status.split()[0]} answer={label} bytes={sent} ms={milliseconds:.1f}")


class LoggedBody:
    """Passes the answer's body through, counts it, and logs once it is closed."""

    def __init__(self, body, on_close):
        self._body = body
        self._on_close = on_close
        self._sent = 0

    def __iter__(self):
        for data in self._body:
            self._sent += len(data)
            yield data

    def close(self):
        try:
            if hasattr(self._body, "close"):
                self._body.close()
        finally:
            self._on_close(self._sent)
