#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Compares `cdnozzle-report --json` with model.py on many inputs: report
lines, regime, i_NS and marks' count exactly, every number (the stations,
the limits, the nozzle figures and the grid-free shock) within 1e-12
relative (or 1e-12 absolute near zero). Exit 0 when all agree.

    compare.py PATH/TO/cdnozzle-report [COUNT] [SEED]
"""
import json
import os
import random
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import model  # noqa: E402


def close(a, b):
    if isinstance(a, str) or isinstance(b, str) or isinstance(a, list) or isinstance(b, list):
        return a == b
    return a == b or abs(a - b) <= 1e-12 * max(abs(a), abs(b)) or abs(a - b) <= 1e-12


def diff(c, p, where=""):
    if isinstance(c, dict):
        out = []
        for key in p:
            out += diff(c.get(key), p[key], where + "." + key)
        return out
    if isinstance(c, list) and c and isinstance(c[0], dict):
        if len(c) != len(p):
            return [where + ": length %d != %d" % (len(c), len(p))]
        out = []
        for i, (a, b) in enumerate(zip(c, p)):
            out += diff(a, b, "%s[%d]" % (where, i))
        return out
    return [] if close(c, p) else ["%s: %r != %r" % (where, c, p)]


def cases(count, seed):
    rnd = random.Random(seed)
    fixed = [("2", "3", p) for p in ("1", "0.99", "0.9", "0.8", "0.6", "0.5", "0.3", "0.1", "0.001")]
    fixed += [("3", "3", "0.5"), ("2.5", "3", "0.6"), ("1", "3", "0.5"), ("1", "2", "0.1"),
              ("1.01", "3", "0.52"), ("1.0001", "3", "0.4"), ("6", "3", "0.0001"),
              (" 2 .5x", "3", "0.7"), ("2,5", "3abc", "1D-1"), ("1e0", "-5", ".5"),
              ("20", "3", "1e-12"), ("1.05", "3", "0.55735"), ("2", "3", "0.57517"),
              ("1.021", "3", "0.5409691335024802"), ("1.01", "3", "0.5342"), ("1.001", "3", "0.52894"),
              ("5", "3", "0.5"), ("10", "3", "0.5"), ("100", "3", "1e-5"), ("2", "3", "0.7")]
    for c in fixed:
        yield c
    for _ in range(count):
        me = rnd.choice([rnd.uniform(1, 6), rnd.uniform(1, 1.2), rnd.uniform(1, 1.05), rnd.uniform(6, 30),
                         rnd.uniform(1.001, 20)])
        pe = rnd.choice([rnd.uniform(0.001, 1), round(rnd.uniform(0.001, 1), 3), rnd.uniform(0.001, 0.2)])
        yield ("%.*g" % (rnd.randint(2, 17), me), str(rnd.randint(1, 5)), "%.*g" % (rnd.randint(2, 17), pe))


def main():
    exe = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 200
    seed = int(sys.argv[3]) if len(sys.argv) > 3 else 1
    bad = 0
    for me, amax, pe in cases(count, seed):
        run = subprocess.run([exe, "--json", "--me-sup", me, "--amax", amax, "--pe-po", pe],
                             capture_output=True, text=True)
        if run.returncode != 0:
            print("refused", me, amax, pe, run.stderr.strip())
            bad += 1
            continue
        c = json.loads(run.stdout)
        m = model.Model(me, amax, pe)
        m.calc_flow()
        problems = diff(c, m.as_json())
        if problems:
            bad += 1
            print("MISMATCH", repr((me, amax, pe)), problems[:5])
    print("%d inputs compared, %d differ" % (count, bad))
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
