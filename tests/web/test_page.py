#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""The web page in headless Chromium, driven by selenium.

    test_page.py PAGE.html cdnozzle-replay cdnozzle-report SUITE

SUITE is one of Walkthrough, Phone, Access, Sameness, WasmAgainstNative (or
one of its tests: Walkthrough.test_scenario_addresses).
Run with Debian's python3 (selenium) and Debian's chromium and chromedriver;
nothing is downloaded.
"""
import json
import os
import random
import re
import subprocess
import sys
import tempfile
import unittest

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support import expected_conditions
from selenium.webdriver.support.ui import Select, WebDriverWait

STUDENT_PAGE, REPLAY, REPORT = (os.path.abspath(p) for p in sys.argv[1:4])
# The same page with the hooks of the tests (a plot's scene, one calculation
# from three texts) built beside it; students get the page without them.
PAGE = os.path.join(os.path.dirname(STUDENT_PAGE), "cdnozzle-test.html")
# axe-core, installed by scripts/install-deps web (npm, one pinned version).
AXE = os.environ.get("CDNOZZLE_AXE_JS") or os.path.join(
    os.environ.get("XDG_CACHE_HOME") or os.path.expanduser("~/.cache"),
    "cdnozzle", "npm", "node_modules", "axe-core", "axe.min.js")

SHOCK_REPORT = ["iMax=100", "M_max=2", "Me_sub limit=0.3722", "Pe/Po sesaltı limit=0.9088",
                "Pe/Po sesüstü limit(NShock)=0.5751", "Pe/Po sesüstü limit(OShock)=0.1278",
                "A2*=1.1058", "Po2/Po*=0.9044"]
SHOCK_STATUS = "Normal shock inside the nozzle at x = 1.575 (station 66; exact x = 1.5764)"
# A canvas's pixels (RGBA), read through a copy: a canvas handed a picture
# has no 2D context of its own.
PIXELS = """(c) => {
    const copy = document.createElement('canvas');
    Object.assign(copy, { width: c.width, height: c.height });
    const ctx = copy.getContext('2d');
    ctx.drawImage(c, 0, 0);
    return ctx.getImageData(0, 0, c.width, c.height).data;
}"""


def browser(mobile=False):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                "--window-size=1280,800", "--allow-file-access-from-files"):
        options.add_argument(arg)
    if mobile:
        options.add_experimental_option("mobileEmulation", {
            "deviceMetrics": {"width": 390, "height": 844, "pixelRatio": 3, "touch": True},
            "userAgent": "Mozilla/5.0 (Linux; Android 14) Mobile"})
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


class PageTest(unittest.TestCase):
    mobile = False

    @classmethod
    def setUpClass(cls):
        cls.driver = browser(cls.mobile)
        # Whatever the page's Content-Security-Policy refuses, from the first line on.
        cls.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": """
            window.cdnozzleViolations = [];
            document.addEventListener('securitypolicyviolation', (e) =>
              window.cdnozzleViolations.push(e.effectiveDirective + ' ' + e.blockedURI));
            // Every object inside the view's sections notes a key the page
            // reads that the section does not have: a field renamed or left
            // out on one side shows as undefined, never as an error.
            window.cdnozzleMissingKeys = [];
            // (JSON and the driver's own serialising look for these.)
            const probes = new Set(['toJSON', 'then', 'nodeType', 'Window']);
            const watched = (value, path) => {
              if (value === null || typeof value !== 'object' || ArrayBuffer.isView(value))
                return value;
              return new Proxy(value, { get(target, key, receiver) {
                const value = Reflect.get(target, key, receiver);
                if (typeof key !== 'string') return value;
                if (!(key in target) && !probes.has(key) && !key.startsWith('cdc_'))
                  window.cdnozzleMissingKeys.push(path + '.' + key);
                return watched(value, path + '.' + key);
              }});
            };
            let core;
            Object.defineProperty(window, 'cdnozzleCore', { configurable: true,
              get: () => core,
              set(loaded) {
                core = loaded;
                const proto = loaded.WindowLogic.prototype;
                const changes = proto.viewChanges;
                proto.viewChanges = function (...args) {
                  const changed = changes.apply(this, args);
                  for (const name of Object.keys(changed))
                    for (const field of Object.keys(changed[name]))
                      changed[name][field] = watched(changed[name][field], name + '.' + field);
                  if (changed.plot0 || changed.plot1 || changed.plot2)
                    for (const name of ['plot0', 'plot1', 'plot2'])
                      if (changed[name]) changed[name] = watched(changed[name], name);
                  return changed;
                };
              } });
            // The media queries' listeners: the browser's emulation of another
            // pixel ratio sends the page no change, so a test sends it.
            window.cdnozzleMediaListeners = [];
            const listen = MediaQueryList.prototype.addEventListener;
            MediaQueryList.prototype.addEventListener = function (type, fn, options) {
              if (type === 'change') window.cdnozzleMediaListeners.push({ media: this.media, fn });
              return listen.call(this, type, fn, options);
            };
            // The plots' canvases as the first frame with the plots showed them.
            const mark = performance.mark.bind(performance);
            performance.mark = (name, ...rest) => {
              if (name === 'cdnozzle plots shown')
                window.cdnozzleFirstFrame = [...document.querySelectorAll('.plot canvas')].map(
                  (c) => [c.className, c.width, c.height]);
              return mark(name, ...rest);
            };"""})

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()

    def open(self, fragment=""):
        self.driver.get("about:blank")
        self.driver.get("file://" + PAGE + fragment)
        WebDriverWait(self.driver, 30).until(
            lambda d: d.execute_script("return document.documentElement.dataset.ready === '1'"))
        self.assertEqual(self.violations(), [])

    def tearDown(self):
        # Nothing the page does needs more than its policy allows, and it
        # reads no field the view does not have.
        self.assertEqual(self.violations(), [])
        self.assertEqual(self.js("return (window.cdnozzleMissingKeys || []).splice(0)"), [])

    def violations(self):
        return self.js("return (window.cdnozzleViolations || []).splice(0)")

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def el(self, element_id):
        return self.driver.find_element(By.ID, element_id)

    def report(self):
        return [s.text for s in self.el("List1").find_elements(By.CSS_SELECTOR, "li > .line")]

    def status(self):
        return self.el("StatusLine").text

    def bars(self):
        return [int(self.el(b).get_attribute("aria-valuenow")) for b in ("VScroll1", "VScroll2")]

    def type_into(self, box, text):
        element = self.el(box)
        element.click()
        element.send_keys(Keys.CONTROL, "a")
        element.send_keys(Keys.BACKSPACE)
        if text:
            element.send_keys(text)

    def seen(self):
        """Everything the page shows of a scenario, its plots' pixels too."""
        return {
            "boxes": [self.el(b).get_attribute("value") for b in ("Text_Mmax", "Text_AAmax", "Text_PePo")],
            "bars": self.bars(), "report": self.report(), "status": self.status(),
            "explanation": self.el("Explanation").get_attribute("textContent"),
            "gas": Select(self.el("Gas")).first_selected_option.text, "third": self.el("Label5").text,
            "plots": self.js("return [...document.querySelectorAll('canvas')].map(c => c.toDataURL())"),
        }

    def wait_for_address(self, hash):
        try:
            WebDriverWait(self.driver, 3).until(lambda d: self.js("return location.hash") == hash)
        except Exception:
            self.assertEqual(self.js("return location.hash"), hash)

    def choose_other_gas(self, typed, molar=""):
        Select(self.el("Gas")).select_by_visible_text("Other…")
        for answer in (typed, molar):  # k, then the molar mass
            prompt = WebDriverWait(self.driver, 3).until(expected_conditions.alert_is_present())
            prompt.send_keys(answer)
            prompt.accept()

    def red_columns(self, canvas_id):
        """Red pixels per column of a canvas below its legend's line, and the
        canvas width."""
        return self.js("""
            const c = document.getElementById(arguments[0]);
            const d = (%s)(c);
            const counts = new Array(c.width).fill(0);
            for (let y = Math.round(c.height * 0.2); y < c.height; y++)
              for (let x = 0; x < c.width; x++) {
                const i = 4 * (y * c.width + x);
                if (d[i] > 200 && d[i + 1] < 110 && d[i + 2] < 110) counts[x]++;
              }
            return [counts, c.width];""" % PIXELS, canvas_id)

    def play_frames(self, seconds):
        """The Pe/Po box and the fine bar at each frame for a while."""
        return self.driver.execute_async_script("""
            const done = arguments[1], frames = [], start = performance.now();
            const look = () => {
              frames.push([document.getElementById('Text_PePo').value,
                           Number(document.getElementById('VScroll2').getAttribute('aria-valuenow'))]);
              if (performance.now() - start < arguments[0] * 1000) requestAnimationFrame(look);
              else done(frames);
            };
            requestAnimationFrame(look);""", seconds)

    def scene_column(self, kind, x):
        left, right = self.js(
            "const s = cdnozzleCore.scene(cdnozzlePage.logic, arguments[0]);"
            "return [s.left, s.right];", kind)
        return (x - left) / (right - left)


class Walkthrough(PageTest):
    def test_typed_back_pressure_places_the_shock(self):
        self.open()
        start = self.report()  # the start-up flow, calculated as the page opens
        self.assertEqual(start[:2], ["iMax=100", "M_max=2"])
        self.type_into("Text_PePo", "0.8")
        self.assertEqual(self.report(), start)  # waits for Calculate
        self.assertEqual(self.status(), "Press Calculate to use the Pe/Po typed in the box")
        self.el("Text_Mmax").send_keys(Keys.ENTER)  # Enter in any box calculates
        self.assertEqual(self.report(), SHOCK_REPORT)
        self.assertEqual(self.status(), SHOCK_STATUS)
        self.assertEqual(self.bars(), [21, 201])
        counts, width = self.red_columns("Picture_Geo")
        column = round(self.scene_column(0, 1.575) * width)
        near = max(counts[column - 2:column + 3])
        self.assertGreater(near, 30, "no red shock column at x = 1.575")
        self.assertEqual(max(counts[:column - 4] + counts[column + 5:]), 0, "red elsewhere")
        self.assertIn("#me=2&amax=3&pepo=0.8", self.driver.current_url)

    def test_coarse_steps_then_the_fine_bar_parks_the_coarse_bar(self):
        self.open()
        # The wheel turned towards the reader and a click in the trough below
        # the thumb each step the bar down; the wheel turned away steps it up.
        bar = self.el("VScroll1")
        wheel = ("arguments[0].dispatchEvent(new WheelEvent('wheel', "
                 "{deltaY: arguments[1], bubbles: true, cancelable: true}))")
        self.js(wheel, bar, 100)
        self.assertEqual(self.bars()[0], 2)
        x, y = self.js("const r = arguments[0].querySelector('.trough').getBoundingClientRect();"
                       "return [r.left + r.width / 2, r.bottom - 5]", bar)
        for kind in ("mousePressed", "mouseReleased"):
            self.driver.execute_cdp_cmd("Input.dispatchMouseEvent", {
                "type": kind, "x": x, "y": y, "button": "left", "clickCount": 1})
        self.assertEqual(self.bars()[0], 3)
        self.js(wheel, bar, -100)
        self.js(wheel, bar, -100)
        self.assertEqual(self.bars()[0], 1)
        # Held down in the trough, the thumb comes to the pointer and stays
        # there (a bar still for 0.3 s once it has moved).
        y = self.js("const r = arguments[0].querySelector('.trough').getBoundingClientRect();"
                    "return r.top + r.height * 0.15", bar)
        press = lambda kind: self.driver.execute_cdp_cmd("Input.dispatchMouseEvent", {
            "type": kind, "x": x, "y": y, "button": "left", "clickCount": 1})
        press("mousePressed")
        held = self.driver.execute_async_script("""
            const [bar, done] = arguments, seen = [];
            const look = () => {
              seen.push(bar.getAttribute('aria-valuenow'));
              const moved = new Set(seen).size > 3;
              const still = moved && seen.slice(-6).every((v) => v === seen[seen.length - 1]);
              if (still || seen.length > 100) done(seen);
              else setTimeout(look, 50);
            };
            look();""", bar)
        press("mouseReleased")
        self.assertLessEqual(len(held), 100, held)
        self.assertGreater(int(held[-1]), 5)
        bar.send_keys(Keys.HOME)
        down = self.el("VScroll1").find_element(By.CSS_SELECTOR, ".arrow.down")
        for _ in range(10):
            down.click()
        bar = self.el("VScroll1")
        for _ in range(10):
            bar.send_keys(Keys.ARROW_DOWN)
        self.assertEqual(self.bars(), [21, 201])
        self.assertEqual(self.el("Text_PePo").get_attribute("value"), "0.8")
        self.assertEqual(self.status(), SHOCK_STATUS)
        # Page Down and Page Up (a presenter's remote) step the coarse bar
        # wherever the focus is, but not in a box, where they are the box's.
        fine = self.el("VScroll2")
        webdriver.ActionChains(self.driver).send_keys(Keys.PAGE_DOWN).perform()
        self.assertEqual(self.bars(), [22, 211])
        fine.send_keys(Keys.PAGE_UP)
        self.assertEqual(self.bars(), [21, 201])
        self.el("Text_AAmax").send_keys(Keys.PAGE_DOWN)
        self.assertEqual(self.bars(), [21, 201])
        self.assertEqual(self.el("Text_PePo").get_attribute("value"), "0.8")
        self.assertEqual([self.el(b).get_attribute("aria-valuemax") for b in ("VScroll1", "VScroll2")],
                         ["100", "1000"])
        fine.send_keys(Keys.END)
        fine.send_keys(Keys.ARROW_UP)
        fine.send_keys(Keys.ARROW_UP)
        self.assertEqual(self.bars(), [100, 998])
        self.assertEqual(self.el("Text_PePo").get_attribute("value"), "0.003")
        # Hundreds of quick steps (more than the browser takes address
        # changes for): the address still ends on what the page shows.
        self.js("""const bar = document.getElementById('VScroll2');
            const key = (name) => bar.dispatchEvent(new KeyboardEvent('keydown', {key: name, bubbles: true}));
            key('Home');
            for (let i = 0; i < 300; i++) key('ArrowDown');""")
        self.wait_for_address("#me=2&amax=3&pepo=" + self.el("Text_PePo").get_attribute("value"))

    def test_a_dragged_thumb_moves_the_flow_as_it_goes(self):
        self.open("#me=2&amax=3&pepo=0.95")
        thumb = self.el("VScroll1").find_element(By.CSS_SELECTOR, ".thumb")
        middle = lambda: self.js("const r = arguments[0].getBoundingClientRect();"
                                 "return [r.left + r.width / 2, r.top + r.height / 2]", thumb)
        x, y = middle()
        mouse = lambda kind, dy: self.driver.execute_cdp_cmd("Input.dispatchMouseEvent", {
            "type": kind, "x": x, "y": y + dy, "button": "left", "clickCount": 1})
        mouse("mousePressed", 0)
        seen = []
        for dy in range(10, 70, 10):
            mouse("mouseMoved", dy)
            seen.append(float(self.el("Text_PePo").get_attribute("value")))
            # The thumb stays under the pointer.
            self.assertAlmostEqual(middle()[1], y + dy, delta=1.5)
        mouse("mouseReleased", 60)
        # Every move on the way showed a new, lower back pressure; the release
        # changed nothing more.
        self.assertEqual(len(set(seen)), len(seen), seen)
        self.assertEqual(seen, sorted(seen, reverse=True))
        self.assertLess(seen[-1], 0.6)
        self.assertEqual(float(self.el("Text_PePo").get_attribute("value")), seen[-1])
        self.assertEqual(self.bars()[0], round(100 - 100 * (seen[-1] - 0.01)))

    def test_the_list_of_keys_and_the_projector_view(self):
        self.open("#me=2&amax=3&pepo=0.8")
        keys = self.js("return new cdnozzleCore.WindowLogic().viewChanges(false).menus.keys"
                       ".map(k => [k.key, k.what])")
        # "?" (not typed into a box) and the button show every key; Escape
        # and the close button hide the list, and the logic knows it.
        box = self.el("KeysBox")
        self.el("Text_PePo").send_keys("?")
        self.assertFalse(box.is_displayed())
        self.el("Text_PePo").send_keys(Keys.BACKSPACE)
        self.el("VScroll1").send_keys("?")
        self.assertTrue(box.is_displayed())
        rows = [[c.text for c in r.find_elements(By.CSS_SELECTOR, "th, td")]
                for r in box.find_elements(By.TAG_NAME, "tr")]
        self.assertEqual(rows, keys)
        self.driver.switch_to.active_element.send_keys(Keys.ESCAPE)
        self.assertFalse(box.is_displayed())
        self.el("Shortcuts").click()
        self.assertTrue(box.is_displayed())
        box.find_element(By.CSS_SELECTOR, ".close").click()
        self.assertFalse(box.is_displayed())
        self.assertFalse(self.js("return cdnozzlePage.view().shortcutsShown"))
        # The projector view: a toggle that draws the plots anew and is
        # remembered; F8 turns it off again.
        self.open("#me=2&amax=3&pepo=0.8")
        usual = self.js("return document.getElementById('Picture_PiPo').toDataURL()")
        projector = self.el("Projector")
        self.assertEqual(projector.get_attribute("aria-pressed"), "false")
        projector.click()
        self.assertEqual(projector.get_attribute("aria-pressed"), "true")
        drawn = self.js("return document.getElementById('Picture_PiPo').toDataURL()")
        self.assertNotEqual(drawn, usual)
        # Keys 1 to 3 (not typed into a box) show one plot alone in the room
        # of the three, its button pressed; 0 or a button the three again.
        three = self.el("Picture_Mach").size["height"]
        self.el("Text_PePo").send_keys("2")
        self.assertTrue(self.el("Picture_Geo").is_displayed())
        self.el("Text_PePo").send_keys(Keys.BACKSPACE)
        self.el("VScroll1").send_keys("2")
        self.assertFalse(self.el("Picture_Geo").is_displayed())
        self.assertFalse(self.el("Picture_PiPo").is_displayed())
        self.assertGreater(self.el("Picture_Mach").size["height"], 2 * three)
        self.assertEqual(self.el("ProjectorPlot_2").get_attribute("aria-pressed"), "true")
        self.el("ProjectorPlot_0").click()
        self.assertTrue(self.el("Picture_PiPo").is_displayed())
        self.assertEqual(self.el("Picture_Mach").size["height"], three)
        drawn = self.js("return document.getElementById('Picture_PiPo').toDataURL()")
        self.open("#me=2&amax=3&pepo=0.8")
        self.assertEqual(self.el("Projector").get_attribute("aria-pressed"), "true")
        self.assertEqual(self.js("return document.getElementById('Picture_PiPo').toDataURL()"), drawn)
        self.el("Text_PePo").send_keys(Keys.F8)
        self.assertEqual(self.el("Projector").get_attribute("aria-pressed"), "false")
        self.assertEqual(self.js("return localStorage.getItem('cdnozzle.projector')"), "false")

    def test_limits_marked_announced_and_explained(self):
        self.open("#me=2&amax=3&pepo=0.92")
        view = lambda: self.js("return cdnozzlePage.view()")
        marks = view()["limitMarks"]
        for bar, key in (("VScroll1", "coarse"), ("VScroll2", "fine")):
            shown = self.el(bar).find_elements(By.CSS_SELECTOR, ".mark")
            # The same words as the window's: the limit and its Pe/Po.
            self.assertEqual([m.get_attribute("title") for m in shown], [m["tooltip"] for m in marks])
            self.assertTrue(all(m["tooltip"].startswith(m["name"] + ", Pe/Po = 0.") for m in marks))
            # A mark is where the thumb stands when the bar is at its limit.
            for mark, element in zip(marks, shown):
                self.js("cdnozzlePage.send(arguments[0], arguments[1])",
                        "moveCoarse" if key == "coarse" else "moveFine", mark[key])
                middle = "const r = arguments[0].getBoundingClientRect(); return r.top + r.height / 2"
                thumb = self.el(bar).find_element(By.CSS_SELECTOR, ".thumb")
                self.assertAlmostEqual(self.js(middle, element), self.js(middle, thumb), delta=1.5)
        # Each report line has its meaning in plain words.
        for i, line in enumerate(self.el("List1").find_elements(By.TAG_NAME, "li")):
            shown = self.el(line.get_attribute("aria-describedby"))
            meaning = shown.get_attribute("textContent")
            self.assertEqual(meaning, view()["reportHelp"][i])
            self.assertTrue(shown.is_displayed())  # beside the line, not only for a reader
            self.assertTrue(meaning)
        # Only the announcements are spoken: the status line and the
        # explanation change with every step of a play.
        live = self.js("return [...document.querySelectorAll('[aria-live], [role=status], [role=alert], output')]"
                       ".map((e) => e.id)")
        self.assertEqual(live, ["Announcer"])
        # A play that stops at the subsonic limit: the banner over the plots
        # and the announcement while it stands, the banner gone after.
        self.open("#me=2&amax=3&pepo=0.92")
        self.el("Play").click()
        banner = self.el("Banner")
        WebDriverWait(self.driver, 10).until(lambda d: banner.is_displayed())
        self.assertEqual(banner.text, view()["banner"])
        self.assertTrue(banner.text)
        said = self.el("Announcer").get_attribute("textContent")
        self.assertEqual(said, view()["announcement"])
        self.assertTrue(said)
        self.assertEqual(self.el("VScroll2").get_attribute("aria-valuetext"), view()["fine"]["valueText"])
        WebDriverWait(self.driver, 5).until(lambda d: not banner.is_displayed())
        self.el("Play").click()
        # Unticked, Pause at the limits is the logic's, and kept.
        self.el("PauseAtLimits").click()
        self.assertEqual(self.js("return localStorage.getItem('cdnozzle.pauseAtLimits')"), "false")
        self.el("PauseAtLimits").click()

    def test_an_engine_at_an_altitude(self):
        self.open()
        self.el("Engine").find_element(By.TAG_NAME, "summary").click()
        for box, typed in (("Txt_p0", "7 MPa"), ("Txt_T0", "3500 K"), ("Txt_At", "300 cm2"),
                           ("Txt_Altitude", "20 km")):
            self.el(box).send_keys(typed)
        self.el("Txt_Altitude").send_keys(Keys.ENTER)
        line = lambda: self.el("EngineLine").text
        # The standard atmosphere's 5529.3 Pa at 20 km over the chamber's 7 MPa.
        self.assertAlmostEqual(float(self.el("Text_PePo").get_attribute("value")) * 7e6, 5529.3, 1)
        self.assertEqual(line(), "F = 298.6 kN, I_sp = 212.3 s, ṁ = 143.5 kg/s, V_e = 1768 m/s at 20 km")
        bar = self.el("Bar_Altitude")
        self.assertEqual((bar.is_enabled(), bar.get_attribute("value")), (True, "200"))
        bar.send_keys(Keys.ARROW_RIGHT)
        self.assertEqual(self.el("Txt_Altitude").get_attribute("value"), "20.1 km")
        self.assertTrue(line().endswith(" at 20.1 km"), line())
        # Dragged, the slider's line follows as it goes (before its release).
        self.js("arguments[0].value = '202'; arguments[0].dispatchEvent(new Event('input'))", bar)
        self.assertTrue(line().endswith(" at 20.2 km"), line())
        bar.send_keys(Keys.ARROW_LEFT)
        self.el("Units_us").click()
        self.assertTrue(line().startswith("F = 67138 lbf"), line())
        self.assertEqual(self.el("Txt_At").get_attribute("value"), "300 cm2")
        self.assertEqual(bar.get_attribute("aria-valuetext"), "Altitude 65945 ft")
        # The thrust over the climb from a plot's menu.
        webdriver.ActionChains(self.driver).context_click(self.el("Picture_PiPo")).perform()
        self.el("PlotMenu").find_element(By.CSS_SELECTOR, "[data-id='Export_thrust']").click()
        name, csv = self.js("const f = cdnozzlePage.lastExport(); return [f.name, f.text]")
        self.assertEqual(name, "nozzle-me2-thrust-over-altitude.csv")
        self.assertTrue(csv.startswith("altitude (ft),outside pressure (psi),Pe/Po,regime,"), csv[:80])
        # "Other…" asks for k and the molar mass.
        self.choose_other_gas("1.2", "22")
        self.assertEqual(self.el("Txt_Molar").get_attribute("value"), "22")
        self.assertTrue(line().startswith("F = "), line())

    def test_refusal_is_red_and_keeps_the_last_plots(self):
        self.open("#me=2&amax=3&pepo=0.8")
        before = self.js("return document.getElementById('Picture_Mach').toDataURL()")
        self.type_into("Text_Mmax", "")
        self.assertTrue(self.status().startswith("Me_Sup = must be a number from 1 to 100"))
        self.assertIn("refusal", self.el("StatusLine").get_attribute("class"))
        self.assertEqual(self.report(), SHOCK_REPORT)
        self.assertEqual(self.js("return document.getElementById('Picture_Mach').toDataURL()"), before)
        # The address keeps the last accepted scenario.
        self.assertIn("#me=2&amax=3&pepo=0.8", self.driver.current_url)

    def test_scenario_addresses(self):
        self.open("#me=2.5&amax=3&pepo=0.6")
        # Both layers of every plot are on the screen: the steady one (the
        # frame, the values on the axes, the limits) and the flow over it.
        drawn = self.js("""
            return [...document.querySelectorAll('.plot canvas')].map((c) =>
              (%s)(c).filter((v, i) => i %% 4 === 3 && v).length);""" % PIXELS)
        self.assertEqual(len(drawn), 6)
        self.assertNotIn(0, drawn)
        # The first frame came after one picture of each plot: the steady
        # layers were still untouched (a canvas's first drawing is costly).
        first = self.js("return window.cdnozzleFirstFrame")
        self.assertEqual([size for kind, *size in first if kind == "steady"], [[300, 150]] * 3)
        self.assertNotIn([300, 150], [size for kind, *size in first if kind != "steady"])
        self.assertEqual([self.el(b).get_attribute("value") for b in ("Text_Mmax", "Text_AAmax", "Text_PePo")],
                         ["2.5", "3", "0.6"])
        self.assertEqual(self.report()[1], "M_max=2.5")
        self.assertEqual(self.bars(), [41, 401])
        self.assertTrue(self.status().startswith("Normal shock inside the nozzle"))
        self.open("#me=3&pepo=0.2")
        self.assertTrue(self.status().startswith("Oblique shocks at the exit"), self.status())
        # Me_Sup 3 puts the normal-shock limit at 0.2813: 0.3 is a shock just inside.
        self.open("#me=3&pepo=0.3")
        self.assertTrue(self.status().startswith("Normal shock inside the nozzle at x = 2.9"), self.status())
        gases = "air, helium, argon, carbon dioxide, steam, hot combustion gas"
        for link, refusal in (("#me=2.5&amax=3&pepo=abc", 'Pe/Po = must be a number above 0 and at most 1 (got "abc")'),
                              ("#me=2&pepo=0.8&k=1.75", 'k must be a number from 1.05 to 1.7 (got "1.75")'),
                              ("#me=2&pepo=0.8&gas=helium&k=abc", 'k must be a number from 1.05 to 1.7 (got "abc")'),
                              ("#me=2&pepo=0.8&gas=xenon", 'The gas must be one of %s (got "xenon")' % gases)):
            self.open(link)
            self.assertEqual(self.status(), refusal)
            self.assertIn("refusal", self.el("StatusLine").get_attribute("class"))
            self.assertEqual([self.el(b).get_attribute("value") for b in ("Text_Mmax", "Text_PePo")], ["2", "1"])
            self.assertEqual(self.report()[:2], ["iMax=100", "M_max=2"])  # the start-up flow
            self.assertEqual(Select(self.el("Gas")).first_selected_option.text, "Air (k = 1.4)")
            # The refused address stays to be mended.
            self.assertEqual(self.js("return location.hash"), link)
        # Editing the address opens the new scenario.
        self.js("location.hash = '#me=2&pepo=0.8'")
        WebDriverWait(self.driver, 5).until(lambda d: self.status() == SHOCK_STATUS)

    def test_about_plot_menu_and_values_under_the_cursor(self):
        self.open("#me=2&amax=3&pepo=0.8")
        self.el("Mn_About").click()
        self.assertTrue(self.el("Form_About").is_displayed())
        self.assertIn("Convergent divergent nozzle", self.el("Form_About").text)
        self.el("Form_About").find_element(By.CSS_SELECTOR, ".close").click()
        self.el("Mn_About").click()
        self.driver.switch_to.active_element.send_keys(Keys.ESCAPE)
        self.assertFalse(self.el("Form_About").is_displayed())
        mach = self.el("Picture_Mach")
        fraction = self.scene_column(1, 1.575)
        left, top, width, height = self.js(
            "const r = arguments[0].getBoundingClientRect(); return [r.left, r.top, r.width, r.height]", mach)
        self.driver.execute_cdp_cmd("Input.dispatchMouseEvent", {
            "type": "mouseMoved", "x": left + fraction * width, "y": top + height / 2})
        self.assertIn("station 66: M = ", self.status())
        webdriver.ActionChains(self.driver).move_to_element(self.el("Command1")).perform()
        self.assertEqual(self.status(), SHOCK_STATUS)
        webdriver.ActionChains(self.driver).context_click(mach).perform()
        menu = self.el("PlotMenu")
        self.assertTrue(menu.is_displayed())
        self.assertEqual(menu.text.split("\n"), ["Mach number along the nozzle", "Copy image", "Save PNG image…",
                                                 "Save SVG image…", "Save data as CSV…"])
        svg = self.js("return cdnozzlePage.plotSvg(1)")
        self.assertIn('stroke="#0072b2"', svg)  # the flow's blue
        self.assertIn(">M</text>", svg)
        self.driver.switch_to.active_element.send_keys(Keys.ESCAPE)
        self.assertFalse(menu.is_displayed())
        # The pointer leaves the plots (a plot the pointer rests on is the
        # one Save figure offers, as soon as the page moves under it).
        webdriver.ActionChains(self.driver).move_to_element(self.el("StatusLine")).perform()
        # From the keyboard: the plot's menu on Shift+F10 with its first entry
        # focused, the arrows move in it, Escape gives the focus back.
        active = lambda: self.js("const a = document.activeElement; return a.id || a.dataset.id")
        self.js("document.getElementById('Picture_PiPo').focus()")
        self.driver.switch_to.active_element.send_keys(Keys.SHIFT, Keys.F10)
        self.assertTrue(menu.is_displayed())
        self.assertEqual(active(), "Show_0")
        self.driver.switch_to.active_element.send_keys(Keys.ARROW_UP)
        self.assertEqual(active(), "Export_csv")
        self.driver.switch_to.active_element.send_keys(Keys.ARROW_DOWN)
        self.assertEqual(active(), "Show_0")
        self.driver.switch_to.active_element.send_keys(Keys.ESCAPE)
        self.assertFalse(menu.is_displayed())
        self.assertEqual(active(), "Picture_PiPo")
        # Save figure: the menu of the plot last pointed at or focused.
        self.el("SaveFigure").send_keys(Keys.ENTER)
        self.assertTrue(menu.is_displayed())
        self.assertEqual(menu.text.split("\n")[0], "Pressure ratio p/p0 along the nozzle")
        self.driver.switch_to.active_element.send_keys(Keys.ESCAPE)
        self.assertEqual(active(), "SaveFigure")
        # Share link: the address of the calculation, copied, and said so.
        self.driver.execute_cdp_cmd("Browser.grantPermissions", {
            "permissions": ["clipboardReadWrite", "clipboardSanitizedWrite"]})
        self.el("ShareLink").click()
        WebDriverWait(self.driver, 3).until(lambda d: self.el("ShareNote").is_displayed())
        # The page is a file here: the part that opens the same state is
        # copied, and the note says the file goes with it.
        self.assertEqual(self.el("ShareNote").text, "Copied the part after the page's name: "
                         "this page is a file, so send the file with it")
        self.assertEqual(self.status(), SHOCK_STATUS)
        copied = self.driver.execute_async_script(
            "navigator.clipboard.readText().then(arguments[0], (e) => arguments[0]('' + e))")
        self.assertEqual(copied, "#me=2&amax=3&pepo=0.8")
        csv = self.js("return cdnozzlePage.csv()").splitlines()
        self.assertEqual(csv[0], "i,x,y,AA,M,PiPo,T_T0,rho_rho0,V_astar")
        self.assertEqual(len(csv), 102)

    def test_files_go_where_the_logic_says_and_wait_for_a_flow(self):
        self.open("#me=2&amax=3&pepo=0.8")
        # A finger's long press opens the menu; a mouse's right click after it too.
        self.driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": True})
        x, y = self.js("const r = arguments[0].getBoundingClientRect(); return [r.left, r.top]",
                       self.el("Picture_Mach"))
        self.driver.execute_cdp_cmd("Input.dispatchTouchEvent", {
            "type": "touchStart", "touchPoints": [{"x": x + 50, "y": y + 50}]})
        self.js("return new Promise((r) => setTimeout(r, 800))")
        self.assertTrue(self.el("PlotMenu").is_displayed())
        self.driver.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": "touchEnd", "touchPoints": []})
        self.js("return new Promise((r) => setTimeout(r, 1200))")
        self.driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": False})
        self.el("StatusLine").click()
        self.assertFalse(self.el("PlotMenu").is_displayed())
        # Files handed to the browser and pictures to the clipboard, as made.
        self.js("""window.handed = [];
            const make = URL.createObjectURL;
            URL.createObjectURL = (blob) => { handed.push({type: blob.type, blob}); return make(blob); };
            HTMLAnchorElement.prototype.click = function () { handed[handed.length - 1].name = this.download; };
            navigator.clipboard.write = async ([item]) => handed.push(
              {name: 'clipboard', type: item.types[0], blob: await item.getType(item.types[0])});""")
        for entry in ("Export_png", "Export_svg", "Export_copy", "Export_csv"):
            webdriver.ActionChains(self.driver).context_click(self.el("Picture_Mach")).perform()
            self.assertTrue(self.el("PlotMenu").is_displayed(), entry)
            self.el("PlotMenu").find_element(By.CSS_SELECTOR, "[data-id='%s']" % entry).click()
        WebDriverWait(self.driver, 5).until(lambda d: self.js("return handed.length") == 4)
        self.assertEqual(self.js("return handed.map((h) => [h.name, h.type])"), [
            ["nozzle-me2-pepo0.8-mach.png", "image/png"], ["nozzle-me2-pepo0.8-mach.svg", "image/svg+xml"],
            ["clipboard", "image/png"], ["nozzle-me2-pepo0.8-stations.csv", "text/csv"]])
        # The pictures on the logic's plot background.
        corners = self.driver.execute_async_script("""
            const done = arguments[0];
            Promise.all([handed[0], handed[2]].map(async ({blob}) => {
              const c = new OffscreenCanvas(1, 1).getContext('2d');
              c.drawImage(await createImageBitmap(blob), 0, 0);
              return [...c.getImageData(0, 0, 1, 1).data.slice(0, 3)];
            })).then(done);""")
        background = self.js("return cdnozzlePage.view().plots[1].background")
        self.assertEqual(corners, [[background["r"], background["g"], background["b"]]] * 2)
        # After Reset nothing is drawn: Calculate and Play stand out, no
        # plot has a menu, nothing is saved or shared until a calculation.
        self.el("Reset").click()
        suggested = lambda: [self.el(b).get_attribute("class").split().count("suggested")
                             for b in ("Command1", "Play")]
        self.assertEqual(suggested(), [1, 1])
        self.assertEqual([self.el(b).is_enabled() for b in ("SaveFigure", "ShareLink")], [False, False])
        webdriver.ActionChains(self.driver).context_click(self.el("Picture_Mach")).perform()
        self.assertFalse(self.el("PlotMenu").is_displayed())
        self.el("Picture_Geo").click()  # a click on the nozzle calculates too
        self.assertEqual(suggested(), [0, 0])
        self.el("Command1").click()
        self.assertEqual(suggested(), [0, 0])
        self.assertEqual([self.el(b).is_enabled() for b in ("SaveFigure", "ShareLink")], [True, True])

    def test_play_and_explanation(self):
        self.open("#me=2&amax=3&pepo=0.8")
        explanation = self.el("Explanation")
        self.assertTrue(explanation.is_displayed())
        self.assertIn("between the subsonic limit 0.9088 and the normal-shock limit 0.5751",
                      explanation.text)
        self.el("PlayFaster").click()
        self.assertEqual(self.el("PlaySpeed").text, "fast")
        self.el("Play").click()
        self.assertEqual(self.el("Play").get_attribute("aria-pressed"), "true")
        # A fast play: the bars follow every step, the readouts (the Pe/Po
        # box, the status) are shown anew 10 times a second; at a slow one
        # every frame reads the step it shows.
        for slower, fast in ((0, True), (2, False)):
            for _ in range(slower):
                self.el("PlaySlower").click()
            if not fast:
                self.el("Play").click()
            frames = self.play_frames(1.0)
            bar = [f[1] for f in frames]
            box = [f[0] for f in frames]
            changes = lambda seen: sum(a != b for a, b in zip(seen, seen[1:]))
            if fast:
                self.assertLessEqual(changes(box), 12, box)
                self.assertGreater(changes(bar), changes(box) + 5, bar)
            else:
                self.assertGreater(changes(box), 3, box)
                for text, fine in frames:
                    self.assertEqual(fine, round(1001 - 1000 * float(text)), frames)
            self.el("Play").click()
            self.assertEqual(self.el("Play").get_attribute("aria-pressed"), "false")
            # Paused, every readout shows the step the bars stand at.
            self.wait_for_address("#me=2&amax=3&pepo=" + self.el("Text_PePo").get_attribute("value"))
            pepo = float(self.el("Text_PePo").get_attribute("value"))
            coarse, fine = self.bars()
            self.assertEqual(fine, round(1000 - 1000 * (pepo - 0.001)))
            self.assertEqual(coarse, round(100 - 100 * (pepo - 0.01)))
            self.assertEqual(self.status(), self.js("return cdnozzlePage.view().status"))
            self.assertIn("Pe/Po = %g " % pepo, self.el("Explanation").text)
        # A click on a bar pauses a running play.
        self.el("Play").click()
        self.el("VScroll1").find_element(By.CSS_SELECTOR, ".arrow.up").click()
        self.assertEqual(self.el("Play").get_attribute("aria-pressed"), "false")
        text = self.el("Explanation").text
        self.assertTrue(text.startswith("Pe/Po = "), text)
        # F1 hides and shows the explanation, F5 plays from a box with the focus.
        self.el("Text_PePo").send_keys(Keys.F1)
        self.assertFalse(self.el("Explanation").is_displayed())
        self.el("Text_PePo").send_keys(Keys.F5)
        self.assertEqual(self.el("Play").get_attribute("aria-pressed"), "true")
        self.el("Text_PePo").send_keys(Keys.F5)
        self.assertEqual(self.el("Play").get_attribute("aria-pressed"), "false")
        # A fast play stopped while its readouts are held shows, stopped, the
        # step its bars stand at (its steps here all within one held spell).
        pepo, fine = self.js("""const p = cdnozzlePage, t = performance.now() / 1000;
            p.send('faster', t);
            p.send('faster', t);
            p.send('play', t);
            for (let i = 1; i <= 3; i++) p.send('tick', t + 0.01 * i);
            p.send('play', t + 0.04);
            p.send('slower', t);
            p.send('slower', t);
            return [Number(document.getElementById('Text_PePo').value), p.view().fine.position];""")
        self.assertEqual(fine, round(1000 - 1000 * (pepo - 0.001)))

    def test_the_flow_in_time(self):
        self.open("#me=2&amax=3&pepo=0.7")
        self.el("Mode_Unsteady").click()
        self.assertTrue(self.el("Mode_Unsteady").is_selected())
        self.assertTrue(self.status().startswith("t = 0 L/a0 · 0 steps"), self.status())
        self.assertFalse(self.el("PlayReverse").is_enabled())
        self.el("TimeStep").click()
        self.assertIn(" · 10 steps · ", self.status())
        steps = lambda: self.js("return cdnozzlePage.view().unsteadySteps")
        self.el("Play").click()
        WebDriverWait(self.driver, 10).until(lambda d: steps() > 300)
        # A bar moved: the running flow takes the back pressure, time runs on.
        self.el("VScroll1").find_element(By.CSS_SELECTOR, ".arrow.down").click()
        self.assertEqual(self.el("Play").get_attribute("aria-pressed"), "true")
        self.assertEqual(self.js("return cdnozzlePage.logic.playing()"), True)
        self.el("Play").click()
        # The nozzle filled by Mach number: viridis's dark end near the inlet.
        dark = self.js("""
            const c = document.getElementById('Picture_Geo'), d = (%s)(c);
            let n = 0;
            for (let i = 0; i < d.length; i += 4)
              if (Math.abs(d[i] - 68) < 25 && d[i + 1] < 60 && Math.abs(d[i + 2] - 90) < 35) n++;
            return n;""" % PIXELS)
        self.assertGreater(dark, 500)
        self.assertIn("The flow in time: the nozzle opened from rest", self.el("Explanation").text)
        self.el("TimeRestart").click()
        self.assertTrue(self.status().startswith("t = 0 L/a0 · 0 steps"), self.status())
        # Remembered, and the steady flow again.
        self.assertEqual(self.js("return localStorage.getItem('cdnozzle.mode')"), "unsteady")
        self.open()
        self.assertTrue(self.el("Mode_Unsteady").is_selected())
        self.el("Mode_Steady").click()
        self.assertEqual(self.status(), "Press Calculate, or ▶ Play")
        self.assertEqual(self.js("return localStorage.getItem('cdnozzle.mode')"), "steady")
        # An address opens it, whatever was remembered.
        self.open("#me=2&amax=3&pepo=0.7&mode=unsteady")
        self.assertTrue(self.el("Mode_Unsteady").is_selected())
        self.assertTrue(self.status().startswith("t = 0 L/a0 · 0 steps"), self.status())
        self.assertIn("against Pe/Po = 0.7 ", self.el("Explanation").get_attribute("textContent"))

    def test_gas_and_the_third_plots_quantity(self):
        self.open("#me=2&amax=3&pepo=0.8")
        Select(self.el("Gas")).select_by_visible_text("Helium (k = 1.6667)")
        self.assertTrue(self.status().endswith(" · helium (k = 1.6667)"), self.status())
        self.assertEqual(self.report()[3], "Pe/Po sesaltı limit=0.8728")
        pressure = self.js("return document.getElementById('Picture_PiPo').toDataURL()")
        webdriver.ActionChains(self.driver).context_click(self.el("Picture_PiPo")).perform()
        self.el("PlotMenu").find_element(By.CSS_SELECTOR, "[data-id='Show_1']").click()
        self.assertEqual(self.el("Label5").text, "T/T0")
        self.assertEqual(self.el("Picture_PiPo").get_attribute("aria-label"),
                         "Temperature ratio T/T0 along the nozzle")
        self.assertNotEqual(self.js("return document.getElementById('Picture_PiPo').toDataURL()"), pressure)
        # The address carries the gas and the quantity: a link opens what its sender saw.
        self.el("VScroll2").send_keys(Keys.ARROW_DOWN)
        shown = self.seen()
        self.wait_for_address("#me=2&amax=3&pepo=0.799&gas=helium&plot=T")
        self.open("#me=2&amax=3&pepo=0.799&gas=helium&plot=T")
        self.assertEqual(self.seen(), shown)
        # An address of before opens air and p/p0.
        self.js("location.hash = '#me=2&amax=3&pepo=0.8'")
        WebDriverWait(self.driver, 5).until(lambda d: self.status() == SHOCK_STATUS)
        self.assertEqual(self.el("Label5").text, "p/p0")
        self.assertEqual(Select(self.el("Gas")).first_selected_option.text, "Air (k = 1.4)")
        Select(self.el("Gas")).select_by_visible_text("Helium (k = 1.6667)")
        Select(self.el("Gas")).select_by_visible_text("Air (k = 1.4)")
        self.assertEqual(self.status(), SHOCK_STATUS)
        # "Other…" names the gas as the window does, and opens again with
        # another k chosen; a refusal quotes what was typed.
        chosen = lambda: Select(self.el("Gas")).first_selected_option.text
        self.choose_other_gas("1,25")
        self.assertTrue(self.status().endswith(" · gas with k = 1.25 (k = 1.25)"), self.status())
        self.assertEqual(chosen(), "Gas with k = 1.25")
        self.choose_other_gas("1.23456789012345678901234567890123456789")
        self.assertTrue(self.status().endswith(" · gas with k = 1.2346 (k = 1.2346)"), self.status())
        webdriver.ActionChains(self.driver).context_click(self.el("Picture_PiPo")).perform()
        self.el("PlotMenu").find_element(By.CSS_SELECTOR, "[data-id='Show_2']").click()
        shown = self.seen()
        link = "#me=2&amax=3&pepo=0.8&k=1.2345678901234567&plot=rho"
        self.wait_for_address(link)
        self.open(link)
        self.assertEqual(self.seen(), shown)
        self.choose_other_gas("x" * 40)
        self.assertEqual(self.status(), 'k must be a number from 1.05 to 1.7 (got "%s...")' % ("x" * 24))
        self.assertEqual(chosen(), "Gas with k = 1.2346")

    def test_the_page_reaches_nothing_outside_itself(self):
        self.open()
        policy = self.js("return document.querySelector('meta[http-equiv=Content-Security-Policy]').content")
        self.assertIn("default-src 'none'", policy)
        # Connections anywhere (a data: URL too), a remote image or script,
        # a script slipped into the page: all refused.
        outcome = self.driver.execute_async_script("""
            const done = arguments[arguments.length - 1];
            const image = new Image();
            image.src = 'http://127.0.0.1:9/a.png';
            const script = document.createElement('script');
            script.textContent = 'window.slipped = true;';
            document.body.append(script);
            Promise.all(['http://127.0.0.1:9/', 'data:text/plain,reached'].map((url) =>
                fetch(url).then((r) => r.text(), () => 'refused')))
              .then((fetched) => setTimeout(() => done([fetched, window.slipped === true]), 200));""")
        self.assertEqual(outcome, [["refused", "refused"], False])
        self.assertEqual(sorted(v.split()[0] for v in self.violations()),
                         ["connect-src", "connect-src", "img-src", "script-src-elem"])
        # The dialogs' forms still close them.
        self.js("document.getElementById('NotConvergedBox').showModal()")
        self.el("NotConvergedOk").click()
        self.assertFalse(self.el("NotConvergedBox").is_displayed())

    def test_controls_carry_the_window_names(self):
        self.open()
        for name in ("Text_Mmax", "Text_AAmax", "Text_PePo", "Command1", "VScroll1", "VScroll2",
                     "List1", "Picture_Geo", "Picture_Mach", "Picture_PiPo", "StatusLine", "Play",
                     "Explanation"):
            self.assertTrue(self.el(name).is_displayed(), name)
        self.assertEqual(self.el("Picture_Geo").tag_name, "canvas")
        # Sharp: one canvas pixel per device pixel.
        ratio = self.js("const c = document.getElementById('Picture_Geo');"
                        "return c.width / c.getBoundingClientRect().width / devicePixelRatio")
        self.assertAlmostEqual(ratio, 1, delta=0.01)
        # A plot that alone takes another size (the explanation above it on
        # more lines) is drawn again at it.
        self.js("document.getElementById('MachArea').style.flex = '0 0 300px'")
        WebDriverWait(self.driver, 5).until(lambda d: self.js(
            "const c = document.getElementById('Picture_Mach');"
            "return c.height === Math.round(c.getBoundingClientRect().height * devicePixelRatio)"
            " && c.getBoundingClientRect().height > 250"))
        # Every field the page's script reads from the view's sections is
        # one of theirs (the objects inside them note a missing key when read).
        with open(PAGE, encoding="utf-8") as page:
            read = set(re.findall(r"\bview\.([A-Za-z_]\w*)", page.read()))
        self.assertEqual(read - set(self.js("return Object.keys(window.cdnozzlePage.view())")), set())


class Phone(PageTest):
    mobile = True

    def tap(self, element, across=0.5):
        box = self.js("arguments[0].scrollIntoView({block: 'center'});"
                      "const r = arguments[0].getBoundingClientRect();"
                      "return [r.left + r.width * arguments[1], r.top + r.height / 2]", element, across)
        point = {"x": box[0], "y": box[1]}
        self.driver.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": "touchStart", "touchPoints": [point]})
        self.driver.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": "touchEnd", "touchPoints": []})

    def test_where_to_begin_is_on_the_first_screen_with_thumb_sized_controls(self):
        self.open()
        rect = lambda i: self.js("return arguments[0].getBoundingClientRect().toJSON()", self.el(i))
        # The boxes, both bars and Calculate above the fold, the plots below them.
        for name in ("Text_PePo", "VScroll1", "VScroll2", "Command1", "Play"):
            self.assertLessEqual(rect(name)["bottom"], 844, name)
        self.assertEqual(self.status(), "Press Calculate, or ▶ Play")
        self.assertLess(rect("Command1")["bottom"], rect("Picture_Geo")["top"])
        self.assertLessEqual(rect("Picture_Geo")["right"], 390.5)
        self.assertLessEqual(self.js("return document.documentElement.scrollWidth"), 390)
        for bar in ("VScroll1", "VScroll2"):
            self.assertGreaterEqual(rect(bar)["width"], 44)
        arrow = self.el("VScroll1").find_element(By.CSS_SELECTOR, ".arrow.down")
        self.assertGreaterEqual(rect("Command1")["height"], 40)
        self.assertGreaterEqual(self.js("return arguments[0].getBoundingClientRect().height", arrow), 40)

    def test_touch_walkthrough(self):
        self.open()
        # The explanation waits below the report for a tap on Explain.
        self.assertFalse(self.el("Explanation").is_displayed())
        self.tap(self.el("ExplainToggle"))
        self.assertTrue(self.el("Explanation").is_displayed())
        arrow = self.el("VScroll1").find_element(By.CSS_SELECTOR, ".arrow.down")
        self.tap(arrow)
        self.assertEqual(self.bars(), [2, 11])
        self.assertEqual(self.el("Text_PePo").get_attribute("value"), "0.99")
        self.type_into("Text_PePo", "0.8")
        self.tap(self.el("Command1"))
        self.assertEqual(self.report(), SHOCK_REPORT)
        self.assertEqual(self.status(), SHOCK_STATUS)
        # A finger on a plot shows the values under it; a long press opens the menu.
        mach = self.el("Picture_Mach")
        self.tap(mach, self.scene_column(1, 1.575))
        self.assertIn("station 66: M = ", self.status())
        # Pressed near the screen's corner, the menu opens under the finger.
        box = self.js("arguments[0].scrollIntoView({block: 'end'});"
                      "const r = arguments[0].getBoundingClientRect();"
                      "return [r.right - 10, r.bottom - 10]", mach)
        point = {"x": box[0], "y": box[1]}
        self.driver.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": "touchStart", "touchPoints": [point]})
        WebDriverWait(self.driver, 3).until(lambda d: self.el("PlotMenu").is_displayed())
        self.driver.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": "touchEnd", "touchPoints": []})
        # The finger lifts (a click on the entry under it): the menu stays
        # until a choice or a touch elsewhere.
        self.js("return new Promise((r) => setTimeout(r, 300))")
        self.assertTrue(self.el("PlotMenu").is_displayed())
        self.assertEqual(self.el("Label5").text, "p/p0")
        self.tap(self.el("StatusLine"))
        self.assertFalse(self.el("PlotMenu").is_displayed())
        self.assertEqual(self.status(), SHOCK_STATUS)  # the finger's readout gone
        # A play draws the flow coarser; the steady layers stay at the
        # device's pixels and follow what changes under the play (here the
        # third plot's quantity): they are the ones the same plots show at rest.
        self.open("#me=2&amax=3&pepo=0.8")
        steady = "return [...document.querySelectorAll('canvas.steady')].map(c => c.toDataURL())"
        self.js("cdnozzlePage.send('play'); cdnozzlePage.send('thirdPlot', 1)")
        self.assertTrue(self.js("return cdnozzlePage.view().playing"))
        playing = self.js(steady)
        self.open("#me=2&amax=3&pepo=0.8&plot=T")
        self.assertEqual(self.js(steady), playing)


    def test_plots_show_their_display_lists(self):
        # Each plot as shown (its two layers) against its display list drawn
        # line by line, each line its own stroke with its own dashes: the
        # page's shortcuts (curves drawn with fewer pieces, a nozzle's cells
        # as one picture, pre-cut dashes stroked solid) change no line by
        # more than a pixel here and there. Texts are not in the list drawn
        # here: what the page shows beyond the lines is not looked at.
        # (The mode is remembered: the next test opens the steady flow.)
        self.addCleanup(self.js, "cdnozzlePage.send('mode', 0)")
        for fragment, steps in (("#me=2&amax=3&pepo=0.8", 0), ("#me=3&amax=10&pepo=0.3", 0),
                                ("#me=2&amax=3&pepo=0.8&mode=unsteady", 40)):
            with self.subTest(fragment):
                self.open(fragment)
                for _ in range(steps):
                    self.js("cdnozzlePage.send('timeStep')")
                self.js("return new Promise((r) => requestAnimationFrame(() => setTimeout(r, 50)))")
                for kind in range(3):
                    self.assert_plot_shows_its_lines(kind)

    def assert_plot_shows_its_lines(self, kind):
        missing, extra, drawn, filled = self.js("""
            const kind = arguments[0], pixels = %s;
            const canvas = document.getElementById(['Picture_Geo', 'Picture_Mach', 'Picture_PiPo'][kind]);
            const { w, h, scale } = cdnozzlePage.plotSize(kind);
            const shown = document.createElement('canvas');
            Object.assign(shown, { width: w, height: h });
            shown.getContext('2d').drawImage(canvas.previousElementSibling, 0, 0);
            shown.getContext('2d').drawImage(canvas, 0, 0);
            const page = pixels(shown);
            const count = 11 * cdnozzlePage.logic.displayList(kind, w, h, scale);
            const at = cdnozzlePage.logic.linesAddress() / 8;
            const lines = cdnozzleCore.HEAPF64.slice(at, at + count);
            const own = document.createElement('canvas');
            Object.assign(own, { width: w, height: h });
            const ctx = own.getContext('2d');
            ctx.lineCap = 'butt';
            for (let i = 0; i < count; i += 11) {
              const [x1, y1, x2, y2, r, g, b, width, crisp, dash, gap] = lines.slice(i, i + 11);
              const snap = (v) => (width %% 2 ? Math.floor(v) + 0.5 : Math.round(v));
              ctx.beginPath();
              ctx.strokeStyle = `rgb(${r},${g},${b})`;
              ctx.lineWidth = width;
              ctx.setLineDash(dash > 0 ? [dash, gap] : []);
              ctx.moveTo(crisp === 1 ? snap(x1) : x1, crisp === 2 ? snap(y1) : y1);
              ctx.lineTo(crisp === 1 ? snap(x1) : x2, crisp === 2 ? snap(y1) : y2);
              ctx.stroke();
            }
            const line = pixels(own);
            // A pixel a line covers whole shows its colour on the page
            // within a pixel of it; a pixel the page shows in a line's
            // colour lies within a pixel of that line.
            const near = (a, i, rgb) => {
              const x = (i / 4) %% w, y = Math.floor(i / 4 / w);
              for (let dy = -1; dy <= 1; dy++)
                for (let dx = -1; dx <= 1; dx++) {
                  const j = 4 * ((y + dy) * w + x + dx);
                  if (x + dx < 0 || x + dx >= w || y + dy < 0 || y + dy >= h) continue;
                  if (Math.abs(a[j] - rgb[0]) + Math.abs(a[j + 1] - rgb[1]) +
                      Math.abs(a[j + 2] - rgb[2]) < 60 && a[j + 3] > 200) return true;
                }
              return false;
            };
            // (The limits' labels and the captions are texts in line colours.)
            const colours = new Set();
            for (let i = 0; i < count; i += 11) colours.add(lines.slice(i + 4, i + 7).join());
            colours.delete('170,51,119');
            colours.delete('0,0,0');
            let missing = 0, extra = 0, drawn = 0, filled = 0;
            for (let i = 0; i < line.length; i += 4) {
              if (line[i + 3] === 255) {
                drawn++;
                if (!near(page, i, line.slice(i, i + 3))) missing++;
              }
              if (page[i + 3] === 255 && colours.has(page.slice(i, i + 3).join()) &&
                  !near(line, i, page.slice(i, i + 3))) extra++;
            }
            // The gaps of a dashed line held to a pixel row or column stay
            // open (the limits' colour is left out above: their labels have it).
            for (let i = 0; i < count; i += 11) {
              const [x1, y1, x2, y2, , , , width, crisp, dash] = lines.slice(i, i + 11);
              if (!(dash > 0) || !crisp) continue;
              const snap = (v) => Math.floor(width %% 2 ? Math.floor(v) + 0.5 : Math.round(v));
              const from = crisp === 1 ? Math.min(y1, y2) : Math.min(x1, x2);
              const to = crisp === 1 ? Math.max(y1, y2) : Math.max(x1, x2);
              for (let t = Math.ceil(from); t < to; t++) {
                const x = crisp === 1 ? snap(x1) : t, y = crisp === 1 ? t : snap(y1);
                if (x < 0 || x >= w || y < 0 || y >= h) continue;
                const j = 4 * (y * w + x);
                if (line[j + 3] === 0 && page.slice(j, j + 3).join() === lines.slice(i + 4, i + 7).join()) filled++;
              }
            }
            return [missing, extra, drawn, filled];""" % PIXELS, kind)
        self.assertGreater(drawn, 1000)
        self.assertLess(missing, drawn / 100, (kind, missing, drawn))
        self.assertLess(extra, drawn / 100, (kind, extra, drawn))
        self.assertLess(filled, 5, kind)


class Access(PageTest):
    """The page at the sizes people use it: a wide screen, a laptop, a phone
    and the browser's zoom, with a screen reader's eye (axe-core)."""

    def screen(self, width, height, ratio=1, mobile=False):
        self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": width, "height": height, "deviceScaleFactor": ratio, "mobile": mobile})
        self.driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": mobile})

    def tearDown(self):
        self.driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})
        super().tearDown()

    def axe(self):
        """What axe-core finds against WCAG 2.1 A and AA and its best practices."""
        if not self.js("return Boolean(window.axe)"):
            self.assertTrue(os.path.exists(AXE), "axe-core missing: run scripts/install-deps web")
            with open(AXE, encoding="utf-8") as f:
                self.js(f.read())
        return self.driver.execute_async_script("""
            const done = arguments[arguments.length - 1];
            axe.run(document, {runOnly: {type: 'tag', values:
                ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'best-practice']}})
              .then((r) => done(r.violations.map((v) => v.impact + ' ' + v.id + ': ' +
                  v.nodes.map((n) => n.target.join(' ')).join(', '))),
                    (e) => done(['axe failed: ' + e]));""")

    def test_axe_finds_nothing_on_any_screen_with_every_window_open(self):
        for width, height, ratio, mobile in ((1920, 1080, 1, False), (1366, 768, 1, False),
                                             (390, 844, 3, True)):
            with self.subTest(screen="%dx%d" % (width, height)):
                self.screen(width, height, ratio, mobile)
                self.open()
                self.assertEqual(self.axe(), [], "at start")
                self.open("#me=2&amax=3&pepo=0.8&p0=7MPa&t0=3500K&at=300cm2&alt=20km")
                self.js("cdnozzlePage.send('explain', 1)")
                self.assertTrue(self.el("Txt_p0").is_displayed())  # the engine opened
                self.assertEqual(self.axe(), [], "calculated")
                self.el("Mn_About").click()
                self.assertEqual(self.axe(), [], "About")
                self.el("Form_About").find_element(By.CSS_SELECTOR, ".close").click()
                self.el("SaveFigure").click()
                self.assertTrue(self.el("PlotMenu").is_displayed())
                self.assertEqual(self.axe(), [], "plot menu")
                self.driver.switch_to.active_element.send_keys(Keys.ESCAPE)
                self.el("Shortcuts").click()
                self.assertEqual(self.axe(), [], "keys")


    def test_browser_zoom_grows_text_and_controls_and_the_page_reflows(self):
        # The browser's zoom at 200 %: the same screen in half as many CSS
        # pixels, each two device pixels wide (what Ctrl+Plus gives a page).
        def seen(width, height, ratio):
            self.screen(width, height, ratio)
            self.open("#me=2&amax=3&pepo=0.8")
            return self.js("""
                const r = (id) => document.getElementById(id).getBoundingClientRect();
                const c = document.getElementById('Picture_Mach');
                return {label: r('Label1').height * devicePixelRatio,
                        calculate: r('Command1').height * devicePixelRatio,
                        sharp: c.width / (r('Picture_Mach').width * devicePixelRatio),
                        overflow: document.documentElement.scrollWidth - innerWidth,
                        plotsBelowCalculate: r('Picture_Geo').top >= r('Command1').bottom};""")
        normal = seen(1920, 1080, 1)
        zoomed = seen(960, 540, 2)
        self.assertAlmostEqual(zoomed["label"] / normal["label"], 2, delta=0.1)
        self.assertAlmostEqual(zoomed["calculate"] / normal["calculate"], 2, delta=0.1)
        self.assertFalse(zoomed["plotsBelowCalculate"])  # still side by side
        # Zoomed on a smaller screen the page reflows into one column,
        # nothing wider than the window; the canvases stay at the device's pixels.
        far = seen(640, 400, 2)
        self.assertTrue(far["plotsBelowCalculate"])
        for shown in (normal, zoomed, far):
            self.assertLessEqual(shown["overflow"], 0)
            self.assertAlmostEqual(shown["sharp"], 1, delta=0.01)
        # Moved while open to a denser screen, then to a less dense one (the
        # same CSS pixels): each time the plots are drawn again at its pixels.
        for ratio in (3, 1.5):
            self.screen(640, 400, ratio)
            self.assertTrue(self.js("""
                let sent = false;
                for (const l of window.cdnozzleMediaListeners.splice(0))
                  if (!matchMedia(l.media).matches) { l.fn(new Event('change')); sent = true; }
                return sent;"""), ratio)
            WebDriverWait(self.driver, 10).until(lambda d: abs(self.js("""
                const c = document.getElementById('Picture_Mach');
                return c.width / (c.getBoundingClientRect().width * devicePixelRatio);""") - 1) < 0.01,
                ratio)

    def test_explanation_is_never_cut(self):
        # Every kind of event that changes the explanation or the room around it.
        events = [["explain", 1], ["editPePo", "0.8"], ["calculate"], ["moveCoarse", 50],
                  ["moveFine", 998], ["hover", 1, 190, 377], ["leave"], ["editMeSup", "3"],
                  ["editAmax", "2"], ["editMeSup", ""], ["openAddress", "#me=2.5&amax=3&pepo=0.6"],
                  ["listedGas", "helium"], ["otherGas", "1.25"], ["thirdPlot", 1], ["projector", 1], ["projectorPlot", 2],
                  ["stepDown"], ["stepUp"], ["coarseDown"], ["coarseUp"], ["clickGeometry"],
                  ["moveFine", 95], ["faster", 0], ["play", 0], ["tick", 0.5], ["tick", 2.6],
                  ["tick", 5], ["play", 5], ["reverse", 6], ["tick", 7], ["slower", 7],
                  ["pauseAtLimits", 0], ["zoomIn"], ["export", 2, "svg"], ["shortcuts", 1],
                  ["shortcuts", 0], ["projector", 0], ["reset"], ["calculate"]]
        for width, height, ratio, mobile in ((1366, 768, 1, False), (390, 844, 3, True)):
            self.screen(width, height, ratio, mobile)
            self.open()
            cut = self.js("""
                const cut = [];
                const e = document.getElementById('Explanation');
                for (const event of arguments[0]) {
                  cdnozzlePage.replay([event]);
                  if (e.hidden) continue;
                  const r = e.getBoundingClientRect();
                  let why = e.scrollHeight > e.clientHeight + 1 ? 'scrolls inside' : '';
                  for (let a = e.parentElement; a && !why; a = a.parentElement) {
                    const s = getComputedStyle(a);
                    if (/hidden|clip/.test(s.overflowY + s.overflow) && a.getBoundingClientRect().bottom < r.bottom - 0.5)
                      why = 'cut by ' + a.tagName;
                  }
                  if (!why && r.bottom + scrollY > document.scrollingElement.scrollHeight + 0.5) why = 'below the page';
                  if (why) cut.push(event[0] + ': ' + why);
                }
                return cut;""", events)
            self.assertEqual(cut, [], "%dx%d" % (width, height))
            # The whole of it on the screen once scrolled to.
            self.assertTrue(self.el("Explanation").is_displayed())
            self.js("document.getElementById('Explanation').scrollIntoView({block: 'end'})")
            bottom = self.js("return document.getElementById('Explanation').getBoundingClientRect().bottom")
            self.assertLessEqual(bottom, height + 0.5)


def random_script(seed, count):
    """A log of every kind of user event, in a random order, with a clock
    that moves on as a person's would."""
    rnd = random.Random(seed)
    texts = ["2", "2.5", "3", "1.05", "1", "", "abc", "0.5", "4.25", "2."]
    amaxes = ["3", "2", "", "-0.1", "5"]
    pepos = ["0.8", "0.5", "0.3", "0.1", "0.9", "1", "1.5", "", "0.575", "0.0005", "0.99"]
    gases = ["air", "helium", "argon", "carbon dioxide", "steam", "hot combustion gas", "xenon"]
    typed_k = ["1.25", "1,3", "1.8", "abc", "1.05", "5/3"]
    engine = [["7 MPa", "1015 psi", "70", "0", "abc"], ["3500 K", "5840 R", "3500"],
              ["300 cm2", "19.5 cm", "46.5 in2", "1 kg"], ["22 g/mol", "", "4"],
              ["20 km", "65000 ft", "90 km", "0", ""], ["", "8", "2.5", "0.5"]]
    addresses = ["#me=2.5&amax=3&pepo=0.6", "#me=3&pepo=0.2&gas=helium&plot=T",
                 "#me=3&pepo=0.1&p0=7MPa&t0=3500K&at=300cm2&alt=20km&units=us",
                 "#me=2&pepo=0.8&k=1.25&plot=rho", "#me=2&pepo=abc", "#pepo=0.4"]
    now = 0.0
    events = []
    for _ in range(count):
        now += rnd.choice([0.01, 0.025, 0.1, 0.5, 2.5])
        kind = rnd.randrange(36)
        event = [
            lambda: ["editMeSup", rnd.choice(texts)],
            lambda: ["editAmax", rnd.choice(amaxes)],
            lambda: ["editPePo", rnd.choice(pepos)],
            lambda: ["calculate"],
            lambda: ["clickGeometry"],
            lambda: ["moveCoarse", rnd.randint(1, 100)],
            lambda: ["moveFine", rnd.choice([rnd.randint(1, 1000), rnd.randint(990, 1000)])],
            lambda: ["listedGas", rnd.choice(gases)],
            lambda: ["otherGas", rnd.choice(typed_k)],
            lambda: ["thirdPlot", rnd.randrange(3)],
            lambda: ["play", now],
            lambda: ["reverse", now],
            lambda: ["slower", now],
            lambda: ["faster", now],
            lambda: ["pauseAtLimits", rnd.randrange(2)],
            lambda: ["tick", now],
            lambda: ["explain", rnd.randrange(2)],
            lambda: [rnd.choice(["zoomIn", "zoomOut", "zoomReset"])],
            lambda: ["hover", rnd.randrange(3), rnd.uniform(-10, 400), 377],
            lambda: ["leave"],
            lambda: ["openAddress", rnd.choice(addresses)],
            lambda: ["export", rnd.randrange(3), rnd.choice(["svg", "csv", "png"])],
            lambda: ["tick", now],
            lambda: ["tick", now],
            lambda: ["stepDown"],
            lambda: ["stepUp"],
            lambda: ["coarseDown"],
            lambda: ["coarseUp"],
            lambda: ["reset"] if rnd.random() < 0.3 else ["stepDown"],
            lambda: ["projector", rnd.randrange(2)],
            lambda: ["shortcuts", rnd.randrange(2)],
            lambda: ["editEngine"] + (lambda f: [rnd.choice(engine[f]), f])(rnd.randrange(6)),
            lambda: ["units", rnd.randrange(2)],
            lambda: ["moveAltitude", rnd.randint(0, 860)],
            lambda: ["projectorPlot", rnd.randrange(4)],
            lambda: rnd.choice([["mode", rnd.randrange(2)], ["timeStep", now], ["timeRestart", now]]),
        ][kind]()
        events.append(event)
    return events


def first_difference(a, b, where=""):
    """Where two dumps first differ, or None."""
    if type(a) != type(b):
        return "%s: %r != %r" % (where, a, b)
    if isinstance(a, dict):
        for key in sorted(set(a) | set(b)):
            d = first_difference(a.get(key), b.get(key), where + "." + key)
            if d:
                return d
        return None
    if isinstance(a, list):
        if len(a) != len(b):
            return "%s: length %d != %d" % (where, len(a), len(b))
        for i, (x, y) in enumerate(zip(a, b)):
            d = first_difference(x, y, "%s[%d]" % (where, i))
            if d:
                return d
        return None
    # Pictures byte for byte; a table's numbers to their last bits.
    if a == b or (isinstance(a, str) and not a.startswith("<") and within_last_bits(a, b)):
        return None
    return "%s: %r != %r" % (where, a, b)


NUMBER = re.compile(r"(-?\d+(?:\.\d+)?(?:[eE][-+]?\d+)?)")


def within_last_bits(a, b):
    """The same text but for numbers a few units in the last place apart:
    the browser's sin, atan and pow may round differently from the C
    library's (an exit's jet Mach number behind an oblique shock, in a
    CSV written to 17 digits)."""
    x, y = NUMBER.split(a), NUMBER.split(b)
    if len(x) != len(y) or x[0::2] != y[0::2]:
        return False
    return all(p == q or abs(float(p) - float(q)) <= 1e-12 * max(abs(float(p)), abs(float(q)))
               for p, q in zip(x[1::2], y[1::2]))


class Sameness(PageTest):
    def test_one_event_log_through_the_window_and_the_page(self):
        # The start as a wide page opens (the explanation open on both),
        # then a setting restored.
        events = [["start", 1280], ["setting", "playSpeed=2"],
                  ["editPePo", "0.8"], ["calculate"], ["moveCoarse", 50],
                  ["moveFine", 998], ["hover", 1, 190, 377], ["leave"], ["editMeSup", ""],
                  ["editMeSup", "3"], ["openAddress", "#me=2.5&amax=3&pepo=0.6"], ["clickGeometry"],
                  ["otherGas", "1.25"], ["thirdPlot", 1], ["hover", 2, 200, 377],
                  ["export", 0, "svg"], ["export", 1, "svg"], ["export", 2, "svg"],
                  ["export", 2, "csv"], ["listedGas", "air"],
                  ["mode", 1], ["timeStep", 3.0], ["play", 3.1], ["tick", 3.15], ["moveCoarse", 40],
                  ["tick", 3.3], ["hover", 1, 150, 377], ["leave"], ["thirdPlot", 2],
                  ["timeRestart", 3.4], ["tick", 3.5], ["play", 3.6],
                  ["openAddress", "#me=2&amax=3&pepo=0.7&mode=unsteady"], ["timeStep", 3.7],
                  ["export", 2, "csv"], ["mode", 0]] + random_script(20261208, 400)
        with tempfile.NamedTemporaryFile("w", suffix=".json", delete=False) as f:
            json.dump(events, f)
        try:
            window = json.loads(subprocess.run([REPLAY, f.name], check=True, capture_output=True,
                                               text=True).stdout)
        finally:
            os.unlink(f.name)
        self.open()
        page = json.loads(self.js("return JSON.stringify(cdnozzlePage.replay(arguments[0]))", events))
        self.assertEqual(len(page), len(events))
        kinds = set()
        for i, (w, p) in enumerate(zip(window, page)):
            kinds.add(events[i][0])
            difference = first_difference(w, p)
            self.assertIsNone(difference, "after event %d %r: %s" % (i, events[i], difference))
        # Where the two front ends once disagreed: the name of a gas of
        # another k, the menus' capitals, the third plot's quantity first
        # under the cursor.
        gas = [i["label"] for i in window[12]["menus"][1]["items"]]
        self.assertEqual(gas[0], "Air (k = 1.4)")
        self.assertIn("Gas with k = 1.25", gas)
        self.assertRegex(window[14]["status"], r"^x = [0-9.]+, station \d+: T/T0 = ")
        # Every kind of event the logic takes was in the log.
        formats = self.js("return cdnozzleCore.eventFormats().map(f => f.name)")
        self.assertEqual(sorted(kinds), sorted(formats))
        exported = [w["export"]["text"] for w in window if "export" in w and w["export"]["name"].endswith(".svg")]
        print("sameness: %d events through the window and the page, %d identical SVG files"
              % (len(events), len(exported)))
        # The page shows what its logic says.
        state = page[-1]
        self.assertEqual(self.report(), state["report"])
        self.assertEqual(self.status(), state["status"])
        self.assertEqual(self.bars(), state["bars"])


class WasmAgainstNative(PageTest):
    def test_random_inputs(self):
        rnd = random.Random(99)
        inputs = [("2", "3", "0.8"), ("3", "3", "0.2"), ("1", "3", "0.5"), ("20", "3", "1e-12"),
                  ("1.05", "3", "0.55735")]
        for _ in range(300):
            me = rnd.choice([rnd.uniform(1, 6), rnd.uniform(1, 1.1), rnd.uniform(6, 40)])
            pe = rnd.choice([rnd.uniform(0.001, 1), round(rnd.uniform(0.001, 1), 3), rnd.uniform(0.001, 0.1)])
            inputs.append(("%.*g" % (rnd.randint(2, 17), me), str(rnd.randint(1, 5)),
                           "%.*g" % (rnd.randint(2, 17), pe)))
        # The page students get carries none of the tests' hooks.
        self.driver.get("file://" + STUDENT_PAGE)
        WebDriverWait(self.driver, 30).until(
            lambda d: d.execute_script("return document.documentElement.dataset.ready === '1'"))
        hooks = ['scene', 'calculateTexts', 'benchFineSweep', 'benchUnsteady']
        self.assertEqual(self.js("return arguments[0].filter(h => h in cdnozzleCore)", hooks), [])
        self.open()
        wasm = self.js("return arguments[0].map(t => { const r = cdnozzleCore.calculateTexts(...t);"
                       " return JSON.stringify(r); })", inputs)
        exact = numbers = 0
        worst = 0.0
        for text, w in zip(inputs, wasm):
            w = json.loads(w)
            run = subprocess.run([REPORT, "--json", "--me-sup", text[0], "--amax", text[1],
                                  "--pe-po", text[2]], capture_output=True, text=True)
            self.assertEqual(run.returncode, 0, run.stderr)
            n = json.loads(run.stdout)
            self.assertEqual(w["report"], n["report"], text)
            self.assertEqual(w["regime"], n["regime"], text)
            self.assertEqual(w["i_NS"], n["i_NS"], text)
            pairs = [(w[k], n[k]) for k in ("Me", "PePo_e", "PePo", "AAe", "Me_sub", "PePo_sub",
                                            "PePo_NS", "PePo_OS")]
            for wasm_row, native_row in zip(w["stations"], n["stations"]):
                self.assertEqual(sorted(wasm_row), sorted(native_row))
                pairs += [(wasm_row[key], native_row[key]) for key in native_row]
            for a, b in pairs:
                numbers += 1
                exact += a == b
                rel = abs(a - b) / max(abs(a), abs(b)) if a != b else 0.0
                worst = max(worst, rel)
                self.assertLessEqual(rel, 1e-12, "%r: %r != %r" % (text, a, b))
        print("wasm against native: %d inputs, %d numbers, %d identical, largest relative "
              "difference %.3g" % (len(inputs), numbers, exact, worst))


if __name__ == "__main__":
    suite = sys.argv[4]
    del sys.argv[1:]
    # A suite, or one test of it ("Walkthrough.test_scenario_addresses").
    result = unittest.TextTestRunner(verbosity=2).run(
        unittest.defaultTestLoader.loadTestsFromName(suite, sys.modules[__name__]))
    sys.exit(0 if result.wasSuccessful() else 1)
