#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Runs the C++ benchmarks and the Python model's sweep in one go and prints
the figures against their targets.

    run_bench.py PATH/TO/cdnozzle-bench
"""
import json
import os
import platform
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import model  # noqa: E402

try:
    import maccormack_numpy  # noqa: E402
except ImportError:  # NumPy missing: scripts/install-deps installs python3-numpy
    maccormack_numpy = None

def main():
    exe = sys.argv[1]
    with tempfile.NamedTemporaryFile(suffix=".json", delete=False) as f:
        out = f.name
    env = dict(os.environ)
    env.setdefault("QT_QPA_PLATFORM", "offscreen")
    subprocess.run([exe, "--benchmark_out=" + out, "--benchmark_out_format=json"], check=True, env=env)
    with open(out) as f:
        results = json.load(f)
    os.unlink(out)

    def median(name):
        for b in results["benchmarks"]:
            if b.get("aggregate_name") == "median" and b["run_name"].split("/repeats")[0] == name:
                return b["real_time"]
        return None

    sweep_ms = median("BM_FineSweep")
    cold_ms = median("BM_FineSweepCold")
    worst = median("BM_WorstScrollStep/1920/1080")
    default = median("BM_WorstScrollStep/606/560")
    python_per_calc = min(model.sweep() for _ in range(3))
    cpp_per_calc = sweep_ms / 1000 / 1000
    ratio = python_per_calc / cpp_per_calc
    cold_ratio = python_per_calc / (cold_ms / 1000 / 1000)

    print()
    print("machine: %s, %d cores, Python %s" % (platform.processor() or platform.machine(), os.cpu_count(),
                                                platform.python_version()))
    rows = [
        ("worst scroll step at the default size (ms)", default, None),
        ("worst scroll step at 1920x1080 (ms)", worst, 6.9),
        ("fine-bar sweep, 1000 calculations (ms)", sweep_ms, 100.0),
        ("same sweep recomputing every inversion (ms)", cold_ms, None),
        ("Python model, one calculation of the sweep (ms)", python_per_calc * 1000, None),
        ("speed ratio without reuse, core / Python model", cold_ratio, None),
        ("speed ratio core / Python model", ratio, None),
    ]
    ok = True
    for label, value, target in rows:
        verdict = ""
        if target is not None and value is not None:
            met = value <= target
            ok &= met
            verdict = "target %g: %s" % (target, "met" if met else "MISSED")
        print("%-50s %10.3f  %s" % (label, value if value is not None else float("nan"), verdict))
    met = ratio >= 10
    ok &= met
    print("%-50s %10s  target 10: %s" % ("", "", "met" if met else "MISSED"))

    # The unsteady flow: cell updates per second of each native scheme at
    # 400 cells, beside the NumPy MacCormack's point updates in this run.
    def rate(name):
        for b in results["benchmarks"]:
            if b.get("aggregate_name") in (None, "median") and b["run_name"].split("/repeats")[0] == name:
                return b.get("items_per_second")
        return None

    print()
    native = {}
    for index, scheme in enumerate(["muscl-hllc", "upwind", "maccormack", "maccormack-conservative"]):
        native[scheme] = rate("BM_UnsteadyCellUpdates/%d" % index)
        if native[scheme] is not None:
            print("%-50s %10.3g" % ("native %s, cell updates per second" % scheme, native[scheme]))
    if maccormack_numpy is None:
        print("NumPy MacCormack: NumPy is missing (scripts/install-deps installs python3-numpy)")
        return 1
    numpy_rate = max(maccormack_numpy.updates_per_second(400, 2000)[0] for _ in range(3))
    print("%-50s %10.3g" % ("NumPy maccormack-conservative, updates per second", numpy_rate))
    if native["muscl-hllc"] is not None:
        speedup = native["muscl-hllc"] / numpy_rate
        met = speedup >= 10
        ok &= met
        print("%-50s %10.1f  target 10: %s" % ("speed ratio native muscl-hllc / NumPy MacCormack", speedup,
                                                "met" if met else "MISSED"))
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
