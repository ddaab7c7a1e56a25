#!/usr/bin/env python3
"""Whole-process timings of several commands, run in turn (A, B, A, B, ...) so that a
load on the machine falls on each alike: the best and the median wall time of each,
and its peak memory (maximum resident set size).

    compare.py [--runs N] [--json FILE] NAME=COMMAND [NAME=COMMAND ...]

Each COMMAND is run through /bin/sh with its standard output sent to /dev/null."""

import argparse
import json
import os
import statistics
import subprocess
import sys
import time


def run_once(command):
    start = time.perf_counter()
    with open(os.devnull, "wb") as null:
        proc = subprocess.Popen(["/bin/sh", "-c", "exec " + command], stdout=null, stderr=subprocess.PIPE)
        _, status, usage = os.wait4(proc.pid, 0)
        err = proc.stderr.read()
        proc.stderr.close()
    elapsed = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("failed (%d): %s\n%s" % (os.waitstatus_to_exitcode(status), command, err.decode(errors="replace")))
    return elapsed, usage.ru_maxrss * 1024


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--json")
    parser.add_argument("commands", nargs="+")
    args = parser.parse_args()
    named = [c.split("=", 1) for c in args.commands]
    times = {name: [] for name, _ in named}
    memory = {name: 0 for name, _ in named}
    for _ in range(args.runs):
        for name, command in named:
            elapsed, rss = run_once(command)
            times[name].append(elapsed)
            memory[name] = max(memory[name], rss)
    result = {}
    first = named[0][0]
    for name, _ in named:
        result[name] = {"best_s": min(times[name]), "median_s": statistics.median(times[name]),
                        "peak_bytes": memory[name], "runs": times[name]}
    for name, _ in named:
        r = result[name]
        print("%-24s best %8.3f s  median %8.3f s  peak %7.1f MB  (best / %s's: %.2f)" % (
            name, r["best_s"], r["median_s"], r["peak_bytes"] / 1e6, first, r["best_s"] / result[first]["best_s"]))
    if args.json:
        with open(args.json, "w") as f:
            json.dump(result, f, indent=1)


if __name__ == "__main__":
    main()
