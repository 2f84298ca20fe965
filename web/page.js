// SPDX-License-Identifier: MIT
// The page: a binding of the window's logic (compiled from the same C++
// core). Every user action becomes an Event for the logic; the page shows
// the view the logic publishes: box texts, bar positions, the report, the
// status line, the menus and the plots' display lists painted on canvases.
// The logic decides what is shown; the page decides only where.
"use strict";
(function () {
  const VERSION = "@VERSION@";
  // The designed window's text size, in its pixels.
  const DESIGN_FONT = 11;
  const PLOT_IDS = ["Picture_Geo", "Picture_Mach", "Picture_PiPo"];
  const LONG_PRESS_MS = 550;
  // Browsers ignore address changes beyond a couple of hundred in ten
  // seconds (a fast play makes one a frame): the address is written at most
  // once in this time, and always once more after the last change.
  const ADDRESS_SPACING_MS = 250;

  const $ = (id) => document.getElementById(id);
  let core = null;
  let logic = null;
  let view = null;
  let formats = {};
  let ownHash = "";
  // While the page starts, its first events (the settings kept, the
  // explanation, an opened address) are taken before anything is painted:
  // the plots are painted once, at their final size.
  let starting = true;

  // ---- painting -------------------------------------------------------------

  // A display list's lines on a context: runs of one colour, width and
  // dash are stroked together; crisp lines are centred on a pixel row or
  // column. The numbers a line takes: x1, y1, x2, y2, r, g, b, width,
  // crisp, and its dashes' stroke and gap in pixels (0: solid).
  const LINE = 11;
  // Colours by their packed r, g, b: a canvas parses every colour it is
  // given, and a band of cells gives hundreds a frame.
  const colours = new Map();
  const colourOf = (r, g, b) => {
    const key = (r << 16) | (g << 8) | b;
    let c = colours.get(key);
    if (c === undefined) colours.set(key, c = `rgb(${r},${g},${b})`);
    return c;
  };
  const isBand = (lines, i) => lines[i] === lines[i + 2] && lines[i + 8] === 0 &&
    !(lines[i + 9] > 0) && lines[i + 7] > 1;
  // Bands side by side from left to right (a nozzle filled cell by cell)
  // make a run; from this many on, a run is painted as one picture.
  const BAND_PICTURE = 16;
  function bandRun(lines, i) {
    let j = i + LINE;
    while (j < lines.length && isBand(lines, j) && lines[j] > lines[j - LINE] &&
           lines[j] - lines[j + 7] / 2 <= lines[j - LINE] + lines[j - LINE + 7] / 2 + 0.01) j += LINE;
    return j;
  }
  // A run of bands as one picture, drawn pixel column by pixel column.
  const bandCanvas = document.createElement("canvas");
  let bandPixels = null, bandColumns = null;
  function paintBands(ctx, lines, from, to) {
    let left = Infinity, right = -Infinity, top = Infinity, foot = -Infinity;
    for (let i = from; i < to; i += LINE) {
      left = Math.min(left, lines[i] - lines[i + 7] / 2);
      right = Math.max(right, lines[i] + lines[i + 7] / 2);
      top = Math.min(top, lines[i + 1], lines[i + 3]);
      foot = Math.max(foot, lines[i + 1], lines[i + 3]);
    }
    const x0 = Math.floor(left), y0 = Math.floor(top);
    const w = Math.ceil(right) - x0, h = Math.ceil(foot) - y0;
    if (!(w > 0 && h > 0 && w * h < 1 << 24)) return;
    if (!bandPixels || bandPixels.width !== w || bandPixels.height !== h) {
      bandPixels = new ImageData(w, h);
      Object.assign(bandCanvas, { width: w, height: h });
    }
    const px = new Uint32Array(bandPixels.data.buffer);
    px.fill(0);
    // Each column reaches as far up and down as any band over it reaches
    // (as the bands' own rectangles would), in the colour of the band
    // whose middle is nearest.
    if (!bandColumns || bandColumns.length < 3 * w) bandColumns = new Float64Array(3 * w);
    const cols = bandColumns;
    for (let c = 0; c < w; c++) {
      cols[3 * c] = Infinity;
      cols[3 * c + 1] = -Infinity;
      cols[3 * c + 2] = -1;
    }
    for (let i = from; i < to; i += LINE) {
      const half = lines[i + 7] / 2;
      const a = Math.min(lines[i + 1], lines[i + 3]), b = Math.max(lines[i + 1], lines[i + 3]);
      const first = Math.max(0, Math.floor(lines[i] - half - x0));
      const last = Math.min(w, Math.ceil(lines[i] + half - x0));
      for (let c = first; c < last; c++) {
        cols[3 * c] = Math.min(cols[3 * c], a);
        cols[3 * c + 1] = Math.max(cols[3 * c + 1], b);
        const near = cols[3 * c + 2];
        const mid = x0 + c + 0.5;
        if (near < 0 || Math.abs(lines[i] - mid) < Math.abs(lines[near] - mid)) cols[3 * c + 2] = i;
      }
    }
    for (let c = 0; c < w; c++) {
      const band = cols[3 * c + 2];
      if (band < 0) continue;
      // (ImageData's bytes are r, g, b, a: one little-endian word.)
      const colour = 0xff000000 | (lines[band + 6] << 16) | (lines[band + 5] << 8) | lines[band + 4];
      const a = Math.max(0, Math.floor(cols[3 * c] - y0));
      const b = Math.min(h, Math.ceil(cols[3 * c + 1] - y0));
      for (let y = a; y < b; y++) px[y * w + c] = colour;
    }
    bandCanvas.getContext("2d").putImageData(bandPixels, 0, 0);
    ctx.drawImage(bandCanvas, x0, y0);
  }
  // A curve's point that lies within this many canvas pixels of the
  // straight line from the last point drawn to the next is left out (and
  // so are those left out before it): a dense curve takes far fewer pieces
  // to draw, and looks the same.
  const NEAR_LINE = 0.1;
  const MAX_LEFT_OUT = 32;
  const leftOut = new Float64Array(2 * MAX_LEFT_OUT);
  function paintLines(ctx, lines) {
    ctx.lineCap = "butt";
    ctx.lineJoin = "round";
    let r = -1, g = -1, b = -1, w = 0, dash = -1, gap = -1;
    let open = false, fill = "";
    // The path being built: its last point drawn (ax, ay), the point that
    // may yet be left out (px, py), and those already left out.
    let ax = NaN, ay = NaN, px = NaN, py = NaN, pending = false, out = 0;
    const onChord = (x, y, dx, dy, length) => {
      const along = (x - ax) * dx + (y - ay) * dy;
      return along >= 0 && along <= length * length &&
        Math.abs((x - ax) * dy - (y - ay) * dx) <= NEAR_LINE * length;
    };
    const lineTo = (x, y) => {
      if (pending) {
        const dx = x - ax, dy = y - ay, length = Math.sqrt(dx * dx + dy * dy);
        let skip = out < MAX_LEFT_OUT && length > 0 && onChord(px, py, dx, dy, length);
        for (let k = 0; skip && k < out; k++) skip = onChord(leftOut[2 * k], leftOut[2 * k + 1], dx, dy, length);
        if (skip) {
          leftOut[2 * out] = px;
          leftOut[2 * out++ + 1] = py;
        } else {
          ctx.lineTo(px, py);
          ax = px;
          ay = py;
          out = 0;
        }
      }
      px = x;
      py = y;
      pending = true;
    };
    const finish = () => {
      if (pending) ctx.lineTo(px, py);
      pending = false;
      out = 0;
    };
    const moveTo = (x, y) => {
      finish();
      ctx.moveTo(x, y);
      ax = x;
      ay = y;
    };
    const stroke = () => {
      finish();
      ctx.stroke();
      ax = ay = NaN;
    };
    const snap = (v) => (w % 2 ? Math.floor(v) + 0.5 : Math.round(v));
    for (let i = 0; i < lines.length; i += LINE) {
      // A solid vertical line wider than a pixel that is not held to the
      // pixels (a band of colour) is the rectangle its stroke covers (its
      // ends are cut square): filled as one, without a path.
      if (isBand(lines, i)) {
        if (open) stroke();
        open = false;
        r = -1;
        const end = bandRun(lines, i);
        if (end - i >= BAND_PICTURE * LINE) {
          paintBands(ctx, lines, i, end);
          i = end - LINE;
          continue;
        }
        const c = colourOf(lines[i + 4], lines[i + 5], lines[i + 6]);
        if (c !== fill) ctx.fillStyle = fill = c;
        const half = lines[i + 7] / 2, top = Math.min(lines[i + 1], lines[i + 3]);
        ctx.fillRect(lines[i] - half, top, 2 * half, Math.abs(lines[i + 3] - lines[i + 1]));
        continue;
      }
      // A dashed line held to no pixel row or column comes already cut into
      // its dashes, each no longer than a dash: it is stroked solid (a
      // canvas's own dashing of hundreds of pieces costs a slow phone a
      // tenth of a second).
      const ownDash = lines[i + 8] === 0 ? 0 : lines[i + 9], ownGap = ownDash ? lines[i + 10] : 0;
      if (lines[i + 4] !== r || lines[i + 5] !== g || lines[i + 6] !== b || lines[i + 7] !== w ||
          ownDash !== dash || ownGap !== gap) {
        if (open) stroke();
        ctx.beginPath();
        r = lines[i + 4];
        g = lines[i + 5];
        b = lines[i + 6];
        w = lines[i + 7];
        dash = ownDash;
        gap = ownGap;
        ctx.strokeStyle = colourOf(r, g, b);
        ctx.lineWidth = w;
        ctx.setLineDash(dash > 0 ? [dash, gap] : []);
        open = true;
      }
      let x1 = lines[i], y1 = lines[i + 1], x2 = lines[i + 2], y2 = lines[i + 3];
      if (lines[i + 8] === 1) x1 = x2 = snap(x1);
      else if (lines[i + 8] === 2) y1 = y2 = snap(y1);
      // A solid line that goes on from where the last one ended continues
      // its stroke (one path for a curve rather than a path for each
      // piece); a dashed one starts its dashes anew.
      const endX = pending ? px : ax, endY = pending ? py : ay;
      if (!(Math.abs(x1 - endX) < 1e-6 && Math.abs(y1 - endY) < 1e-6) || dash > 0) moveTo(x1, y1);
      if (dash > 0) ctx.lineTo(x2, y2);
      else lineTo(x2, y2);
    }
    if (open) stroke();
    // (The texts' own record of the context's fill colour is kept true.)
    const state = fill && textStates.get(ctx);
    if (state) state.fill = fill;
  }

  // A context's font, colour and alignment are set only when they change,
  // also from one painting to the next (a canvas parses its font at every
  // setting, which costs more than drawing the text); sizing a canvas
  // resets its context, and what was set with it.
  const textStates = new WeakMap();
  function paintTexts(ctx, texts) {
    const { width, height } = ctx.canvas;
    let state = textStates.get(ctx);
    if (!state || state.width !== width || state.height !== height) {
      state = { width, height, font: "", fill: "", align: "" };
      textStates.set(ctx, state);
      ctx.textBaseline = "alphabetic";
    }
    for (const t of texts) {
      if (t.align !== state.align) ctx.textAlign = state.align = t.align;
      const f = `rgb(${t.color[0]},${t.color[1]},${t.color[2]})`;
      if (f !== state.fill) ctx.fillStyle = state.fill = f;
      const k = `${t.italic ? "italic " : ""}${t.size}px "MS Sans Serif", Tahoma, sans-serif`;
      if (k !== state.font) ctx.font = state.font = k;
      ctx.fillText(t.text, t.x, t.y);
    }
  }

  // The canvases at the device's pixels; a plot is repainted when its scene,
  // its drawing or its size changed. Their sizes are measured after a
  // layout, never in the middle of a step (which would force one).
  const painted = PLOT_IDS.map(() => ({ revision: -1, w: 0, h: 0 }));
  // Each plot's size for its upper canvas, and for its steady one.
  const sizes = PLOT_IDS.map(() => null);
  // While the play runs the flow is drawn at one canvas pixel per CSS
  // pixel, however dense the screen: a moving curve needs no more, and a
  // phone keeps more frames; when the play stops it is drawn sharp again.
  // The steady layer keeps the device's pixels throughout, so that starting
  // and stopping a play repaint only the flow.
  let drawnForPlay = false;
  // The plots' texts keep to the page's text size as far as the plot leaves
  // room for them (it holds them at its designed size): the browser's zoom
  // and the reader's font size grow them with the page.
  function measurePlots() {
    drawnForPlay = Boolean(view && view.playing);
    const device = window.devicePixelRatio || 1;
    const dpr = drawnForPlay ? 1 : device;
    const font = parseFloat(getComputedStyle(document.body).fontSize) || 16;
    PLOT_IDS.forEach((id, kind) => {
      const rect = $(id).getBoundingClientRect();
      const { design } = view.plots[kind];
      const text = Math.max(1, Math.min(font / DESIGN_FONT, rect.width / design.width,
                                        rect.height / design.height));
      // Canvas pixels per CSS pixel; the scale is one pixel of the designed
      // window in canvas pixels.
      const at = (ratio) => ({ w: Math.max(1, Math.round(rect.width * ratio)),
                               h: Math.max(1, Math.round(rect.height * ratio)), scale: ratio * text });
      sizes[kind] = { ...at(dpr), steady: at(device) };
      // The caption beside it at the same scale, where an export draws it.
      const area = $(id).parentElement;
      if (area.style.getPropertyValue("--k") !== String(text)) area.style.setProperty("--k", String(text));
    });
  }
  function sameLines(a, b) {
    if (!b || a.length !== b.length) return false;
    for (let i = 0; i < a.length; i++) if (a[i] !== b[i]) return false;
    return true;
  }
  // A plot's display list: its lines split where the steady ones end, and
  // its texts. The lines are copied out of the core's memory into one of
  // two buffers (the other holds the lines painted last; the upper
  // canvas's lists and a steady canvas's own have a pair each): a copy into
  // a typed array is the one the browser does at memory speed.
  const buffers = PLOT_IDS.map(() => [new Float64Array(0), new Float64Array(0)]);
  const steadyBuffers = PLOT_IDS.map(() => [new Float64Array(0), new Float64Array(0)]);
  // Texts the same as this plot's the last time come back empty: the
  // texts last given for each plot.
  const given = PLOT_IDS.map(() => ({ steady: "[]", moving: "[]" }));
  function displayList(kind, w, h, scale, pair = buffers[kind]) {
    const count = LINE * logic.displayList(kind, w, h, scale);
    const at = logic.linesAddress() / 8;
    if (pair[1].length < count) pair[1] = new Float64Array(count);
    const lines = pair[1].subarray(0, count);
    lines.set(core.HEAPF64.subarray(at, at + count));
    pair.reverse();
    const steady = LINE * logic.steadyLines();
    const texts = given[kind];
    texts.steady = logic.steadyTexts() || texts.steady;
    texts.moving = logic.movingTexts() || texts.moving;
    return { steady: lines.subarray(0, steady), moving: lines.subarray(steady),
             steadyTexts: texts.steady, movingTexts: texts.moving };
  }
  // The steady layer is drawn off screen and handed to its canvas as a
  // finished picture where the browser can: a canvas drawn in place is
  // copied anew for every frame the browser shows, changed or not (six
  // plot canvases cost a slow phone half its frames while only a text
  // changes), a picture handed over is not. The upper layer, which changes
  // with every step, is drawn in place: handing it over would cost a new
  // picture at every step.
  // (Some browsers have off-screen canvases without their 2D drawing.)
  const HANDED = (() => {
    try {
      return typeof ImageBitmapRenderingContext === "function" &&
        Boolean(new OffscreenCanvas(1, 1).getContext("2d"));
    } catch (err) {
      return false;
    }
  })();
  const handed = (canvas) => HANDED && canvas.classList.contains("steady");
  const offscreens = new WeakMap();
  function layerContext(canvas, w, h) {
    if (!handed(canvas)) return canvas.getContext("2d");
    let off = offscreens.get(canvas);
    if (!off) offscreens.set(canvas, off = new OffscreenCanvas(w, h));
    if (off.width !== w || off.height !== h) Object.assign(off, { width: w, height: h });
    return off.getContext("2d");
  }
  function showLayer(canvas, ctx) {
    if (handed(canvas)) canvas.getContext("bitmaprenderer").transferFromImageBitmap(ctx.canvas.transferToImageBitmap());
  }
  // One of a plot's three canvases at its size; true when it was resized
  // (which clears it).
  function sized(canvas, w, h) {
    if (canvas.width === w && canvas.height === h) return false;
    canvas.width = w;
    canvas.height = h;
    return true;
  }
  // Each plot on two canvases: what stays while the back pressure moves
  // (the limit flows, the frame, the values on the axes) on the plot's
  // light yellow, and over it the flow and the texts that move with it (the
  // legend, the back pressure's name). A step of the bars repaints the
  // upper one only, the one canvas the browser then copies anew.
  // At the opening each plot is painted whole on its upper canvas (a
  // canvas's first drawing costs in proportion to its area: three first
  // drawings show the plots sooner than six), and once they are on the
  // screen, on their two layers; a plot painted whole is painted on both
  // layers the next time it changes.
  let whole = false;
  // What each steady canvas shows: its size, and its lines and texts.
  const shownSteady = PLOT_IDS.map(() => null);
  function paintPlots(force) {
    const projector = Boolean(view && view.projector);
    if (!sizes[0]) force = true;
    if (!sizes[0] || drawnForPlay !== Boolean(view && view.playing)) measurePlots();
    PLOT_IDS.forEach((id, kind) => {
      const { w, h, scale, steady: full } = sizes[kind];
      const revision = view.plots[kind].sceneRevision;
      const last = painted[kind];
      const shown = shownSteady[kind];
      const steadyThere = Boolean(shown) && shown.w === full.w && shown.h === full.h &&
        shown.scale === full.scale && shown.projector === projector;
      if (!force && last.revision === revision && last.projector === projector && last.w === w &&
          last.h === h && last.scale === scale && (whole || last.whole || steadyThere)) return;
      const canvas = $(id);
      const list = displayList(kind, w, h, scale);
      painted[kind] = { revision, projector, w, h, scale, whole, ...list };
      // The plot's light yellow is the bottom canvas's background (a
      // style), so every canvas starts from clear; a canvas just sized is
      // clear already, and its first drawing is the costly one.
      const back = canvas.previousElementSibling;
      // (An offscreen layer is clear again once handed over.)
      const start = (c, size, drawn) => {
        const fresh = sized(c, size.w, size.h);
        if (!fresh && !force && drawn) return null;
        const ctx = layerContext(c, size.w, size.h);
        if (!fresh && !handed(c)) ctx.clearRect(0, 0, size.w, size.h);
        return ctx;
      };
      const steady = (ctx, from) => {
        paintLines(ctx, from.steady);
        if (from.steadyTexts !== "[]") paintTexts(ctx, JSON.parse(from.steadyTexts));
      };
      // The steady layer is looked at when this list's steady part may
      // differ from the last one's (another size, another scene): at the
      // device's pixels it comes from this list, or during a play from a
      // list of its own.
      const sameSteady = !last.whole && last.w === w && last.h === h && last.scale === scale &&
        last.projector === projector && sameLines(list.steady, last.steady) &&
        list.steadyTexts === last.steadyTexts;
      if (!whole && (force || !steadyThere || !sameSteady)) {
        const from = full.w === w && full.h === h && full.scale === scale ? list
          : displayList(kind, full.w, full.h, full.scale, steadyBuffers[kind]);
        const ctx = start(back, full, steadyThere && sameLines(from.steady, shown.lines) &&
          from.steadyTexts === shown.texts);
        if (ctx) {
          steady(ctx, from);
          showLayer(back, ctx);
        }
        shownSteady[kind] = { ...full, projector, lines: from.steady.slice(), texts: from.steadyTexts };
      }
      const ctx = start(canvas, { w, h }, !whole && !last.whole && sameLines(list.moving, last.moving) &&
        list.movingTexts === last.movingTexts);
      if (ctx) {
        if (whole) steady(ctx, list);
        paintLines(ctx, list.moving);
        if (list.movingTexts !== "[]") paintTexts(ctx, JSON.parse(list.movingTexts));
        showLayer(canvas, ctx);
      }
    });
  }

  // ---- layout -------------------------------------------------------------

  // The page flows by its style sheet; after a new layout (a resize, the
  // browser's zoom, the explanation's text on more lines) the plots are
  // measured again and painted at their new size.
  function layout() {
    if (!logic || starting) return;
    fitProjector();
    measurePlots();
    paintPlots(false);
  }
  // The projector view: the plots it shows (the three, or one alone) fill
  // the screen's height between the bars above and the status line below,
  // and the status line and the banner have the logic's letter sizes.
  function fitProjector() {
    const plots = document.querySelector(".plots");
    let height = "";
    if (view && view.projector) {
      const top = plots.getBoundingClientRect().top + window.scrollY;
      const below = document.querySelector(".statusrow").getBoundingClientRect().height;
      const margin = parseFloat(getComputedStyle(plots).marginTop) || 0;
      height = `${Math.max(200, Math.floor(window.innerHeight - top - below - margin))}px`;
    }
    if (plots.style.height !== height) plots.style.height = height;
  }
  let projectorShown = "";
  function showProjector() {
    const shown = [view.projector, view.projectorPlot, view.statusSize, view.bannerSize].join();
    if (shown === projectorShown) return;
    projectorShown = shown;
    const form = $("Form1");
    if (form.classList.contains("projector") !== view.projector) form.classList.toggle("projector", view.projector);
    setAttr(form, "data-plot", String(view.projectorPlot));
    const px = (size) => (size > 0 ? `${size}px` : "");
    if ($("StatusLine").style.fontSize !== px(view.statusSize)) $("StatusLine").style.fontSize = px(view.statusSize);
    if ($("Banner").style.fontSize !== px(view.bannerSize)) $("Banner").style.fontSize = px(view.bannerSize);
    $("ProjectorLayout").hidden = !view.projector;
    if (starting) return;
    fitProjector();
    measurePlots();
  }
  let layoutFrame = 0;
  function layoutSoon() {
    if (!layoutFrame) layoutFrame = requestAnimationFrame(() => { layoutFrame = 0; layout(); });
  }

  // ---- scroll bars --------------------------------------------------------

  // A vertical bar: arrows and trough clicks move one position (held down,
  // they repeat), the keyboard's Up and Down one position (Down means a
  // higher position, a lower Pe/Po), a dragged thumb moves the flow as it
  // goes. The thumb stands at its share of the range, moved by a transform,
  // so placing it measures nothing.
  class ScrollBar {
    constructor(element, onMove) {
      this.el = element;
      // The range and the position are the logic's (set).
      this.min = this.max = this.value = 0;
      this.onMove = onMove;
      this.trough = element.querySelector(".trough");
      this.thumb = element.querySelector(".thumb");
      this.track = element.querySelector(".track");
      this.marks = element.querySelector(".marks");
      this.dragging = false;
      this.repeat = null;
      const [up, down] = element.querySelectorAll(".arrow");
      this.holdToRepeat(up, () => this.step(-1));
      this.holdToRepeat(down, () => this.step(1));
      this.holdToRepeat(this.trough, (e) => {
        if (e.target === this.thumb) return false;
        const box = this.thumb.getBoundingClientRect();
        // Held, it steps until the thumb is under the pointer, and stays.
        if (this.lastY < box.top) this.step(-1);
        else if (this.lastY > box.bottom) this.step(1);
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

    // The thumb follows the pointer; each new position it passes is a move,
    // so the flow changes while the thumb goes.
    startDrag(e) {
      if (e.button !== 0) return;
      e.preventDefault();
      e.stopPropagation();
      this.el.focus({ preventScroll: true });
      const thumb = this.thumb;
      thumb.setPointerCapture(e.pointerId);
      thumb.classList.add("dragging");
      this.dragging = true;
      const startY = e.clientY;
      const room = Math.max(1, this.trough.clientHeight - thumb.offsetHeight);
      const startTop = this.share(this.value) * room;
      const move = (ev) => {
        const top = Math.min(room, Math.max(0, startTop + ev.clientY - startY));
        this.track.style.transform = `translateY(${top}px)`;
        this.move(this.min + Math.round((top / room) * (this.max - this.min)));
      };
      const end = () => {
        thumb.removeEventListener("pointermove", move);
        thumb.removeEventListener("pointerup", end);
        thumb.removeEventListener("pointercancel", end);
        thumb.classList.remove("dragging");
        this.dragging = false;
        this.place();
      };
      thumb.addEventListener("pointermove", move);
      thumb.addEventListener("pointerup", end);
      thumb.addEventListener("pointercancel", end);
    }

    // Page Up and Page Down are the logic's keys (the coarse step).
    key(e) {
      const steps = { ArrowUp: -1, ArrowLeft: -1, ArrowDown: 1, ArrowRight: 1 };
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

    share(value) {
      return (value - this.min) / (this.max - this.min);
    }

    // Where the logic says the bar stands, its range, and what a screen
    // reader says of it; runs nothing.
    set(state) {
      setAttr(this.el, "aria-label", state.name);
      setAttr(this.el, "aria-valuetext", state.valueText);
      if (state.minimum !== this.min || state.maximum !== this.max) {
        [this.min, this.max, this.value] = [state.minimum, state.maximum, null];
        this.el.setAttribute("aria-valuemin", String(this.min));
        this.el.setAttribute("aria-valuemax", String(this.max));
      }
      if (state.position === this.value) return;
      this.value = state.position;
      this.el.setAttribute("aria-valuenow", String(state.position));
      this.place();
    }

    // The thumb where the bar stands: the track moved by a share of its own
    // height (an inline transform restyles the track alone; a custom
    // property would restyle everything under it).
    place() {
      this.track.style.transform = `translateY(${100 * this.share(this.value)}%)`;
    }

    // The limits' marks in the trough, each titled with its limit.
    showMarks(marks, key) {
      this.marks.replaceChildren(...marks.map((m) => {
        const mark = document.createElement("div");
        mark.className = "mark";
        mark.title = m.tooltip;
        mark.style.setProperty("--f", String(this.share(m[key])));
        return mark;
      }));
    }
  }

  // ---- events in, the view out --------------------------------------------

  const seconds = () => performance.now() / 1000;

  // An event by its log name and fields (as the log lists them).
  function event(name, ...fields) {
    const e = { name, text: "", number: 0, plot: 0, width: 0, time: seconds() };
    const kinds = formats[name] || "";
    [...kinds].forEach((field, i) => {
      const v = fields[i];
      if (v === undefined) return;
      if (field === "t") e.text = String(v);
      else if (field === "n") e.number = Number(v);
      else if (field === "p") e.plot = Number(v);
      else if (field === "w") e.width = Number(v);
      else if (field === "s") e.time = Number(v);
    });
    return e;
  }

  // Every user action goes through here.
  const fieldsOf = (e) => [e.name, e.text, e.number, e.plot, e.width, e.time];
  function dispatch(e) {
    logic.handle(...fieldsOf(e));
    render();
  }
  const send = (name, ...fields) => dispatch(event(name, ...fields));

  // The DOM is written only where it changes: a write, even of the same
  // value, costs the browser a style pass.
  const setProp = (element, name, value) => { if (element[name] !== value) element[name] = value; };
  const setText = (element, text) => setProp(element, "textContent", text);
  const setAttr = (element, name, value) => {
    if (element.getAttribute(name) !== value) element.setAttribute(name, value);
  };
  const syncBox = (id, text) => setProp($(id), "value", text);
  const rgb = ({ r, g, b }) => `rgb(${r}, ${g}, ${b})`;

  // The sections of the view that changed are applied; the readouts a
  // play's step changes (the boxes, the status, the report, the engine)
  // are held, during a fast play, until the logic's readoutsPerSecond allows
  // them. The plots and the bars follow every step.
  let readoutsShown = -Infinity;
  let replaying = false; // a replay shows each event's readouts
  let marksShown = "";
  let announced = 0;
  function render() {
    const now = performance.now();
    const due = (rate) => replaying || !rate || now - readoutsShown >= 1000 / rate;
    const changed = logic.viewChanges(!due(view && view.readoutsPerSecond));
    view = view || { plots: [] };
    // (A play that stopped in this event shows its readouts now.)
    if (changed.menus && due(changed.menus.readoutsPerSecond) && !due(view.readoutsPerSecond))
      Object.assign(changed, logic.viewChanges(false));
    if (changed.boxes || changed.status || changed.report || changed.engine) readoutsShown = now;
    for (const [name, section] of Object.entries(changed)) {
      if (name.startsWith("plot")) view.plots[Number(name.slice(4))] = section;
      else Object.assign(view, section);
    }
    const has = (...names) => names.some((name) => name in changed);
    // Boxes and bars are looked at every time: the user may have typed or
    // dragged something the logic did not take.
    syncBox("Text_Mmax", view.boxes.me_sup);
    syncBox("Text_AAmax", view.boxes.amax);
    syncBox("Text_PePo", view.boxes.pe_po);
    coarse.set(view.coarse);
    fine.set(view.fine);
    if (has("engine")) showEngine();
    if (has("bars") && JSON.stringify(view.limitMarks) !== marksShown) {
      marksShown = JSON.stringify(view.limitMarks);
      coarse.showMarks(view.limitMarks, "coarse");
      fine.showMarks(view.limitMarks, "fine");
    }
    if (has("report")) showReport();
    if (has("plot0", "plot1", "plot2")) {
      view.plots.forEach((p, kind) => setAttr($(PLOT_IDS[kind]), "aria-label", p.description));
      setText($("Label5"), view.plots[2].caption);
      const root = document.documentElement.style;
      const background = rgb(view.plots[0].background);
      if (root.getPropertyValue("--plot-bg") !== background) root.setProperty("--plot-bg", background);
    }
    const banner = $("Banner");
    // The geometry's texts make way for the banner over it.
    if (has("status") && banner.textContent !== view.banner) painted[0].revision = -1;
    if (has("settings", "status")) showProjector();
    if (!starting) paintPlots(false);
    if (has("status")) {
      setText(banner, view.banner);
      setProp(banner, "hidden", !view.banner);
      const status = $("StatusLine");
      setText(status, view.status);
      if (status.classList.contains("refusal") !== view.statusIsRefusal)
        status.classList.toggle("refusal", view.statusIsRefusal);
      // Screen readers hear the limits, the pauses and the refusals, not
      // every step of a play.
      if (view.announcementSerial !== announced) {
        announced = view.announcementSerial;
        $("Announcer").textContent = view.announcement;
      }
    }
    if (has("report")) {
      setText($("Explanation"), view.explanation);
      setProp($("Explanation"), "hidden", !view.explanationShown);
    }
    showMenus(has("menus"));
    if (has("menus")) showKeys();
    // A play writes its address when it stops: a browser's history entry
    // costs a slow phone several frames.
    if (has("menus") && !view.playing) writeAddressSoon();
    if (has("settings")) {
      writeAddressSoon();
      remember();
    }
    if (view.playing && !frame) frame = requestAnimationFrame(animate);
    if (logic.messageCount()) showNotConverged(logic.takeMessages());
  }

  // An engine: its boxes (made once, from the logic's list), the altitude's
  // slider and the line of its figures under the status.
  let engineHadText = false;
  function showEngine() {
    const fields = $("EngineFields");
    if (fields.children.length !== 2 * view.engine.length) {
      fields.replaceChildren(...view.engine.flatMap((f, i) => {
        const label = document.createElement("label");
        label.className = "label";
        label.htmlFor = f.id;
        label.textContent = f.label;
        const box = document.createElement("input");
        Object.assign(box, { id: f.id, className: "box", type: "text", autocomplete: "off",
          spellcheck: false, enterKeyHint: "go" });
        box.addEventListener("input", () => send("editEngine", box.value, i));
        return [label, box];
      }));
    }
    for (const f of view.engine) {
      const box = $(f.id);
      syncBox(f.id, f.text);
      setProp(box, "placeholder", f.placeholder);
      setAttr(box, "title", f.help);
      setProp(box, "disabled", !f.enabled);
    }
    // Opened by what it holds (a shared address); closed only by the reader.
    const holds = view.engine.some((f) => f.text);
    if (holds && !engineHadText) setProp($("Engine"), "open", true);
    engineHadText = holds;
    const bar = $("Bar_Altitude");
    setAttr(bar, "min", String(view.altitude.minimum));
    setAttr(bar, "max", String(view.altitude.maximum));
    setProp(bar, "value", String(view.altitude.position));
    if (view.altitude.valueText) setAttr(bar, "aria-valuetext", view.altitude.valueText);
    else bar.removeAttribute("aria-valuetext");
    setProp(bar, "disabled", !view.altitudeEnabled);
    const line = $("EngineLine");
    setText(line, view.engineLine);
    setProp(line, "hidden", !view.engineLine);
  }

  // The report's lines, each with its meaning in plain words beside it (the
  // logic's reportHelp), which a screen reader hears as its description.
  function showReport() {
    const list = $("List1");
    while (list.children.length > view.report.length) list.lastElementChild.remove();
    view.report.forEach((line, i) => {
      if (i === list.children.length) {
        const item = document.createElement("li");
        const text = document.createElement("span");
        text.className = "line";
        const meaning = document.createElement("span");
        meaning.className = "meaning";
        meaning.id = `ReportHelp${i}`;
        item.setAttribute("aria-describedby", meaning.id);
        item.append(text, meaning);
        list.append(item);
      }
      const item = list.children[i];
      setText(item.firstElementChild, line);
      setText(item.lastElementChild, view.reportHelp[i] || "");
    });
  }

  // The play bar shows the logic's Play menu; the Gas list its Gas menu.
  function showMenus(changed) {
    const [play, gas, show] = view.menus;
    // The list shows the logic's gas also after a refused or cancelled choice.
    const chosenGas = gas.items.find((i) => i.checked);
    const list = $("Gas");
    if (chosenGas && list.value !== chosenGas.id && list.dataset.items) list.value = chosenGas.id;
    if (!changed) return;
    for (const item of [...play.items, ...show.items]) {
      const control = $(item.id);
      if (!control) continue;
      if (ticked(control)) {
        setProp(control, "checked", item.checked);
        setText(control.parentElement.querySelector(".name"), item.label);
      } else {
        // A button keeps the width of its widest label (Play and Pause):
        // measured once with that label, in ems, so that it follows the font.
        if (item.widest && control.dataset.widest !== item.widest) {
          control.dataset.widest = item.widest;
          const [sym, ...name] = item.widest.split(" ");
          setText(control.querySelector(".sym"), sym);
          setText(control.querySelector(".name"), name.join(" "));
          control.style.minWidth = "";
          const em = parseFloat(getComputedStyle(control).fontSize) || 16;
          control.style.minWidth = `${control.getBoundingClientRect().width / em}em`;
        }
        setText(control.querySelector(".sym"), item.icon);
        setText(control.querySelector(".name"), item.label);
        setAttr(control, "title", item.key ? `${item.label} (${item.key})` : item.label);
        if (item.toggle) setAttr(control, "aria-pressed", String(item.pressed));
      }
      setProp(control, "disabled", !item.enabled);
    }
    // Where to begin stands out; what needs a flow waits for one.
    for (const button of view.buttons) {
      const control = $(button.id);
      setProp(control, "disabled", !button.enabled);
      if (control.classList.contains("suggested") !== button.suggested)
        control.classList.toggle("suggested", button.suggested);
    }
    setText($("PlaySpeed"), view.speed);
    const ids = gas.items.map((i) => i.id).join();
    if (list.dataset.items !== ids) {
      list.dataset.items = ids;
      list.replaceChildren(...gas.items.map((i) => new Option(i.label, i.id)));
    }
    gas.items.forEach((item, i) => {
      const option = list.options[i];
      if (option.text !== item.label) option.text = item.label;
    });
    if (chosenGas && list.value !== chosenGas.id) list.value = chosenGas.id;
  }

  // A menu's entry shown as a box to tick or a choice of a group.
  const ticked = (control) => control.type === "checkbox" || control.type === "radio";

  function itemOf(menu, id) {
    return menu.items.find((i) => i.id === id);
  }

  // An event of a menu entry or a key sent; a time among its fields is now.
  function fire([name, ...given], asked) {
    const fields = given.map((v, i) => ((formats[name] || "")[i] === "s" ? seconds() : v));
    if (asked !== undefined) fields[0] = asked;
    send(name, ...fields);
  }

  // A menu entry chosen: its event, after asking for its text when it asks.
  function choose(item) {
    if (!item.asks) {
      fire(item.event);
      return;
    }
    const p = logic.otherGasPrompt();
    const typed = prompt(p.question, p.initial);
    const molar = typed === null ? null : prompt(p.molarQuestion, p.molarInitial);
    if (molar === null) render();
    else fire(item.event, `${typed}\t${molar}`);
  }

  // ---- play -----------------------------------------------------------------

  let frame = 0;
  // The play follows the clock: a slow frame skips steps, never slows it.
  function animate() {
    frame = 0;
    if (!logic.playing()) return;
    send("tick");
  }

  // ---- settings kept between runs ------------------------------------------

  // The settings kept: read while the core compiles (the storage's first
  // reading waits on the browser), applied before anything is shown. The
  // logic ignores keys it does not know and values it does not take.
  const stored = [];
  function readStored() {
    try {
      for (let i = 0; i < localStorage.length; i++) {
        const key = localStorage.key(i);
        if (key && key.startsWith("cdnozzle.")) stored.push([key.slice(9), localStorage.getItem(key)]);
      }
    } catch (err) {
      // Storage may be off (private windows, some file:// settings): nothing to keep then.
    }
  }
  function recall() {
    for (const [key, value] of stored) logic.handle(...fieldsOf(event("setting", `${key}=${value}`)));
  }

  // The settings as the first view shows them are those kept; later
  // changes are written.
  let remembered = "";
  function remember() {
    const now = JSON.stringify(view.settings);
    if (now === remembered) return;
    const first = !remembered;
    remembered = now;
    if (first) return;
    try {
      for (const { key, value } of view.settings) localStorage.setItem(`cdnozzle.${key}`, value);
    } catch (err) {
      // As above.
    }
  }

  const coarse = new ScrollBar($("VScroll1"), (v) => send("moveCoarse", v));
  const fine = new ScrollBar($("VScroll2"), (v) => send("moveFine", v));

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

  // The list of keys, open while the logic says so; closing it (Escape,
  // its ×) tells the logic.
  function showKeys() {
    const box = $("KeysBox");
    if (view.shortcutsShown && !box.open) {
      const rows = view.keys.map(({ key, what }) => {
        const row = document.createElement("tr");
        const name = document.createElement("th");
        name.scope = "row";
        name.textContent = key;
        const does = document.createElement("td");
        does.textContent = what;
        row.append(name, does);
        return row;
      });
      $("KeysList").replaceChildren(...rows);
      box.showModal();
    } else if (!view.shortcutsShown && box.open) {
      box.close();
    }
  }

  // ---- the scenario in the address ----------------------------------------

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
    // Nothing calculated but the start-up flow: an address that was refused
    // stays to be mended.
    const hash = view.address;
    if (!hash || !view.calculations || view.playing || location.hash === hash) return;
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
    Object.assign(a, { href: url, download: name });
    document.body.appendChild(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(url), 10000);
  }

  // The logic's last export painted as an image (a PNG, or a copy).
  function exportCanvas(file) {
    const canvas = document.createElement("canvas");
    Object.assign(canvas, { width: Math.ceil(file.width), height: Math.ceil(file.height) });
    const ctx = canvas.getContext("2d");
    ctx.fillStyle = rgb(file.background);
    ctx.fillRect(0, 0, canvas.width, canvas.height);
    paintLines(ctx, file.lines);
    paintTexts(ctx, JSON.parse(file.texts));
    return canvas;
  }

  // An export from a plot's menu: the logic makes the file, the page hands
  // it to the browser (a download, or the clipboard).
  function exportFile(plot, format) {
    send("export", plot, format);
    const file = logic.lastExport();
    if (file.painted) {
      exportCanvas(file).toBlob((blob) => {
        if (!blob) return;
        if (!file.toClipboard) download(file.name, blob);
        else if (navigator.clipboard && window.ClipboardItem)
          navigator.clipboard.write([new ClipboardItem({ [file.mime]: blob })]).catch(() => {});
      }, file.mime);
    } else {
      download(file.name, new Blob([file.text], { type: file.mime }));
    }
  }

  // A plot's menu, from the logic: at a point (a right click, a long
  // press) or under a control; the arrows move in it, Escape closes it and
  // gives the focus back to where it was.
  let menuOpener = null;
  let lastPlot = 2;
  function openPlotMenu(kind, x, y, opener) {
    const { items } = logic.plotMenu(kind);
    if (!items.length) return; // none before a flow is drawn
    lastPlot = kind;
    menuOpener = opener || document.activeElement;
    const menu = $("PlotMenu");
    const title = document.createElement("div");
    Object.assign(title, { className: "menutitle", textContent: view.plots[kind].description });
    title.setAttribute("aria-hidden", "true");
    menu.replaceChildren(title);
    menu.setAttribute("aria-label", view.plots[kind].description);
    for (const item of items) {
      if (item.separatorBefore) menu.append(document.createElement("hr"));
      const button = document.createElement("button");
      Object.assign(button, { type: "button", tabIndex: -1, disabled: !item.enabled, textContent: item.label });
      button.dataset.id = item.id;
      button.setAttribute("role", item.checkable ? "menuitemradio" : "menuitem");
      if (item.checkable) button.setAttribute("aria-checked", String(item.checked));
      button.addEventListener("click", () => {
        closePlotMenu(true);
        if (item.event[0] === "export") exportFile(kind, item.event[2]);
        else choose(item);
      });
      menu.append(button);
    }
    menu.hidden = false;
    const box = menu.getBoundingClientRect();
    menu.style.left = `${Math.max(0, Math.min(x, window.innerWidth - box.width))}px`;
    menu.style.top = `${Math.max(0, Math.min(y, window.innerHeight - box.height))}px`;
    const first = menu.querySelector("button:not(:disabled)");
    if (first) first.focus();
  }
  function closePlotMenu(giveBackFocus) {
    const menu = $("PlotMenu");
    if (menu.hidden) return;
    menu.hidden = true;
    if (giveBackFocus && menuOpener && menuOpener.isConnected) menuOpener.focus();
    menuOpener = null;
  }
  // A plot's menu under an element (the plot itself, or Save figure).
  function openPlotMenuAt(kind, element) {
    const r = element.getBoundingClientRect();
    openPlotMenu(kind, r.left + Math.min(24, r.width / 2), r.top + Math.min(24, r.height), element);
  }
  function menuKey(e) {
    const items = [...$("PlotMenu").querySelectorAll("button:not(:disabled)")];
    const at = items.indexOf(document.activeElement);
    const go = (i) => items[(i + items.length) % items.length].focus();
    if (e.key === "ArrowDown") go(at + 1);
    else if (e.key === "ArrowUp") go(at < 0 ? -1 : at - 1);
    else if (e.key === "Home") go(0);
    else if (e.key === "End") go(-1);
    else if (e.key === "Escape" || e.key === "Tab") closePlotMenu(true);
    else return;
    e.preventDefault();
    e.stopPropagation();
  }

  // ---- sharing ----------------------------------------------------------------

  // The calculation's link: the browser's share sheet where it has one,
  // otherwise the clipboard; a note beside the status line says which.
  let noteTimer = 0;
  function note(text) {
    const el = $("ShareNote");
    el.textContent = text;
    el.hidden = false;
    clearTimeout(noteTimer);
    noteTimer = setTimeout(() => { el.hidden = true; }, 8000);
  }
  // A page opened from a file has an address nobody else can open: what is
  // copied then is the part after the page's name, which opens the same
  // state on any copy of the page, and the note says the file goes with it.
  async function shareLink() {
    if (!view.address) return;
    const fromFile = location.protocol === "file:";
    const url = fromFile ? view.address : location.href.split("#")[0] + view.address;
    const copiedNote = fromFile
      ? "Copied the part after the page's name: this page is a file, so send the file with it"
      : "Link copied";
    if (navigator.share && !fromFile) {
      try {
        await navigator.share({ title: document.title, url });
        note("Link shared");
        return;
      } catch (err) {
        if (err && err.name === "AbortError") return;
      }
    }
    try {
      await navigator.clipboard.writeText(url);
      note(copiedNote);
    } catch (err) {
      note(`Link: ${url}`);
    }
  }

  document.addEventListener("pointerdown", (e) => {
    if (!$("PlotMenu").contains(e.target)) closePlotMenu(false);
    if (logic && e.pointerType !== "mouse" && !PLOT_IDS.includes(e.target.id)) send("leave");
  });

  // ---- wiring -------------------------------------------------------------

  // The click that ends a long press is the finger lifting, not a choice:
  // the menu it opened stays open.
  let swallowClickUntil = 0;
  document.addEventListener("click", (e) => {
    if (performance.now() < swallowClickUntil) {
      swallowClickUntil = 0;
      e.preventDefault();
      e.stopPropagation();
    }
  }, true);

  function wirePlot(id, kind) {
    const canvas = $(id);
    let press = null;
    // The pixel under the pointer, and the plot's width, in CSS pixels.
    const hover = (e) => {
      const rect = canvas.getBoundingClientRect();
      send("hover", kind, e.clientX - rect.left, rect.width);
    };
    canvas.addEventListener("pointermove", (e) => {
      if (press && Math.hypot(e.clientX - press.x, e.clientY - press.y) > 10) {
        clearTimeout(press.timer);
        press.timer = null;
      }
      hover(e);
    });
    canvas.addEventListener("pointerenter", () => { lastPlot = kind; });
    canvas.addEventListener("focus", () => { lastPlot = kind; });
    // A finger's readout stays after it lifts, until the next touch elsewhere.
    canvas.addEventListener("pointerleave", (e) => {
      if (e.pointerType === "mouse") send("leave");
    });
    canvas.addEventListener("contextmenu", (e) => {
      e.preventDefault();
      if (press && press.long) return; // already open
      openPlotMenu(kind, e.clientX, e.clientY, canvas);
    });
    canvas.addEventListener("pointerdown", (e) => {
      if (e.pointerType !== "mouse") hover(e);
      // (A long press's state, and a pending one, go with the next press
      // of any button.)
      if (press) clearTimeout(press.timer);
      press = null;
      if (e.button !== 0) return;
      press = { x: e.clientX, y: e.clientY, long: false, timer: null };
      if (e.pointerType !== "mouse") {
        const p = press;
        p.timer = setTimeout(() => {
          p.long = true;
          openPlotMenu(kind, p.x, p.y, canvas);
        }, LONG_PRESS_MS);
      }
    });
    canvas.addEventListener("pointerup", () => {
      if (!press) return;
      clearTimeout(press.timer);
      if (press.long) swallowClickUntil = performance.now() + 1000;
    });
    canvas.addEventListener("pointercancel", () => {
      if (press) clearTimeout(press.timer);
      if (press && press.long) swallowClickUntil = performance.now() + 1000;
      press = null;
    });
    // The menu from the keyboard: the context-menu key, Shift+F10, Enter.
    canvas.addEventListener("keydown", (e) => {
      if (e.key === "ContextMenu" || (e.key === "F10" && e.shiftKey) || e.key === "Enter") {
        e.preventDefault();
        e.stopPropagation();
        openPlotMenuAt(kind, canvas);
      }
    });
    if (kind === 0) {
      canvas.addEventListener("click", (e) => {
        const longPress = press && press.long;
        press = null;
        if (e.button === 0 && !longPress) send("clickGeometry");
      });
    }
  }

  // A key as the logic names it: "F5", "Shift+F5", "Ctrl+0", "PgDown", "?"
  // (a character's Shift is in the character).
  const KEY_NAMES = { PageDown: "PgDown", PageUp: "PgUp" };
  function keyName(e) {
    const character = e.key.length === 1;
    const key = character ? e.key.toUpperCase() : KEY_NAMES[e.key] || e.key;
    return (e.ctrlKey ? "Ctrl+" : "") + (e.altKey ? "Alt+" : "") + (e.shiftKey && !character ? "Shift+" : "") + key;
  }
  const modalOpen = () => [...document.querySelectorAll("dialog[open]")].some((d) => d.matches(":modal"));
  const typing = (target) => target instanceof Element && target.matches("input, select, textarea");

  function wire() {
    $("Text_Mmax").addEventListener("input", (e) => send("editMeSup", e.target.value));
    $("Text_AAmax").addEventListener("input", (e) => send("editAmax", e.target.value));
    $("Text_PePo").addEventListener("input", (e) => send("editPePo", e.target.value));
    $("Command1").addEventListener("click", () => send("calculate"));
    $("Bar_Altitude").addEventListener("input", (e) => send("moveAltitude", e.target.value));
    PLOT_IDS.forEach(wirePlot);
    $("Mn_About").addEventListener("click", showAbout);
    const gas = $("Gas");
    gas.addEventListener("change", () => {
      const item = itemOf(view.menus[1], gas.value);
      if (item) choose(item);
      else render();
    });
    for (const menu of [0, 2]) {
      for (const { id } of view.menus[menu].items) {
        const control = $(id);
        if (control && control.type === "radio")
          control.addEventListener("change", () => choose(itemOf(view.menus[menu], id)));
        else if (control && control.type !== "checkbox")
          control.addEventListener("click", () => choose(itemOf(view.menus[menu], id)));
      }
    }
    $("PauseAtLimits").addEventListener("change", () => choose(itemOf(view.menus[0], "PauseAtLimits")));
    // Save figure: the menu of the plot last pointed at or focused (the
    // third plot at first), where each plot's picture and data are saved.
    $("SaveFigure").addEventListener("click", () => openPlotMenuAt(lastPlot, $("SaveFigure")));
    $("ShareLink").addEventListener("click", shareLink);
    $("PlotMenu").addEventListener("keydown", menuKey);
    // The menus' keys and the logic's others, each where the logic says it
    // acts; the boxes keep the focus and their typing. The browser keeps
    // the keys of its own zoom.
    document.addEventListener("keydown", (e) => {
      if (e.key === "Escape") closePlotMenu(true);
      if (e.metaKey || !view || e.defaultPrevented) return;
      if (modalOpen()) return;
      const name = keyName(e);
      // A box keeps its digits (the projector's layouts have keys 0 to 3).
      if (typing(e.target) && name.length === 1) return;
      const inBox = typing(e.target) && e.target.matches("input.box");
      const extra = view.extraKeys.find((k) => k.key === name && !k.browserKeeps &&
        (inBox ? k.inBoxes : k.outsideBoxes && !typing(e.target)));
      if (extra) {
        e.preventDefault();
        fire(extra.event);
        return;
      }
      for (const menu of view.menus) {
        const item = menu.items.find((i) => i.key === name);
        if (!item) continue;
        e.preventDefault();
        if (item.enabled) choose(item);
        return;
      }
    });
    $("Form_About").querySelector(".close").addEventListener("click", () => $("Form_About").close());
    $("Form_About").addEventListener("keydown", (e) => {
      if (e.key === "Escape") $("Form_About").close();
    });
    $("KeysBox").querySelector(".close").addEventListener("click", () => $("KeysBox").close());
    $("KeysBox").addEventListener("close", () => {
      if (view.shortcutsShown) send("shortcuts", 0);
    });
    window.addEventListener("resize", layoutSoon);
    // A new size of a plot (the window, the browser's zoom, the explanation
    // on more or fewer lines) draws it again at its new size, after the
    // layout that gave it.
    if (window.ResizeObserver) {
      const watched = new ResizeObserver(layout);
      for (const id of PLOT_IDS) watched.observe($(id));
    }
    window.addEventListener("hashchange", () => {
      if (location.hash !== ownHash) send("openAddress", location.hash);
    });
    if (window.matchMedia) {
      // A new devicePixelRatio (browser zoom, another screen) repaints sharp.
      const watch = () => {
        const q = matchMedia(`(resolution: ${window.devicePixelRatio}dppx)`);
        q.addEventListener("change", () => { layoutSoon(); watch(); }, { once: true });
      };
      watch();
    }
  }

  // ---- for tests and teachers' scripts ------------------------------------

  // What the page's controls show now: the form the window gives of its own
  // (the replay test compares the two).
  function shown() {
    const label = (el) => (el.querySelector(".name") || el).textContent;
    const [play, , show] = view.menus;
    const itemsOf = (menu) => menu.items.map((item) => {
      const c = $(item.id);
      const checked = ticked(c) ? c.checked
        : item.checkable ? c.getAttribute("aria-pressed") === "true" : false;
      return { id: item.id, label: ticked(c) ? label(c.parentElement) : label(c),
        checked, enabled: !c.disabled };
    });
    const gasList = $("Gas");
    const gasItems = [...gasList.options].map((o) => ({
      id: o.value, label: o.text, checked: o.selected && view.menus[1].items.some((i) => i.id === o.value && i.checkable),
      enabled: !o.disabled }));
    return {
      boxes: ["Text_Mmax", "Text_AAmax", "Text_PePo"].map((id) => $(id).value),
      bars: [coarse.value, fine.value],
      // What a screen reader is told of the bars and the plots.
      barNames: [coarse.el, fine.el].map((b) => [b.getAttribute("aria-label"),
        b.getAttribute("aria-valuetext")]),
      plotNames: PLOT_IDS.map((id) => $(id).getAttribute("aria-label")),
      status: $("StatusLine").textContent,
      refusal: $("StatusLine").classList.contains("refusal"),
      report: [...$("List1").children].map((li) => li.firstElementChild.textContent),
      explanation: $("Explanation").textContent,
      explanationShown: !$("Explanation").hidden,
      thirdCaption: $("Label5").textContent,
      engine: view.engine.map((f) => $(f.id).value),
      engineLine: $("EngineLine").hidden ? "" : $("EngineLine").textContent,
      altitude: Number($("Bar_Altitude").value),
      altitudeEnabled: !$("Bar_Altitude").disabled,
      menus: [{ title: play.title, items: itemsOf(play) }, { title: view.menus[1].title, items: gasItems },
        { title: show.title, items: itemsOf(show) }],
    };
  }

  // Events as [name, ...fields] (the log format); what the page shows after
  // each one, with the file of an export.
  function replay(events) {
    replaying = true;
    const states = events.map(([name, ...fields]) => {
      const e = event(name, ...fields);
      if (name === "editMeSup") syncBox("Text_Mmax", e.text);
      if (name === "editAmax") syncBox("Text_AAmax", e.text);
      if (name === "editPePo") syncBox("Text_PePo", e.text);
      if (name === "editEngine" && view.engine[e.number]) syncBox(view.engine[e.number].id, e.text);
      dispatch(e);
      const state = shown();
      if (name === "export") {
        const file = logic.lastExport();
        state.export = { name: file.name, text: file.text };
      }
      return state;
    });
    replaying = false;
    return states;
  }

  // ---- start ----------------------------------------------------------------

  $("Version").textContent = `cdnozzle ${VERSION}`;
  readStored();
  cdnozzleLoading.then((loaded) => {
    core = loaded;
    window.cdnozzleCore = core;
    logic = new core.WindowLogic();
    for (const f of core.eventFormats()) formats[f.name] = f.fields;
    recall();
    render();
    wire();
    // The start at the page's width (the logic opens the explanation on a
    // wide one); an opened address is calculated. The page shows the
    // outcome once.
    logic.handle(...fieldsOf(event("start", window.innerWidth)));
    if (location.hash) logic.handle(...fieldsOf(event("openAddress", location.hash)));
    render();
    starting = false;
    whole = true;
    layout();
    whole = false;
    window.cdnozzlePage = {
      send, replay, coarse, fine, logic,
      view: () => view,
      plotSvg: (kind) => { send("export", kind, "svg"); return logic.lastExport().text; },
      csv: () => { send("export", 2, "csv"); return logic.lastExport().text; },
      lastExport: () => logic.lastExport(),
      // A plot's canvas sizes and scale, as it was last drawn.
      plotSize: (kind) => structuredClone(sizes[kind]),
    };
    // The plots on their layers once the first frame is shown.
    requestAnimationFrame(() => setTimeout(() => {
      performance.mark("cdnozzle plots shown");
      paintPlots(true);
      document.documentElement.dataset.ready = "1";
    }));
  }).catch((err) => {
    $("StatusLine").textContent = `This browser cannot run the calculation (${err}).`;
    $("StatusLine").classList.add("refusal");
  });
})();
