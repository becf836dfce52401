#!/usr/bin/env python3
"""Prints each benchmark's time per item as a ratio to a floor benchmark of the same run.

Usage: numerics_bench --benchmark_format=json [--benchmark_repetitions=N] | bench/ratios.py
       report_bench --benchmark_format=json ... | bench/ratios.py --floor BM_PdfFloor --per pages
The floor is BM_Floor and an item is what items_per_second counts, unless --floor and --per
(a counter that is a rate, such as pages) say otherwise. With repetitions, the medians are
compared.
"""
import argparse
import json
import sys


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--floor", default="BM_Floor")
    parser.add_argument("--per", default="items_per_second")
    args = parser.parse_args()
    run = json.load(sys.stdin)
    rows = run["benchmarks"]
    if any(r.get("aggregate_name") == "median" for r in rows):
        rows = [r for r in rows if r.get("aggregate_name") == "median"]
    per_item = {r["run_name"]: 1e9 / r[args.per] for r in rows if r.get(args.per)}
    floor = per_item.get(args.floor)
    if floor is None:
        sys.exit(f"{args.floor} is not in the run")
    print(f"{'benchmark':32} {'ns/item':>12} {'ratio':>8}")
    for name, ns in per_item.items():
        print(f"{name:32} {ns:12.1f} {ns / floor:8.2f}")


if __name__ == "__main__":
    main()
