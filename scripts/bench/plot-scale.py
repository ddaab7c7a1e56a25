#!/usr/bin/env python3
"""The log-log plot of scale.py's results: each cost against the road nodes, drawn by
gnuplot (Debian's gnuplot-nox) into a PNG.

    plot-scale.py SCALE.json OUT.png"""

import json
import os
import subprocess
import sys
import tempfile


def main():
    rows = json.load(open(sys.argv[1]))
    out = sys.argv[2]
    series = [
        ("opening (koltar-cli info), s", lambda r: r["open_s"]),
        ("cat of the files, s", lambda r: r["cat_s"]),
        ("whole-view drawing, s", lambda r: r["draw_whole_ms"] / 1000),
        ("drawing at 1 : 10 000, s", lambda r: r["draw_10000_ms"] / 1000),
        ("cross-map route, s", lambda r: r["route_s"]),
        ("1000 batch routes, s", lambda r: r["batch_s"]),
        ("peak memory of opening, GB", lambda r: r["open_peak_bytes"] / 1e9),
    ]
    with tempfile.TemporaryDirectory() as tmp:
        data = os.path.join(tmp, "scale.dat")
        with open(data, "w") as f:
            for r in rows:
                # A cost too small to measure (a route below the opening's noise) is left out.
                f.write(" ".join(["%g" % r["nodes"]] + ["%g" % fn(r) if fn(r) > 0 else "?" for _, fn in series]) + "\n")
        plots = ", ".join("'%s' using 1:%d with linespoints lw 2 title '%s'" % (data, i + 2, title)
                          for i, (title, _) in enumerate(series))
        script = """
set terminal pngcairo size 1000,700 font 'Liberation Sans,11'
set output '%s'
set datafile missing '?'
set logscale xy
set grid
set key top left
set xlabel 'road nodes'
set ylabel 'cost'
set title 'Koltar on generated country maps (log-log)'
plot %s, x/1e6 with lines dt 2 lc 'gray' title 'linear (1 s per million nodes)'
""" % (out, plots)
        subprocess.run(["gnuplot"], input=script.encode(), check=True)


if __name__ == "__main__":
    main()
