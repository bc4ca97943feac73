"""Medians, 95th percentiles and the ratios the benchmark table shows."""

import statistics


def percentile(values, share):
    """Linear interpolation between the closest ranks (share 0.95 is p95)."""
    ordered = sorted(values)
    if not ordered:
        return float("nan")
    position = (len(ordered) - 1) * share
    low = int(position)
    high = min(low + 1, len(ordered) - 1)
    return ordered[low] + (ordered[high] - ordered[low]) * (position - low)


def summary(values):
    return {"n": len(values), "median": statistics.median(values) if values else float("nan"),
            "p95": percentile(values, 0.95)}


def ratio(ours, floor):
    return ours / floor if floor else float("nan")
