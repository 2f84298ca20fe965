#!/usr/bin/python3
"""The web page's speed in headless Chromium, beside the native figures of
the same run.

    page_bench.py PAGE.html PATH/TO/cdnozzle-bench

Prints: the fine-bar sweep (1000 calculations) in WebAssembly and natively
and their ratio, the worst scroll step including the canvas paint at
1920x1080, and the time from opening the file to the first painted plots.
"""
import json
import os
import statistics
import subprocess
import sys
import tempfile

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.support.ui import WebDriverWait


def native_sweep_ms(bench):
    with tempfile.NamedTemporaryFile(suffix=".json", delete=False) as f:
        out = f.name
    subprocess.run([bench, "--benchmark_filter=BM_FineSweep/",
                    "--benchmark_out=" + out, "--benchmark_out_format=json"],
                   check=True, stdout=subprocess.DEVNULL)
    with open(out) as f:
        results = json.load(f)
    os.unlink(out)
    return next(b["real_time"] for b in results["benchmarks"] if b.get("aggregate_name") == "median")


def main():
    page, bench = os.path.abspath(sys.argv[1]), sys.argv[2]
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for arg in ("--headless=new", "--no-sandbox", "--disable-dev-shm-usage", "--window-size=1920,1080",
                "--force-device-scale-factor=1"):
        options.add_argument(arg)
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    try:
        # The page's viewport is the whole 1920 x 1080 screen.
        driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                               {"width": 1920, "height": 1080, "deviceScaleFactor": 1, "mobile": False})

        def load(fragment):
            driver.get("about:blank")
            driver.get("file://" + page + fragment)
            WebDriverWait(driver, 30).until(
                lambda d: d.execute_script("return document.documentElement.dataset.ready === '1'"))

        first_paint = []
        for _ in range(5):
            load("#me=2&amax=3&pepo=0.8")
            first_paint.append(driver.execute_script("return window.cdnozzleFirstPaint"))
        size = driver.execute_script("return [innerWidth, innerHeight]")

        wasm = driver.execute_script("""
            const runs = [];
            // Warm up until the engine's optimising tier has compiled the core.
            for (let r = 0; r < 5; r++) cdnozzleCore.benchFineSweep();
            for (let r = 0; r < 15; r++) {
              const t = performance.now();
              cdnozzleCore.benchFineSweep();
              runs.push(performance.now() - t);
            }
            return runs;""")
        # A fine step that snaps: three calculations, the views, the paint of
        # the three canvases (a pixel read back makes the paint happen now).
        steps = driver.execute_script("""
            const p = cdnozzlePage, ids = ['Picture_Geo', 'Picture_Mach', 'Picture_PiPo'];
            const flush = () => ids.forEach(id =>
              document.getElementById(id).getContext('2d').getImageData(0, 0, 1, 1));
            const times = [];
            for (let r = 0; r < 60; r++) {
              const base = 10 * (r % 50) + 1;  // a coarse hundredth's own fine position
              p.handlers.fine(base + 4);      // four thousandths lower: no snap
              flush();
              const t = performance.now();
              p.handlers.fine(base + 5);      // the fifth snaps to the next hundredth
              flush();
              times.push(performance.now() - t);
            }
            return times;""")
    finally:
        driver.quit()
    native = native_sweep_ms(bench)
    wasm_ms = statistics.median(wasm)
    step = statistics.median(steps)
    paint = statistics.median(first_paint)
    rows = [
        ("page size (CSS px)", "%d x %d" % tuple(size), ""),
        ("fine-bar sweep, WebAssembly (ms)", "%.1f" % wasm_ms, ""),
        ("fine-bar sweep, native (ms)", "%.1f" % native, ""),
        ("ratio WebAssembly / native", "%.2f" % (wasm_ms / native),
         "target 2: %s" % ("met" if wasm_ms / native <= 2 else "MISSED")),
        ("worst scroll step with canvas paint, median (ms)", "%.2f" % step,
         "target 6.9: %s" % ("met" if step <= 6.9 else "MISSED")),
        ("the same, slowest of 60 (ms)", "%.2f" % max(steps), ""),
        ("opening the file to the first painted plots (ms)", "%.0f" % paint,
         "target 500: %s" % ("met" if paint <= 500 else "MISSED")),
    ]
    print()
    for label, value, verdict in rows:
        print("%-50s %10s  %s" % (label, value, verdict))
    return 0 if all("MISSED" not in r[2] for r in rows) else 1


if __name__ == "__main__":
    sys.exit(main())
