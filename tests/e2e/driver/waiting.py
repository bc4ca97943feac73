"""Polling with a deadline, and the failure a case raises."""

import time


class CaseFailure(AssertionError):
    """A check of a case did not hold."""


def wait_for(predicate, timeout=3.0, interval=0.02):
    """Polls predicate until it returns something true; returns that, or the last result at the deadline."""
    deadline = time.monotonic() + timeout
    while True:
        result = predicate()
        if result or time.monotonic() >= deadline:
            return result
        time.sleep(interval)


def check(condition, message):
    if not condition:
        raise CaseFailure(message)


def check_equal(actual, expected, what):
    if actual != expected:
        raise CaseFailure(f"{what}: expected {expected!r}, got {actual!r}")
