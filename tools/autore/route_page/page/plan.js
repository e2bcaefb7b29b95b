// The upper part of the page: the track seen from above in the window the
// tool laid out for the stretch in view, turned so that it runs from left to
// right like the profile under it (the north arrow shows how it lies), with
// the official kilometre along it, drawn from the coarsest level of the plan
// that still strays by less than half a pixel.

// The coarsest level whose points stray by at most `tolerance` metres.
function levelFor(tolerance) {
  let best = PLAN.levels[0];
  for (const lv of PLAN.levels) if (lv.tolerance <= tolerance) best = lv;
  return best;
}

// The points of a level between two metres, the ends interpolated.
function stretchOf(level, from, to) {
  const ms = [], xs = [], ys = [];
  const a = Math.max(from, level.m[0]), b = Math.min(to, level.m[level.n - 1]);
  if (a > b) return { ms, xs, ys };
  const push = (m, p) => { ms.push(m); xs.push(p.x); ys.push(p.y); };
  push(a, planPointAt(level, a));
  for (let i = lastAtOrBefore(level.m, a) + 1; i < level.n && level.m[i] < b; i++)
    push(level.m[i], { x: level.x[i], y: level.y[i] });
  push(b, planPointAt(level, b));
  return { ms, xs, ys };
}

// The window the plan is laid in, as the tool worked it out: of the
// narrowest size that holds the stretch in view wherever it stands (a
// window's centre is at most an eighth of its span from the view's middle),
// the window nearest the view's middle.
function windowFor(from, to) {
  const sizes = PLAN.windows.sizes;
  let size = sizes[0];
  for (const z of sizes) if (z.span >= ((to - from) * 4) / 3) size = z;
  const n = size.frames.length / 5;
  const index = n === 1 ? 0 : Math.min(Math.max(Math.round((from + to) / 2 / size.step), 0), n - 1);
  return { size, index, centre: index * size.step };
}

// Plan metres to canvas pixels: the window's frame fitted into the plan's box.
function planFrame(f) {
  if (PLAN.windows.sizes.length === 0) return null;
  const box = f.plan;
  const w = windowFor(f.from, f.to);
  const fr = w.size.frames, k = 5 * w.index;
  const angle = fr[k] / 1e4, ux = Math.cos(angle), uy = Math.sin(angle);
  const at = planPointAt(PLAN.levels[0], w.centre);
  const cx = at.x + fr[k + 1], cy = at.y + fr[k + 2], hu = fr[k + 3], hv = fr[k + 4];
  const padX = f.fs * 4, padY = f.fs * 3;
  const scale = Math.min((box.w - 2 * padX) / Math.max(2 * hu, 1), (box.h - 2 * padY) / Math.max(2 * hv, 1));
  const left = box.x + box.w / 2, top = box.y + box.h / 2;
  return {
    d: { ux, uy }, scale, window: w,
    X: (x, y) => left + ((x - cx) * ux + (y - cy) * uy) * scale,
    Y: (x, y) => top - ((y - cy) * ux - (x - cx) * uy) * scale,
  };
}

function tracePath(ctx, pf, st, i0, i1) {
  ctx.beginPath();
  for (let i = i0; i <= i1; i++) {
    const X = pf.X(st.xs[i], st.ys[i]), Y = pf.Y(st.xs[i], st.ys[i]);
    if (i === i0) ctx.moveTo(X, Y); else ctx.lineTo(X, Y);
  }
}

// A stretch of the track drawn over the plan (slowdowns, mountain sides).
function overlay(f, pf, level, from, to, colour, width, alpha) {
  const st = stretchOf(level, Math.max(from, f.from - (f.to - f.from)), Math.min(to, f.to + (f.to - f.from)));
  if (st.xs.length < 2) return;
  const ctx = f.ctx;
  ctx.globalAlpha = alpha;
  ctx.strokeStyle = colour;
  ctx.lineWidth = width;
  ctx.lineCap = "butt";
  tracePath(ctx, pf, st, 0, st.xs.length - 1);
  ctx.stroke();
  ctx.globalAlpha = 1;
}

function drawNorth(f, pf) {
  const ctx = f.ctx, fs = f.fs;
  const cx = f.plan.x + fs * 2.6, cy = f.plan.y + fs * 2.6, len = fs * 1.5;
  // North on the plan is +y; on the canvas it lies along the turned axes.
  const dx = pf.d.uy, dy = -pf.d.ux;
  ctx.fillStyle = "white";
  ctx.strokeStyle = COLOURS.grid;
  ctx.beginPath();
  ctx.arc(cx, cy, fs * 2, 0, 2 * Math.PI);
  ctx.fill();
  ctx.stroke();
  ctx.strokeStyle = COLOURS.axis;
  ctx.fillStyle = COLOURS.axis;
  ctx.lineWidth = 2;
  ctx.beginPath();
  ctx.moveTo(cx - dx * len, cy - dy * len);
  ctx.lineTo(cx + dx * len, cy + dy * len);
  ctx.stroke();
  ctx.lineWidth = 1;
  const hx = cx + dx * len, hy = cy + dy * len;
  ctx.beginPath();
  ctx.moveTo(hx, hy);
  ctx.lineTo(hx - dx * fs * 0.7 - dy * fs * 0.4, hy - dy * fs * 0.7 + dx * fs * 0.4);
  ctx.lineTo(hx - dx * fs * 0.7 + dy * fs * 0.4, hy - dy * fs * 0.7 - dx * fs * 0.4);
  ctx.closePath();
  ctx.fill();
  ctx.font = f.font(0.9, true);
  ctx.textAlign = "center";
  ctx.textBaseline = "middle";
  // "N" beyond the arrow's head, as on the plot's picture.
  const nx = cx + dx * (len + fs), ny = cy + dy * (len + fs);
  ctx.fillText("N", nx, ny);
  f.placer.keep({ x: cx - fs * 2, y: cy - fs * 2, w: fs * 4, h: fs * 4 });
  f.placer.keep({ x: nx - fs * 0.5, y: ny - fs * 0.6, w: fs, h: fs * 1.2 });
}

function drawScaleBar(f, pf) {
  const ctx = f.ctx, fs = f.fs;
  const metres = niceStep(fs * 10 / pf.scale, 1);
  const w = metres * pf.scale;
  const x = f.plan.x + fs, y = f.plan.y + f.plan.h - fs * 1.2;
  ctx.strokeStyle = COLOURS.axis;
  ctx.lineWidth = 2;
  ctx.beginPath();
  ctx.moveTo(x, y - fs * 0.3); ctx.lineTo(x, y); ctx.lineTo(x + w, y); ctx.lineTo(x + w, y - fs * 0.3);
  ctx.stroke();
  ctx.lineWidth = 1;
  const text = metres >= 1000 ? metres / 1000 + " km" : metres + " m";
  ctx.fillStyle = COLOURS.axis;
  ctx.font = f.font(0.85);
  ctx.textAlign = "left";
  ctx.textBaseline = "bottom";
  ctx.fillText(text, x + w + fs * 0.4, y + fs * 0.2);
  f.placer.keep({ x, y: y - fs, w: w + fs * 0.6 + textWidth(ctx, text), h: fs * 1.3 });
}

// Where a name may stand beside its mark, in order of preference.
function nameCandidates(X, Y, w, h, gap, within) {
  return [
    { x: X + gap, y: Y - gap - h, w, h, within }, { x: X + gap, y: Y + gap, w, h, within },
    { x: X - gap - w, y: Y - gap - h, w, h, within }, { x: X - gap - w, y: Y + gap, w, h, within },
    { x: X - w / 2, y: Y - gap * 1.6 - h, w, h, within }, { x: X - w / 2, y: Y + gap * 1.6, w, h, within },
    { x: X + gap * 1.6, y: Y - h / 2, w, h, within }, { x: X - gap * 1.6 - w, y: Y - h / 2, w, h, within },
  ];
}

// The first and the last station of the run are named even where the track
// about them is crowded: farther out above and below their mark, kept inside
// the plan, joined to the mark by a thin line.
function endCandidates(X, Y, w, h, gap, within) {
  const x = Math.min(Math.max(X - w / 2, within.x + gap), within.x + within.w - gap - w);
  const out = [];
  for (const k of [2.5, 4, 6, 8, 10])
    out.push({ x, y: Y - gap * k - h, w, h, within, leader: true }, { x, y: Y + gap * k, w, h, within, leader: true });
  return out;
}

const PLAN_MARKS = [
  ["mountains", "marker", COLOURS.mountain, 0.45],
  ["codes", "triangle", COLOURS.code, 0.45],
  ["signals", "mast", COLOURS.signal, 0.5],
  ["boards", "square", COLOURS.board, 0.5],
  ["indicators", "diamond", COLOURS.indicator, 0.55],
  ["slowdowns", "slowdown", "#c77800", 0.5],
];

function drawPlan(f) {
  const ctx = f.ctx, box = f.plan, fs = f.fs;
  ctx.fillStyle = COLOURS.paper;
  ctx.fillRect(box.x, box.y, box.w, box.h);
  f.planHit = null;
  if (!PLAN) {
    ctx.fillStyle = COLOURS.axis;
    ctx.font = f.font(1.1);
    ctx.textAlign = "center";
    ctx.textBaseline = "middle";
    ctx.fillText("pianta non disponibile: scenario compilato senza la tabella _linea.dat", box.x + box.w / 2, box.y + box.h / 2);
    return;
  }
  const pf = planFrame(f);
  if (!pf) return;
  ctx.save();
  ctx.beginPath();
  ctx.rect(box.x, box.y, box.w, box.h);
  ctx.clip();
  const level = levelFor(0.5 / pf.scale);
  f.planLevel = PLAN.levels.indexOf(level);
  const span = f.to - f.from;
  // The track around the stretch in view, faint; the stretch itself, and the run-out dashed.
  const around = stretchOf(level, f.from - span, f.to + span);
  ctx.strokeStyle = COLOURS.context;
  ctx.lineWidth = Math.max(1, fs * 0.12);
  ctx.lineJoin = "round";
  tracePath(ctx, pf, around, 0, around.xs.length - 1);
  ctx.stroke();
  if (f.layers.mountains)
    for (let i = 0; i < PROFILE.side.from.length; i++) {
      if (PROFILE.side.value[i] === 0) continue;
      const to = i + 1 < PROFILE.side.from.length ? PROFILE.side.from[i + 1] : ROUTE.profile.end_m;
      if (to < f.from - span || PROFILE.side.from[i] > f.to + span) continue;
      overlay(f, pf, level, PROFILE.side.from[i], to, SIDE_COLOURS[PROFILE.side.value[i]] || "#8d6e63", fs * 0.9, 0.3);
    }
  if (f.layers.slowdowns)
    for (const sd of ROUTE.slowdowns) overlay(f, pf, level, sd.start_m, sd.end_m, COLOURS.slowdown, fs * 0.7, 0.75);
  const inRoute = stretchOf(level, f.from, Math.min(f.to, PLAN.routeEndM));
  ctx.strokeStyle = COLOURS.track;
  ctx.lineWidth = Math.max(2, fs * 0.22);
  if (inRoute.xs.length > 1) { tracePath(ctx, pf, inRoute, 0, inRoute.xs.length - 1); ctx.stroke(); }
  if (f.to > PLAN.routeEndM) {
    const out = stretchOf(level, Math.max(f.from, PLAN.routeEndM), f.to);
    ctx.strokeStyle = COLOURS.runOut;
    ctx.setLineDash([fs * 0.4, fs * 0.3]);
    if (out.xs.length > 1) { tracePath(ctx, pf, out, 0, out.xs.length - 1); ctx.stroke(); }
    ctx.setLineDash([]);
  }
  ctx.lineWidth = 1;
  // For the pointer: the track in view as the canvas shows it.
  const hit = { ms: around.ms, X: [], Y: [] };
  for (let i = 0; i < around.xs.length; i++) {
    hit.X.push(pf.X(around.xs[i], around.ys[i]));
    hit.Y.push(pf.Y(around.xs[i], around.ys[i]));
  }
  f.planHit = hit;
  f.planFrame = pf;

  drawNorth(f, pf);
  drawScaleBar(f, pf);
  const margin = span * 0.02;
  const onPlan = (o) => ({ X: pf.X(o.plan.x, o.plan.y), Y: pf.Y(o.plan.x, o.plan.y) });
  for (const [layer, shape, colour, size] of PLAN_MARKS) {
    if (!f.layers[layer]) continue;
    for (const o of inRange(OBJECTS[layer] || [], f.from - margin, f.to + margin)) {
      if (layer === "mountains" && o.kind !== 11) continue;
      const p = onPlan(o);
      drawMark(ctx, shape, p.X, p.Y, fs * size, colour, o);
      f.hits.push({ x: p.X, y: p.Y, r: fs * 0.7, item: { type: "object", o } });
    }
  }
  if (f.layers.diagnostics)
    for (const d of DIAGNOSTICS) {
      if (d.at_m === null || !d.plan || d.at_m < f.from - margin || d.at_m > f.to + margin) continue;
      const p = onPlan(d);
      drawMark(ctx, "diagnostic", p.X, p.Y - fs * 0.9, fs * 0.65, d.severity === "error" ? COLOURS.error : COLOURS.warning);
      f.hits.push({ x: p.X, y: p.Y - fs * 0.9, r: fs * 0.9, item: { type: "diagnostic", d } });
    }
  if (f.layers.stations) drawPlanStations(f, onPlan, margin);
  f.planWindow = { span_m: pf.window.size.span, index: pf.window.index };
  // The two ends of the route, where they are in view.
  ctx.font = f.font(0.95, true);
  ctx.fillStyle = COLOURS.track;
  ctx.textBaseline = "top";
  for (const [m, text] of [[0, "0 km"], [PLAN.routeEndM, kmText(ROUTE.length_m).replace(/\.?0+$/, "") + " km"]]) {
    if (m < f.from || m > f.to) continue;
    const p = planPointAt(PLAN.levels[0], m);
    const X = pf.X(p.x, p.y), Y = pf.Y(p.x, p.y);
    const w = textWidth(ctx, text);
    const spot = f.placer.place(text, nameCandidates(X, Y, w, fs * 1.1, fs * 0.6, box), "plan");
    if (spot) { ctx.textAlign = "left"; ctx.fillText(text, spot.x, spot.y); }
  }
  drawPlanKm(f, pf);
  ctx.restore();
}

// The official kilometre along the track at the window's round step, where
// the other names leave room.
function drawPlanKm(f, pf) {
  const ctx = f.ctx, fs = f.fs, step = pf.window.size.km_step, every = step / PLAN.windows.kmStep;
  ctx.font = f.font(0.8);
  ctx.textBaseline = "top";
  ctx.textAlign = "left";
  ctx.strokeStyle = COLOURS.axis;
  ctx.fillStyle = COLOURS.axis;
  for (let m = Math.ceil(f.from / step) * step; m <= Math.min(f.to, PLAN.lastM); m += step) {
    const text = PLAN.windows.km[Math.round(m / step) * every];
    if (text === undefined) continue;
    const p = planPointAt(PLAN.levels[0], m);
    const X = pf.X(p.x, p.y), Y = pf.Y(p.x, p.y);
    const w = textWidth(ctx, text), h = fs * 0.95;
    const spot = f.placer.place(text, nameCandidates(X, Y, w, h, fs * 0.5, f.plan), "plan-km");
    if (!spot) continue;
    ctx.beginPath();
    ctx.moveTo(X, Y - fs * 0.35);
    ctx.lineTo(X, Y + fs * 0.35);
    ctx.stroke();
    ctx.fillText(text, spot.x, spot.y);
  }
}

function drawPlanStations(f, onPlan, margin) {
  const ctx = f.ctx, fs = f.fs, box = f.plan;
  const visible = STATIONS.filter((s) => s.plan && s.at_m >= f.from - margin && s.at_m <= f.to + margin);
  for (const s of visible) {
    const p = onPlan(s);
    ctx.fillStyle = "white";
    ctx.strokeStyle = COLOURS.station;
    ctx.lineWidth = Math.max(2, fs * 0.18);
    ctx.beginPath();
    ctx.arc(p.X, p.Y, fs * 0.4, 0, 2 * Math.PI);
    ctx.fill();
    ctx.stroke();
    ctx.lineWidth = 1;
    f.placer.keep({ x: p.X - fs * 0.4, y: p.Y - fs * 0.4, w: fs * 0.8, h: fs * 0.8 });
    f.hits.push({ x: p.X, y: p.Y, r: fs * 0.8, item: { type: "station", s } });
  }
  ctx.font = f.font(0.95);
  ctx.textBaseline = "top";
  ctx.textAlign = "left";
  const ends = [STATIONS[0], STATIONS[STATIONS.length - 1]];
  for (const s of STATIONS_BY_PRIORITY) {
    if (!s.plan || s.at_m < f.from - margin || s.at_m > f.to + margin) continue;
    const p = onPlan(s);
    const w = textWidth(ctx, s.name) + fs * 0.2, h = fs * 1.15, gap = fs * 0.55;
    let candidates = nameCandidates(p.X, p.Y, w, h, gap, box);
    if (ends.includes(s)) candidates = candidates.concat(endCandidates(p.X, p.Y, w, h, gap, box));
    const spot = f.placer.place(s.name, candidates, "plan");
    if (!spot) continue;
    if (spot.leader) {
      ctx.strokeStyle = COLOURS.station;
      ctx.beginPath();
      ctx.moveTo(p.X, p.Y);
      ctx.lineTo(Math.min(Math.max(p.X, spot.x), spot.x + spot.w), spot.y > p.Y ? spot.y : spot.y + spot.h);
      ctx.stroke();
    }
    ctx.fillStyle = "rgba(251,251,248,0.85)";
    ctx.fillRect(spot.x, spot.y, spot.w, spot.h);
    ctx.fillStyle = COLOURS.station;
    ctx.fillText(s.name, spot.x + fs * 0.1, spot.y + fs * 0.1);
    f.hits.push({ x: spot.x, y: spot.y, w: spot.w, h: spot.h, item: { type: "station", s } });
  }
}

// The route metre of the track nearest a canvas point, and how far it is.
function nearestOnPlan(f, x, y) {
  const h = f.planHit;
  if (!h || h.X.length < 2) return null;
  let best = null;
  for (let i = 1; i < h.X.length; i++) {
    const ax = h.X[i - 1], ay = h.Y[i - 1], bx = h.X[i], by = h.Y[i];
    const dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy;
    const t = len2 > 0 ? Math.max(0, Math.min(1, ((x - ax) * dx + (y - ay) * dy) / len2)) : 0;
    const dist = Math.hypot(ax + t * dx - x, ay + t * dy - y);
    if (!best || dist < best.dist) best = { dist, m: h.ms[i - 1] + t * (h.ms[i] - h.ms[i - 1]) };
  }
  return best;
}
