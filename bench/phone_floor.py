#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Where a phone's frame goes during a fast play: the play of
page_bench.py (390 x 844, device pixel ratio 3, CPU throttled 6 times)
on copies of the page that each do only part of a frame's work.

    phone_floor.py PAGE.html [ROUNDS]

Prints, for each copy, the share of the display's frames kept (median of
ROUNDS plays, 3 by default); how long pressing Play and pressing it again
take on the page as built; and how much the throttling slows the same loop
on the page's thread and in a worker.

The copies are made from the built page by replacing the play's frame
callback; the page's script then no longer matches its
Content-Security-Policy, which is left out of every copy (of the page as
built too, so that all are read alike).
"""
import os
import re
import statistics
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import page_bench  # noqa: E402

FRAME = '    if (!logic.playing()) return;\n    send("tick");'
NEXT = "\n    frame = requestAnimationFrame(animate);"
TICK = '\n    logic.handle(...fieldsOf(event("tick")));'
VIEW = "\n    logic.viewChanges(false);"
# What a play's step changes on the page besides the plots, with made-up
# values: the Pe/Po box, both bars' thumbs and every line of the report.
TEXTS = """
    const n = (window.floorStep = (window.floorStep || 0) + 1);
    $("Text_PePo").value = (1 - (n % 900) / 1000).toFixed(3);
    coarse.set({ position: 1 + (n % 99), valueText: String(n) });
    fine.set({ position: 1 + (n % 999), valueText: String(n) });
    [...$("List1").children].forEach((line, i) => { line.textContent = `Station ${i}: ${(n / 997 + i).toFixed(5)}`; });"""
HANDED = 'const handed = (canvas) => HANDED && canvas.classList.contains("steady");'

COPIES = [
    ("as built", None),
    ("no work in the frame", NEXT),
    ("the core's step", TICK + NEXT),
    ("the core's step and the view's changes", TICK + VIEW + NEXT),
    ("step, view, the plots painted; nothing else", TICK + VIEW + "\n    paintPlots(false);" + NEXT),
    ("no calculation, no plots; box, bars, report", TEXTS + NEXT),
]

LOOP = "let x = 0; for (let i = 0; i < 3e7; i++) x += Math.sqrt(i);"
WORKER_PAGE = """<!DOCTYPE html><script>
const worker = new Worker(URL.createObjectURL(new Blob(
  ["onmessage = () => { const t = performance.now(); %s postMessage(performance.now() - t); };"])));
window.onThread = () => { const t = performance.now(); %s return performance.now() - t; };
window.inWorker = (done) => { worker.onmessage = (e) => done(e.data); worker.postMessage(0); };
</script>""" % (LOOP, LOOP)


def copies(page, folder):
    with open(page, encoding="ascii") as f:
        built = re.sub(r'<meta http-equiv="Content-Security-Policy"[^>]*>', "", f.read())
    if built.count(FRAME) != 1 or built.count(HANDED) != 1:
        sys.exit("phone_floor.py: the page's play callback is not where this script expects it")
    for i, (name, body) in enumerate(COPIES):
        text = built if body is None else built.replace(FRAME, "    if (!logic.playing()) return;" + body)
        path = os.path.join(folder, "copy%d.html" % i)
        with open(path, "w", encoding="ascii") as f:
            f.write(text)
        yield name, path
    # The same page and texts with the plots' upper layers handed to their
    # canvases as pictures too (the browser then copies no canvas at a frame).
    path = os.path.join(folder, "handed.html")
    with open(path, "w", encoding="ascii") as f:
        f.write(built.replace(FRAME, "    if (!logic.playing()) return;" + TEXTS + NEXT)
                .replace(HANDED, "const handed = () => HANDED;"))
    yield "the same, no canvas copied at a frame", path


def play_start_stop(page, rounds):
    """Medians of how long pressing Play, then again, take (ms) on the phone."""
    driver = page_bench.browser(390, 844, 3, True)
    try:
        page_bench.load(driver, page, "#me=2&amax=3&pepo=0.999")
        driver.execute_cdp_cmd("Emulation.setCPUThrottlingRate", {"rate": 6})
        times = driver.execute_script("""
            const p = cdnozzlePage, times = [];
            p.send('pauseAtLimits', 0);
            p.send('faster');
            p.send('faster');
            for (let r = 0; r < arguments[0]; r++) {
              for (const kind of [0, 1]) {
                const t = performance.now();
                p.send('play');
                times.push([kind, performance.now() - t]);
              }
            }
            return times;""", rounds)
        return [statistics.median(t for k, t in times if k == kind) for kind in (0, 1)]
    finally:
        driver.quit()


def throttled_loop(folder):
    path = os.path.join(folder, "worker.html")
    with open(path, "w", encoding="ascii") as f:
        f.write(WORKER_PAGE)
    driver = page_bench.browser(390, 844, 3, True)
    try:
        driver.get("file://" + path)
        time.sleep(0.5)
        rows = []
        for rate in (1, 6):
            driver.execute_cdp_cmd("Emulation.setCPUThrottlingRate", {"rate": rate})
            thread = driver.execute_script("return onThread()")
            worker = driver.execute_async_script("inWorker(arguments[0])")
            rows.append((rate, thread, worker))
        return rows
    finally:
        driver.quit()


def main():
    page = os.path.abspath(sys.argv[1])
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 3
    with tempfile.TemporaryDirectory() as folder:
        print("phone 390x844, ratio 3, CPU 6x slower: display frames kept in a fast play")
        for name, path in copies(page, folder):
            kept = []
            for _ in range(rounds):
                frames, seconds, _ = page_bench.phone_play(path)
                kept.append(100 * frames / (seconds * 60))
            print("  %-52s %5.1f %%  (%s)" % (name, statistics.median(kept),
                                             ", ".join("%.0f" % k for k in kept)))
        start, stop = play_start_stop(page, rounds)
        print("pressing Play on the page as built: %.0f ms; pressing it again: %.0f ms" % (start, stop))
        print("the same loop on the page's thread and in a worker (ms)")
        for rate, thread, worker in throttled_loop(folder):
            print("  CPU %dx slower: page's thread %6.0f, worker %6.0f" % (rate, thread, worker))
    return 0


if __name__ == "__main__":
    sys.exit(main())
