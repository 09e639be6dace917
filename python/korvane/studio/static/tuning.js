// Tuning points as handles on the tuning view: drag one (x snapped to whole arch points, kept between
// its neighbours), double-click adds one, right-click or Delete removes the chosen one. While a point
// moves, one request is in flight at a time and the newest position waits for it: the exam follows
// the pointer as fast as the server answers, and the last position is always computed.

const REACH = 12; // pixels around a handle that take the pointer

// The graph the view draws in panel `n` (0, 1, 2) and Plotly's axes of that panel.
function axesOf(plot, n) {
  const suffix = n ? String(n + 1) : "";
  const full = plot._fullLayout;
  return full && { x: full[`xaxis${suffix}`], y: full[`yaxis${suffix}`] };
}

const pointsOf = (t) => t.points.x.map((x, k) => [x, t.points.y[k]]);

// A step for y that keeps about three digits of the graph's span, so values stay readable.
function yStep(axis) {
  const span = Math.abs(axis.range[1] - axis.range[0]) || 1;
  return 10 ** (Math.floor(Math.log10(span)) - 2);
}

export class Tuning {
  // `studio`: {plot, pan() -> [index, pan] | [null, null], send(index, graph, points, dragId) -> Promise,
  // draw() (the views, with handle() over them), active() -> bool}.
  constructor(studio) {
    this.studio = studio;
    this.drag = null;      // the point being dragged: {graph, point, x, y, id, ...}
    this.chosen = null;    // the point last clicked: {graph, point}
    this.refusal = null;   // the last refused position, drawn at its point until the next change
    this.timings = [];     // ms from a pointer move to the views redrawn with its position
    this.frames = [];      // when each of those redraws ended (performance.now())
    this.drags = 0;
    const plot = studio.plot;
    plot.addEventListener("pointerdown", (e) => this.down(e), true);
    plot.addEventListener("mousedown", (e) => { if (this.drag) e.stopPropagation(); }, true);
    plot.addEventListener("dblclick", (e) => this.add(e), true);
    plot.addEventListener("contextmenu", (e) => this.menu(e), true);
    window.addEventListener("pointermove", (e) => this.move(e));
    window.addEventListener("pointerup", () => this.up());
  }

  handle() {
    return this.drag || this.refusal;
  }

  // The panel and handle under a pointer event: {n, graph, t, axes, point (or -1), x, y}.
  at(e) {
    const [, pan] = this.studio.pan();
    if (!pan || !this.studio.active()) return null;
    const box = this.studio.plot.getBoundingClientRect();
    const px = e.clientX - box.left, py = e.clientY - box.top;
    const names = Object.keys(pan.tuning);
    for (let n = 0; n < names.length; n++) {
      const axes = axesOf(this.studio.plot, n);
      if (!axes?.x || !axes?.y) continue;
      const { x: xa, y: ya } = axes;
      if (py < ya._offset || py > ya._offset + ya._length || px < xa._offset || px > xa._offset + xa._length) continue;
      const t = pan.tuning[names[n]];
      let point = -1;
      t.points.x.forEach((x, k) => {
        const dx = xa._offset + xa.l2p(x) - px, dy = ya._offset + ya.l2p(t.points.y[k]) - py;
        if (Math.hypot(dx, dy) <= REACH) point = k;
      });
      return { n, graph: names[n], t, axes, point, x: xa.p2l(px - xa._offset), y: ya.p2l(py - ya._offset) };
    }
    return null;
  }

  down(e) {
    if (e.button !== 0) return;
    const hit = this.at(e);
    if (!hit || hit.point < 0) return;
    e.preventDefault();
    e.stopPropagation();
    this.chosen = { graph: hit.graph, point: hit.point };
    this.refusal = null;
    const [index] = this.studio.pan();
    this.drag = { index, graph: hit.graph, point: hit.point, axes: hit.axes, points: pointsOf(hit.t),
      last: hit.t.graph.length - 1, x: hit.t.points.x[hit.point], y: hit.t.points.y[hit.point],
      id: `drag-${Date.now()}-${++this.drags}`, waiting: false, drawing: 0, pending: null, released: false };
    this.studio.draw();
  }

  move(e) {
    const d = this.drag;
    if (!d || d.released) return;
    const box = this.studio.plot.getBoundingClientRect();
    const { x: xa, y: ya } = d.axes;
    const low = d.point > 0 ? d.points[d.point - 1][0] + 1 : 0;
    const high = d.point < d.points.length - 1 ? d.points[d.point + 1][0] - 1 : d.last;
    const x = Math.min(high, Math.max(low, Math.round(xa.p2l(e.clientX - box.left - xa._offset))));
    const step = yStep(ya);
    const y = Number((Math.round(ya.p2l(e.clientY - box.top - ya._offset) / step) * step).toPrecision(12));
    if (x === d.x && y === d.y) return;
    d.x = x, d.y = y;
    // The views are drawn again when the answer comes (the handle with them): drawing on every move
    // as well would only slow the answers down.
    d.pending = d.pending ?? performance.now();
    this.pump();
  }

  up() {
    if (!this.drag) return;
    this.drag.released = true;
    this.pump();
  }

  // Sends the newest position when nothing is in flight; ends the drag once the last one is answered.
  // An answer's drawing overlaps the next position's request.
  async pump() {
    const d = this.drag;
    if (!d || d.waiting) return;
    if (d.pending === null) {
      if (d.released && d.drawing === 0) this.settle(d);
      return;
    }
    const movedAt = d.pending;
    d.pending = null;
    d.waiting = true;
    const [x, y] = [d.x, d.y];
    const points = d.points.map((p, k) => (k === d.point ? [x, y] : p));
    let draw = null;
    try {
      draw = await this.studio.send(d.index, d.graph, points, d.id);
      d.refused = null;
      d.good = [x, y];
    } catch (error) {
      d.refused = error.message;
      this.studio.refused(error);
    }
    d.waiting = false;
    d.drawing += 1;  // answers' drawings may overlap: the drag ends after the last one
    this.pump();
    if (draw) await draw();
    d.drawing -= 1;
    this.frames.push(performance.now());
    this.timings.push(this.frames.at(-1) - movedAt);
    this.pump();
  }

  settle(d) {
    this.drag = null;
    // A refused last position leaves the point where the exam has it, with the library's reason.
    if (d.refused) {
      const [x, y] = d.good || d.points[d.point];
      this.refusal = { graph: d.graph, point: d.point, x, y, refused: d.refused };
    }
    this.studio.draw();
    document.body.dataset.drags = Number(document.body.dataset.drags || 0) + 1;
  }

  async add(e) {
    const hit = this.at(e);
    if (!hit || hit.point >= 0) return;
    e.stopPropagation();
    const x = Math.round(hit.x);
    const points = pointsOf(hit.t);
    if (points.some(([px]) => px === x)) return;
    const step = yStep(hit.axes.y);
    points.push([x, Number((Math.round(hit.y / step) * step).toPrecision(12))]);
    points.sort((a, b) => a[0] - b[0]);
    await this.change(hit.graph, points);
  }

  menu(e) {
    const hit = this.at(e);
    if (!hit || hit.point < 0) return;
    e.preventDefault();
    this.chosen = { graph: hit.graph, point: hit.point };
    this.remove();
  }

  // Takes the chosen point out (Delete, Backspace or right-click); false when none is chosen.
  remove() {
    const [, pan] = this.studio.pan();
    if (!this.chosen || !pan) return false;
    const points = pointsOf(pan.tuning[this.chosen.graph]).filter((_, k) => k !== this.chosen.point);
    const graph = this.chosen.graph;
    this.chosen = null;
    this.change(graph, points);
    return true;
  }

  async change(graph, points) {
    const [index] = this.studio.pan();
    this.refusal = null;
    try {
      await (await this.studio.send(index, graph, points, null))();
    } catch (error) {
      this.studio.refused(error);
    }
  }
}
