// Labels that never cover each other: each frame, labels are offered in order
// of priority, and one that would touch a label already placed (or a place
// kept free) tries its other positions and is dropped when none is free.

class LabelPlacer {
  constructor(gap) {
    this.gap = gap;
    this.boxes = [];    // placed labels and kept places
    this.placed = [];   // the labels drawn, for the page's state
  }
  free(r) {
    const g = this.gap;
    for (const b of this.boxes) {
      if (r.x < b.x + b.w + g && b.x < r.x + r.w + g && r.y < b.y + b.h + g && b.y < r.y + r.h + g) return false;
    }
    return true;
  }
  // Keeps a place free of labels (a mark, the north arrow).
  keep(r) { this.boxes.push(r); }
  // Takes the first of the candidate boxes that is free; returns it or null.
  place(text, candidates, panel) {
    for (const c of candidates) {
      const inside = !c.within || (c.x >= c.within.x && c.y >= c.within.y &&
        c.x + c.w <= c.within.x + c.within.w && c.y + c.h <= c.within.y + c.within.h);
      if (inside && this.free(c) && (!c.also || this.free(c.also))) {
        this.boxes.push(c);
        if (c.also) this.boxes.push(c.also);
        this.placed.push({ text, panel, x: c.x, y: c.y, w: c.w, h: c.h });
        return c;
      }
    }
    return null;
  }
}

// Text widths, measured once per font.
const widthCache = new Map();
function textWidth(ctx, text) {
  const key = ctx.font + "\u0000" + text;
  let w = widthCache.get(key);
  if (w === undefined) {
    w = ctx.measureText(text).width;
    if (widthCache.size > 20000) widthCache.clear();
    widthCache.set(key, w);
  }
  return w;
}

// A round step (1, 2 or 5 times a power of ten) giving about `wanted` steps over span.
function niceStep(span, wanted) {
  if (!(span > 0) || wanted < 1) return 1;
  const raw = span / wanted;
  const power = Math.pow(10, Math.floor(Math.log10(raw)));
  for (const f of [1, 2, 5, 10]) if (raw <= f * power) return f * power;
  return 10 * power;
}
