#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Screenshots of the page as people see it, for a look before a change goes in.

    page_screenshots.py PAGE.html OUT_DIR

Headless Chromium (Debian's chromium and chromedriver, python3-selenium) at
1920 x 1080, 1366 x 768, a phone (390 x 844 at 3 device pixels per CSS
pixel) and 1366 x 768 at 200 % browser zoom (half the CSS pixels, twice the
device pixels), each with a calculation shown and the explanation open, the
plot menu open, the projector view, and an engine at an altitude; the screen as it is, and on the
phone the whole page too.
"""
import base64
import os
import sys

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.support.ui import WebDriverWait

SCREENS = [("1920x1080", 1920, 1080, 1, False), ("1366x768", 1366, 768, 1, False),
           ("phone", 390, 844, 3, True), ("1366x768-zoom200", 683, 384, 2, False)]


def main():
    page, out = os.path.abspath(sys.argv[1]), sys.argv[2]
    os.makedirs(out, exist_ok=True)
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                "--hide-scrollbars"):
        options.add_argument(arg)
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)

    def shot(name, full=False):
        data = driver.execute_cdp_cmd("Page.captureScreenshot",
                                      {"format": "png", "captureBeyondViewport": full})["data"]
        path = os.path.join(out, name + ".png")
        with open(path, "wb") as f:
            f.write(base64.b64decode(data))
        print(path)

    try:
        for name, width, height, ratio, mobile in SCREENS:
            driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
                "width": width, "height": height, "deviceScaleFactor": ratio, "mobile": mobile})
            driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": mobile})
            driver.get("about:blank")
            driver.get("file://" + page + "#me=2&amax=3&pepo=0.8")
            WebDriverWait(driver, 30).until(
                lambda d: d.execute_script("return document.documentElement.dataset.ready === '1'"))
            driver.execute_script("cdnozzlePage.send('explain', 1); cdnozzlePage.send('projector', 0)")
            driver.execute_script("return new Promise(r => requestAnimationFrame(() => setTimeout(r, 100)))")
            shot(name)
            if mobile:
                shot(name + "-whole", full=True)
            # The plot menu of the Mach plot, opened from the keyboard.
            driver.execute_script("""
                const c = document.getElementById('Picture_Mach');
                c.scrollIntoView({block: 'center'});
                c.focus();
                c.dispatchEvent(new KeyboardEvent('keydown', {key: 'ContextMenu', bubbles: true}));""")
            shot(name + "-menu")
            driver.execute_script("document.activeElement.dispatchEvent("
                                  "new KeyboardEvent('keydown', {key: 'Escape', bubbles: true}));"
                                  "window.scrollTo(0, 0); cdnozzlePage.send('projector', 1)")
            driver.execute_script("return new Promise(r => requestAnimationFrame(() => setTimeout(r, 100)))")
            shot(name + "-projector")
            driver.execute_script("cdnozzlePage.send('projector', 0)")
            # An engine at 20 km: its boxes open, its line under the status.
            driver.execute_script("cdnozzlePage.send('openAddress', arguments[0])",
                                  "#me=3&amax=3&p0=7MPa&t0=3500K&at=300cm2&alt=20km")
            driver.execute_script("return new Promise(r => requestAnimationFrame(() => setTimeout(r, 100)))")
            shot(name + "-engine", full=mobile)
    finally:
        driver.quit()


if __name__ == "__main__":
    main()
