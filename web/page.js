// The page: a view of the window's logic (compiled from the same C++ core).
// It forwards the user's events to the logic and shows what the logic says:
// box texts, bar positions, the report, the status line and three scenes
// painted on canvases.
"use strict";
(function () {
  const VERSION = "@VERSION@";
  const PLOT_BG = "rgb(255,255,192)";
  const COLORS = ["rgb(200,200,200)", "rgb(0,0,0)", "rgb(255,0,0)", "rgb(0,0,255)"];
  // The designed window's width in its pixels (its height is the form's:
  // menu, client area, status line and the explanation when shown).
  const DESIGN_WIDTH = 606;
  const SPEED_NAMES = ["slow", "normal", "fast"];
  const PHONE_WIDTH = 600;
  // The plots: canvas, scene index, caption, designed size.
  const PLOTS = [
    { id: "Picture_Geo", kind: 0, caption: "", width: 377, height: 185 },
    { id: "Picture_Mach", kind: 1, caption: "M", width: 377, height: 145 },
    { id: "Picture_PiPo", kind: 2, caption: "p/p0", width: 377, height: 161 },
  ];
  const EXPORT_WIDTH = 1200;
  const LONG_PRESS_MS = 550;
  // Browsers ignore address changes beyond a couple of hundred in ten
  // seconds (a fast play makes one a frame): the address is written at most
  // once in this time, and always once more after the last change.
  const ADDRESS_SPACING_MS = 250;

  const $ = (id) => document.getElementById(id);
  let logic = null;
  let scenes = [null, null, null];
  let shownCalculation = -1;
  let shownThird = 0;
  let ownHash = "";
  // The listed gases, [[name, k], ...], air first.
  let named = [];

  // ---- painting -----------------------------------------------------------

  // Liang-Barsky: the part of the segment inside the rectangle, or null.
  function clip(x0, y0, x1, y1, left, top, right, bottom) {
    const dx = x1 - x0, dy = y1 - y0;
    let t0 = 0, t1 = 1;
    const p = [-dx, dx, -dy, dy];
    const q = [x0 - left, right - x0, y0 - top, bottom - y0];
    for (let i = 0; i < 4; i++) {
      if (p[i] === 0) {
        if (q[i] < 0) return null;
        continue;
      }
      const t = q[i] / p[i];
      if (p[i] < 0) {
        if (t > t1) return null;
        if (t > t0) t0 = t;
      } else {
        if (t < t0) return null;
        if (t < t1) t1 = t;
      }
    }
    return [x0 + t0 * dx, y0 + t0 * dy, x0 + t1 * dx, y0 + t1 * dy];
  }

  // The scene's segments mapped onto a w x h area, cut at its edges (a line
  // width beyond them), per colour: [[x1, y1, x2, y2, crisp], ...] x 4.
  function mapScene(scene, w, h, lineWidth) {
    const out = [[], [], [], []];
    if (!scene) return out;
    const sw = scene.right - scene.left, sh = scene.bottom - scene.top;
    if (!isFinite(sw) || !isFinite(sh) || sw === 0 || sh === 0) return out;
    const sx = w / sw, sy = h / sh;
    const s = scene.segments;
    for (let i = 0; i < s.length; i += 5) {
      const x1 = (s[i + 1] - scene.left) * sx, y1 = (s[i + 2] - scene.top) * sy;
      const x2 = (s[i + 3] - scene.left) * sx, y2 = (s[i + 4] - scene.top) * sy;
      if (!isFinite(x1 + y1 + x2 + y2)) continue;
      const cut = clip(x1, y1, x2, y2, -lineWidth, -lineWidth, w + lineWidth, h + lineWidth);
      if (!cut) continue;
      cut.push(s[i + 1] === s[i + 3] ? "v" : s[i + 2] === s[i + 4] ? "h" : "");
      out[s[i]].push(cut);
    }
    return out;
  }

  // Grid, axes and vertical shocks crisp on the pixel grid; curves smooth.
  function paintScene(ctx, w, h, scene, lineWidth) {
    ctx.fillStyle = PLOT_BG;
    ctx.fillRect(0, 0, w, h);
    const lw = Math.max(1, Math.round(lineWidth));
    const snap = (v) => (lw % 2 ? Math.floor(v) + 0.5 : Math.round(v));
    const groups = mapScene(scene, w, h, lw);
    ctx.lineWidth = lw;
    ctx.lineCap = "butt";
    ctx.lineJoin = "round";
    groups.forEach((lines, color) => {
      if (!lines.length) return;
      ctx.beginPath();
      for (const [x1, y1, x2, y2, crisp] of lines) {
        if (crisp === "v") {
          const x = snap(x1);
          ctx.moveTo(x, y1);
          ctx.lineTo(x, y2);
        } else if (crisp === "h") {
          const y = snap(y1);
          ctx.moveTo(x1, y);
          ctx.lineTo(x2, y);
        } else {
          ctx.moveTo(x1, y1);
          ctx.lineTo(x2, y2);
        }
      }
      ctx.strokeStyle = COLORS[color];
      ctx.stroke();
    });
  }

  function paintPlots() {
    for (const plot of PLOTS) {
      const canvas = $(plot.id);
      const rect = canvas.getBoundingClientRect();
      const dpr = window.devicePixelRatio || 1;
      const w = Math.max(1, Math.round(rect.width * dpr));
      const h = Math.max(1, Math.round(rect.height * dpr));
      if (canvas.width !== w) canvas.width = w;
      if (canvas.height !== h) canvas.height = h;
      // One CSS pixel of the designed window, in device pixels.
      const lineWidth = canvas.offsetWidth ? w / canvas.offsetWidth : dpr;
      paintScene(canvas.getContext("2d"), w, h, scenes[plot.kind], lineWidth);
    }
  }

  // ---- layout -------------------------------------------------------------

  function layout() {
    const form = $("Form1");
    if (window.innerWidth < PHONE_WIDTH) {
      form.style.transform = "";
    } else {
      const height = form.offsetHeight || 562;
      const scale = Math.min(window.innerWidth / DESIGN_WIDTH, window.innerHeight / height);
      const dx = Math.max(0, (window.innerWidth - DESIGN_WIDTH * scale) / 2);
      const dy = Math.max(0, (window.innerHeight - height * scale) / 2);
      form.style.transform = `translate(${dx}px, ${dy}px) scale(${scale})`;
    }
    coarse.placeThumb();
    fine.placeThumb();
    paintPlots();
  }

  // ---- scroll bars --------------------------------------------------------

  // A vertical bar: arrows and trough clicks move one position (held down,
  // they repeat), the keyboard's Up and Down one position (Down means a
  // higher position, a lower Pe/Po), a dragged thumb moves on release.
  class ScrollBar {
    constructor(element, min, max, onMove) {
      this.el = element;
      this.min = min;
      this.max = max;
      this.value = min;
      this.onMove = onMove;
      this.trough = element.querySelector(".trough");
      this.thumb = element.querySelector(".thumb");
      this.repeat = null;
      const [up, down] = element.querySelectorAll(".arrow");
      this.holdToRepeat(up, () => this.step(-1));
      this.holdToRepeat(down, () => this.step(1));
      this.holdToRepeat(this.trough, (e) => {
        if (e.target === this.thumb) return false;
        const box = this.thumb.getBoundingClientRect();
        this.step(this.lastY < box.top ? -1 : 1);
        return true;
      });
      this.thumb.addEventListener("pointerdown", (e) => this.startDrag(e));
      element.addEventListener("keydown", (e) => this.key(e));
      element.addEventListener("wheel", (e) => {
        e.preventDefault();
        this.step(e.deltaY > 0 ? 1 : -1);
      }, { passive: false });
    }

    holdToRepeat(target, action) {
      const stop = () => {
        clearTimeout(this.repeat);
        clearInterval(this.repeat);
        this.repeat = null;
        target.classList.remove("pressed");
      };
      target.addEventListener("pointerdown", (e) => {
        if (e.button !== 0) return;
        this.lastY = e.clientY;
        if (action(e) === false) return;
        e.preventDefault();
        this.el.focus({ preventScroll: true });
        target.classList.add("pressed");
        target.setPointerCapture(e.pointerId);
        stop();
        target.classList.add("pressed");
        this.repeat = setTimeout(() => {
          this.repeat = setInterval(() => action(e), 60);
        }, 400);
      });
      target.addEventListener("pointermove", (e) => { this.lastY = e.clientY; });
      for (const type of ["pointerup", "pointercancel", "lostpointercapture"]) {
        target.addEventListener(type, stop);
      }
    }

    startDrag(e) {
      if (e.button !== 0) return;
      e.preventDefault();
      e.stopPropagation();
      this.el.focus({ preventScroll: true });
      const thumb = this.thumb;
      thumb.setPointerCapture(e.pointerId);
      thumb.classList.add("dragging");
      const startY = e.clientY;
      const startTop = thumb.offsetTop;
      // Client pixels per layout pixel (the page may be scaled).
      const scale = this.trough.getBoundingClientRect().height / (this.trough.offsetHeight || 1) || 1;
      const room = () => Math.max(1, this.trough.clientHeight - thumb.offsetHeight);
      let top = startTop;
      const move = (ev) => {
        top = Math.min(room(), Math.max(0, startTop + (ev.clientY - startY) / scale));
        thumb.style.top = `${top}px`;
      };
      const end = () => {
        thumb.removeEventListener("pointermove", move);
        thumb.removeEventListener("pointerup", end);
        thumb.removeEventListener("pointercancel", end);
        thumb.classList.remove("dragging");
        const value = this.min + Math.round((top / room()) * (this.max - this.min));
        this.move(value);
        this.placeThumb();
      };
      thumb.addEventListener("pointermove", move);
      thumb.addEventListener("pointerup", end);
      thumb.addEventListener("pointercancel", end);
    }

    key(e) {
      const steps = { ArrowUp: -1, ArrowLeft: -1, PageUp: -1, ArrowDown: 1, ArrowRight: 1, PageDown: 1 };
      if (e.key in steps) {
        this.step(steps[e.key]);
      } else if (e.key === "Home") {
        this.move(this.min);
      } else if (e.key === "End") {
        this.move(this.max);
      } else {
        return;
      }
      e.preventDefault();
    }

    step(delta) {
      this.move(this.value + delta);
    }

    // A position chosen by the user: the logic runs the bar's change
    // handling when it differs from where the bar stands.
    move(value) {
      const v = Math.min(this.max, Math.max(this.min, value));
      if (v !== this.value) this.onMove(v);
    }

    // Where the logic says the bar stands; runs nothing.
    set(value) {
      if (value === this.value) return;
      this.value = value;
      this.el.setAttribute("aria-valuenow", String(value));
      this.placeThumb();
    }

    placeThumb() {
      const height = this.trough.clientHeight;
      const thumbHeight = Math.max(this.thumb.offsetHeight || 5, Math.min(5, height));
      const room = Math.max(0, height - thumbHeight);
      const top = ((this.value - this.min) / (this.max - this.min)) * room;
      this.thumb.style.top = `${top}px`;
      this.thumb.style.height = "";
    }
  }

  // ---- what the logic says ------------------------------------------------

  function syncBox(id, text) {
    const box = $(id);
    if (box.value !== text) box.value = text;
  }

  function render() {
    syncBox("Text_Mmax", logic.meSup());
    syncBox("Text_AAmax", logic.amax());
    syncBox("Text_PePo", logic.pePo());
    coarse.set(logic.coarsePosition());
    fine.set(logic.finePosition());
    const count = logic.calculationCount();
    if (count !== shownCalculation) {
      shownCalculation = count;
      const list = $("List1");
      list.replaceChildren(...logic.reportLines().map((line) => {
        const item = document.createElement("li");
        item.textContent = line;
        return item;
      }));
      scenes = PLOTS.map((p) => logic.scene(p.kind));
      paintPlots();
    }
    const third = logic.thirdPlot();
    if (third !== shownThird) {
      shownThird = third;
      PLOTS[2].caption = ["p/p0", "T/T0", "ρ/ρ0"][third];
      $("Label5").textContent = PLOTS[2].caption;
      scenes[2] = logic.scene(2);
      paintPlots();
    }
    writeAddressSoon();
    const status = $("StatusLine");
    const text = logic.statusText();
    if (status.textContent !== text) status.textContent = text;
    status.classList.toggle("refusal", logic.statusIsRefusal());
    const explanation = logic.explanation();
    if ($("Explanation").textContent !== explanation) $("Explanation").textContent = explanation;
    showPlayControls();
    showGas();
    const messages = logic.takeMessages();
    if (messages.length) showNotConverged(messages);
  }

  // The Gas list shows the logic's gas.
  function showGas() {
    const gas = $("Gas");
    const name = logic.gasName();
    const index = named.findIndex(([n]) => n === name);
    const chosen = gas.querySelector("option[value=chosen]");
    chosen.hidden = index >= 0;
    if (index < 0 && chosen.text !== name) chosen.text = name;
    const value = index >= 0 ? String(index) : "chosen";
    if (gas.value !== value) gas.value = value;
  }

  // ---- play -----------------------------------------------------------------

  const seconds = () => performance.now() / 1000;
  let frame = 0;

  function showPlayControls() {
    const playing = logic.playing();
    const play = $("Play");
    const label = playing ? "❚❚ Pause" : "▶ Play";
    if (play.textContent !== label) play.textContent = label;
    play.setAttribute("aria-pressed", String(playing));
    $("PlaySpeed").textContent = SPEED_NAMES[logic.playSpeed()];
    $("PlaySlower").disabled = logic.playSpeed() === 0;
    $("PlayFaster").disabled = logic.playSpeed() === 2;
    $("PauseAtLimits").checked = logic.pauseAtLimits();
    if (playing && !frame) frame = requestAnimationFrame(animate);
  }

  // The play follows the clock: a slow frame skips steps, never slows it.
  function animate() {
    frame = 0;
    if (!logic.playing()) return;
    if (logic.tick(seconds())) render();
    else showPlayControls();
  }

  function remember() {
    try {
      localStorage.setItem("cdnozzle.playSpeed", String(logic.playSpeed()));
      localStorage.setItem("cdnozzle.pauseAtLimits", String(logic.pauseAtLimits()));
    } catch (err) {
      // Storage may be off (private windows, some file:// settings): nothing to keep then.
    }
  }

  function recall() {
    try {
      const speed = Number(localStorage.getItem("cdnozzle.playSpeed"));
      if (localStorage.getItem("cdnozzle.playSpeed") !== null && speed >= 0 && speed <= 2)
        logic.setPlaySpeed(speed, seconds());
      if (localStorage.getItem("cdnozzle.pauseAtLimits") === "false") logic.setPauseAtLimits(false);
    } catch (err) {
      // As above.
    }
  }

  function showExplanation(shown) {
    $("Explanation").hidden = !shown;
    $("ExplainToggle").setAttribute("aria-pressed", String(shown));
    layout();
  }

  // Every user event goes through here, then the page shows the result.
  const handlers = {
    meSup: (text) => { logic.editMeSup(text); render(); },
    amax: (text) => { logic.editAmax(text); render(); },
    pePo: (text) => { logic.editPePo(text); render(); },
    calculate: () => { logic.pressCalculate(); render(); },
    geometryClick: () => { logic.clickGeometry(); render(); },
    coarse: (position) => { logic.moveCoarse(position); render(); },
    fine: (position) => { logic.moveFine(position); render(); },
    hover: (kind, x) => { logic.hover(kind, x); render(); },
    leave: () => { logic.leavePlot(); render(); },
    scenario: (me, amax, pepo, gas = "", k = "", third = 0) => {
      logic.openScenario(me, amax, pepo, gas, k, third);
      render();
    },
    play: () => { logic.playOrPause(seconds()); render(); },
    reverse: () => { logic.playReverse(seconds()); render(); },
    slower: () => { logic.setPlaySpeed(Math.max(0, logic.playSpeed() - 1), seconds()); remember(); render(); },
    faster: () => { logic.setPlaySpeed(Math.min(2, logic.playSpeed() + 1), seconds()); remember(); render(); },
    pauseAtLimits: (on) => { logic.setPauseAtLimits(on); remember(); render(); },
    explain: () => showExplanation($("Explanation").hidden),
    gas: (name) => { logic.setListedGas(name); render(); },
    otherGas: (typed) => { logic.setOtherGas(typed); render(); },
    thirdPlot: (quantity) => { logic.setThirdPlot(quantity); render(); },
  };

  const coarse = new ScrollBar($("VScroll1"), 1, 100, (v) => handlers.coarse(v));
  const fine = new ScrollBar($("VScroll2"), 1, 1000, (v) => handlers.fine(v));

  // ---- messages and windows -----------------------------------------------

  const pendingMessages = [];
  function showNotConverged(messages) {
    pendingMessages.push(...messages);
    const box = $("NotConvergedBox");
    if (box.open) return;
    const next = () => {
      if (!pendingMessages.length) return;
      $("NotConvergedText").textContent = pendingMessages.shift();
      box.showModal();
    };
    box.onclose = next;
    next();
  }

  function showAbout() {
    const about = $("Form_About");
    if (!about.open) about.show();
    about.querySelector(".close").focus();
  }

  // ---- the scenario in the address ----------------------------------------

  // #me=2&amax=3&pepo=0.8, then the gas (gas=helium for a listed one, k=1.25
  // for another, nothing for air) and the third plot (plot=T or plot=rho,
  // nothing for p/p0). The logic checks what an address says as it checks
  // the boxes and the Gas list.
  const PLOT_KEYS = ["p", "T", "rho"];

  function readAddress() {
    const params = new URLSearchParams(location.hash.replace(/^#/, ""));
    if (!["me", "amax", "pepo", "gas", "k", "plot"].some((key) => params.has(key))) return null;
    return [params.get("me") ?? "2", params.get("amax") ?? "3", params.get("pepo") ?? "1",
      params.get("gas") ?? "", params.get("k") ?? "", Math.max(0, PLOT_KEYS.indexOf(params.get("plot")))];
  }

  // What the page shows: the last accepted calculation, with its gas.
  function address() {
    const t = logic.acceptedTexts();
    const params = new URLSearchParams({ me: t.me, amax: t.amax, pepo: t.pepo });
    const gas = logic.acceptedGasName();
    if (!named.some(([name]) => name === gas)) params.set("k", String(logic.acceptedGasK()));
    else if (gas !== "air") params.set("gas", gas);
    if (logic.thirdPlot() > 0) params.set("plot", PLOT_KEYS[logic.thirdPlot()]);
    return `#${params}`;
  }

  let addressWritten = -Infinity;
  let addressTimer = 0;
  function writeAddressSoon() {
    if (addressTimer) return;
    const wait = addressWritten + ADDRESS_SPACING_MS - performance.now();
    if (wait > 0) {
      addressTimer = setTimeout(() => {
        addressTimer = 0;
        writeAddress();
      }, wait);
    } else {
      writeAddress();
    }
  }

  function writeAddress() {
    // Nothing calculated yet: an address that was refused stays to be mended.
    if (!logic.calculated()) return;
    const hash = address();
    if (location.hash === hash) return;
    ownHash = hash;
    addressWritten = performance.now();
    try {
      history.replaceState(null, "", hash);
    } catch (err) {
      location.replace(hash);
    }
  }

  // ---- plot menu and files ------------------------------------------------

  function download(name, blob) {
    const url = URL.createObjectURL(blob);
    const a = document.createElement("a");
    a.href = url;
    a.download = name;
    document.body.appendChild(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(url), 10000);
  }

  // The plot as an image for paper: EXPORT_WIDTH wide in the designed
  // proportions, pens and caption scaled with it.
  function exportSize(plot) {
    const scale = EXPORT_WIDTH / plot.width;
    return { w: EXPORT_WIDTH, h: Math.round(plot.height * scale), scale };
  }

  function plotPng(plot) {
    const { w, h, scale } = exportSize(plot);
    const canvas = document.createElement("canvas");
    canvas.width = w;
    canvas.height = h;
    const ctx = canvas.getContext("2d");
    paintScene(ctx, w, h, scenes[plot.kind], scale);
    if (plot.caption) {
      ctx.fillStyle = "#000";
      ctx.font = `italic ${Math.round(11 * scale)}px "MS Sans Serif", Tahoma, sans-serif`;
      ctx.fillText(plot.caption, 8 * scale, 19 * scale);
    }
    return canvas;
  }

  function plotSvg(plot) {
    const { w, h, scale } = exportSize(plot);
    const f = (v) => String(Math.round(v * 100) / 100);
    const parts = [
      `<?xml version="1.0" encoding="UTF-8"?>`,
      `<svg xmlns="http://www.w3.org/2000/svg" width="${w}" height="${h}" viewBox="0 0 ${w} ${h}">`,
      `<title>cdnozzle plot</title>`,
      `<rect width="${w}" height="${h}" fill="#ffffc0"/>`,
    ];
    const hex = ["#c8c8c8", "#000000", "#ff0000", "#0000ff"];
    mapScene(scenes[plot.kind], w, h, scale).forEach((lines, color) => {
      if (!lines.length) return;
      parts.push(`<g stroke="${hex[color]}" stroke-width="${f(scale)}" fill="none">`);
      for (const [x1, y1, x2, y2] of lines) {
        parts.push(`<line x1="${f(x1)}" y1="${f(y1)}" x2="${f(x2)}" y2="${f(y2)}"/>`);
      }
      parts.push("</g>");
    });
    if (plot.caption) {
      parts.push(`<text x="${f(8 * scale)}" y="${f(19 * scale)}" font-family="MS Sans Serif, Tahoma, sans-serif" ` +
        `font-style="italic" font-size="${f(11 * scale)}">${plot.caption}</text>`);
    }
    parts.push("</svg>\n");
    return parts.join("\n");
  }

  let menuPlot = null;
  function openPlotMenu(plot, x, y) {
    if (!scenes[plot.kind]) return;
    menuPlot = plot;
    const menu = $("PlotMenu");
    // The third plot offers its quantities.
    $("ThirdPlotChoice").hidden = plot.kind !== 2;
    menu.querySelectorAll("[data-show]").forEach((b) =>
      b.setAttribute("aria-checked", String(Number(b.dataset.show) === logic.thirdPlot())));
    menu.hidden = false;
    const box = menu.getBoundingClientRect();
    menu.style.left = `${Math.max(0, Math.min(x, window.innerWidth - box.width))}px`;
    menu.style.top = `${Math.max(0, Math.min(y, window.innerHeight - box.height))}px`;
    menu.querySelector(plot.kind === 2 ? "[data-show]" : "[data-action]").focus();
  }
  function closePlotMenu() {
    $("PlotMenu").hidden = true;
  }

  $("PlotMenu").addEventListener("click", (e) => {
    if (e.target.dataset && e.target.dataset.show !== undefined) {
      closePlotMenu();
      handlers.thirdPlot(Number(e.target.dataset.show));
      return;
    }
    const action = e.target.dataset && e.target.dataset.action;
    const plot = menuPlot;
    closePlotMenu();
    if (!action || !plot) return;
    if (action === "png") plotPng(plot).toBlob((blob) => blob && download(`${plot.id}.png`, blob), "image/png");
    if (action === "svg") download(`${plot.id}.svg`, new Blob([plotSvg(plot)], { type: "image/svg+xml" }));
    if (action === "csv") download("stations.csv", new Blob([logic.stationTable()], { type: "text/csv" }));
  });
  document.addEventListener("keydown", (e) => {
    if (e.key === "Escape") closePlotMenu();
  });
  document.addEventListener("pointerdown", (e) => {
    if (!$("PlotMenu").contains(e.target)) closePlotMenu();
    if (logic && e.pointerType !== "mouse" && !PLOTS.some((p) => p.id === e.target.id)) {
      logic.leavePlot();
      render();
    }
  });

  // ---- wiring -------------------------------------------------------------

  function plotX(canvas, scene, clientX) {
    const rect = canvas.getBoundingClientRect();
    return scene.left + ((clientX - rect.left) / rect.width) * (scene.right - scene.left);
  }

  function wirePlot(plot) {
    const canvas = $(plot.id);
    let press = null;
    canvas.addEventListener("pointermove", (e) => {
      const scene = scenes[plot.kind];
      if (press && Math.hypot(e.clientX - press.x, e.clientY - press.y) > 10) {
        clearTimeout(press.timer);
        press.timer = null;
      }
      if (scene) handlers.hover(plot.kind, plotX(canvas, scene, e.clientX));
    });
    // A finger's readout stays after it lifts, until the next touch elsewhere.
    canvas.addEventListener("pointerleave", (e) => {
      if (e.pointerType === "mouse") handlers.leave();
    });
    canvas.addEventListener("contextmenu", (e) => {
      e.preventDefault();
      openPlotMenu(plot, e.clientX, e.clientY);
    });
    canvas.addEventListener("pointerdown", (e) => {
      const scene = scenes[plot.kind];
      if (scene && e.pointerType !== "mouse") handlers.hover(plot.kind, plotX(canvas, scene, e.clientX));
      if (e.button !== 0) return;
      press = { x: e.clientX, y: e.clientY, long: false, timer: null };
      if (e.pointerType !== "mouse") {
        const p = press;
        p.timer = setTimeout(() => {
          p.long = true;
          openPlotMenu(plot, p.x, p.y);
        }, LONG_PRESS_MS);
      }
    });
    canvas.addEventListener("pointerup", () => {
      if (press) clearTimeout(press.timer);
    });
    canvas.addEventListener("pointercancel", () => {
      if (press) clearTimeout(press.timer);
      press = null;
    });
    if (plot.kind === 0) {
      canvas.addEventListener("click", (e) => {
        const longPress = press && press.long;
        press = null;
        if (e.button === 0 && !longPress) handlers.geometryClick();
      });
    }
  }

  function wire() {
    $("Text_Mmax").addEventListener("input", (e) => handlers.meSup(e.target.value));
    $("Text_AAmax").addEventListener("input", (e) => handlers.amax(e.target.value));
    $("Text_PePo").addEventListener("input", (e) => handlers.pePo(e.target.value));
    $("Text_PePo").addEventListener("keydown", (e) => {
      if (e.key === "Enter") handlers.calculate();
    });
    $("Command1").addEventListener("click", () => handlers.calculate());
    PLOTS.forEach(wirePlot);
    $("Mn_About").addEventListener("click", showAbout);
    const gas = $("Gas");
    named.forEach(([name, k], i) => {
      const option = new Option(`${name} (k = ${Math.round(k * 10000) / 10000})`, String(i));
      gas.add(option);
    });
    // A gas of another k has an entry of its own while it is chosen, so
    // that "Other…" is always a change and opens its prompt again.
    const chosen = new Option("", "chosen");
    chosen.hidden = true;
    gas.add(chosen);
    gas.add(new Option("Other…", "other"));
    gas.addEventListener("change", () => {
      if (gas.value === "other") {
        const typed = prompt("Ratio of specific heats k (1.05 to 1.7):", String(logic.gasK()));
        if (typed !== null) handlers.otherGas(typed);
      } else if (gas.value !== "chosen") {
        handlers.gas(named[Number(gas.value)][0]);
      }
      // A refused or cancelled choice keeps the gas there was.
      showGas();
    });
    $("Play").addEventListener("click", () => handlers.play());
    $("PlayReverse").addEventListener("click", () => handlers.reverse());
    $("PlaySlower").addEventListener("click", () => handlers.slower());
    $("PlayFaster").addEventListener("click", () => handlers.faster());
    $("PauseAtLimits").addEventListener("change", (e) => handlers.pauseAtLimits(e.target.checked));
    $("ExplainToggle").addEventListener("click", () => handlers.explain());
    // The window's function keys; the boxes keep the focus and their typing.
    document.addEventListener("keydown", (e) => {
      const keys = {
        F5: () => (e.shiftKey ? handlers.reverse() : handlers.play()),
        F6: handlers.slower,
        F7: handlers.faster,
        F1: handlers.explain,
      };
      if (!(e.key in keys) || e.ctrlKey || e.altKey || e.metaKey) return;
      e.preventDefault();
      keys[e.key]();
    });
    $("Form_About").querySelector(".close").addEventListener("click", () => $("Form_About").close());
    window.addEventListener("resize", layout);
    window.addEventListener("hashchange", () => {
      if (location.hash === ownHash) return;
      const scenario = readAddress();
      if (scenario) handlers.scenario(...scenario);
    });
    if (window.matchMedia) {
      // A new devicePixelRatio (browser zoom, another screen) repaints sharp.
      const watch = () => {
        const q = matchMedia(`(resolution: ${window.devicePixelRatio}dppx)`);
        q.addEventListener("change", () => { layout(); watch(); }, { once: true });
      };
      watch();
    }
  }

  // ---- for tests and teachers' scripts ------------------------------------

  function sceneJson(scene) {
    if (!scene) return null;
    const segments = [];
    for (let i = 0; i < scene.segments.length; i += 5) {
      segments.push(Array.from(scene.segments.subarray(i, i + 5)));
    }
    return { left: scene.left, top: scene.top, right: scene.right, bottom: scene.bottom, segments };
  }

  function dumpState() {
    return {
      texts: [logic.meSup(), logic.amax(), logic.pePo()],
      bars: [logic.coarsePosition(), logic.finePosition()],
      report: logic.reportLines(),
      status: logic.statusText(),
      statusKind: logic.statusKind(),
      refusal: logic.statusIsRefusal(),
      scenes: logic.calculated() ? PLOTS.map((p) => sceneJson(logic.scene(p.kind))) : null,
      explanation: logic.explanation(),
    };
  }

  // Events as [name, ...arguments] (the names of the shared script
  // format); the state after each one.
  function replay(events) {
    const route = {
      editMeSup: (t) => { syncBox("Text_Mmax", t); handlers.meSup(t); },
      editAmax: (t) => { syncBox("Text_AAmax", t); handlers.amax(t); },
      editPePo: (t) => { syncBox("Text_PePo", t); handlers.pePo(t); },
      calculate: () => handlers.calculate(),
      clickGeometry: () => handlers.geometryClick(),
      moveCoarse: (p) => coarse.move(p),
      moveFine: (p) => fine.move(p),
      hover: (kind, x) => handlers.hover(kind, x),
      leave: () => handlers.leave(),
      scenario: (me, amax, pepo) => handlers.scenario(me, amax, pepo),
    };
    return events.map(([name, ...args]) => {
      route[name](...args);
      return dumpState();
    });
  }

  // ---- start ----------------------------------------------------------------

  $("Version").textContent = `cdnozzle ${VERSION}`;
  createCdnozzle().then((core) => {
    window.cdnozzleCore = core;
    logic = new core.WindowLogic();
    named = core.gasList();
    recall();
    wire();
    // The explanation is open on a wide screen, a tap away on a phone.
    $("Explanation").hidden = window.innerWidth < PHONE_WIDTH;
    $("ExplainToggle").setAttribute("aria-pressed", String(!$("Explanation").hidden));
    layout();
    const scenario = readAddress();
    if (scenario) handlers.scenario(...scenario);
    else render();
    window.cdnozzlePage = { handlers, replay, dumpState, coarse, fine, plotSvg: (k) => plotSvg(PLOTS[k]),
      csv: () => logic.stationTable() };
    window.cdnozzleFirstPaint = performance.now();
    document.documentElement.dataset.ready = "1";
  }).catch((err) => {
    $("StatusLine").textContent = `This browser cannot run the calculation (${err}).`;
    $("StatusLine").classList.add("refusal");
  });
})();
