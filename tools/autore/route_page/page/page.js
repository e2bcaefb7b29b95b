// The page at work: one chainage window shared by the plan and the profile,
// zoom with the wheel, the keys and the buttons, panning by dragging and with
// the arrow keys, the jump box, the layers, the lists, and the box that says
// what stands under the pointer.

const canvas = document.getElementById("view");
const area = document.getElementById("canvas-area");
const tip = document.getElementById("tip");
const ctx = canvas.getContext("2d");

const MIN_SPAN = 100;
const DOMAIN = { from: 0, to: Math.max(ROUTE.end_m, 1000) };

const state = {
  from: 0,
  to: Math.max(ROUTE.length_m, Math.min(DOMAIN.to, 1000)),
  cursor: null,
  layers: Object.fromEntries(LAYERS.map(([id]) => [id, true])),
  pinned: null, // {items, m, x, y, heading}
};

let frame = null;          // what the last drawing placed, for the pointer
let snapshot = {};          // the page's state as tests and tools may read it
let firstDrawMs = null;
let pending = false;
let liveRedraws = 0;        // how many times new data from `serve` was drawn

Object.defineProperty(window, "__view", { get: () => snapshot, configurable: false });

function setWindow(from, to) {
  let span = Math.min(Math.max(to - from, MIN_SPAN), DOMAIN.to - DOMAIN.from);
  let a = from;
  if (to - from !== span) a = (from + to) / 2 - span / 2;
  a = Math.min(Math.max(a, DOMAIN.from), DOMAIN.to - span);
  state.from = a;
  state.to = a + span;
  redraw();
}

function zoomAround(m, factor) {
  const span = state.to - state.from;
  const t = (m - state.from) / span;
  const next = Math.min(Math.max(span * factor, MIN_SPAN), DOMAIN.to - DOMAIN.from);
  setWindow(m - t * next, m - t * next + next);
}

function pan(metres) { setWindow(state.from + metres, state.to + metres); }

function redraw() {
  if (pending) return;
  pending = true;
  requestAnimationFrame(draw);
}

function fontSize(w, h) { return Math.round(Math.min(22, Math.max(11, Math.min(w / 105, h / 52)))); }

function draw() {
  pending = false;
  const t0 = performance.now();
  const dpr = window.devicePixelRatio || 1;
  const W = area.clientWidth, H = area.clientHeight;
  if (canvas.width !== Math.round(W * dpr) || canvas.height !== Math.round(H * dpr)) {
    canvas.width = Math.round(W * dpr);
    canvas.height = Math.round(H * dpr);
    canvas.style.width = W + "px";
    canvas.style.height = H + "px";
  }
  ctx.setTransform(dpr, 0, 0, dpr, 0, 0);
  ctx.clearRect(0, 0, W, H);
  const fs = fontSize(W, H);
  const family = getComputedStyle(document.body).fontFamily;
  const font = (scale, bold) => (bold ? "bold " : "") + Math.round(fs * scale * 10) / 10 + "px " + family;
  ctx.font = font(0.92, true);
  const titles = ["stazioni", "diagnostica", "indicatori", "abbattimenti", "rallentamenti", "pendenza \u2030",
    "velocità km/h", "aderenza", "montagna", "progressiva m", "km ufficiale"];
  const ml = Math.ceil(Math.max(...titles.map((t) => textWidth(ctx, t))) + fs * 2.2);
  const planH = Math.round(H * 0.33);
  const f = {
    ctx, W, H, fs, font, from: state.from, to: state.to, layers: state.layers,
    plan: { x: 0, y: 0, w: W, h: planH },
    profile: { x: ml, y: planH, w: W - ml - fs * 1.2, h: H - planH },
    placer: new LabelPlacer(fs * 0.25), hits: [], placed: [], stationsNamed: [], planLevel: null, planWindow: null,
  };
  f.xOf = (m) => f.profile.x + ((m - f.from) / (f.to - f.from)) * f.profile.w;
  f.mOf = (x) => f.from + ((x - f.profile.x) / f.profile.w) * (f.to - f.from);
  f.profileRowBox = (row) => ({ x: f.profile.x - fs * 1.5, y: row.y, w: W - f.profile.x + fs * 1.5, h: row.h });
  drawPlan(f);
  ctx.strokeStyle = "#cfcfcf";
  ctx.beginPath();
  ctx.moveTo(0, planH + 0.5);
  ctx.lineTo(W, planH + 0.5);
  ctx.stroke();
  const prof = drawProfile(f);
  drawCursor(f, prof);
  frame = f;
  const ms = performance.now() - t0;
  if (firstDrawMs === null) firstDrawMs = performance.now();
  snapshot = Object.freeze({
    from_m: state.from, to_m: state.to, cursor_m: state.cursor, plan_level: f.planLevel,
    plan_window: f.planWindow ? Object.freeze(f.planWindow) : null,
    labels: Object.freeze(f.placer.placed.concat(f.placed).map((l) => Object.freeze(l))),
    stations_named: Object.freeze(f.stationsNamed.slice()),
    tip: tip.hidden ? "" : tip.innerText,
    layers: Object.freeze(Object.assign({}, state.layers)),
    profile: Object.freeze(Object.assign({}, f.profile)),
    rows: Object.freeze(f.rows.map((r) => Object.freeze({ id: r.id, y: r.y, h: r.h }))),
    draw_ms: ms, first_draw_ms: firstDrawMs,
    serial: ROUTE.live ? ROUTE.live.serial : null, current: ROUTE.live ? ROUTE.live.current : true,
    redraws: liveRedraws, pinned: state.pinned !== null,
  });
  updateStatus();
}

function drawCursor(f, prof) {
  if (state.cursor === null) return;
  const m = state.cursor;
  const ctx = f.ctx, fs = f.fs;
  if (m >= f.from && m <= f.to) {
    const x = Math.round(f.xOf(m)) + 0.5;
    ctx.strokeStyle = COLOURS.cursor;
    ctx.lineWidth = 1;
    ctx.beginPath();
    ctx.moveTo(x, prof.top);
    ctx.lineTo(x, prof.bottom);
    ctx.stroke();
  }
  if (PLAN && f.planFrame) {
    const p = planPointAt(PLAN.levels[0], m);
    const X = f.planFrame.X(p.x, p.y), Y = f.planFrame.Y(p.x, p.y);
    ctx.strokeStyle = COLOURS.cursor;
    ctx.lineWidth = 2;
    ctx.beginPath();
    ctx.arc(X, Y, fs * 0.75, 0, 2 * Math.PI);
    ctx.moveTo(X - fs * 1.2, Y); ctx.lineTo(X - fs * 0.4, Y);
    ctx.moveTo(X + fs * 0.4, Y); ctx.lineTo(X + fs * 1.2, Y);
    ctx.stroke();
    ctx.lineWidth = 1;
  }
}

function updateStatus() {
  const span = state.to - state.from;
  const text = "in vista " + metresText(state.from) + " \u2013 " + metresText(state.to) +
    " (" + (span >= 10000 ? (span / 1000).toFixed(1) + " km" : Math.round(span) + " m") + ")" +
    (state.cursor !== null ? " \u00b7 cursore " + positionText(state.cursor) : "");
  document.getElementById("status").textContent = text;
}

// --- the pointer ------------------------------------------------------------

function pointerPlace(e) {
  const r = canvas.getBoundingClientRect();
  return { x: e.clientX - r.left, y: e.clientY - r.top };
}

// The best hit at a point: the nearest mark, else a box that holds the point,
// else a strip; on the plan, else the track itself.
function hitAt(x, y) {
  if (!frame) return null;
  let best = null, bestD = Infinity, box = null, weak = null;
  for (const h of frame.hits) {
    if (h.r !== undefined) {
      const d = Math.hypot(h.x - x, h.y - y);
      if (d <= h.r && d < bestD) { best = h; bestD = d; }
    } else if (x >= h.x && x <= h.x + h.w && y >= h.y && y <= h.y + h.h) {
      if (h.weak) weak = weak || h; else box = box || h;
    }
  }
  const inProfile = y >= frame.profile.y && x >= frame.profile.x && x <= frame.profile.x + frame.profile.w;
  const m = inProfile ? frame.mOf(x) : null;
  if (best) return { item: best.item, m: chainageOf(best.item, m) };
  if (box) return { item: box.item, m: chainageOf(box.item, m) };
  if (weak && m !== null) return { item: weak.item, m };
  if (y < frame.plan.h) {
    const near = nearestOnPlan(frame, x, y);
    if (near && near.dist <= frame.fs * 1.2) return { item: { type: "track", m: near.m }, m: near.m };
  }
  return m !== null ? { item: null, m } : null;
}

function chainageOf(item, m) {
  switch (item.type) {
    case "object": return item.o.at_m;
    case "station": return item.s.at_m;
    case "diagnostic": return item.d.at_m;
    default: return m;
  }
}

let drag = null;

canvas.addEventListener("pointerdown", (e) => {
  const p = pointerPlace(e);
  drag = { x: p.x, from: state.from, to: state.to, moved: false, id: e.pointerId };
  canvas.setPointerCapture(e.pointerId);
});

canvas.addEventListener("pointermove", (e) => {
  const p = pointerPlace(e);
  if (drag && drag.id === e.pointerId) {
    const dx = p.x - drag.x;
    if (Math.abs(dx) > 3) drag.moved = true;
    if (drag.moved) {
      const metresPerPx = (drag.to - drag.from) / frame.profile.w;
      setWindow(drag.from - dx * metresPerPx, drag.to - dx * metresPerPx);
      tip.hidden = true;
      return;
    }
  }
  if (state.pinned || e.pointerType === "touch") return;
  const hit = hitAt(p.x, p.y);
  state.cursor = hit && hit.m !== null && hit.m !== undefined ? hit.m : state.cursor;
  if (hit && hit.item) showTip(tip, [hit.item], hit.m, p.x, p.y, { w: area.clientWidth, h: area.clientHeight });
  else tip.hidden = true;
  redraw();
});

canvas.addEventListener("pointerup", (e) => {
  if (!drag || drag.id !== e.pointerId) return;
  const moved = drag.moved;
  drag = null;
  if (moved) return;
  // A tap or a click keeps the box open on what it touched, or closes it.
  const p = pointerPlace(e);
  const hit = hitAt(p.x, p.y);
  if (hit && hit.item) {
    state.pinned = { items: [hit.item], m: hit.m, x: p.x, y: p.y };
    state.cursor = hit.m;
    showTip(tip, [hit.item], hit.m, p.x, p.y, { w: area.clientWidth, h: area.clientHeight });
  } else {
    state.pinned = null;
    tip.hidden = true;
  }
  redraw();
});

canvas.addEventListener("pointerleave", () => { if (!state.pinned) tip.hidden = true; redraw(); });

canvas.addEventListener("wheel", (e) => {
  e.preventDefault();
  const p = pointerPlace(e);
  let m = (state.from + state.to) / 2;
  if (p.y >= frame.profile.y && p.x >= frame.profile.x) m = frame.mOf(p.x);
  else if (p.y < frame.plan.h) {
    const near = nearestOnPlan(frame, p.x, p.y);
    if (near && near.dist <= frame.fs * 4) m = near.m;
  }
  const lines = e.deltaMode === 1 ? e.deltaY * 33 : e.deltaMode === 2 ? e.deltaY * 400 : e.deltaY;
  zoomAround(m, Math.exp(Math.max(-3, Math.min(3, lines * 0.002))));
  unpin();
}, { passive: false });

function unpin() {
  if (state.pinned) { state.pinned = null; tip.hidden = true; }
}

// --- keys and buttons ---------------------------------------------------------

function zoomCentre() { return state.cursor !== null && state.cursor >= state.from && state.cursor <= state.to ? state.cursor : (state.from + state.to) / 2; }

const KEYS = {
  "+": () => zoomAround(zoomCentre(), 0.5), "=": () => zoomAround(zoomCentre(), 0.5),
  "-": () => zoomAround(zoomCentre(), 2), "_": () => zoomAround(zoomCentre(), 2),
  ArrowLeft: () => pan(-(state.to - state.from) * 0.2), ArrowRight: () => pan((state.to - state.from) * 0.2),
  ArrowUp: () => zoomAround(zoomCentre(), 0.8), ArrowDown: () => zoomAround(zoomCentre(), 1.25),
  Home: () => setWindow(0, Math.max(ROUTE.length_m, MIN_SPAN)),
  Escape: () => { unpin(); redraw(); },
};

document.addEventListener("keydown", (e) => {
  if (e.target instanceof HTMLInputElement && e.target.type === "text") return;
  if (e.ctrlKey || e.metaKey || e.altKey) return;
  const act = KEYS[e.key];
  if (!act) return;
  e.preventDefault();
  act();
});

document.getElementById("zoom-in").addEventListener("click", () => zoomAround(zoomCentre(), 0.5));
document.getElementById("zoom-out").addEventListener("click", () => zoomAround(zoomCentre(), 2));
document.getElementById("zoom-all").addEventListener("click", () => { unpin(); KEYS.Home(); });

// --- the jump box ----------------------------------------------------------------

// What the author typed: route metres ("12050", "12050 m"), route km
// ("12,05 km") or an official kilometre ("km 15+100", "15+100", "km 15,1").
function parseChainage(text) {
  const s = text.trim().toLowerCase().replace(/\s+/g, " ").replace(/,/g, ".");
  let r;
  if ((r = /^(?:km ?)?(-?\d+) ?\+ ?(\d{1,3})$/.exec(s))) {
    const k = parseInt(r[1], 10), rest = parseInt(r[2], 10);
    return { official: true, m: k * 1000 + (k < 0 || r[1].startsWith("-") ? -rest : rest) };
  }
  if ((r = /^km ?(-?\d+(?:\.\d+)?)$/.exec(s))) return { official: true, m: Math.round(parseFloat(r[1]) * 1000) };
  if ((r = /^(-?\d+(?:\.\d+)?) ?km$/.exec(s))) return { official: false, m: Math.round(parseFloat(r[1]) * 1000) };
  if ((r = /^(-?\d+(?:\.\d+)?) ?m?$/.exec(s))) return { official: false, m: parseFloat(r[1]) };
  return null;
}

function jumpTo(m, heading) {
  const span = state.to - state.from;
  const next = span > 4000 ? 2000 : span;
  setWindow(m - next / 2, m + next / 2);
  state.cursor = m;
  const near = Math.max(25, (state.to - state.from) / Math.max(frame ? frame.profile.w : 1000, 1) * 4);
  const items = itemsAt(m, near, state.layers);
  state.pinned = { items, m, heading };
  requestAnimationFrame(() => {
    const x = frame ? frame.xOf(m) : 0;
    const y = frame ? frame.profile.y : 0;
    showTip(tip, items, m, x, y, { w: area.clientWidth, h: area.clientHeight }, heading);
    redraw();
  });
}

document.getElementById("jump").addEventListener("submit", (e) => {
  e.preventDefault();
  const box = document.getElementById("jump-box");
  const message = document.getElementById("jump-message");
  const asked = parseChainage(box.value);
  const say = (text) => {
    message.textContent = text;
    message.hidden = !text;
    clearTimeout(say.timer);
    if (text) say.timer = setTimeout(() => { message.hidden = true; }, 8000);
  };
  say("");
  if (!asked) {
    say( "non capisco \u00ab" + box.value + "\u00bb: per esempio 12050, 12,05 km oppure km 15+100");
    return;
  }
  let m = asked.m;
  if (asked.official) {
    const at = routeAtOfficialKm(asked.m);
    if (at.length === 0) { say("il km " + kmText(asked.m) + " non si trova lungo il percorso"); return; }
    const centre = (state.from + state.to) / 2;
    at.sort((a, b) => Math.abs(a - centre) - Math.abs(b - centre));
    m = at[0];
    if (at.length > 1) say("km " + kmText(asked.m) + " anche a " + at.slice(1).map(metresText).join(", "));
  } else if (m < 0 || m > DOMAIN.to) {
    say(metresText(m) + " è fuori dal percorso (0 \u2013 " + metresText(DOMAIN.to) + ")");
    return;
  }
  jumpTo(m, "Qui: " + positionText(m));
});

// --- layers and lists ------------------------------------------------------------------

function buildLayers() {
  const box = document.getElementById("layers");
  for (const [id, name] of LAYERS) {
    const label = document.createElement("label");
    const input = document.createElement("input");
    input.type = "checkbox";
    input.checked = true;
    input.id = "layer-" + id;
    input.addEventListener("change", () => { state.layers[id] = input.checked; unpin(); redraw(); });
    label.append(input, " " + name);
    box.appendChild(label);
  }
}

function listRow(cells, onClick) {
  const tr = document.createElement("tr");
  for (const c of cells) {
    const td = document.createElement("td");
    td.textContent = c;
    tr.appendChild(td);
  }
  tr.addEventListener("click", onClick);
  return tr;
}

function buildLists() {
  const stations = document.getElementById("station-list");
  stations.replaceChildren();
  for (const s of STATIONS)
    stations.appendChild(listRow([s.name, String(s.at_m), kmText(s.km_m), s.time || "", s.passing || ""],
      () => jumpTo(s.at_m, "Stazione " + s.name)));
  document.getElementById("station-count").textContent = String(STATIONS.length);
  const diagnostics = document.getElementById("diagnostic-list");
  diagnostics.replaceChildren();
  for (const d of DIAGNOSTICS) {
    const item = document.createElement("li");
    item.className = d.severity;
    const head = document.createElement("div");
    head.className = "diagnostic-head";
    head.textContent = [(d.severity === "error" ? "errore " : "avvertenza ") + d.code,
      d.at_m !== null ? metresText(d.at_m) : "", sourceText(d.file ? d : null)].filter((t) => t).join(" \u00b7 ");
    const text = document.createElement("div");
    text.textContent = d.message;
    item.append(head, text);
    if (d.at_m !== null) {
      item.classList.add("at");
      item.addEventListener("click", () => jumpTo(d.at_m, (d.severity === "error" ? "Errore " : "Avvertenza ") + d.code));
    }
    diagnostics.appendChild(item);
  }
  document.getElementById("diagnostic-count").textContent = String(DIAGNOSTICS.length);
  document.getElementById("diagnostics-none").hidden = DIAGNOSTICS.length !== 0;
}

function buildHeader() {
  document.getElementById("title").textContent = ROUTE.scenario + " \u2014 " + ROUTE.train;
  const count = (list, one, many) => list.length + " " + (list.length === 1 ? one : many);
  const by = (layer) => OBJECTS[layer] || [];
  document.getElementById("summary").textContent = [
    (ROUTE.length_m / 1000).toLocaleString("it-IT") + " km", count(STATIONS, "stazione", "stazioni"),
    count(by("signals"), "segnale", "segnali"), count(by("boards"), "cartello", "cartelli"),
    count(by("indicators"), "indicatore", "indicatori"), count(ROUTE.slowdowns, "rallentamento", "rallentamenti"),
  ].join(" \u00b7 ");
  document.getElementById("sources").textContent = ROUTE.sources
    ? "\u00b7 sorgenti: " + ROUTE.sources.line_file + ", " + ROUTE.sources.train_file : "";
}

document.getElementById("toggle-side").addEventListener("click", () => {
  document.body.classList.toggle("side-closed");
  redraw();
});

// --- live: the page that `autore serve` keeps up to date -----------------------

// Says whether the drawing is that of the files as they are now.
function showLiveStatus() {
  const box = document.getElementById("live");
  const live = ROUTE.live;
  box.hidden = !live;
  if (!live) return;
  document.body.classList.toggle("stale", !live.current);
  const time = new Date().toLocaleTimeString("it-IT");
  box.textContent = live.problem ? "non aggiornato: " + live.problem + " (" + time + ")"
    : live.current ? "aggiornato alle " + time
      : "non aggiornato: errori nei dati; il disegno è quello dell'ultima compilazione riuscita (" + time + ")";
}

// New data from the server: the same window, layers and pinned box on the new route.
function replaceRoute(data) {
  takeRoute(data);
  STRIP_RANGES = stripRanges();
  DOMAIN.to = Math.max(ROUTE.end_m, 1000);
  buildHeader();
  buildLists();
  showLiveStatus();
  const span = Math.min(state.to - state.from, DOMAIN.to - DOMAIN.from);
  const from = Math.min(Math.max(state.from, DOMAIN.from), DOMAIN.to - span);
  state.from = from;
  state.to = from + span;
  liveRedraws++;
  draw();
  const p = state.pinned;
  if (p) {
    // The box stays on what it showed: found again at the same place on the new route.
    const hit = p.heading === undefined && p.x !== undefined ? hitAt(p.x, p.y) : null;
    const near = Math.max(25, (state.to - state.from) / Math.max(frame.profile.w, 1) * 4);
    p.items = hit && hit.item ? [hit.item] : p.heading !== undefined ? itemsAt(p.m, near, state.layers) : p.items;
    showTip(tip, p.items, p.m, p.heading !== undefined ? frame.xOf(p.m) : p.x,
      p.heading !== undefined ? frame.profile.y : p.y, { w: area.clientWidth, h: area.clientHeight }, p.heading);
    draw();
  }
  // Only the latest marks are kept: a page left open for hours holds no growing list.
  if (performance.getEntriesByName("route-redrawn").length >= 100) performance.clearMarks("route-redrawn");
  performance.mark("route-redrawn", { detail: ROUTE.live.serial });
}

function listenForSaves() {
  const events = new EventSource("/eventi?dopo=" + encodeURIComponent(ROUTE.live.serial));
  events.onmessage = (e) => {
    const data = JSON.parse(e.data);
    if (data.live.serial === ROUTE.live.serial) return;
    if (data.scenario === undefined) { ROUTE.live = data.live; showLiveStatus(); return; }
    // A save that left the line file as it was comes without the track plan: the page keeps its own.
    if (data.plan === null && data.live.plan !== undefined && data.live.plan === ROUTE.live.plan) data.plan = ROUTE.plan;
    replaceRoute(data);
  };
  events.onerror = () => {
    const box = document.getElementById("live");
    box.textContent = "collegamento con autore serve interrotto: riprovo\u2026";
    document.body.classList.add("stale");
  };
}

buildHeader();
buildLayers();
buildLists();
showLiveStatus();
if (ROUTE.live) listenForSaves();
new ResizeObserver(() => redraw()).observe(area);
redraw();
