"""The WSGI application: one endpoint that answers the program's form posts.

Stateless: it reads its configuration and the protocol words once at start and
the setup files when they are downloaded, nothing else, so any number of
instances can serve the same configuration side by side.
"""

import logging

from . import answers
from .config import load_config
from .form import BadRequest, parse_request
from .requestlog import LoggedBody, RequestRecord, client_address, default_sink
from .words import load_words

UNKNOWN_PRODUCT_TEXT = "This product is not known to the update server."
UNAVAILABLE_TEXT = "The setup program cannot be downloaded at the moment. Please try again later."


class UpdateServer:
    def __init__(self, config, words, log_line):
        self.config = config
        self.words = words
        self.log_line = log_line

    def __call__(self, environ, start_response):
        record = RequestRecord(client_address(environ, self.config.trusted_proxies))
        try:
            answer = self._answer(environ, record)
        except Exception:
            logging.getLogger("brantel_updates").exception("request failed")
            answer = answers.refusal("500 Internal Server Error", "failed", "The server failed.")
        start_response(answer.status, answer.headers)
        return LoggedBody(answer.body, lambda sent: self.log_line(record.line(answer.status, answer.label, sent)))

    def _answer(self, environ, record):
        refused = self._refusal(environ)
        if refused:
            return refused
        body = environ["wsgi.input"].read(int(environ["CONTENT_LENGTH"]))
        if len(body) != int(environ["CONTENT_LENGTH"]):
            return answers.refusal("400 Bad Request", "refused-short-body", "The body is shorter than announced.")
        try:
            request = parse_request(body, self.words)
        except BadRequest as fault:
            return answers.refusal("400 Bad Request", "refused-form", f"Bad form: {fault}.")
        record.action = request.action
        record.product = request.product
        return self._answer_request(request)

    def _refusal(self, environ):
        """Everything about the request but its body: address, method, type, length."""
        if environ.get("SCRIPT_NAME", "") + environ.get("PATH_INFO", "") != self.config.path \
                or environ.get("QUERY_STRING"):
            return answers.refusal("404 Not Found", "refused-path", "Not found.")
        if environ["REQUEST_METHOD"] != "POST":
            return answers.refusal("405 Method Not Allowed", "refused-method", "Only POST is answered.",
                                   [("Allow", "POST")])
        media_type = environ.get("CONTENT_TYPE", "").split(";")[0].strip().lower()
        if media_type != self.words.TYPE_FORM.lower():
            return answers.refusal("415 Unsupported Media Type", "refused-type",
                                   f"The body must be {self.words.TYPE_FORM}.")
        length = environ.get("CONTENT_LENGTH", "")
        if not length:
            return answers.refusal("411 Length Required", "refused-length", "Content-Length is required.")
        if not length.isdigit() or not length.isascii():
            return answers.refusal("400 Bad Request", "refused-length", "Content-Length is not a number.")
        if int(length) > self.config.max_body:
            return answers.refusal("413 Payload Too Large", "refused-size",
                                   f"The body may hold at most {self.config.max_body} bytes.")
        return None

    def _answer_request(self, request):
        words = self.words
        product = self.config.products.get(request.product)
        if product is None:
            return answers.error_answer(words, "error-unknown-product", UNKNOWN_PRODUCT_TEXT)
        if product.maintenance:
            return answers.error_answer(words, "error-maintenance", product.maintenance)
        if request.action == words.ACTION_CHECK:
            if product.redirect:
                return answers.redirect_answer(words, product.redirect)
            return answers.version_answer(words, product.latest)
        # A moved product still serves its files: a program that learned the
        # new address in this run keeps downloading from the old one.
        setup, label = (product.x64, "setup-x64") if request.x64 else (product.x86, "setup-x86")
        return answers.setup_answer(words, setup, label) \
            or answers.error_answer(words, "error-unavailable", UNAVAILABLE_TEXT)


def create_app(config_path, log_line=None):
    """Loads everything the server needs; a fault raises ConfigError before any request."""
    config = load_config(config_path)
    words = load_words(config.words_path)
    return UpdateServer(config, words, log_line or default_sink())
