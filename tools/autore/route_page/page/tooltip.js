// What a mark is, in words: the box that hover or a tap opens, and the one
// a jump leaves open at the chainage it went to.

const LINE_FILE_LAYERS = new Set(["boards", "indicators", "mountains"]);
const TRAIN_FILE_LAYERS = new Set(["signals", "slowdowns", "stations"]);

function positionText(m) { return "a " + metresText(m) + " \u00b7 km " + kmText(officialKm(m)); }

function capitalised(s) { return s ? s.charAt(0).toUpperCase() + s.slice(1) : s; }

// The file a kind of object comes from, when the sources were named but the line is not known.
function fileOfLayer(layer) {
  if (!ROUTE.sources) return null;
  if (LINE_FILE_LAYERS.has(layer)) return ROUTE.sources.line_file;
  if (TRAIN_FILE_LAYERS.has(layer)) return ROUTE.sources.train_file;
  return null;
}

function stripWords(strip, m) {
  const run = { gradient: PROFILE.gradient, speed: PROFILE.speed, adhesion: PROFILE.adhesion, side: PROFILE.side }[strip].at(m);
  if (!run) return null;
  const stretch = "da " + metresText(run.from_m) + " a " + metresText(run.to_m);
  switch (strip) {
    case "gradient": return { title: "Pendenza " + (run.value > 0 ? "+" : "") + run.value + " \u2030", lines: [stretch] };
    case "speed": return { title: "Velocità massima " + run.value + " km/h", lines: [stretch] };
    case "adhesion": return { title: "Aderenza " + run.value, lines: [stretch] };
    default: return { title: run.value ? "Lato di montagna, codice " + run.value : "Nessun lato di montagna", lines: [stretch] };
  }
}

// Title, lines and source place of what a hit holds; m is the pointer's chainage.
function describe(item, m) {
  switch (item.type) {
    case "object": {
      const o = item.o;
      const file = o.source ? null : fileOfLayer(o.layer);
      return {
        title: capitalised(o.name), lines: [positionText(o.at_m), ...o.words],
        source: o.source ? sourceText(o.source) : file ? file + " (riga non nota)" : "",
      };
    }
    case "station": {
      const s = item.s;
      const lines = [positionText(s.at_m), ...s.words.slice(1)];
      if (s.passing) lines.push("orario calcolato " + s.passing);
      if (s.stop_m !== undefined) lines.push("fermata a " + metresText(s.stop_m));
      const file = s.source ? null : fileOfLayer("stations");
      return { title: "Stazione " + s.name, lines, source: s.source ? sourceText(s.source) : file ? file + " (riga non nota)" : "" };
    }
    case "slowdown": {
      const sd = item.sd;
      const lines = ["da " + metresText(sd.start_m) + " a " + metresText(sd.end_m) +
        " \u00b7 km " + kmText(officialKm(sd.start_m)) + " \u2013 " + kmText(officialKm(sd.end_m)),
        "velocità " + sd.speed_kmh + " km/h"];
      if (sd.second_speed_kmh) lines.push("seconda velocità " + sd.second_speed_kmh + " km/h");
      if (sd.warning_m !== undefined) lines.push("avviso a " + metresText(sd.warning_m));
      const file = sd.source ? null : fileOfLayer("slowdowns");
      return { title: "Rallentamento", lines, source: sd.source ? sourceText(sd.source) : file ? file + " (riga non nota)" : "" };
    }
    case "diagnostic": {
      const d = item.d;
      const lines = [d.message];
      if (d.at_m !== null) lines.unshift(positionText(d.at_m));
      return { title: (d.severity === "error" ? "Errore " : "Avvertenza ") + d.code, lines, source: sourceText(d.file ? d : null), severity: d.severity };
    }
    case "strip": return stripWords(item.strip, m) || { title: "", lines: [] };
    case "track": return { title: "Binario", lines: [positionText(item.m)] };
  }
  return { title: "", lines: [] };
}

// Everything that stands at a chainage (within `near` metres), for the box a jump opens.
function itemsAt(m, near, layers) {
  const items = [];
  for (const d of DIAGNOSTICS)
    if (layers.diagnostics && d.at_m !== null && Math.abs(d.at_m - m) <= near) items.push({ type: "diagnostic", d });
  for (const s of STATIONS)
    if (layers.stations && (Math.abs(s.at_m - m) <= near || (s.start_m <= m && m <= s.end_m))) items.push({ type: "station", s });
  for (const [layer] of LAYERS) {
    if (!layers[layer] || !OBJECTS[layer]) continue;
    for (const o of inRange(OBJECTS[layer], m - near, m + near)) items.push({ type: "object", o });
  }
  for (const sd of ROUTE.slowdowns)
    if (layers.slowdowns && sd.start_m <= m && m <= sd.end_m) items.push({ type: "slowdown", sd });
  return items;
}

function tipBlock(parent, d) {
  const block = document.createElement("div");
  block.className = "tip-item" + (d.severity ? " " + d.severity : "");
  const title = document.createElement("div");
  title.className = "tip-title";
  title.textContent = d.title;
  block.appendChild(title);
  for (const line of d.lines) {
    const el = document.createElement("div");
    el.textContent = line;
    block.appendChild(el);
  }
  if (d.source) {
    const el = document.createElement("div");
    el.className = "tip-source";
    el.textContent = "da " + d.source;
    block.appendChild(el);
  }
  parent.appendChild(block);
}

// Fills the box with the items (at most a few, then how many more) and places it by the point.
function showTip(tip, items, m, x, y, area, heading) {
  tip.replaceChildren();
  // A heading that only says again what the first item's title says is left out.
  if (heading && items.length > 0 && describe(items[0], m).title === heading) heading = null;
  if (heading) {
    const h = document.createElement("div");
    h.className = "tip-heading";
    h.textContent = heading;
    tip.appendChild(h);
  }
  const most = 6;
  for (const item of items.slice(0, most)) tipBlock(tip, describe(item, m));
  if (items.length > most) {
    const more = document.createElement("div");
    more.className = "tip-more";
    more.textContent = "e altri " + (items.length - most);
    tip.appendChild(more);
  }
  tip.hidden = false;
  const w = tip.offsetWidth, h = tip.offsetHeight;
  const left = x + 16 + w > area.w ? Math.max(0, x - 16 - w) : x + 16;
  const top = Math.min(Math.max(0, y + 12), Math.max(0, area.h - h));
  tip.style.left = left + "px";
  tip.style.top = top + "px";
}
