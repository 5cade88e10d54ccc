# gunicorn settings shared by development, the tests and production.
# The configuration is loaded once in the master before any worker starts, so
# a bad configuration stops the start with its message instead of failing
# every worker in turn.
preload_app = True

# Downloads are long streams: threads keep one slow client from holding a
# whole worker.
worker_class = "gthread"
threads = 8
