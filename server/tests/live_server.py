"""gunicorn serving the application with TLS on loopback, as in production.

The listening socket is opened here on a free port of 127.0.0.1 and handed to
gunicorn (fd://), so there is no race for the port and nothing but loopback is
ever used.
"""

import http.client
import socket
import ssl
import subprocess
import sys
import time
from pathlib import Path

SERVER_DIR = Path(__file__).resolve().parents[1]
START_DEADLINE = 30.0


def make_certificates(folder):
    subprocess.run(["bash", str(SERVER_DIR / "dev" / "make-test-ca.sh"), str(folder), "localhost"], check=True)
    return folder / "ca.pem", folder / "server.pem", folder / "server.key"


def gunicorn_command(config_path, bind, certificate, key, workers=2):
    return [sys.executable, "-m", "gunicorn", "--config", str(SERVER_DIR / "gunicorn.conf.py"),
            "--bind", bind, "--workers", str(workers), "--certfile", str(certificate), "--keyfile", str(key),
            f"brantel_updates:create_app({str(config_path)!r})"]


class LiveServer:
    def __init__(self, folder, config_path):
        ca, certificate, key = make_certificates(folder / "tls")
        self.context = ssl.create_default_context(cafile=str(ca))
        self.log_path = folder / "gunicorn.log"
        listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        listener.bind(("127.0.0.1", 0))
        listener.listen(128)
        self.port = listener.getsockname()[1]
        with open(self.log_path, "wb") as log:
            self.process = subprocess.Popen(
                gunicorn_command(config_path, f"fd://{listener.fileno()}", certificate, key),
                cwd=SERVER_DIR, pass_fds=[listener.fileno()], stdout=log, stderr=subprocess.STDOUT)
        listener.close()  # gunicorn holds it now
        self._wait_until_answering()

    def _wait_until_answering(self):
        deadline = time.monotonic() + START_DEADLINE
        while True:
            if self.process.poll() is not None:
                raise RuntimeError(f"gunicorn ended at start:\n{self.log_path.read_text()}")
            try:
                self.post(b"", timeout=2)
                return
            except OSError:
                if time.monotonic() > deadline:
                    self.stop()
                    raise RuntimeError(f"gunicorn did not answer:\n{self.log_path.read_text()}")
                time.sleep(0.1)

    def connection(self, timeout=15):
        return http.client.HTTPSConnection("127.0.0.1", self.port, context=self.context, timeout=timeout)

    def post(self, body, timeout=15, content_type="application/x-www-form-urlencoded", path="/setup/v1"):
        """One request on its own connection, as the program makes it; (status, headers, body)."""
        connection = self.connection(timeout)
        try:
            connection.request("POST", path, body, {"Content-Type": content_type})
            response = connection.getresponse()
            return response.status, response.headers, response.read()
        finally:
            connection.close()

    def stop(self):
        self.process.terminate()
        try:
            self.process.wait(timeout=15)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
