#!/usr/bin/env python3
"""Checks that every translation unit of a clang build compiles, without building it.

    clang-syntax-check.py BUILD_DIR

Reads BUILD_DIR/compile_commands.json and runs each command whose object file the build has
not made with -fsyntax-only instead of -o OBJECT, several at once. Sources that the build
generates itself (moc, resources) are left out; run the build's *_autogen targets first so
that the sources including moc output find it. Prints the errors of each failing unit and
exits 1 when any failed.
"""
import concurrent.futures
import json
import os
import shlex
import subprocess
import sys


def syntax_command(entry):
    args = entry["arguments"] if "arguments" in entry else shlex.split(entry["command"])
    if "-o" not in args:
        return None, args
    at = args.index("-o")
    output = os.path.join(entry["directory"], args[at + 1])
    args = args[:at] + args[at + 2:]
    # A compiler launcher (ccache) would only pass the check through.
    while args and os.path.basename(args[0]) in ("ccache", "sccache"):
        args = args[1:]
    return output, args + ["-fsyntax-only"]


def check(entry):
    result = subprocess.run(entry["syntax"], cwd=entry["directory"], capture_output=True,
                            text=True)
    return entry["file"], result.returncode, result.stderr


def main():
    build = os.path.abspath(sys.argv[1])
    with open(os.path.join(build, "compile_commands.json"), encoding="utf-8") as f:
        entries = json.load(f)
    pending = []
    for entry in entries:
        if os.path.abspath(entry["file"]).startswith(build + os.sep):
            continue
        output, syntax = syntax_command(entry)
        if output is None or os.path.exists(output):
            continue
        entry["syntax"] = syntax
        pending.append(entry)
    failed = 0
    with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count() or 1) as pool:
        for source, status, errors in pool.map(check, pending):
            if status != 0:
                failed += 1
                print(f"clang cannot compile {source}:\n{errors}", file=sys.stderr)
    print(f"clang syntax check: {len(pending) - failed} of {len(pending)} units compile")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
