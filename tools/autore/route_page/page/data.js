"use strict";
// The route's data as the tool wrote it into the page (or as `serve` sends it
// anew after each save), and what the drawing asks of it: the official
// kilometre, the profile at a chainage, the track plan at a level of detail,
// objects by layer in order of chainage.

let ROUTE, PROFILE, PLAN, STATIONS, STATIONS_BY_PRIORITY, OBJECTS, DIAGNOSTICS;

// The colours of the route's drawings, the same as the plot's picture: one
// table for the tool, the same in every state of the route.
const COLOURS = (() => {
  ROUTE = JSON.parse(document.getElementById("route-data").textContent);
  return ROUTE.colours;
})();

// The layers that can be shown or hidden, in the order of their boxes.
const LAYERS = [
  ["stations", "stazioni"], ["signals", "segnali"], ["boards", "cartelli"],
  ["indicators", "indicatori di velocità"], ["slowdowns", "rallentamenti"],
  ["codes", "punti di abbattimento"], ["mountains", "montagna"], ["diagnostics", "diagnostica"],
];

// Route metres as the tool writes them: "12050 m".
function metresText(m) { return Math.round(m) + " m"; }

// A kilometre count as the railway writes it: "28.000", "-0.350".
function kmText(m) {
  const r = Math.round(m);
  const whole = Math.abs(r);
  return (r < 0 ? "-" : "") + Math.floor(whole / 1000) + "." + String(whole % 1000).padStart(3, "0");
}

// The official kilometre (in metres) at a route position.
function officialKm(m) {
  const segs = ROUTE.official_km;
  let s = segs[0];
  for (const seg of segs) if (seg.from_m <= m) s = seg;
  if (!s) return m;
  return s.falling ? s.km_m - (m - s.from_m) : s.km_m + (m - s.from_m);
}

// Every route position where the official count reads km (metres): a count
// that starts again may pass the same kilometre twice.
function routeAtOfficialKm(km) {
  const out = [];
  for (const s of ROUTE.official_km) {
    const p = s.falling ? s.from_m + (s.km_m - km) : s.from_m + (km - s.km_m);
    if (p >= s.from_m && p < s.to_m) out.push(p);
  }
  return out;
}

// Index of the last element whose key is at or before v (or -1), keys sorted.
function lastAtOrBefore(keys, v) {
  let lo = 0, hi = keys.length - 1, found = -1;
  while (lo <= hi) {
    const mid = (lo + hi) >> 1;
    if (keys[mid] <= v) { found = mid; lo = mid + 1; } else hi = mid - 1;
  }
  return found;
}

// A profile as runs: from chainage on, value; with the run's end for the tooltip.
function makeRuns(pairs, endM) {
  const from = pairs.map((p) => p[0]);
  const value = pairs.map((p) => p[1]);
  return {
    from, value,
    at(m) {
      const i = lastAtOrBefore(from, m);
      if (i < 0) return null;
      return { value: value[i], from_m: from[i], to_m: i + 1 < from.length ? from[i + 1] : endM };
    },
  };
}

// Takes the route's data: every table the drawing reads is made from it.
function takeRoute(data) {
  // The same plan as before (kept by the page through a save of the train file): its tables stay.
  const samePlan = PLAN && ROUTE && ROUTE !== data && data.plan === ROUTE.plan;
  ROUTE = data;
  PROFILE = {
    gradient: makeRuns(ROUTE.profile.gradient, ROUTE.profile.end_m),
    speed: makeRuns(ROUTE.profile.speed_kmh, ROUTE.profile.end_m),
    adhesion: makeRuns(ROUTE.profile.adhesion, ROUTE.profile.end_m),
    side: makeRuns(ROUTE.profile.side, ROUTE.profile.end_m),
  };
  if (!samePlan) PLAN = planOf(ROUTE.plan);
  // Stations come in the order of the train file; the one that gets its name
  // drawn first when names do not all fit: the two ends, then those with a
  // time, then the longer zones.
  STATIONS = ROUTE.stations.map((s, i) => Object.assign({}, s, {
    priority: (i === 0 || i === ROUTE.stations.length - 1 ? 1e7 : 0) + (s.time ? 1e6 : 0) + (s.end_m - s.start_m),
  }));
  STATIONS_BY_PRIORITY = STATIONS.slice().sort((a, b) => b.priority - a.priority);
  // The objects of the grid by layer, in order of chainage.
  OBJECTS = {};
  for (const [layer] of LAYERS) OBJECTS[layer] = [];
  for (const o of ROUTE.objects) (OBJECTS[o.layer] || (OBJECTS[o.layer] = [])).push(o);
  for (const layer of Object.keys(OBJECTS)) OBJECTS[layer].sort((a, b) => a.at_m - b.at_m);
  DIAGNOSTICS = ROUTE.diagnostics.map((d, i) => Object.assign({ index: i }, d));
  // Where each object stands on the plan, worked out once.
  if (PLAN) {
    const finest = PLAN.levels[0];
    const place = (o, m) => { o.plan = planPointAt(finest, m); };
    for (const o of ROUTE.objects) place(o, o.at_m);
    for (const s of STATIONS) place(s, s.at_m);
    for (const d of DIAGNOSTICS) if (d.at_m !== null) place(d, d.at_m);
  }
}

// The plan levels as typed arrays: metre, x and y (metres) of each point.
function planOf(plan) {
  if (!plan) return null;
  const levels = plan.levels.map((lv) => {
    const n = lv.points.length / 3;
    const m = new Float64Array(n), x = new Float64Array(n), y = new Float64Array(n);
    for (let i = 0; i < n; i++) {
      m[i] = lv.points[3 * i];
      x[i] = lv.points[3 * i + 1] / 100;
      y[i] = lv.points[3 * i + 2] / 100;
    }
    return { tolerance: lv.tolerance_m, m, x, y, n };
  });
  const w = plan.windows;
  const windows = {
    kmStep: w.km_step_m, km: w.km,
    sizes: w.sizes.map((z) => ({ span: z.span_m, step: z.step_m, km_step: z.km_step_m, frames: Int32Array.from(z.frames) })),
  };
  return { levels, windows, lastM: plan.last_m, routeEndM: plan.route_end_m };
}

// The plan point at route metre m, between the level's points.
function planPointAt(level, m) {
  const mm = Math.min(Math.max(m, level.m[0]), level.m[level.n - 1]);
  const i = Math.max(0, Math.min(lastAtOrBefore(level.m, mm), level.n - 2));
  const span = level.m[i + 1] - level.m[i];
  const t = span > 0 ? (mm - level.m[i]) / span : 0;
  return { x: level.x[i] + t * (level.x[i + 1] - level.x[i]), y: level.y[i] + t * (level.y[i + 1] - level.y[i]) };
}

takeRoute(ROUTE);

// The objects of a sorted list that stand between from and to.
function inRange(list, from, to) {
  let lo = 0, hi = list.length;
  while (lo < hi) { const mid = (lo + hi) >> 1; if (list[mid].at_m < from) lo = mid + 1; else hi = mid; }
  const out = [];
  for (let i = lo; i < list.length && list[i].at_m <= to; i++) out.push(list[i]);
  return out;
}

// Where a place in a source file is, as "file:line".
function sourceText(src) {
  if (!src) return "";
  return src.file + (src.line ? ":" + src.line : "") + (src.column ? ":" + src.column : "");
}
