// The studio's page: the running order, the section editor, the views, undo and redo, the pinned
// reference. Every number shown comes from the server, which takes it from the library; every edit
// answers with the whole new state (project, every view's data, history, comparison), so the page
// never shows half an exam.

import { axesView, geometryView, places, topView, tuningView } from "./figures.js";
import { Tuning } from "./tuning.js";

const $ = (selector) => document.querySelector(selector);
const Plotly = window.Plotly;
const state = { project: null, views: null, history: null, comparison: null, reference: null, members: {},
  section: undefined, view: "top", axis: "X", refusal: null };
let tuning = null;

async function call(method, url, body) {
  const answer = await fetch(url, {
    method,
    headers: body ? { "Content-Type": "application/json" } : {},
    body: body ? JSON.stringify(body) : undefined,
  });
  const data = await answer.json();
  if (!answer.ok) {
    const error = new Error(data.error || `${answer.status} ${answer.statusText}`);
    error.where = data.where;
    throw error;
  }
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

const fixed = (v, digits) => (v === null || v === undefined ? "—" : Number(v).toFixed(digits));

// -- the whole state -----------------------------------------------------------------------------

// Shows a state the server answered with; resolves once every part of the page shows it.
async function apply(answer) {
  Object.assign(state, { project: answer.project, views: answer.views, history: answer.history,
    comparison: answer.comparison, members: {}, refusal: null });
  // A refused drag's reason stays at its point until the exam changes again.
  if (tuning && !tuning.drag) tuning.refusal = null;
  if (answer.section) state.members[answer.section.index] = answer.section;
  const sections = state.project.sections;
  if (!sections.some((s) => s.index === state.section)) {
    state.section = (sections.find((s) => !s.junction) || sections[0])?.index;
  }
  showProject();
  showHistory();
  showComparison();
  $("#error").textContent = "";
  await Promise.all([showEditor(), drawView()]);
  document.body.dataset.shown = Number(document.body.dataset.shown || 0) + 1;
}

// A refusal: the reason on the page, at its place where the library names one; the exam unchanged.
function refused(error) {
  state.refusal = { text: error.message, where: error.where };
  $("#error").textContent = error.message;
  drawView();
}

async function attempt(work) {
  $("#error").textContent = "";
  $("#written").textContent = "";
  try {
    await work();
  } catch (e) {
    refused(e);
  }
}

async function members(index) {
  if (index === undefined || index === null) return null;
  if (!state.members[index]) state.members[index] = await call("GET", `/api/sections/${index}`);
  return state.members[index];
}

// -- the project ---------------------------------------------------------------------------------

function showProject() {
  const project = state.project;
  const name = project.file || "new exam";
  $("#title").textContent = name + (project.saved ? "" : " *");
  document.title = `${project.saved ? "" : "* "}${name} — Korvane Studio`;
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
  for (const m of project.messages) {
    const item = element("li", "place", `section ${m.section} (${m.section_name}): ${m.text}`);
    item.title = "show where";
    // A panoramic message names an arch point (geometry); the others a time step (axes).
    const kind = project.sections.find((s) => s.index === m.section)?.kind;
    item.addEventListener("click", () => show(kind === "panoramic" ? "geometry" : "axes"));
    list.appendChild(item);
  }
  // The notes are what the library said while computing; a limit message is among them again.
  const listed = new Set(Array.from(list.children, (item) => item.textContent));
  for (const text of project.notes.filter((n) => !listed.has(n))) list.appendChild(element("li", "", text));
  if (!list.children.length) list.appendChild(element("li", "", "no message"));
}

function showHistory() {
  const h = state.history || {};
  for (const [id, what] of [["undo", h.undo], ["redo", h.redo]]) {
    const b = $(`#${id}`);
    b.disabled = !what;
    b.title = what ? `${id === "undo" ? "Undo" : "Redo"}: ${what} (${id === "undo" ? h.undo_steps : h.redo_steps})` : `nothing to ${id}`;
  }
}

function showComparison() {
  const c = state.comparison;
  $("#pin").textContent = state.reference ? "Unpin the reference" : "Pin as reference";
  $("#comparison").hidden = !c;
  if (!c) return;
  $("#reference-label").textContent = `reference: ${c.label}`;
  const body = $("#comparison tbody");
  body.replaceChildren();
  const over = (v, limit) => (limit !== null && v > limit ? "over" : "");
  for (const a of c.axes) {
    const row = body.insertRow();
    row.dataset.axis = a.axis;
    cell(row, a.axis).title = `|v| in ${a.unit}/s, |a| in ${a.unit}/s²`;
    // Each figure keeps the library's number whole in data-value; the cell shows it rounded.
    const figure = (v, digits, limit) => { cell(row, fixed(v, digits), `number ${over(v, limit)}`).dataset.value = v; };
    figure(a.velocity[0], 2, a.limits[0]);
    figure(a.velocity[1], 2, a.limits[0]);
    figure(a.acceleration[0], 1, a.limits[1]);
    figure(a.acceleration[1], 1, a.limits[1]);
  }
  const row = body.insertRow();
  row.dataset.axis = "head";
  cell(row, "head check");
  const before = cell(row, c.head_check[0]);
  before.colSpan = 2;
  const after = cell(row, c.head_check[1]);
  after.colSpan = 3;
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
    await apply(await call("PATCH", `/api/sections/${section}`, { members: { [m.name]: typed(m, input) } }));
  } catch (e) {
    input.classList.add("refused");
    reason.textContent = e.message;
  }
}

// Fills a form with a section's member fields, unless it already shows these very values (a drag
// step changes no member: the fields and what is typed in them stay).
function fillForm(form, index, list) {
  const key = JSON.stringify([index, list]);
  if (form.dataset.shows === key) return;
  form.dataset.shows = key;
  form.replaceChildren(...list.map((m) => memberField(index, m)));
}

async function showEditor() {
  const section = await members(state.section);
  $("#editor-title").textContent = section ? `Section ${section.index}: ${section.kind} "${section.name}"` : "Section";
  fillForm($("#members"), section?.index, section?.members || []);
}

async function choose(index) {
  state.section = index;
  for (const row of document.querySelectorAll("#order tbody tr")) {
    row.classList.toggle("chosen", Number(row.dataset.index) === index);
  }
  await attempt(async () => Promise.all([showEditor(), drawView()]));
}

// -- the views -----------------------------------------------------------------------------------

// The panoramic section the geometry and tuning views show: the chosen one, else the first.
function panoramic() {
  const pans = state.views?.panoramic || {};
  if (pans[String(state.section)]) return [state.section, pans[String(state.section)]];
  const first = Object.keys(pans)[0];
  return first === undefined ? [null, null] : [Number(first), pans[first]];
}

// Beside the tuning graphs: the members that shape them besides their points.
const TUNING_MEMBERS = ["SensibilitaSpline", "SensibSplineKV", "OffsetGraficoKV", "SensibSplineShift"];

async function showTuningFields(index) {
  const bar = $("#tuning-fields");
  bar.hidden = state.view !== "tuning" || index === null;
  if (bar.hidden) return;
  const section = await members(index);
  fillForm(bar, index, section.members.filter((m) => TUNING_MEMBERS.includes(m.name)));
}

function drawView() {
  const plot = $("#plot");
  $("#axis-choice").hidden = state.view !== "axes";
  $("#beam-choice").hidden = state.view !== "top";
  if (!Plotly) {
    $("#no-view").textContent = "The views need the charting library: run `npm ci` in the project folder and reload.";
    return Promise.resolve();
  }
  if (!state.views) {
    Plotly.purge(plot);
    $("#tuning-fields").hidden = true;
    $("#no-view").textContent = state.project ? "Nothing to draw: no section has steps." : "Make a new exam or open one.";
    return Promise.resolve();
  }
  const marks = places(state.project, state.views, state.refusal);
  const reference = state.reference;
  let figure;
  let index = null;
  if (state.view === "top") figure = topView(state.views.top, reference, marks, Number($("#beams")?.value || 20));
  else if (state.view === "axes") figure = axesView(state.views.axes, reference?.axes ? reference : null, state.axis, marks);
  else {
    let pan;
    [index, pan] = panoramic();
    if (!pan) {
      Plotly.purge(plot);
      $("#tuning-fields").hidden = true;
      $("#no-view").textContent = "This exam has no panoramic section.";
      return Promise.resolve();
    }
    const before = reference?.panoramic?.[String(index)] || null;
    figure = state.view === "geometry" ? geometryView(pan, before, index, marks)
      : tuningView(pan, before, index, marks, tuning?.handle(), tuning?.chosen);
    // While a point is dragged the pointer is busy: no hover, a third less work for every frame.
    if (tuning?.drag) figure.layout.hovermode = false;
    figure.layout.title = { text: `Section ${index}: panoramic ${state.view}`, font: { size: 14 } };
  }
  $("#no-view").textContent = "";
  plot.dataset.view = state.view;
  showTuningFields(index).catch(refused);
  return Plotly.react(plot, figure.traces, figure.layout, { displaylogo: false, responsive: true });
}

function show(view) {
  state.view = view;
  for (const t of document.querySelectorAll("#tabs [data-view]")) t.classList.toggle("chosen", t.dataset.view === view);
  drawView();
}

function exportView(format) {
  if (Plotly && state.views) Plotly.downloadImage($("#plot"), { format, filename: `korvane-${state.view}`, width: 1400, height: 900 });
}

// -- commands ------------------------------------------------------------------------------------

// A new exam has no file yet: the first save asks for its name in the workspace.
async function save(url) {
  let path = null;
  if (!state.project?.file) {
    path = prompt("Save as (a .trg inside the workspace)", "exam.trg");
    if (!path) return;
  }
  await attempt(async () => {
    const answer = await call("POST", url, path ? { path } : {});
    state.project = answer.project;
    showProject();
    $("#written").textContent = `Written: ${answer.written.join(", ")}`;
  });
}

async function step(way) {
  if (state.history?.[way]) await attempt(async () => apply(await call("POST", `/api/${way}`)));
}

async function pin() {
  await attempt(async () => {
    if (state.reference) {
      await call("DELETE", "/api/reference");
      state.reference = null;
    } else {
      state.reference = (await call("POST", "/api/reference")).views;
    }
    await apply(await call("GET", "/api/exam"));
  });
}

function fill(select, values) {
  for (const v of values) select.appendChild(new Option(v, v));
}

const typing = (e) => ["INPUT", "SELECT", "TEXTAREA"].includes(e.target.tagName);

function keys(e) {
  const mod = e.ctrlKey || e.metaKey;
  const key = e.key.toLowerCase();
  if (mod && key === "s") {
    e.preventDefault();
    save("/api/save");
  } else if (typing(e)) {
    // A field keeps its own undo while it is being typed in.
  } else if (mod && key === "z") {
    e.preventDefault();
    step(e.shiftKey ? "redo" : "undo");
  } else if (mod && key === "y") {
    e.preventDefault();
    step("redo");
  } else if ((e.key === "Delete" || e.key === "Backspace") && state.view === "tuning" && tuning.remove()) {
    e.preventDefault();
  }
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
    await apply(await call("POST", "/api/exam/new", { kind }));
  }));
  $("#open").addEventListener("change", (e) => e.target.value && attempt(async () => {
    state.section = undefined;
    await apply(await call("POST", "/api/exam/open", { path: e.target.value }));
  }));
  // A new section goes after the selected one (at the end when none is), and is selected.
  $("#add").addEventListener("change", (e) => e.target.value && attempt(async () => {
    const kind = e.target.value;
    e.target.value = "";
    const index = state.section === undefined ? state.project?.sections.length ?? 0 : state.section + 1;
    const answer = await call("POST", "/api/sections", { index, kind });
    state.section = index;
    await apply(answer);
  }));
  $("#remove").addEventListener("click", () => attempt(async () => {
    if (state.section === undefined) throw new Error("select a section to remove");
    const answer = await call("DELETE", `/api/sections/${state.section}`);
    state.section = Math.min(state.section, answer.project.sections.length - 1);
    await apply(answer);
  }));
  $("#save").addEventListener("click", () => save("/api/save"));
  $("#outputs").addEventListener("click", () => save("/api/outputs"));
  $("#undo").addEventListener("click", () => step("undo"));
  $("#redo").addEventListener("click", () => step("redo"));
  $("#pin").addEventListener("click", pin);
  $("#png").addEventListener("click", () => exportView("png"));
  $("#svg").addEventListener("click", () => exportView("svg"));
  for (const tab of document.querySelectorAll("#tabs [data-view]")) tab.addEventListener("click", () => show(tab.dataset.view));
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
  document.addEventListener("keydown", keys);
  window.addEventListener("beforeunload", (e) => {
    if (state.project && !state.project.saved) {
      e.preventDefault();
      e.returnValue = "";
    }
  });
  tuning = new Tuning({
    plot: $("#plot"),
    pan: panoramic,
    active: () => state.view === "tuning",
    draw: () => drawView(),
    refused,
    // Resolves when the answer is in, with the drawing of it to run: the next position can be sent
    // first, so the server computes it while this one is drawn.
    send: async (index, graph, points, drag) => {
      const asked = performance.now();
      const answer = await call("PUT", `/api/sections/${index}/tuning/${graph}`, drag ? { points, drag } : { points });
      const answered = performance.now();
      return async () => {
        await apply(answer);
        answers.push([answered - asked, performance.now() - answered]);
      };
    },
  });
  // What a script measuring the page reads: the state, and per drag step the time from the pointer
  // move to the views redrawn, when that redraw ended, and the answer's and the redraw's share.
  const answers = [];
  window.studio = { state, timings: tuning.timings, frames: tuning.frames, answers };
  try {
    state.reference = (await call("GET", "/api/reference"))?.views || null;
    await apply(await call("GET", "/api/exam"));
  } catch (e) {
    $("#error").textContent = e.message;
    drawView();
  }
  // A script driving the page starts here; readyAt is the page's load time from the navigation on.
  document.body.dataset.readyAt = performance.now();
  document.body.dataset.ready = "yes";
}

start().catch((e) => { $("#error").textContent = e.message; });
