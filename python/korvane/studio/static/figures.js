// The views as Plotly figures, from the server's view data. Every number comes from the server; this
// module only lays them out. Each trace carries its role in `meta`, so what is drawn can be read back.
// A pinned reference is drawn first, faint and grey, under the exam it is compared with.

const FAINT = { color: "#9aa", width: 3 };
const line = (x, y, name, colour, extra = {}) =>
  ({ x, y, name, type: "scatter", mode: "lines", line: { color: colour, width: 1.5 }, ...extra });
const faint = (x, y, name, meta) =>
  line(x, y, name, FAINT.color, { line: FAINT, opacity: 0.45, meta, legendgroup: "reference", hoverinfo: "skip" });
const PLACE = "#d00";

// Panels stacked over one shared x axis: [{title, traces, limits: [{y, checked, name}], range}].
// Every axis is declared linear: left to guess, the charting library scans all the data for dates.
// `marks` are vertical lines over every panel: [{x, text}] (a message's step or arch point).
export function stacked(panels, xTitle, bands = [], marks = []) {
  const gap = 0.06;
  const height = (1 - gap * (panels.length - 1)) / panels.length;
  const layout = { margin: { l: 70, r: 20, t: 30, b: 45 }, hovermode: "closest", showlegend: true,
    legend: { orientation: "h", y: -0.08 }, shapes: [], annotations: [] };
  const traces = [];
  panels.forEach((p, i) => {
    const n = i === 0 ? "" : String(i + 1);
    const top = 1 - i * (height + gap);
    layout[`yaxis${n}`] = { type: "linear", title: { text: p.title }, domain: [top - height, top], zeroline: false, range: p.range };
    layout[`xaxis${n}`] = { type: "linear", anchor: `y${n}`, matches: i ? "x" : undefined, showticklabels: i === panels.length - 1,
      title: i === panels.length - 1 ? { text: xTitle } : undefined };
    for (const t of p.traces) traces.push({ ...t, xaxis: `x${n}`, yaxis: `y${n}` });
    for (const limit of p.limits || []) {
      layout.shapes.push({ type: "line", xref: `x${n} domain`, yref: `y${n}`, x0: 0, x1: 1, y0: limit.y, y1: limit.y,
        line: { color: limit.checked ? "#c00" : "#999", dash: limit.checked ? "dash" : "dot", width: 1 } });
      layout.annotations.push({ xref: `x${n} domain`, yref: `y${n}`, x: 1, y: limit.y, xanchor: "right",
        yanchor: "bottom", showarrow: false, font: { size: 10, color: limit.checked ? "#c00" : "#888" },
        text: `${limit.name} ${limit.y}${limit.checked ? "" : " (not checked)"}` });
    }
    for (const b of bands) {
      layout.shapes.push({ type: "rect", xref: `x${n}`, yref: `y${n} domain`, x0: b.start, x1: b.end, y0: 0, y1: 1,
        fillcolor: b.colour, opacity: 0.07, line: { width: 0 }, layer: "below" });
    }
    for (const m of marks) {
      layout.shapes.push({ type: "line", xref: `x${n}`, yref: `y${n} domain`, x0: m.x, x1: m.x, y0: 0, y1: 1,
        line: { color: PLACE, width: 1.5 }, name: "message" });
      if (i === 0) {
        layout.annotations.push({ xref: `x${n}`, yref: `y${n} domain`, x: m.x, y: 1, yanchor: "bottom",
          showarrow: false, font: { size: 11, color: PLACE }, text: m.text, name: "message" });
      }
    }
  });
  return { traces, layout };
}

// The section a message or a refusal names, with what kind of place its number is: for a panoramic
// section the number the library gives is an arch-curve point, for the others a time step.
export function places(project, views, refusal) {
  const found = [];
  const dt = views.axes.time.length > 1 ? views.axes.time[1] - views.axes.time[0] : 0;
  const put = (sectionIndex, number, text, archPoint) => {
    const section = project.sections.find((s) => s.index === sectionIndex);
    if (!section || number === null || number === undefined) return;
    const position = project.sections.filter((s) => s.computed && s.steps).findIndex((s) => s.index === sectionIndex);
    const band = views.axes.sections[position];
    const arch = archPoint ?? (section.kind === "panoramic" ? number : null);
    found.push({ section: sectionIndex, sectionPosition: position, text, arch, step: arch === null ? number : null,
      time: arch === null && band ? band.start + number * dt : null });
  };
  for (const m of project.messages) put(m.section, m.step, m.text);
  if (refusal?.where?.section !== undefined) {
    const w = refusal.where;
    put(w.section, w.arch_point ?? w.step, refusal.text, w.arch_point);
  }
  return found;
}

export function topView(top, reference, marks, beams) {
  const traces = [line(top.head_outline.x, top.head_outline.y, "head outline", "#aaa",
    { fill: "toself", fillcolor: "rgba(200,200,200,0.15)", meta: "head" })];
  for (const s of reference?.top.sections || []) {
    traces.push(faint(s.centre.x, s.centre.y, `reference ${s.label} rotation centre`, "reference centre"));
  }
  top.sections.forEach((s, n) => {
    const group = { legendgroup: s.label };
    if (s.arch) traces.push(line(s.arch.x, s.arch.y, `${s.label} arch`, "#333", { ...group, meta: "arch" }));
    traces.push(line(s.centre.x, s.centre.y, `${s.label} rotation centre`, s.colour,
      { ...group, line: { color: s.colour, width: 2.5 }, meta: "centre" }));
    traces.push(line(s.tube.x, s.tube.y, `${s.label} tube`, s.colour, { ...group, line: { color: s.colour, dash: "dash", width: 1 }, meta: "tube" }));
    traces.push(line(s.sensor.x, s.sensor.y, `${s.label} sensor`, s.colour, { ...group, line: { color: s.colour, dash: "dot", width: 1 }, meta: "sensor" }));
    // A beam every `beams` steps: the server's tube and sensor points, joined.
    const bx = [], by = [];
    for (let i = 0; i < s.tube.x.length; i += beams) bx.push(s.tube.x[i], s.sensor.x[i], null), by.push(s.tube.y[i], s.sensor.y[i], null);
    traces.push(line(bx, by, `${s.label} beams`, s.colour, { ...group, opacity: 0.35, line: { color: s.colour, width: 0.7 }, meta: "beams", showlegend: false }));
    // A message's place: the rotation centre at its step, or the arch point it names.
    const here = marks.filter((m) => m.sectionPosition === n);
    const mx = here.map((m) => (m.arch !== null && s.arch ? s.arch.x[m.arch] : s.centre.x[m.step]));
    const my = here.map((m) => (m.arch !== null && s.arch ? s.arch.y[m.arch] : s.centre.y[m.step]));
    if (here.length) {
      traces.push({ x: mx, y: my, name: "message", type: "scatter", mode: "markers+text", meta: "message",
        text: here.map((m) => m.text), textposition: "top center", textfont: { color: PLACE, size: 11 },
        marker: { color: PLACE, size: 11, symbol: "x" } });
    }
  });
  const layout = { margin: { l: 60, r: 20, t: 40, b: 40 }, hovermode: "closest", legend: { font: { size: 10 } },
    title: { text: `Top view: head check ${top.head_check}`, font: { size: 14 } },
    xaxis: { type: "linear", title: { text: "x, mm" } }, yaxis: { type: "linear", title: { text: "y, mm" }, scaleanchor: "x" } };
  return { traces, layout };
}

export function axesView(axes, reference, axis, marks) {
  const a = axes.axes[axis];
  const before = reference?.axes;
  const limits = (q) => {
    const value = a.limits[q];
    if (value === null) return [];
    const checked = a.checked.includes(q);
    const pair = Array.isArray(value) ? value : [-value, value];
    return pair.map((y, i) => ({ y, checked, name: Array.isArray(value) ? ["min", "max"][i] : i ? "max" : "-max" }));
  };
  const panel = (q, unit) => ({ title: `${axis} ${q}, ${unit}`, limits: limits(q), traces: [
    ...(before ? [faint(before.time, before.axes[axis][q], `reference ${axis} ${q}`, `reference ${q}`)] : []),
    line(axes.time, a[q], `${axis} ${q}`, "#1f3b73", { meta: q })] });
  const onTime = marks.filter((m) => m.time !== null).map((m) => ({ x: m.time, text: m.text }));
  return stacked([panel("position", a.unit), panel("velocity", `${a.unit}/s`), panel("acceleration", `${a.unit}/s²`)],
    "time, s", axes.sections, onTime);
}

export const GEOMETRY = [["GraficoRotaz", "beam angle, deg"], ["GraficoDistors", "distortion, deg"],
  ["GraficoDerivata", "derivative, deg/mm"], ["GraficoRProiez", "projection radius, mm"], ["GraficoIngrY", "magnification"]];

const indices = (values) => values.map((_, i) => i);
const archMarks = (marks, index) => marks.filter((m) => m.section === index && m.arch !== null)
  .map((m) => ({ x: m.arch, text: m.text }));

export function geometryView(pan, reference, index, marks) {
  return stacked(GEOMETRY.map(([member, title]) => ({ title, traces: [
    ...(reference ? [faint(indices(reference.geometry[member]), reference.geometry[member], `reference ${member}`, `reference ${member}`)] : []),
    line(indices(pan.geometry[member]), pan.geometry[member], member, member === pan.tuned ? "#c05000" : "#1f3b73", { meta: member })] })),
  "arch point", [], archMarks(marks, index));
}

// A flat graph keeps a readable scale instead of magnifying its last digits.
function flatRange(values) {
  const low = Math.min(...values), high = Math.max(...values);
  return high - low < 1e-6 * Math.max(1, Math.abs(high)) ? [low - 1, high + 1] : undefined;
}

// The tuning graphs with their points as handles; `drag` is the point being dragged with where the
// pointer holds it ({graph, point, x, y, refused}), drawn over the graph the server last computed.
export function tuningView(pan, reference, index, marks, drag, chosen) {
  const panels = Object.entries(pan.tuning).map(([name, t]) => {
    const x = [...t.points.x], y = [...t.points.y];
    const colours = x.map((_, k) => (chosen?.graph === name && chosen.point === k ? "#1f3b73" : "#c05000"));
    if (drag?.graph === name) x[drag.point] = drag.x, y[drag.point] = drag.y, colours[drag.point] = drag.refused ? PLACE : "#1f3b73";
    return { title: `${name} tuning`, range: flatRange([...t.graph, ...t.points.y]), traces: [
      ...(reference ? [faint(indices(reference.tuning[name].graph), reference.tuning[name].graph, `reference ${name} graph`, `reference ${name} graph`)] : []),
      line(indices(t.graph), t.graph, `${name} graph`, "#1f3b73", { meta: `${name} graph` }),
      { x, y, name: `${name} points`, type: "scatter", mode: "markers", meta: `${name} points`,
        marker: { size: 11, color: colours, line: { color: "#fff", width: 1 } } }] };
  });
  const figure = stacked(panels, "arch point (drag a point; double-click adds one; Delete or right-click removes it)",
    [], archMarks(marks, index));
  figure.layout.dragmode = false;
  if (drag?.refused) {
    const n = Object.keys(pan.tuning).indexOf(drag.graph);
    const axis = n ? String(n + 1) : "";
    figure.layout.annotations.push({ xref: `x${axis}`, yref: `y${axis}`, x: drag.x, y: drag.y, ax: 0, ay: -40,
      showarrow: true, arrowcolor: PLACE, font: { color: PLACE, size: 11 }, bgcolor: "#fff", text: drag.refused,
      name: "refusal" });
  }
  return figure;
}
