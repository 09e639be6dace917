"""The studio's web server: a JSON API over the English interface, and the page.

FastAPI because every request body is checked against a schema (pydantic) before the library sees
it, and because it, uvicorn and pydantic are well kept in Debian. The server listens on one address
of this machine and writes files, so every request must carry the session (a one-time token that
becomes an HttpOnly cookie), come to the server's own Host, from no foreign Origin, and name paths
inside the workspace only. The library is not thread-safe: one lock holds every call into it.
"""

from __future__ import annotations

import itertools
import json
import os
import re
import secrets
import threading
import time
import warnings
from typing import Any, Dict, List, Optional, Union

from fastapi import FastAPI, Request
from fastapi.exceptions import RequestValidationError
from fastapi.responses import FileResponse, JSONResponse, RedirectResponse
from starlette.exceptions import HTTPException
from pydantic import BaseModel, Extra, StrictBool, StrictFloat, StrictInt, StrictStr

import numpy as np

from .. import _korvane as _k
from .. import views
from ..interface import EXAMPLES, SECTION_KINDS, Exam, KorvaneError, Snapshot

STATIC = os.path.join(os.path.dirname(os.path.abspath(__file__)), "static")
# The charting library the page draws with: installed by `npm ci` into the project's node_modules
# (the folder whose package.json is the studio's), or copied beside the page by the install.
CHARTS = os.path.join("plotly.js-basic-dist-min", "plotly-basic.min.js")
PACKAGE = '"name": "korvane-studio"'
MAX_BODY = 1 << 20  # bytes; the largest request the page sends is a few members
COOKIE = "korvane_studio"
UNDO_STEPS = 200  # edits the studio can take back; older ones are forgotten


class Refused(Exception):
    """A request the studio will not serve, with the status and the reason the page shows."""

    def __init__(self, status: int, reason: str):
        super().__init__(reason)
        self.status = status


def _error(status: int, reason: str) -> JSONResponse:
    return JSONResponse({"error": reason}, status_code=status)


# -- the workspace ---------------------------------------------------------------------------------


class Workspace:
    """The folder every file the studio reads or writes lies in."""

    def __init__(self, folder: str):
        self.root = os.path.realpath(folder)
        if not os.path.isdir(self.root):
            raise FileNotFoundError(f"workspace not found: {folder}")

    def resolve(self, name: str) -> str:
        """The real path of `name`, given relative to the workspace; Refused when it leads out."""
        if not name or "\0" in name:
            raise Refused(400, "a path is needed (relative to the workspace)")
        if os.path.isabs(name) or name.startswith(("\\", "~")) or ":" in name.split("/")[0]:
            raise Refused(403, f"{name}: absolute paths are refused; name a file inside the workspace")
        if ".." in name.replace("\\", "/").split("/"):
            raise Refused(403, f"{name}: '..' is refused; name a file inside the workspace")
        full = os.path.realpath(os.path.join(self.root, name))
        if os.path.commonpath([full, self.root]) != self.root:
            raise Refused(403, f"{name}: a link leads out of the workspace; refused")
        return full

    def relative(self, full: str) -> str:
        return os.path.relpath(os.path.realpath(full), self.root).replace(os.sep, "/")

    def projects(self) -> List[str]:
        """The .trg files of the workspace, hidden folders and links out left aside."""
        found = []
        for folder, subfolders, files in os.walk(self.root):
            subfolders[:] = sorted(d for d in subfolders if not d.startswith("."))
            for f in sorted(files):
                if f.lower().endswith(".trg"):
                    try:
                        found.append(self.relative(self.resolve(self.relative(os.path.join(folder, f)))))
                    except Refused:
                        pass
        return found


# -- the open exam ---------------------------------------------------------------------------------


class History:
    """Undo and redo: before each edit the exam as it was, with the edit's name and the revision it had."""

    def __init__(self):
        self.undo: List[tuple] = []
        self.redo: List[tuple] = []

    def done(self, label: str, before: Snapshot, revision: int, drag: Optional[str] = None) -> None:
        self.redo = []
        if drag is not None and self.undo and self.undo[-1][3] == drag:
            return  # the drag goes on: its first step's "before" stands for the whole drag
        self.undo = (self.undo + [(label, before, revision, drag)])[-UNDO_STEPS:]

    def state(self) -> Dict[str, Any]:
        return {"undo": self.undo[-1][0] if self.undo else None, "redo": self.redo[-1][0] if self.redo else None,
                "undo_steps": len(self.undo), "redo_steps": len(self.redo)}


class Studio:
    """The exam open in the studio, its history and pinned reference, and what the library said of it
    the last time it computed."""

    def __init__(self, workspace: Workspace):
        self.workspace = workspace
        self.lock = threading.Lock()
        self.exam: Optional[Exam] = None
        self.file: Optional[str] = None  # relative to the workspace
        self.said: List[str] = []
        self.history = History()
        # Each state of the exam has its own revision; the saved one is remembered, so undoing back to
        # it shows the exam saved again.
        self.revisions = itertools.count(1)
        self.revision = self.saved_revision = 0
        self.reference: Optional[Dict[str, Any]] = None

    @property
    def saved(self) -> bool:
        return self.revision == self.saved_revision

    def opened(self, exam: Exam, file: Optional[str]) -> None:
        self.exam, self.file, self.history = exam, file, History()
        self.revision = next(self.revisions)
        self.saved_revision = self.revision if file is not None else -1

    def edit(self, label: str, call, *args, drag: Optional[str] = None) -> None:
        """Applies an edit through the library, remembered for undo (the steps of one drag as one edit);
        a refusal remembers nothing."""
        exam = self.need()
        with self.lock:
            before = exam.snapshot()
        self.run(call, *args)
        self.history.done(label, before, self.revision, drag)
        self.revision = next(self.revisions)

    def step_back(self, forward: bool) -> None:
        """Undo (or redo with `forward`): the exam goes back to the state the history holds."""
        exam = self.need()
        source, target = (self.history.redo, self.history.undo) if forward else (self.history.undo, self.history.redo)
        if not source:
            raise Refused(409, f"nothing to {'redo' if forward else 'undo'}")
        label, snapshot, revision, _ = source.pop()
        with self.lock:
            target.append((label, exam.snapshot(), self.revision, None))
            exam.restore(snapshot)
        self.said, self.revision = [], revision

    def answer(self, section: Optional[int] = None) -> "Answer":
        """What the page shows after a change, in one answer: the project, every view's data, the
        history, the comparison with the pinned reference, and the section's members when one is named."""
        exam = self.need()
        with self.lock:
            report = exam.check() if any(s.computed for s in exam.sections) else None
        data = {"project": self.project(report), "views": self.views(report), "history": self.history.state(),
                "comparison": self.comparison(report)}
        if section is not None:
            data["section"] = self.members(section)
        # Handed over ready: FastAPI's own walk over some 20,000 numbers would take longer than the
        # recompute and the encoding together.
        return Answer(data)

    def pin(self) -> Dict[str, Any]:
        exam = self.need()
        with self.lock:
            report = exam.check()
            self.reference = {"label": f"{self.file or 'new exam'} as pinned at {time.strftime('%H:%M:%S')}",
                              "report": report, "views": self._views(exam, report)}
        return self.reference_data()

    def reference_data(self) -> Optional[Dict[str, Any]]:
        if self.reference is None:
            return None
        return {"label": self.reference["label"], "views": self.reference["views"]}

    def comparison(self, now) -> Optional[Dict[str, Any]]:
        """Per axis the largest |v| and |a| of the reference and of the exam (its check `now`), and both
        head checks."""
        if self.reference is None or now is None:
            return None
        before = self.reference["report"]
        return {"label": self.reference["label"],
                "axes": [{"axis": a, "unit": now.axes[a].unit,
                          "velocity": [before.axes[a].max_velocity, now.axes[a].max_velocity],
                          "acceleration": [before.axes[a].max_acceleration, now.axes[a].max_acceleration],
                          "limits": [now.axes[a].limit_velocity, now.axes[a].limit_acceleration]}
                         for a in now.axes],
                "head_check": [before.head_check, now.head_check]}

    def run(self, call, *args, **kwargs):
        """Runs a library call under the lock, keeping its warnings as the page's notes."""
        with self.lock, warnings.catch_warnings(record=True) as said:
            warnings.simplefilter("always")
            result = call(*args, **kwargs)
        self.said = [str(w.message) for w in said]
        return result

    def need(self) -> Exam:
        if self.exam is None:
            raise Refused(409, "no exam is open: make a new one or open a .trg")
        return self.exam

    def project(self, report=None) -> Dict[str, Any]:
        """The project's summary; `report` is the exam's check when the caller has made it."""
        exam = self.need()
        with self.lock:
            sections = exam.sections
            if report is None and any(s.computed for s in sections):
                report = exam.check()
            return {
                "file": self.file, "saved": self.saved, "machine": exam.machine.name,
                "machine_file": self.machine_file(),
                "continuous": exam.continuous, "duration": exam.duration,
                "head_check": report.head_check if report else "not run (nothing computed)",
                "sections": [{"index": s.index, "kind": s.kind, "name": s.name, "junction": s.is_junction,
                              "steps": len(s.steps), "duration": s.duration, "computed": s.computed,
                              "message": s.message, "colour": views.colour(s.index)} for s in sections],
                "messages": [{"section": m.section, "section_name": m.section_name, "text": m.text, "step": m.step}
                             for m in (report.messages if report else [])],
                "notes": self.said}

    def machine_file(self) -> Optional[str]:
        """The machine file the open project was read with: the _MP.ini beside it, if there is one."""
        if self.file is None:
            return None
        beside = os.path.splitext(self.file)[0] + "_MP.ini"
        return beside if os.path.isfile(os.path.join(self.workspace.root, beside)) else None

    def members(self, index: int) -> Dict[str, Any]:
        exam = self.need()
        with self.lock:
            s = exam.section(index)
            members = s.members
        return {"index": s.index, "kind": s.kind, "name": s.name,
                "members": [{"name": m.name, "value": _plain(m.value), "type": m.type, "unit": m.unit,
                             "range": m.allowed, "label": m.label} for m in members.values()]}

    def views(self, report=None) -> Optional[Dict[str, Any]]:
        exam = self.need()
        with self.lock:
            return self._views(exam, report)

    @staticmethod
    def _views(exam: Exam, report=None) -> Optional[Dict[str, Any]]:
        if not any(s.computed and len(s.steps) for s in exam.sections):
            return None
        parts = views.exam_parts(exam, report)
        return {"top": views.top_view_data(exam, parts), "axes": views.axes_data(exam, parts),
                "panoramic": {str(s.index): views.panoramic_data(s) for s in exam.sections if s.kind == "panoramic"}}


def charts_file(start: str = STATIC) -> Optional[str]:
    """The charting library's file: beside the page when installed, else in the node_modules of the
    project this file lies in (the source tree or a build folder inside it); None when neither has it."""
    installed = os.path.join(start, "vendor", os.path.basename(CHARTS))
    if os.path.isfile(installed):
        return installed
    folder = os.path.dirname(start)
    while True:
        manifest = os.path.join(folder, "package.json")
        if os.path.isfile(manifest):
            with open(manifest, encoding="utf-8") as f:
                if PACKAGE in f.read():
                    found = os.path.join(folder, "node_modules", CHARTS)
                    return found if os.path.isfile(found) else None
        parent = os.path.dirname(folder)
        if parent == folder:
            return None
        folder = parent


_PLACES = (("section", re.compile(r"^section (\d+)")), ("step", re.compile(r"i = (-?\d+)")),
           ("arch_point", re.compile(r"at point (\d+)")))


def where(message: str) -> Dict[str, int]:
    """The places a library message names: its section, the step ("i = N") and the arch-curve point."""
    return {name: int(found.group(1)) for name, pattern in _PLACES if (found := pattern.search(message))}


class Answer(JSONResponse):
    """A JSON answer whose float arrays are written by the library's module, each number in the shortest
    text that reads back to the same double: the views' some 20,000 numbers in a fraction of the time
    the interpreter's encoder takes."""

    def render(self, content: Any) -> bytes:
        out: List[bytes] = []
        _encode(content, out)
        return b"".join(out)


def _encode(value: Any, out: List[bytes]) -> None:
    if isinstance(value, np.ndarray):
        out.append(_k.NumeriJson(value) if value.dtype.kind == "f" else json.dumps(value.tolist()).encode())
    elif isinstance(value, dict):
        out.append(b"{")
        for i, (key, item) in enumerate(value.items()):
            out.append((b"," if i else b"") + json.dumps(str(key)).encode() + b":")
            _encode(item, out)
        out.append(b"}")
    elif isinstance(value, (list, tuple)):
        out.append(b"[")
        for i, item in enumerate(value):
            if i:
                out.append(b",")
            _encode(item, out)
        out.append(b"]")
    else:
        out.append(json.dumps(value, allow_nan=False, ensure_ascii=False).encode())


def _plain(value: Any) -> Any:
    """A member's value as JSON holds it."""
    if hasattr(value, "item"):
        return value.item()
    return value if isinstance(value, (bool, int, float, str)) or value is None else str(value)


# -- requests --------------------------------------------------------------------------------------


class _Body(BaseModel):
    class Config:
        extra = Extra.forbid


class NewExam(_Body):
    kind: StrictStr


class OpenExam(_Body):
    path: StrictStr


class SetMembers(_Body):
    members: Dict[str, Union[StrictBool, StrictInt, StrictFloat, StrictStr]]


class AddSection(_Body):
    index: StrictInt
    kind: StrictStr


class SetPoints(_Body):
    points: List[List[Union[StrictInt, StrictFloat]]]
    drag: Optional[StrictStr] = None  # the steps of one drag are taken back by one undo


class SaveAs(_Body):
    path: Optional[StrictStr] = None


class Guard:
    """ASGI middleware: the session, the Host, the Origin and the body size of every request."""

    def __init__(self, app, token: str, hosts: List[str]):
        self.app, self.token, self.hosts = app, token, set(hosts)
        self.session: Optional[str] = None  # the cookie's value, made when the token is first used
        self.origins = {f"http://{h}" for h in hosts}

    async def __call__(self, scope, receive, send):
        if scope["type"] != "http":
            return await self.app(scope, receive, send)
        request = Request(scope)
        refusal = self._refusal(request)
        if refusal is not None:
            return await refusal(scope, receive, send)
        if request.query_params.get("token") is not None:
            # The link's token is spent: the page goes on with a cookie the page's scripts cannot read.
            self.session = secrets.token_urlsafe(32)
            page = RedirectResponse(request.url.path, status_code=303)
            page.set_cookie(COOKIE, self.session, httponly=True, samesite="strict")
            return await page(scope, receive, send)
        size = int(request.headers.get("content-length") or 0)
        if size > MAX_BODY:
            return await _error(413, f"the request body is {size} bytes; at most {MAX_BODY} are taken")(scope, receive, send)
        received, refused = 0, False

        async def counted():
            # A body sent without its length is counted as it comes: past the limit the refusal is
            # answered here, and whatever the app answers after it is dropped.
            nonlocal received, refused
            message = await receive()
            received += len(message.get("body", b""))
            if received > MAX_BODY and not refused:
                refused = True
                await _error(413, f"the request body is over {MAX_BODY} bytes; refused")(scope, receive, send)
            return {"type": "http.disconnect"} if refused else message

        async def sending(message):
            if not refused:
                await send(message)

        await self.app(scope, counted, sending)

    def _refusal(self, request: Request):
        host = request.headers.get("host", "")
        if host not in self.hosts:
            return _error(403, f"refused: the Host {host!r} is not this studio's address")
        origin = request.headers.get("origin")
        if origin is not None and origin not in self.origins:
            return _error(403, f"refused: a request from {origin!r}, another site")
        given = request.query_params.get("token")
        if given is not None:
            if self.session is not None or not secrets.compare_digest(given, self.token):
                return _error(401, "refused: this link's token is wrong or was used already; "
                                   "start the studio again for a new link")
            return None
        cookie = request.cookies.get(COOKIE)
        if self.session is None or cookie is None or not secrets.compare_digest(cookie, self.session):
            return _error(401, "refused: no session; open the link the studio printed when it started")
        return None


def create_app(folder: str, token: str, hosts: List[str]) -> Any:
    """The studio for the workspace `folder`; `token` opens the first session, `hosts` are the
    Host values (name:port) the server answers to."""
    studio = Studio(Workspace(folder))
    # The API's handlers run on the event loop itself, one after the other: a studio has one user, and
    # handing each request to a worker thread cost more than a drag step's whole recompute.
    app = FastAPI(title="Korvane Studio", docs_url=None, redoc_url=None, openapi_url=None)
    app.state.studio = studio

    @app.exception_handler(Refused)
    async def refused(_, e: Refused):
        return _error(e.status, str(e))

    @app.exception_handler(KorvaneError)
    async def library(_, e: KorvaneError):
        return JSONResponse({"error": str(e), "where": where(str(e))}, status_code=422)

    @app.exception_handler(ValueError)
    async def value(_, e: ValueError):
        return _error(422, str(e))

    @app.exception_handler(IndexError)
    async def index(_, e: IndexError):
        return _error(404, str(e))

    @app.exception_handler(OSError)
    async def system(_, e: OSError):
        return _error(404 if isinstance(e, FileNotFoundError) else 409, str(e))

    @app.exception_handler(HTTPException)
    async def http(request: Request, e: HTTPException):
        return _error(e.status_code, f"{e.detail}: {request.url.path}")

    @app.exception_handler(Exception)
    async def unexpected(_, e: Exception):
        return _error(500, f"unexpected {type(e).__name__}: {e}")

    @app.exception_handler(RequestValidationError)
    async def invalid(_, e: RequestValidationError):
        where = "; ".join(f"{'.'.join(map(str, x['loc'][1:])) or 'body'}: {x['msg']}" for x in e.errors())
        return _error(422, f"the request does not read: {where}")

    @app.get("/")
    def page():
        return FileResponse(os.path.join(STATIC, "index.html"))

    @app.get("/vendor/charts.js")
    def charts():
        found = charts_file()
        if found is None:
            raise Refused(404, "the charting library is not installed: run `npm ci` in the project folder")
        return FileResponse(found, media_type="text/javascript")

    @app.get("/static/{name}")
    def static(name: str):
        if name not in os.listdir(STATIC):
            raise Refused(404, f"no such file: {name}")
        return FileResponse(os.path.join(STATIC, name))

    @app.get("/api/files")
    async def files():
        return {"workspace": studio.workspace.root, "files": studio.workspace.projects(), "examples": list(EXAMPLES),
                "section_kinds": list(SECTION_KINDS)}

    @app.post("/api/exam/new")
    async def new(body: NewExam):
        if body.kind not in EXAMPLES:
            raise Refused(422, f"no example exam {body.kind!r}: one of {', '.join(EXAMPLES)}")
        studio.opened(studio.run(Exam.example, body.kind), None)
        return studio.answer()

    @app.post("/api/exam/open")
    async def open_(body: OpenExam):
        full = studio.workspace.resolve(body.path)
        if not full.lower().endswith(".trg"):
            raise Refused(422, f"{body.path}: a project's name ends in .trg")
        studio.opened(studio.run(Exam.load, full), studio.workspace.relative(full))
        return studio.answer()

    @app.get("/api/exam")
    async def project():
        return studio.answer()

    @app.get("/api/sections/{index}")
    async def section(index: int):
        return studio.members(index)

    @app.patch("/api/sections/{index}")
    async def set_members(index: int, body: SetMembers):
        exam = studio.need()
        names = ", ".join(f"{k}={v}" for k, v in body.members.items())
        studio.edit(f"section {index}: {names}", exam.set, index, body.members)
        return studio.answer(index)

    @app.put("/api/sections/{index}/tuning/{graph}")
    async def set_points(index: int, graph: str, body: SetPoints):
        exam = studio.need()
        studio.edit(f"section {index}: {graph} tuning points", exam.set_points, index, graph, body.points,
                    drag=body.drag)
        return studio.answer(index)

    @app.post("/api/sections")
    async def add_section(body: AddSection):
        exam = studio.need()
        if body.kind not in SECTION_KINDS:
            raise Refused(422, f"no section kind {body.kind!r}: one of {', '.join(SECTION_KINDS)}")
        studio.edit(f"add {body.kind} at {body.index}", exam.insert, body.index, body.kind)
        return studio.answer()

    @app.delete("/api/sections/{index}")
    async def remove_section(index: int):
        exam = studio.need()
        studio.edit(f"remove section {index}", exam.remove, index)
        return studio.answer()

    @app.post("/api/undo")
    async def undo():
        studio.step_back(False)
        return studio.answer()

    @app.post("/api/redo")
    async def redo():
        studio.step_back(True)
        return studio.answer()

    @app.post("/api/reference")
    async def pin():
        return Answer(studio.pin())

    @app.get("/api/reference")
    async def reference():
        return Answer(studio.reference_data())

    @app.delete("/api/reference")
    async def unpin():
        studio.reference = None
        return {"pinned": False}

    @app.get("/api/views")
    async def views_():
        return Answer(studio.views())

    def save(body: SaveAs, outputs: bool):
        exam = studio.need()
        name = body.path or studio.file
        if name is None:
            raise Refused(422, "the exam has no file yet: give a path (relative to the workspace) ending in .trg")
        full = studio.workspace.resolve(name)
        written = studio.run(exam.save, full, outputs=outputs)
        studio.file, studio.saved_revision = studio.workspace.relative(full), studio.revision
        return {"written": [studio.workspace.relative(f) for f in written], "project": studio.project()}

    @app.post("/api/save")
    async def save_project(body: SaveAs):
        return save(body, False)

    @app.post("/api/outputs")
    async def save_outputs(body: SaveAs):
        return save(body, True)

    return Guard(app, token, hosts)
