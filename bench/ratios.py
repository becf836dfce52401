#!/usr/bin/env python3
"""Prints each benchmark's time per item as a ratio to BM_Floor of the same run.

Usage: numerics_bench --benchmark_format=json [--benchmark_repetitions=N] | bench/ratios.py
With repetitions, the medians are compared.
"""
import json
import sys


def main():
    run = json.load(sys.stdin)
    rows = run["benchmarks"]
    if any(r.get("aggregate_name") == "median" for r in rows):
        rows = [r for r in rows if r.get("aggregate_name") == "median"]
    per_item = {r["run_name"]: 1e9 / r["items_per_second"] for r in rows
                if r.get("items_per_second")}
    floor = per_item.get("BM_Floor")
    if floor is None:
        sys.exit("BM_Floor is not in the run")
    print(f"{'benchmark':32} {'ns/item':>10} {'ratio':>8}")
    for name, ns in per_item.items():
        print(f"{name:32} {ns:10.1f} {ns / floor:8.2f}")


if __name__ == "__main__":
    main()
