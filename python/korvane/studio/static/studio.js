// The studio's page: the running order, the section editor and the views. Every number shown comes
// from the server, which takes it from the library; the page only lays the numbers out. The plotted
// traces stay on the plot element (its `data`), so what is drawn can be read back.

const $ = (selector) => document.querySelector(selector);
const Plotly = window.Plotly;
const state = { project: null, views: null, section: null, view: "top", axis: "X" };

async function call(method, url, body) {
  const answer = await fetch(url, {
    method,
    headers: body ? { "Content-Type": "application/json" } : {},
    body: body ? JSON.stringify(body) : undefined,
  });
  const data = await answer.json();
  if (!answer.ok) throw new Error(data.error || `${answer.status} ${answer.statusText}`);
  return data;
}

function cell(row, text, className) {
  const td = row.insertCell();
  td.textContent = text;
  if (className) td.className = className;
  return td;
}

function element(tag, className, text) {
  const e = document.createElement(tag);
  if (className) e.className = className;
  if (text !== undefined) e.textContent = text;
  return e;
}

// -- the project ---------------------------------------------------------------------------------

function showProject(project) {
  state.project = project;
  $("#title").textContent = (project.file || "new exam") + (project.saved ? "" : " *");
  $("#machine").textContent = `machine: ${project.machine_file || project.machine}`;
  const body = $("#order tbody");
  body.replaceChildren();
  for (const s of project.sections) {
    const row = body.insertRow();
    row.dataset.index = s.index;
    row.className = (s.message || !s.computed ? "refused " : "") + (s.index === state.section ? "chosen" : "");
    cell(row, s.index, "swatch").style.borderLeftColor = s.colour;
    cell(row, s.kind);
    cell(row, s.name);
    cell(row, s.steps, "number");
    cell(row, s.duration.toFixed(2), "number");
    row.addEventListener("click", () => choose(s.index));
  }
  $("#summary").textContent =
    `${project.duration.toFixed(2)} s; continuity: ${project.continuous ? "yes" : "no"}; head check: ${project.head_check}`;
  const list = $("#messages");
  list.replaceChildren();
  for (const text of [...project.messages.map((m) => `section ${m.section} (${m.section_name}): ${m.text}`),
    ...project.notes]) {
    list.appendChild(element("li", "", text));
  }
  if (!list.children.length) list.appendChild(element("li", "", "no message"));
}

// -- the section editor --------------------------------------------------------------------------

function memberField(section, m) {
  const label = element("label");
  label.dataset.member = m.name;
  label.append(element("span", "name", m.label || m.name));
  const input = element("input");
  input.name = m.name;
  if (m.type === "flag") {
    input.type = "checkbox";
    input.checked = Boolean(m.value);
  } else {
    // A real shows the digits it was given, not its binary tail (1.27, not 1.26999998).
    input.value = m.type === "real" ? Number(Number(m.value).toPrecision(7)) : m.value;
  }
  label.append(input, element("span", "unit", m.unit), element("span", "range", `${m.name}: ${m.range}`));
  const reason = element("span", "reason");
  label.append(reason);
  input.addEventListener("change", () => applyMember(section, m, input, reason));
  input.addEventListener("keydown", (e) => { if (e.key === "Enter") { e.preventDefault(); input.blur(); } });
  return label;
}

// The value as its type travels; the library checks it (a number field holding letters is sent as
// written, and the refusal says why).
function typed(m, input) {
  if (m.type === "flag") return typeof m.value === "boolean" ? input.checked : Number(input.checked);
  if (m.type === "name") return input.value;
  const n = Number(input.value);
  return input.value.trim() === "" || Number.isNaN(n) ? input.value : n;
}

async function applyMember(section, m, input, reason) {
  try {
    const answer = await call("PATCH", `/api/sections/${section}`, { members: { [m.name]: typed(m, input) } });
    input.classList.remove("refused");
    reason.textContent = "";
    showProject(answer.project);
    showMembers(answer.section);
    await refreshViews();
    counted();
  } catch (e) {
    input.classList.add("refused");
    reason.textContent = e.message;
  }
}

function showMembers(section) {
  $("#editor-title").textContent = `Section ${section.index}: ${section.kind} "${section.name}"`;
  $("#members").replaceChildren(...section.members.map((m) => memberField(section.index, m)));
}

async function choose(index) {
  state.section = index;
  for (const row of document.querySelectorAll("#order tbody tr")) {
    row.classList.toggle("chosen", Number(row.dataset.index) === index);
  }
  await attempt(async () => showMembers(await call("GET", `/api/sections/${index}`)));
  drawView();
}

// -- the views -----------------------------------------------------------------------------------

const line = (x, y, name, colour, extra = {}) =>
  ({ x, y, name, type: "scatter", mode: "lines", line: { color: colour, width: 1.5 }, ...extra });

// Panels stacked over one shared x axis: [{title, traces, limits: [{y, checked, name}]}].
function stacked(panels, xTitle, bands = []) {
  const gap = 0.06;
  const height = (1 - gap * (panels.length - 1)) / panels.length;
  const layout = { margin: { l: 70, r: 20, t: 30, b: 45 }, hovermode: "closest", showlegend: true,
    legend: { orientation: "h", y: -0.08 }, shapes: [], annotations: [] };
  const traces = [];
  panels.forEach((p, i) => {
    const n = i === 0 ? "" : String(i + 1);
    const top = 1 - i * (height + gap);
    layout[`yaxis${n}`] = { title: { text: p.title }, domain: [top - height, top], zeroline: false, range: p.range };
    layout[`xaxis${n}`] = { anchor: `y${n}`, matches: i ? "x" : undefined, showticklabels: i === panels.length - 1,
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
  });
  return { traces, layout };
}

function topView(top) {
  const traces = [line(top.head_outline.x, top.head_outline.y, "head outline", "#aaa",
    { fill: "toself", fillcolor: "rgba(200,200,200,0.15)", meta: "head" })];
  const beams = Number($("#beams")?.value || 20);
  for (const s of top.sections) {
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
  }
  const layout = { margin: { l: 60, r: 20, t: 40, b: 40 }, hovermode: "closest", legend: { font: { size: 10 } },
    title: { text: `Top view: head check ${top.head_check}`, font: { size: 14 } },
    xaxis: { title: { text: "x, mm" } }, yaxis: { title: { text: "y, mm" }, scaleanchor: "x" } };
  return { traces, layout };
}

function axesView(axes) {
  const a = axes.axes[state.axis];
  const limits = (q) => {
    const value = a.limits[q];
    if (value === null) return [];
    const checked = a.checked.includes(q);
    const pair = Array.isArray(value) ? value : [-value, value];
    return pair.map((y, i) => ({ y, checked, name: Array.isArray(value) ? ["min", "max"][i] : i ? "max" : "-max" }));
  };
  const panel = (q, unit) => ({ title: `${state.axis} ${q}, ${unit}`,
    traces: [line(axes.time, a[q], `${state.axis} ${q}`, "#1f3b73", { meta: q })], limits: limits(q) });
  return stacked([panel("position", a.unit), panel("velocity", `${a.unit}/s`), panel("acceleration", `${a.unit}/s²`)],
    "time, s", axes.sections);
}

function panoramicOfChoice() {
  const pans = state.views?.panoramic || {};
  return pans[String(state.section)] ? [state.section, pans[String(state.section)]]
    : Object.entries(pans).map(([k, v]) => [Number(k), v])[0] || [null, null];
}

const GEOMETRY = [["GraficoRotaz", "beam angle, deg"], ["GraficoDistors", "distortion, deg"],
  ["GraficoDerivata", "derivative, deg/mm"], ["GraficoRProiez", "projection radius, mm"], ["GraficoIngrY", "magnification"]];

function geometryView(pan) {
  const index = pan.geometry.GraficoRotaz.map((_, i) => i);
  return stacked(GEOMETRY.map(([member, title]) => ({ title,
    traces: [line(index, pan.geometry[member], member, member === pan.tuned ? "#c05000" : "#1f3b73", { meta: member })] })),
  "arch point");
}

// A flat graph keeps a readable scale instead of magnifying its last digits.
function flatRange(values) {
  const low = Math.min(...values), high = Math.max(...values);
  return high - low < 1e-6 * Math.max(1, Math.abs(high)) ? [low - 1, high + 1] : undefined;
}

function tuningView(pan) {
  return stacked(Object.entries(pan.tuning).map(([name, t]) => ({ title: `${name} tuning`,
    range: flatRange([...t.graph, ...t.points.y]), traces: [
    line(t.graph.map((_, i) => i), t.graph, `${name} graph`, "#1f3b73", { meta: `${name} graph` }),
    { x: t.points.x, y: t.points.y, name: `${name} points`, type: "scatter", mode: "markers",
      marker: { size: 8, color: "#c05000" }, meta: `${name} points` }] })), "arch point");
}

function drawView() {
  const plot = $("#plot");
  $("#axis-choice").hidden = state.view !== "axes";
  $("#beam-choice").hidden = state.view !== "top";
  if (!Plotly) {
    $("#no-view").textContent = "The views need the charting library: run `npm ci` in the project folder and reload.";
    return;
  }
  if (!state.views) {
    Plotly.purge(plot);
    $("#no-view").textContent = state.project ? "Nothing to draw: no section has steps." : "Make a new exam or open one.";
    return;
  }
  let figure;
  if (state.view === "top") figure = topView(state.views.top);
  else if (state.view === "axes") figure = axesView(state.views.axes);
  else {
    const [index, pan] = panoramicOfChoice();
    if (!pan) {
      Plotly.purge(plot);
      $("#no-view").textContent = "This exam has no panoramic section.";
      return;
    }
    figure = state.view === "geometry" ? geometryView(pan) : tuningView(pan);
    figure.layout.title = { text: `Section ${index}: panoramic ${state.view}`, font: { size: 14 } };
  }
  $("#no-view").textContent = "";
  plot.dataset.view = state.view;
  Plotly.react(plot, figure.traces, figure.layout, { displaylogo: false, responsive: true });
}

async function refreshViews() {
  try {
    state.views = await call("GET", "/api/views");
  } catch (e) {
    state.views = null;
    $("#no-view").textContent = e.message;
  }
  drawView();
}

function exportView(format) {
  if (Plotly && state.views) Plotly.downloadImage($("#plot"), { format, filename: `korvane-${state.view}`, width: 1400, height: 900 });
}

// -- commands ------------------------------------------------------------------------------------

async function attempt(work) {
  $("#error").textContent = "";
  $("#written").textContent = "";
  try {
    await work();
  } catch (e) {
    $("#error").textContent = e.message;
  }
}

async function load(project) {
  showProject(project);
  const chosen = project.sections.find((s) => s.index === state.section);
  state.section = chosen ? chosen.index : (project.sections.find((s) => !s.junction) || project.sections[0])?.index;
  if (state.section !== undefined) showMembers(await call("GET", `/api/sections/${state.section}`));
  showProject(project);
  await refreshViews();
  counted();
}

// How many times the page has shown an exam whole (after a load or an edit): a script driving the
// page waits on it.
function counted() {
  document.body.dataset.shown = Number(document.body.dataset.shown || 0) + 1;
}

// A new exam has no file yet: the first save asks for its name in the workspace.
async function save(url) {
  let path = null;
  if (!state.project?.file) {
    path = prompt("Save as (a .trg inside the workspace)", "exam.trg");
    if (!path) return;
  }
  await attempt(async () => {
    const answer = await call("POST", url, path ? { path } : {});
    showProject(answer.project);
    $("#written").textContent = `Written: ${answer.written.join(", ")}`;
  });
}

function fill(select, values) {
  for (const v of values) select.appendChild(new Option(v, v));
}

async function start() {
  const { files, examples, section_kinds: kinds } = await call("GET", "/api/files");
  fill($("#new"), examples);
  fill($("#add"), kinds);
  fill($("#open"), files);
  // The choice goes back to "…" so the same kind can be chosen again for a fresh exam.
  $("#new").addEventListener("change", (e) => e.target.value && attempt(async () => {
    const kind = e.target.value;
    e.target.value = "";
    state.section = undefined;
    await load(await call("POST", "/api/exam/new", { kind }));
  }));
  $("#open").addEventListener("change", (e) => e.target.value && attempt(async () => {
    state.section = undefined;
    await load(await call("POST", "/api/exam/open", { path: e.target.value }));
  }));
  // A new section goes after the selected one (at the end when none is), and is selected.
  $("#add").addEventListener("change", (e) => e.target.value && attempt(async () => {
    const kind = e.target.value;
    e.target.value = "";
    const index = state.section === undefined ? state.project?.sections.length ?? 0 : state.section + 1;
    const project = await call("POST", "/api/sections", { index, kind });
    state.section = index;
    await load(project);
  }));
  $("#remove").addEventListener("click", () => attempt(async () => {
    if (state.section === undefined) throw new Error("select a section to remove");
    const project = await call("DELETE", `/api/sections/${state.section}`);
    state.section = Math.min(state.section, project.sections.length - 1);
    await load(project);
  }));
  $("#save").addEventListener("click", () => save("/api/save"));
  $("#outputs").addEventListener("click", () => save("/api/outputs"));
  $("#png").addEventListener("click", () => exportView("png"));
  $("#svg").addEventListener("click", () => exportView("svg"));
  for (const tab of document.querySelectorAll("#tabs [data-view]")) {
    tab.addEventListener("click", () => {
      state.view = tab.dataset.view;
      for (const t of document.querySelectorAll("#tabs [data-view]")) t.classList.toggle("chosen", t === tab);
      drawView();
    });
  }
  const axes = $("#axis-choice");
  axes.append("axis ");
  for (const name of "XYRHC") {
    const b = element("button", name === state.axis ? "chosen" : "", name);
    b.type = "button";
    b.dataset.axis = name;
    b.addEventListener("click", () => {
      state.axis = name;
      for (const o of axes.querySelectorAll("button")) o.classList.toggle("chosen", o === b);
      drawView();
    });
    axes.append(b);
  }
  const beams = element("input");
  Object.assign(beams, { id: "beams", type: "number", min: 1, value: 20, title: "a beam every N steps" });
  beams.style.width = "4em";
  beams.addEventListener("change", drawView);
  const beamChoice = element("span");
  beamChoice.id = "beam-choice";
  beamChoice.append("beams every ", beams, " steps");
  $("#tabs .spacer").before(beamChoice);
  try {
    await load(await call("GET", "/api/exam"));
  } catch (e) {
    $("#error").textContent = e.message;
    drawView();
  }
}

start().catch((e) => { $("#error").textContent = e.message; });
