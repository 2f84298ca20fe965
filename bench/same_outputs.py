#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Two builds of cdnozzle-report give byte-identical JSON (with --explain),
CSV, plain report and SVG for random inputs: design Mach numbers from 1 to
100, six values of k and random ones, back pressures down to 1e-12.

    same_outputs.py REPORT_A REPORT_B COUNT SEED [IGNORED_JSON_KEY...]

Prints "COUNT inputs, N differ" and the first differing inputs; exits 1
when any differ. Copy a build's binary aside before rebuilding to compare
a change against it."""
import json, random, subprocess, sys
from concurrent.futures import ThreadPoolExecutor
a_exe, b_exe, count, seed = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
ignore = set(sys.argv[5:])
rnd = random.Random(seed)
def case():
    k = rnd.choice(["1.4", "1.4", "1.05", "1.2", "1.29", "1.6666666666666667", str(round(rnd.uniform(1.05, 1.7), 4))])
    me = rnd.choice([rnd.uniform(1, 6), rnd.uniform(1, 1.2), rnd.uniform(1.001, 1.05), rnd.uniform(6, 30), rnd.uniform(1.001, 20), rnd.uniform(20, 100)])
    pe = rnd.choice([rnd.uniform(0.001, 1), round(rnd.uniform(0.001, 1), 3), rnd.uniform(0.001, 0.2), 10 ** rnd.uniform(-12, 0)])
    return ["--k", k, "--me-sup", "%.*g" % (rnd.randint(2, 17), me), "--amax", str(rnd.randint(1, 5)), "--pe-po", "%.*g" % (rnd.randint(2, 17), pe)]
def run(exe, args):
    return [subprocess.run([exe] + extra + args, capture_output=True, text=True) for extra in (["--json", "--explain"], ["--csv", "-"], [], ["--svg", "-"])]
def check(args):
    ra, rb = run(a_exe, args), run(b_exe, args)
    diffs = []
    for i, (x, y) in enumerate(zip(ra, rb)):
        if x.returncode != y.returncode: diffs.append("status%d" % i)
        if i == 0 and x.returncode == 0 and ignore:
            jx, jy = json.loads(x.stdout), json.loads(y.stdout)
            for k in ignore: jx.pop(k, None); jy.pop(k, None)
            if jx != jy: diffs.append("json:" + ",".join(k for k in set(jx) | set(jy) if jx.get(k) != jy.get(k)))
        elif x.stdout != y.stdout: diffs.append(["json", "csv", "plain", "svg"][i])
    return (args, diffs)
cases = [case() for _ in range(count)]
with ThreadPoolExecutor(4) as ex:
    results = list(ex.map(check, cases))
bad = [r for r in results if r[1]]
print("%d inputs, %d differ" % (len(results), len(bad)))
for r in bad[:10]: print(r)
sys.exit(1 if bad else 0)
