#!/usr/bin/env python3
"""The scale benchmark: generated country maps of growing size (scripts/bench/
make-country.py, then koltar-import), each measured as whole processes of a Release
build, run in turn and the best kept:

- opening: `koltar-cli info` against `cat` of the map's files and against
  tools/bench/read_files (the files read into fresh memory), and its peak memory;
- drawing: render_bench's whole-map drawing at the whole view and at 1 : 10 000
  (1920 x 1080, in-process, medians);
- a cross-map route (the first and the last settlement, diagonally across), as
  `koltar-cli route` minus the opening;
- 1000 batch routes between nearby settlements (up to four settlements apart in each
  direction), `koltar-cli batch` against tools/bench/textbook_batch.

    scale.py BUILD WORKDIR [NODES ...]      (default 10000 100000 1000000 3000000)

Maps are made in WORKDIR (never in the source tree); results go to WORKDIR/scale.json."""

import json
import math
import os
import random
import re
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def run(cmd, **kw):
    return subprocess.run(cmd, check=True, stdout=subprocess.PIPE, stderr=subprocess.PIPE, **kw)


def timed(cmd):
    """Wall time and peak resident memory (bytes) of one run."""
    start = time.perf_counter()
    with open(os.devnull, "wb") as null:
        proc = subprocess.Popen(cmd, stdout=null, stderr=subprocess.DEVNULL)
        _, status, usage = os.wait4(proc.pid, 0)
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("failed: %s" % " ".join(cmd))
    return time.perf_counter() - start, usage.ru_maxrss * 1024


def best(cmds, runs):
    """Runs the commands in turn `runs` times; the best time and the peak memory of each."""
    out = [[math.inf, 0] for _ in cmds]
    for _ in range(runs):
        for i, cmd in enumerate(cmds):
            t, m = timed(cmd)
            out[i][0] = min(out[i][0], t)
            out[i][1] = max(out[i][1], m)
    return out


def make_map(nodes, work, build):
    folder = os.path.join(work, "m%d" % nodes)
    mapfile = os.path.join(folder, "country.map")
    if not os.path.exists(mapfile):
        src = os.path.join(work, "c%d.geojson" % nodes)
        if not os.path.exists(src):
            run([sys.executable, os.path.join(HERE, "make-country.py"), str(nodes), src])
        run([os.path.join(build, "tools/import/koltar-import"), "-o", mapfile, src])
    return folder, mapfile


def main():
    build, work = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    sizes = [int(n) for n in sys.argv[3:]] or [10000, 100000, 1000000, 3000000]
    os.makedirs(work, exist_ok=True)
    cli = os.path.join(build, "tools/cli/koltar-cli")
    results = []
    for nodes in sizes:
        folder, mapfile = make_map(nodes, work, build)
        files = sorted(os.path.join(folder, f) for f in os.listdir(folder))
        size = sum(os.path.getsize(f) for f in files)
        info = run([cli, "info", mapfile]).stdout.decode()
        graph = re.search(r"OPTPATH \S+ (\d+) nodes (\d+) edges", info)
        records = sum(int(n) for n in re.findall(r"(\d+) records", info))
        side = max(4, int(math.sqrt(nodes)))
        per_row = len(range(6, side, 12))
        count = per_row * per_row

        (cat_s, _), (read_s, _), (open_s, open_mem) = best(
            [["cat"] + files, [os.path.join(build, "tools/bench/read_files")] + files, [cli, "info", mapfile]], 5)

        draw = {}
        rb = run([os.path.join(build, "tools/bench/render_bench"), "--map", mapfile, "--reps", "3"])
        for line in rb.stderr.decode().splitlines():
            if line.startswith("{"):
                d = json.loads(line)
                draw[d["view"]] = d

        route_s, route_mem = best([[cli, "route", mapfile, "Falu 1", "Falu %d" % count]], 2)[0]

        rng = random.Random(nodes)
        batch = os.path.join(work, "batch%d.dat" % nodes)
        with open(batch, "w", encoding="utf-8") as f:
            for _ in range(1000):
                while True:
                    a = rng.randrange(count)
                    r, c = divmod(a, per_row)
                    r2, c2 = r + rng.randint(-4, 4), c + rng.randint(-4, 4)
                    if 0 <= r2 < per_row and 0 <= c2 < per_row and (r2, c2) != (r, c):
                        break
                b = r2 * per_row + c2
                f.write("[%d - %d]\nFalu %d\nFalu %d\n" % (a + 1, b + 1, a + 1, b + 1))
        (batch_s, batch_mem), (textbook_s, _) = best(
            [[cli, "batch", mapfile, batch, "--criterion", "time"],
             [os.path.join(build, "tools/bench/textbook_batch"), mapfile, batch, "--criterion", "time"]], 2)

        row = {"nodes": int(graph.group(1)), "edges": int(graph.group(2)), "records": records,
               "files_bytes": size, "cat_s": cat_s, "read_s": read_s, "open_s": open_s, "open_peak_bytes": open_mem,
               "draw_whole_ms": draw["whole"]["whole_ms"], "draw_10000_ms": draw["1:10000"]["whole_ms"],
               "figures_whole": draw["whole"]["figures"],
               "route_s": max(0.0, route_s - open_s), "route_peak_bytes": route_mem,
               "batch_s": batch_s, "batch_peak_bytes": batch_mem, "textbook_batch_s": textbook_s}
        results.append(row)
        print(json.dumps(row), flush=True)
        with open(os.path.join(work, "scale.json"), "w") as f:
            json.dump(results, f, indent=1)


if __name__ == "__main__":
    main()
