// The lower part of the page: along the route, the stations with their zones
// and names, one lane per kind of object, the gradient, the speed limit with
// the slowdowns, the adhesion and the mountain sides, over two chainage axes.

const SIDE_COLOURS = { 1: "#a1887f", 2: "#795548", 3: "#4e342e" };

// The rows of the profile from top to bottom, for the layers shown.
function layoutProfile(f) {
  const fs = f.fs, box = f.profile, L = f.layers;
  const lane = fs * 1.5;
  const fixed = [];
  if (L.stations) fixed.push({ id: "stations", title: "stazioni", h: fs * 1.35 * 3 + fs * 1.1 });
  if (L.diagnostics && DIAGNOSTICS.some((d) => d.at_m !== null)) fixed.push({ id: "diagnostics", title: "diagnostica", h: lane });
  if (L.signals) fixed.push({ id: "signals", title: "segnali", h: lane });
  if (L.boards) fixed.push({ id: "boards", title: "cartelli", h: lane });
  if (L.indicators) fixed.push({ id: "indicators", title: "indicatori", h: lane });
  if (L.codes) fixed.push({ id: "codes", title: "abbattimenti", h: lane });
  if (L.slowdowns) fixed.push({ id: "slowdowns", title: "rallentamenti", h: lane });
  const after = [];
  if (L.mountains) after.push({ id: "mountains", title: "montagna", h: lane });
  after.push({ id: "route-axis", title: "progressiva m", h: fs * 2 });
  after.push({ id: "km-axis", title: "km ufficiale", h: fs * 2 });
  const gap = fs * 0.45;
  const used = [...fixed, ...after].reduce((s, r) => s + r.h, 0) + gap * (fixed.length + after.length + 3);
  const rest = Math.max(fs * 9, box.h - used);
  const strips = [
    { id: "gradient", title: "pendenza \u2030", h: rest * 0.38, strip: true },
    { id: "speed", title: "velocità km/h", h: rest * 0.4, strip: true },
    { id: "adhesion", title: "aderenza", h: rest * 0.22, strip: true },
  ];
  const rows = [];
  let y = box.y + gap;
  for (const r of [...fixed, ...strips, ...after]) {
    rows.push(Object.assign(r, { y }));
    y += r.h + gap;
  }
  return rows;
}

// A strip's value range, fixed for the whole route so that it does not jump while panning.
function stripRanges() {
  const most = (runs) => runs.value.reduce((a, v) => Math.max(a, Math.abs(v)), 0);
  const g = Math.max(1, most(PROFILE.gradient));
  const gs = niceStep(g, 2);
  const upTo = (v, least, ticks) => {
    const top = Math.max(v, least);
    const st = niceStep(top, ticks);
    return { low: 0, high: Math.ceil((top + 1) / st) * st, step: st };
  };
  return {
    gradient: { low: -Math.ceil(g / gs) * gs, high: Math.ceil(g / gs) * gs, step: gs },
    speed: upTo(most(PROFILE.speed), 20, 4),
    adhesion: upTo(most(PROFILE.adhesion), 10, 2),
  };
}
let STRIP_RANGES = stripRanges();

function stripY(row, range, v) {
  const c = Math.min(Math.max(v, range.low), range.high);
  return row.y + row.h - (row.h * (c - range.low)) / (range.high - range.low);
}

function drawRowFrame(f, row) {
  const ctx = f.ctx;
  ctx.fillStyle = COLOURS.paper;
  ctx.fillRect(f.profile.x, row.y, f.profile.w, row.h);
  ctx.fillStyle = COLOURS.axis;
  ctx.font = f.font(0.92, true);
  ctx.textAlign = "left";
  ctx.textBaseline = "top";
  ctx.fillText(row.title, f.fs * 0.5, row.y + (row.strip ? 0 : Math.max(0, row.h / 2 - f.fs * 0.55)));
}

function drawStripScale(f, row, range) {
  const ctx = f.ctx;
  ctx.font = f.font(0.85);
  ctx.textAlign = "right";
  ctx.textBaseline = "middle";
  ctx.fillStyle = COLOURS.axis;
  ctx.strokeStyle = COLOURS.grid;
  ctx.beginPath();
  // Only the ticks that leave room for each other and for the title above them.
  const minGap = f.fs * 1.05;
  let lastY = Infinity;
  for (let v = range.low; v <= range.high + 1e-9; v += range.step) {
    const y = stripY(row, range, v);
    ctx.moveTo(f.profile.x, Math.round(y) + 0.5);
    ctx.lineTo(f.profile.x + f.profile.w, Math.round(y) + 0.5);
    if (lastY - y >= minGap && y - row.y >= f.fs * 1.5) {
      ctx.fillText(String(v), f.profile.x - f.fs * 0.3, y);
      lastY = y;
    }
  }
  ctx.stroke();
}

// Each run of a profile that lies in view, from x0 to x1 on the canvas.
function eachRunInView(f, runs, use) {
  const i0 = Math.max(0, lastAtOrBefore(runs.from, f.from));
  for (let i = i0; i < runs.from.length && runs.from[i] <= f.to; i++) {
    const x0 = f.xOf(Math.max(runs.from[i], f.from));
    const x1 = f.xOf(Math.min(i + 1 < runs.from.length ? runs.from[i + 1] : ROUTE.profile.end_m, f.to));
    use(x0, x1, runs.value[i], i === i0);
  }
}

// A value per run as steps across the visible window.
function drawSteps(f, runs, row, range, colour) {
  const ctx = f.ctx;
  ctx.strokeStyle = colour;
  ctx.lineWidth = Math.max(1.5, f.fs * 0.15);
  ctx.beginPath();
  eachRunInView(f, runs, (x0, x1, value, first) => {
    const y = stripY(row, range, value);
    if (first) ctx.moveTo(x0, y); else ctx.lineTo(x0, y);
    ctx.lineTo(x1, y);
  });
  ctx.stroke();
  ctx.lineWidth = 1;
}

function drawGradient(f, row) {
  const ctx = f.ctx, runs = PROFILE.gradient, range = STRIP_RANGES.gradient;
  drawStripScale(f, row, range);
  const zero = stripY(row, range, 0);
  ctx.globalAlpha = 0.8;
  eachRunInView(f, runs, (x0, x1, v) => {
    if (v === 0) return;
    const y = stripY(row, range, v);
    ctx.fillStyle = v > 0 ? COLOURS.rising : COLOURS.falling;
    ctx.fillRect(x0, Math.min(y, zero), Math.max(1, x1 - x0), Math.abs(zero - y));
  });
  ctx.globalAlpha = 1;
  ctx.strokeStyle = COLOURS.axis;
  ctx.beginPath();
  ctx.moveTo(f.profile.x, zero);
  ctx.lineTo(f.profile.x + f.profile.w, zero);
  ctx.stroke();
}

function drawSpeed(f, row) {
  const ctx = f.ctx, range = STRIP_RANGES.speed;
  drawStripScale(f, row, range);
  if (f.layers.slowdowns) {
    const shown = ROUTE.slowdowns.filter((sd) => sd.end_m >= f.from && sd.start_m <= f.to);
    const spans = shown.map((sd) => {
      const x0 = f.xOf(Math.max(sd.start_m, f.from));
      return { sd, x0, x1: Math.max(f.xOf(Math.min(sd.end_m, f.to)), x0 + 3), yLow: stripY(row, range, sd.speed_kmh) };
    });
    for (const { sd, x0, x1, yLow } of spans) {
      const limit = PROFILE.speed.at(sd.start_m);
      const yHigh = stripY(row, range, Math.max(limit ? limit.value : 0, sd.speed_kmh));
      ctx.fillStyle = COLOURS.slowdown;
      ctx.fillRect(x0, yHigh, x1 - x0, Math.max(yLow - yHigh, 2));
      f.placer.keep({ x: x0, y: yHigh, w: x1 - x0, h: Math.max(yLow - yHigh, 2) });
      f.hits.push({ x: x0, y: row.y, w: x1 - x0, h: row.h, item: { type: "slowdown", sd } });
    }
    // The speeds after every bar is drawn, each where no bar and no other speed stands.
    ctx.font = f.font(0.85, true);
    const within = { x: f.profile.x, y: row.y, w: f.profile.w, h: row.h };
    for (const { sd, x0, x1, yLow } of spans) {
      const text = sd.speed_kmh + " km/h";
      const w = textWidth(ctx, text), h = f.fs;
      const g = f.placer.gap + 1; // clear of its own bar
      const spot = f.placer.place(text, [
        { x: x1 + g, y: yLow + g, w, h, within }, { x: x0 - w - g, y: yLow + g, w, h, within },
        { x: x1 + g, y: yLow - h - g, w, h, within }, { x: x0 - w - g, y: yLow - h - g, w, h, within },
        { x: x1 + g, y: yLow + g + h, w, h, within }, { x: x0 - w - g, y: yLow + g + h, w, h, within },
      ], "profile");
      if (spot) {
        ctx.fillStyle = "#8a5a00";
        ctx.textAlign = "left";
        ctx.textBaseline = "top";
        ctx.fillText(text, spot.x, spot.y);
      }
    }
  }
  drawSteps(f, PROFILE.speed, row, range, COLOURS.speed);
}

function drawAdhesion(f, row) {
  drawStripScale(f, row, STRIP_RANGES.adhesion);
  drawSteps(f, PROFILE.adhesion, row, STRIP_RANGES.adhesion, COLOURS.adhesion);
}

// Marks of one lane, each with its label beside it where there is room.
const LANE_MARKS = {
  signals: { colour: COLOURS.signal, shape: "mast" },
  boards: { colour: COLOURS.board, shape: "square" },
  indicators: { colour: COLOURS.indicator, shape: "diamond" },
  codes: { colour: COLOURS.code, shape: "triangle" },
  slowdowns: { colour: "#c77800", shape: "slowdown" },
  mountains: { colour: COLOURS.mountain, shape: "marker" },
};

function drawMark(ctx, shape, x, y, r, colour, o) {
  ctx.fillStyle = colour;
  ctx.strokeStyle = colour;
  ctx.lineWidth = 1.5;
  ctx.beginPath();
  switch (shape) {
    case "mast":
      ctx.moveTo(x, y + r); ctx.lineTo(x, y - r * 0.2); ctx.stroke();
      ctx.beginPath(); ctx.arc(x, y - r * 0.45, r * 0.5, 0, 2 * Math.PI); ctx.fill();
      return;
    case "square": ctx.rect(x - r * 0.6, y - r * 0.6, r * 1.2, r * 1.2); ctx.fill(); return;
    case "diamond":
      ctx.moveTo(x, y - r); ctx.lineTo(x + r * 0.75, y); ctx.lineTo(x, y + r); ctx.lineTo(x - r * 0.75, y);
      ctx.closePath(); ctx.fill(); return;
    case "triangle":
      ctx.moveTo(x, y - r * 0.8); ctx.lineTo(x + r * 0.7, y + r * 0.6); ctx.lineTo(x - r * 0.7, y + r * 0.6);
      ctx.closePath();
      if (o && o.kind === 13) ctx.stroke(); else ctx.fill();
      return;
    case "marker":
      ctx.moveTo(x, y - r * 0.7); ctx.lineTo(x + r * 0.5, y + r * 0.3); ctx.lineTo(x - r * 0.5, y + r * 0.3);
      ctx.closePath(); ctx.fill(); return;
    case "slowdown":
      if (o.kind === 3) { ctx.moveTo(x, y - r); ctx.lineTo(x + r, y); ctx.lineTo(x, y + r); }
      else if (o.kind === 2) { ctx.moveTo(x, y - r); ctx.lineTo(x - r, y); ctx.lineTo(x, y + r); }
      else if (o.kind === 4) { ctx.moveTo(x, y - r); ctx.lineTo(x + r * 0.7, y); ctx.lineTo(x, y + r); ctx.lineTo(x - r * 0.7, y); }
      else { ctx.rect(x - 1, y - r * 0.8, 2, r * 1.6); ctx.fill(); return; }
      ctx.closePath(); ctx.fill(); return;
    case "diagnostic":
      ctx.moveTo(x, y - r); ctx.lineTo(x + r, y + r * 0.8); ctx.lineTo(x - r, y + r * 0.8); ctx.closePath(); ctx.fill();
      ctx.fillStyle = "white"; ctx.font = "bold " + Math.round(r * 1.3) + "px sans-serif";
      ctx.textAlign = "center"; ctx.textBaseline = "middle"; ctx.fillText("!", x, y + r * 0.15);
      return;
  }
}

// Which marks get their label: of a slowdown only its start, with its speed.
function labelledKind(o) {
  return o.layer !== "mountains" && o.layer !== "stations" && (o.layer !== "slowdowns" || o.kind === 3);
}

function drawLane(f, row, layer) {
  const ctx = f.ctx;
  const mark = LANE_MARKS[layer];
  const y = row.y + row.h / 2, r = f.fs * 0.5;
  const list = inRange(OBJECTS[layer] || [], f.from - 100, f.to + 100);
  const within = { x: f.profile.x, y: row.y, w: f.profile.w, h: row.h };
  // Marks too close to tell apart get no label: too many in view, only the marks.
  const labelled = list.length <= f.profile.w / (f.fs * 2);
  const shown = list.filter((o) => layer !== "mountains" || o.kind === 11);
  for (const o of shown) {
    const x = f.xOf(o.at_m);
    drawMark(ctx, mark.shape, x, y, r, mark.colour, o);
    f.hits.push({ x, y, r: r * 1.3, item: { type: "object", o } });
    // Labels keep off the marks too.
    f.placer.keep({ x: x - r * 0.8, y: y - r, w: r * 1.6, h: r * 2 });
  }
  for (const o of shown) {
    const x = f.xOf(o.at_m);
    if (!labelled || !o.label || !labelledKind(o)) continue;
    ctx.font = f.font(0.85);
    const w = textWidth(ctx, o.label);
    const h = f.fs;
    const spot = f.placer.place(o.label, [
      { x: x + r + f.fs * 0.4, y: y - h / 2, w, h, within },
      { x: x - r - f.fs * 0.4 - w, y: y - h / 2, w, h, within },
    ], "profile");
    if (spot) {
      ctx.fillStyle = mark.colour === COLOURS.board ? "#a35400" : mark.colour;
      ctx.textAlign = "left";
      ctx.textBaseline = "middle";
      ctx.fillText(o.label, spot.x, y);
    }
  }
}

function drawSlowdownLane(f, row) {
  const ctx = f.ctx;
  for (const sd of ROUTE.slowdowns) {
    if (sd.end_m < f.from || sd.start_m > f.to) continue;
    const x0 = f.xOf(Math.max(sd.start_m, f.from)), x1 = Math.max(f.xOf(Math.min(sd.end_m, f.to)), x0 + 2);
    ctx.fillStyle = COLOURS.slowdown;
    ctx.globalAlpha = 0.35;
    ctx.fillRect(x0, row.y + row.h * 0.2, x1 - x0, row.h * 0.6);
    ctx.globalAlpha = 1;
    f.hits.push({ x: x0, y: row.y, w: x1 - x0, h: row.h, item: { type: "slowdown", sd } });
  }
  drawLane(f, row, "slowdowns");
}

function drawMountains(f, row) {
  const ctx = f.ctx;
  ctx.globalAlpha = 0.45;
  eachRunInView(f, PROFILE.side, (x0, x1, v) => {
    if (v === 0) return;
    ctx.fillStyle = SIDE_COLOURS[v] || "#8d6e63";
    ctx.fillRect(x0, row.y + row.h * 0.55, Math.max(1, x1 - x0), row.h * 0.4);
  });
  ctx.globalAlpha = 1;
  f.hits.push({ x: f.profile.x, y: row.y, w: f.profile.w, h: row.h, item: { type: "strip", strip: "side" }, weak: true });
  const save = row.h;
  drawLane(f, Object.assign({}, row, { h: save * 0.6 }), "mountains");
}

function drawDiagnosticsLane(f, row) {
  const y = row.y + row.h / 2, r = f.fs * 0.6;
  for (const d of DIAGNOSTICS) {
    if (d.at_m === null || d.at_m < f.from - 100 || d.at_m > f.to + 100) continue;
    const x = f.xOf(d.at_m);
    drawMark(f.ctx, "diagnostic", x, y, r, d.severity === "error" ? COLOURS.error : COLOURS.warning);
    f.hits.push({ x, y, r: r * 1.3, item: { type: "diagnostic", d } });
  }
}

// Zones as bars, the names above them in up to three rows, the most
// important first; a name that finds no free place in any row is left out.
function drawStations(f, row) {
  const ctx = f.ctx, fs = f.fs;
  const rowH = fs * 1.35;
  const barY = row.y + rowH * 3 + fs * 0.2, barH = fs * 0.6;
  const visible = STATIONS.filter((s) => s.end_m >= f.from && s.start_m <= f.to);
  for (const s of visible) {
    const x0 = f.xOf(Math.max(s.start_m, f.from)), x1 = Math.max(f.xOf(Math.min(s.end_m, f.to)), x0 + 2);
    ctx.fillStyle = COLOURS.station;
    ctx.globalAlpha = 0.3;
    ctx.fillRect(x0, barY, x1 - x0, barH);
    ctx.globalAlpha = 1;
    // The station's own tick only where it stands in view: one just outside
    // would fall into the column of the row names.
    if (s.at_m >= f.from && s.at_m <= f.to) {
      const x = f.xOf(s.at_m);
      ctx.fillRect(x - 1, barY - fs * 0.15, 2, barH + fs * 0.3);
    }
    if (s.stop_m !== undefined && s.stop_m >= f.from && s.stop_m <= f.to) {
      const xs = f.xOf(s.stop_m);
      ctx.beginPath();
      ctx.arc(xs, barY + barH / 2, fs * 0.22, 0, 2 * Math.PI);
      ctx.fill();
    }
    f.hits.push({ x: x0 - 2, y: barY - fs * 0.3, w: x1 - x0 + 4, h: barH + fs * 0.6, item: { type: "station", s } });
  }
  ctx.font = f.font(0.95);
  ctx.textBaseline = "top";
  ctx.textAlign = "left";
  const within = { x: f.profile.x, y: row.y, w: f.profile.w, h: rowH * 3 };
  for (const s of STATIONS_BY_PRIORITY) {
    if (s.at_m < f.from || s.at_m > f.to) continue;
    const x = f.xOf(s.at_m);
    const texts = s.time ? [s.name + " " + s.time.slice(0, 5), s.name] : [s.name];
    let spot = null, text = null;
    for (const t of texts) {
      const w = textWidth(ctx, t) + fs * 0.3;
      const left = Math.min(Math.max(x - w / 2, f.profile.x), f.profile.x + f.profile.w - w);
      const candidates = [];
      for (let r = 0; r < 3; r++) {
        const y = barY - fs * 0.3 - (r + 1) * rowH;
        const c = { x: left, y, w, h: rowH - fs * 0.2, within };
        // The line down to the zone passes the rows below and keeps them free where it runs.
        if (r > 0) c.also = { x: x - 1, y: y + rowH - fs * 0.2, w: 2, h: r * rowH };
        candidates.push(c);
      }
      spot = f.placer.place(t, candidates, "profile");
      if (spot) { text = t; break; }
    }
    if (!spot) continue;
    f.stationsNamed.push(s.name);
    ctx.fillStyle = COLOURS.station;
    ctx.fillText(text, spot.x + fs * 0.15, spot.y + fs * 0.12);
    ctx.strokeStyle = COLOURS.station;
    ctx.lineWidth = 1;
    ctx.beginPath();
    ctx.moveTo(x, spot.y + spot.h);
    ctx.lineTo(x, barY - fs * 0.15);
    ctx.stroke();
    f.hits.push({ x: spot.x, y: spot.y, w: spot.w, h: spot.h, item: { type: "station", s } });
  }
}

function drawProfile(f) {
  const ctx = f.ctx;
  const rows = layoutProfile(f);
  f.rows = rows;
  const top = rows[0].y, stripsBottom = rows[rows.length - 3].y + rows[rows.length - 3].h;
  for (const row of rows) if (row.id !== "route-axis" && row.id !== "km-axis") drawRowFrame(f, row);
  drawGridLines(f, top, stripsBottom);
  // Beyond the end of the route: the run-out, shaded.
  if (f.to > ROUTE.length_m) {
    const x = f.xOf(Math.max(ROUTE.length_m, f.from));
    ctx.fillStyle = "rgba(120,120,120,0.12)";
    ctx.fillRect(x, top, f.profile.x + f.profile.w - x, stripsBottom - top);
  }
  for (const row of rows) {
    switch (row.id) {
      case "stations": drawStations(f, row); break;
      case "diagnostics": drawDiagnosticsLane(f, row); break;
      case "signals": case "boards": case "indicators": case "codes": drawLane(f, row, row.id); break;
      case "slowdowns": drawSlowdownLane(f, row); break;
      case "gradient": drawGradient(f, row); break;
      case "speed": drawSpeed(f, row); break;
      case "adhesion": drawAdhesion(f, row); break;
      case "mountains": drawMountains(f, row); break;
      case "route-axis": drawRowTitle(f, row); drawRouteAxis(f, row); break;
      case "km-axis": drawRowTitle(f, row); drawOfficialAxis(f, row); break;
    }
    if (row.strip) f.hits.push({ x: f.profile.x, y: row.y, w: f.profile.w, h: row.h, item: { type: "strip", strip: row.id }, weak: true });
  }
  return { top, bottom: rows[rows.length - 1].y + rows[rows.length - 1].h };
}

function drawRowTitle(f, row) {
  const ctx = f.ctx;
  ctx.fillStyle = COLOURS.axis;
  ctx.font = f.font(0.92, true);
  ctx.textAlign = "left";
  ctx.textBaseline = "top";
  ctx.fillText(row.title, f.fs * 0.5, row.y + f.fs * 0.45);
}
