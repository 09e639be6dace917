import json
import os
import shutil
import subprocess
import warnings

import numpy as np
import pytest

pytest.importorskip("fastapi", reason="the studio needs python3-fastapi (scripts/deps.sh installs it)")
pytest.importorskip("httpx", reason="FastAPI's test client needs python3-httpx (scripts/deps.sh installs it)")
from fastapi.testclient import TestClient  # noqa: E402

import korvane  # noqa: E402
from korvane.studio.server import MAX_BODY, Answer, create_app  # noqa: E402

SOURCES = os.environ.get("KORVANE_SOURCE_DIR", os.path.join(os.path.dirname(__file__), "..", ".."))
PROJECTS = os.path.join(SOURCES, "examples", "projects")
CLI = os.environ.get("KORVANE_CLI", os.path.join(SOURCES, "build", "bin", "korvane"))
HOST = "127.0.0.1:8765"


@pytest.fixture
def workspace(tmp_path):
    folder = tmp_path / "work"
    folder.mkdir()
    for name in ("pan.trg", "pan_MP.ini"):
        shutil.copy(os.path.join(PROJECTS, name), folder / name)
    return folder


@pytest.fixture
def client(workspace):
    """A client past the first page load: the token spent, the session in its cookie."""
    c = TestClient(create_app(str(workspace), "T0KEN", [HOST]), base_url=f"http://{HOST}")
    first = c.get("/?token=T0KEN")
    assert first.status_code == 200 and "Korvane Studio" in first.text
    cookie = first.history[0].headers["set-cookie"].lower()
    assert "httponly" in cookie and "samesite=strict" in cookie
    return c


def _show(path):
    out = subprocess.run([CLI, "exam", "show", str(path), "--json"], check=True, capture_output=True, text=True)
    return json.loads(out.stdout)


@pytest.mark.parametrize("session, request_, status", [
    (None, dict(url="/api/files"), 401),
    ({"korvane_studio": "guess"}, dict(url="/api/files"), 401),
    (None, dict(url="/?token=T0KEN"), 401),                                   # the link works once
    ("kept", dict(url="/api/files", headers={"host": "evil.example:8765"}), 403),  # DNS rebinding
    ("kept", dict(url="/api/files", headers={"origin": "http://evil.example"}), 403),
])
def test_a_request_without_the_session_or_from_elsewhere_is_refused(client, session, request_, status):
    who = client if session == "kept" else TestClient(client.app, base_url=f"http://{HOST}", cookies=session)
    answer = who.get(**request_, follow_redirects=False)
    assert answer.status_code == status and "refused" in answer.json()["error"]
    assert client.get("/api/files").json()["files"] == ["pan.trg"]


@pytest.mark.parametrize("route", ["/api/exam/open", "/api/save"])
@pytest.mark.parametrize("path", ["../pan.trg", "/etc/pan.trg", "out/pan.trg"])
def test_a_path_out_of_the_workspace_is_refused(client, workspace, tmp_path, route, path):
    (workspace / "out").symlink_to(tmp_path)
    client.post("/api/exam/new", json={"kind": "pan"})
    answer = client.post(route, json={"path": path})
    assert answer.status_code == 403 and "workspace" in answer.json()["error"]
    assert sorted(os.listdir(tmp_path)) == ["work"]


def test_a_large_body_is_refused(client):
    answer = client.post("/api/exam/new", content=b"x" * (MAX_BODY + 1), headers={"content-type": "application/json"})
    assert answer.status_code == 413 and "bytes" in answer.json()["error"]
    assert client.get("/api/files").status_code == 200


@pytest.mark.parametrize("kind", korvane.EXAMPLES)
def test_a_new_exam_is_the_interface_s_example(client, kind):
    project = client.post("/api/exam/new", json={"kind": kind}).json()["project"]
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        exam = korvane.Exam.example(kind)
    assert [(s["kind"], s["name"], s["steps"]) for s in project["sections"]] == \
        [(s.kind, s.name, len(s.steps)) for s in exam.sections]
    assert project["head_check"] == exam.check().head_check


def test_an_edit_saved_from_the_studio_is_the_command_s_edit(client, workspace, tmp_path):
    client.post("/api/exam/open", json={"path": "pan.trg"})
    members = {m["name"]: m for m in client.get("/api/sections/1").json()["members"]}
    assert members["TempoScansiones"]["unit"] == "s" and members["TempoScansiones"]["label"]
    changed = client.patch("/api/sections/1", json={"members": {"TempoScansiones": 16.0}}).json()
    assert not changed["project"]["saved"]
    written = client.post("/api/save", json={}).json()["written"]
    assert "pan.trg" in written
    by_command = tmp_path / "cli"
    by_command.mkdir()
    for name in ("pan.trg", "pan_MP.ini"):
        shutil.copy(os.path.join(PROJECTS, name), by_command / name)
    subprocess.run([CLI, "exam", "set", str(by_command / "pan.trg"), "1.TempoScansiones=16"], check=True,
                   capture_output=True)
    studio, command = _show(workspace / "pan.trg"), _show(by_command / "pan.trg")
    assert studio["sections"] == command["sections"] and studio["sections"][1]["duration_s"] == pytest.approx(16.0)
    assert (workspace / "pan.trg").read_bytes() == (by_command / "pan.trg").read_bytes()


@pytest.mark.parametrize("members, reason", [
    ({"TempoScansiones": 0}, r"not in (0, 600] s"),
    ({"Ingrandimento": 1.3, "TempoScansiones": -1.0}, "TempoScansiones"),
    ({"NoSuchMember": 1}, "has no member"),
])
def test_a_refused_value_changes_nothing_and_says_why(client, members, reason):
    before = client.post("/api/exam/open", json={"path": "pan.trg"}).json()
    answer = client.patch("/api/sections/1", json={"members": members})
    assert answer.status_code == 422 and reason in answer.json()["error"]
    assert client.get("/api/exam").json() == before


def test_a_section_is_added_and_removed_or_the_refusal_said(client):
    before = client.post("/api/exam/open", json={"path": "pan.trg"}).json()["project"]
    added = client.post("/api/sections", json={"index": 1, "kind": "linear junction"}).json()["project"]
    assert [s["kind"] for s in added["sections"]][:2] == ["harmonic junction", "linear junction"]
    assert not added["saved"]
    assert client.post("/api/sections", json={"index": 9, "kind": "pan"}).status_code == 404
    assert client.delete("/api/sections/1").json()["project"]["sections"] == before["sections"]
    for _ in range(2):
        client.delete("/api/sections/0")
    refused = client.delete("/api/sections/0")
    assert refused.status_code == 422 and "left as it was" in refused.json()["error"]


def test_the_views_are_the_interface_s_numbers(client, workspace):
    client.post("/api/exam/open", json={"path": "pan.trg"})
    data = client.get("/api/views").json()
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        exam = korvane.Exam.load(workspace / "pan.trg")
    report, pan = exam.check(), exam.section(1).raw
    for name, axis in report.axes.items():
        shown = data["axes"]["axes"][name]
        assert max(np.abs(shown["velocity"])) == pytest.approx(axis.max_velocity)
        assert [q for q in ("position", "velocity", "acceleration") if q in shown["checked"]] == \
            [q for q, v in (("position", axis.limit_position), ("velocity", axis.limit_velocity),
                            ("acceleration", axis.limit_acceleration)) if v is not None]
    assert data["top"]["head_check"] == report.head_check
    assert len(data["top"]["sections"][1]["centre"]["x"]) == len(exam.section(1).steps) + 1
    tuning = data["panoramic"]["1"]["tuning"]
    assert np.allclose(np.column_stack([tuning["kV"]["points"]["x"], tuning["kV"]["points"]["y"]]), pan.PuntiTuningKV)
    assert data["panoramic"]["1"]["geometry"]["GraficoIngrY"] == pytest.approx(list(pan.GraficoIngrY))


def test_the_charting_library_is_taken_from_the_studio_s_own_project_only(tmp_path, monkeypatch, client):
    from korvane.studio import server
    static = tmp_path / "project" / "build" / "static"
    static.mkdir(parents=True)
    (tmp_path / "node_modules" / os.path.dirname(server.CHARTS)).mkdir(parents=True)
    (tmp_path / "node_modules" / server.CHARTS).write_text("outside")
    (tmp_path / "project" / "package.json").write_text('{"name": "korvane-studio"}')
    assert server.charts_file(str(static)) is None  # the node_modules above the project is not its own
    (tmp_path / "node_modules").rename(tmp_path / "project" / "node_modules")
    assert server.charts_file(str(static)).endswith(server.CHARTS)
    monkeypatch.setattr(server, "charts_file", lambda: None)
    answer = client.get("/vendor/charts.js")
    assert answer.status_code == 404 and "npm ci" in answer.json()["error"]


def _dragged(points, k, y):
    moved = np.array(points, dtype=float)
    moved[k, 1] = y
    return moved.tolist()


def test_a_drag_is_one_edit_that_undo_takes_back_exactly_and_redo_gives_again(client):
    first = client.post("/api/exam/new", json={"kind": "pan"}).json()
    pan = first["views"]["panoramic"]["1"]["tuning"]["main"]["points"]
    points = np.column_stack([pan["x"], pan["y"]]).tolist()
    client.post("/api/reference")
    for y in (100.0, 90.0, 80.0):  # three steps of one drag
        last = client.put("/api/sections/1/tuning/main", json={"points": _dragged(points, 7, y), "drag": "d1"})
    dragged = last.json()
    exam = korvane.Exam.example("pan")
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        exam.set_points(1, "main", _dragged(points, 7, 80.0))
    assert dragged["views"]["top"]["sections"][1]["centre"]["x"] == exam.section(1).states["dPosX"].tolist()
    assert dragged["history"]["undo_steps"] == 1 and not dragged["project"]["saved"]
    report = exam.check()
    assert [a["velocity"][1] for a in dragged["comparison"]["axes"]] == [a.max_velocity for a in report.axes.values()]
    assert dragged["comparison"]["axes"][0]["velocity"][0] == korvane.Exam.example("pan").check().axes["X"].max_velocity
    undone = client.post("/api/undo").json()
    assert undone["views"] == first["views"] and undone["project"]["sections"] == first["project"]["sections"]
    assert client.post("/api/redo").json()["views"] == dragged["views"]
    assert client.post("/api/redo").status_code == 409


@pytest.mark.parametrize("points, status, said", [
    ("zero", 422, {"section": 1, "arch_point": 111}),  # the library refuses the geometry: its place is said
    ([[0, 100.0]], 422, None),                         # one point is no graph
    ([[0, 100.0], [0, 90.0]], 422, None),              # x must increase
    ([[0, 100.0], [500, 90.0]], 422, None),            # past the curve's last point
])
def test_a_refused_drag_says_where_and_keeps_the_last_good_exam(client, points, status, said):
    before = client.post("/api/exam/new", json={"kind": "pan"}).json()
    pan = before["views"]["panoramic"]["1"]["tuning"]["main"]["points"]
    if points == "zero":
        points = _dragged(np.column_stack([pan["x"], pan["y"]]), 7, 0.0)
    answer = client.put("/api/sections/1/tuning/main", json={"points": points})
    assert answer.status_code == status and answer.json().get("where") == said
    after = client.get("/api/exam").json()
    assert after["views"] == before["views"] and after["history"]["undo_steps"] == 0


def test_an_answer_s_numbers_read_back_to_the_same_doubles():
    tricky = np.array([1e-5, 5e-324, -0.0, 0.1 + 0.2, 1.7976931348623157e308, 100.0, 1 / 3, -2.5e-300, 2.0**60])
    body = json.loads(Answer({"a": tricky, "n": [np.arange(3), "x", None, True, 7]}).body)
    assert np.array(body["a"]).view(np.int64).tolist() == tricky.view(np.int64).tolist()
    assert body["n"] == [[0, 1, 2], "x", None, True, 7]
    with pytest.raises(ValueError, match="not a number JSON can hold"):
        Answer({"a": np.array([1.0, np.nan])})
