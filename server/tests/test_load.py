"""A bounded load on loopback: version checks and parallel downloads at once.

Counts and a time limit bound it; the figures are printed, never asserted.
What is asserted is that every request got its right answer.
"""

import hashlib
import time
from concurrent.futures import ThreadPoolExecutor
from xml.etree import ElementTree

from conftest import PLAIN

CHECKS = 400
DOWNLOADS = 24
CLIENTS = 8
TIME_LIMIT = 20.0  # seconds; requests not started by then are not sent


def percentile(values, fraction):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(fraction * len(ordered)))]


def test_checks_and_downloads_under_load(live_server, capsys):
    expected_digest = hashlib.sha256(live_server.setup_files["x64"].read_bytes()).digest()
    stop_at = time.monotonic() + TIME_LIMIT
    results = {"check": [], "download": []}
    errors = []

    def one(kind):
        if time.monotonic() > stop_at:
            return
        body = f"a=version&p={PLAIN}&k=" if kind == "check" else f"a=download&p={PLAIN}&x64=1"
        started = time.monotonic()
        try:
            status, _, answer = live_server.post(body.encode())
        except OSError as error:
            errors.append(f"{kind}: {error!r}")
            return
        elapsed = time.monotonic() - started
        if status != 200:
            errors.append(f"{kind}: status {status}")
        elif kind == "check" and ElementTree.fromstring(answer).get("ver") != "2.5.0.17":
            errors.append(f"check: answer {answer[:80]!r}")
        elif kind == "download" and hashlib.sha256(answer).digest() != expected_digest:
            errors.append(f"download: {len(answer)} bytes that differ from the file")
        else:
            results[kind].append((elapsed, len(answer)))

    # Downloads spread among the checks, so both run side by side.
    kinds = ["check"] * CHECKS
    for index in range(DOWNLOADS):
        kinds.insert(index * (CHECKS // DOWNLOADS), "download")
    started = time.monotonic()
    with ThreadPoolExecutor(max_workers=CLIENTS) as pool:
        list(pool.map(one, kinds))
    wall = time.monotonic() - started

    assert errors == []
    assert results["check"] and results["download"]
    with capsys.disabled():
        print(f"\nupdate server load, {CLIENTS} clients over TLS on loopback, each request on its own connection, "
              f"{wall:.1f} s:")
        for kind, done in results.items():
            latencies = [elapsed * 1000 for elapsed, _ in done]
            megabytes = sum(size for _, size in done) / 2**20
            print(f"  {kind:8} {len(done):4} of {kinds.count(kind):4}  {len(done) / wall:6.1f} requests/s  "
                  f"p50 {percentile(latencies, 0.50):6.1f} ms  p99 {percentile(latencies, 0.99):6.1f} ms  "
                  f"{megabytes / wall:6.1f} MiB/s")
