// The two chainage axes under the profile: route metres from the start, and
// the official kilometre, which may start again or count down from a point on
// (each stretch of one count gets its own ticks, its start marked).

function routeTicks(f) {
  const step = niceStep(f.to - f.from, Math.max(2, f.profile.w / (f.fs * 9)));
  const ticks = [];
  for (let m = Math.ceil(f.from / step) * step; m <= f.to + 1e-6; m += step) ticks.push(m);
  return { step, ticks };
}

// Vertical lines at the route ticks, behind the strips.
function drawGridLines(f, top, bottom) {
  const ctx = f.ctx;
  ctx.strokeStyle = COLOURS.grid;
  ctx.lineWidth = 1;
  ctx.beginPath();
  for (const m of routeTicks(f).ticks) {
    const x = Math.round(f.xOf(m)) + 0.5;
    ctx.moveTo(x, top);
    ctx.lineTo(x, bottom);
  }
  ctx.stroke();
}

function drawRouteAxis(f, row) {
  const ctx = f.ctx;
  const { ticks } = routeTicks(f);
  ctx.strokeStyle = COLOURS.axis;
  ctx.fillStyle = COLOURS.axis;
  ctx.font = f.font(0.9);
  ctx.textAlign = "center";
  ctx.textBaseline = "top";
  ctx.beginPath();
  ctx.moveTo(f.profile.x, row.y + 0.5);
  ctx.lineTo(f.profile.x + f.profile.w, row.y + 0.5);
  const placer = new LabelPlacer(f.fs * 0.6);
  for (const m of ticks) {
    const x = f.xOf(m);
    ctx.moveTo(x, row.y);
    ctx.lineTo(x, row.y + f.fs * 0.4);
    const text = String(Math.round(m));
    const w = textWidth(ctx, text);
    const box = { x: x - w / 2, y: row.y + f.fs * 0.5, w, h: f.fs, within: f.profileRowBox(row) };
    if (placer.place(text, [box], "route-axis")) ctx.fillText(text, x, row.y + f.fs * 0.5);
  }
  ctx.stroke();
  f.placed.push(...placer.placed);
}

function drawOfficialAxis(f, row) {
  const ctx = f.ctx;
  const placer = new LabelPlacer(f.fs * 0.6);
  const step = niceStep(f.to - f.from, Math.max(2, f.profile.w / (f.fs * 9)));
  const y = row.y + 0.5;
  ctx.strokeStyle = COLOURS.axis;
  ctx.fillStyle = COLOURS.axis;
  ctx.lineWidth = 1;
  ctx.beginPath();
  ctx.moveTo(f.profile.x, y);
  ctx.lineTo(f.profile.x + f.profile.w, y);
  ctx.stroke();
  ctx.textBaseline = "top";
  const within = f.profileRowBox(row);
  const label = (k) => (step >= 1000 ? String(Math.round(k / 1000)) : kmText(k));
  const starts = [];
  const ticks = [];
  for (const s of ROUTE.official_km) {
    const a = Math.max(s.from_m, f.from), b = Math.min(s.to_m, f.to);
    if (a > b) continue;
    if (s.from_m >= f.from && s.from_m <= f.to && s.from_m > 0) starts.push(s);
    const ka = officialKm(a), kb = s.falling ? s.km_m - (b - s.from_m) : s.km_m + (b - s.from_m);
    const lo = Math.min(ka, kb), hi = Math.max(ka, kb);
    for (let k = Math.ceil(lo / step) * step; k <= hi + 1e-6; k += step) {
      const m = s.falling ? s.from_m + (s.km_m - k) : s.from_m + (k - s.km_m);
      if (m >= a && m <= b && m < s.to_m) ticks.push({ m, k });
    }
  }
  // Where a count starts: a taller mark and its first kilometre, drawn before the ticks.
  ctx.font = f.font(0.9, true);
  ctx.textAlign = "left";
  for (const s of starts) {
    const x = f.xOf(s.from_m);
    ctx.beginPath();
    ctx.moveTo(x, row.y - f.fs * 0.3);
    ctx.lineTo(x, row.y + f.fs * 1.6);
    ctx.lineWidth = 2;
    ctx.stroke();
    ctx.lineWidth = 1;
    const text = "\u25B8 " + kmText(s.km_m) + (s.falling ? " \u2193" : "");
    const w = textWidth(ctx, text);
    if (placer.place(text, [{ x: x + 3, y: row.y + f.fs * 0.5, w, h: f.fs, within }], "km-axis"))
      ctx.fillText(text, x + 3, row.y + f.fs * 0.5);
  }
  ctx.font = f.font(0.9);
  ctx.textAlign = "center";
  ctx.beginPath();
  for (const t of ticks) {
    const x = f.xOf(t.m);
    ctx.moveTo(x, row.y);
    ctx.lineTo(x, row.y + f.fs * 0.4);
    const text = label(t.k);
    const w = textWidth(ctx, text);
    if (placer.place(text, [{ x: x - w / 2, y: row.y + f.fs * 0.5, w, h: f.fs, within }], "km-axis"))
      ctx.fillText(text, x, row.y + f.fs * 0.5);
  }
  ctx.stroke();
  f.placed.push(...placer.placed);
}
