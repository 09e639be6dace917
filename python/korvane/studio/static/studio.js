// The page's first form: it loads the open exam and lists its running order and messages. Every
// number shown comes from the server, which takes it from the library.

const $ = (selector) => document.querySelector(selector);

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

function show(project) {
  $("#title").textContent = (project.file || "new exam") + (project.saved ? "" : " *");
  $("#machine").textContent = `machine: ${project.machine_file || project.machine}`;
  const body = $("#order tbody");
  body.replaceChildren();
  for (const s of project.sections) {
    const row = body.insertRow();
    if (s.message || !s.computed) row.className = "refused";
    cell(row, s.index, "swatch").style.borderLeftColor = s.colour;
    cell(row, s.kind);
    cell(row, s.name);
    cell(row, s.steps, "number");
    cell(row, s.duration.toFixed(2), "number");
  }
  $("#summary").textContent =
    `${project.duration.toFixed(2)} s; continuity: ${project.continuous ? "yes" : "no"}; head check: ${project.head_check}`;
  const list = $("#messages");
  list.replaceChildren();
  for (const text of [...project.messages.map((m) => `section ${m.section} (${m.section_name}): ${m.text}`),
    ...project.notes]) {
    list.appendChild(document.createElement("li")).textContent = text;
  }
  if (!list.children.length) list.appendChild(document.createElement("li")).textContent = "no message";
}

async function attempt(work) {
  $("#error").textContent = "";
  $("#written").textContent = "";
  try {
    show(await work());
  } catch (e) {
    $("#error").textContent = e.message;
  }
}

// A new exam has no file yet: the first save asks for its name in the workspace.
async function save(url) {
  let path = null;
  if ($("#title").textContent.startsWith("new exam")) {
    path = prompt("Save as (a .trg inside the workspace)", "exam.trg");
    if (!path) return;
  }
  await attempt(async () => {
    const answer = await call("POST", url, path ? { path } : {});
    $("#written").textContent = `Written: ${answer.written.join(", ")}`;
    return answer.project;
  });
}

function fill(select, values) {
  for (const v of values) select.appendChild(new Option(v, v));
}

async function start() {
  const { files, examples } = await call("GET", "/api/files");
  fill($("#new"), examples);
  fill($("#open"), files);
  $("#new").addEventListener("change", (e) => e.target.value && attempt(() => call("POST", "/api/exam/new", { kind: e.target.value })));
  $("#open").addEventListener("change", (e) => e.target.value && attempt(() => call("POST", "/api/exam/open", { path: e.target.value })));
  $("#save").addEventListener("click", () => save("/api/save"));
  $("#outputs").addEventListener("click", () => save("/api/outputs"));
  try {
    show(await call("GET", "/api/exam"));
  } catch (e) {
    $("#error").textContent = e.message;
  }
}

start().catch((e) => { $("#error").textContent = e.message; });
