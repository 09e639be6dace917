"""The numbers the pictures of an exam are drawn from, as NumPy float arrays: `plot` draws them with
Matplotlib, the studio sends them to the browser. Every number is the library's; this module only
gathers and joins them, so both show the same thing."""

from __future__ import annotations

from typing import Any, Dict, List

import numpy as np

from . import _korvane as _k
from .interface import CHECKED_LIMITS, TUNING_GRAPHS, UNITS, Exam, Scan, Section, axis_motion

__all__ = ["PALETTE", "head_outline", "exam_parts", "top_view_data", "axes_data", "panoramic_data",
           "PANORAMIC_GEOMETRY", "TUNING_GRAPHS"]

# One colour a section, the same in every picture and on the page.
PALETTE = ("#1f77b4", "#ff7f0e", "#2ca02c", "#d62728", "#9467bd", "#8c564b", "#e377c2", "#7f7f7f", "#bcbd22",
           "#17becf")

# The panoramic geometry per arch-curve point: (member, what it is).
PANORAMIC_GEOMETRY = (("GraficoRotaz", "beam angle, deg\n(R axis + 180)"), ("GraficoDistors", "distortion, deg"),
                      ("GraficoDerivata", "derivative, deg/mm"), ("GraficoRProiez", "projection radius, mm"),
                      ("GraficoIngrY", "magnification"))


def colour(i: int) -> str:
    return PALETTE[i % len(PALETTE)]


class Piece:
    """One stretch of motion to draw: label, states, steps, the sensor it images on and its arch curve."""

    def __init__(self, label, states, steps, sensor, arch=None):
        self.label, self.states, self.steps, self.sensor, self.arch = label, states, steps, sensor, arch


def head_outline() -> np.ndarray:
    """The reference head outline in force as an n x 2 array, mm."""
    n = _k.CSezione.GetProfiloTestaNumPunti()
    return np.array([(p.X, p.Y) for p in map(_k.CSezione.GetProfiloTestaPunto, range(n))], dtype=float).reshape(n, 2)


def ceph_sensor(machine, right_arm: bool):
    """Where the cephalometric detector is for an H position: on the H line, H - "Pos H ortho" from its
    centre. Returns (function of H, the H centre, the line's direction, the fixed beam point S0)."""
    side = "Dx" if right_arm else "Sx"
    phi = np.radians(getattr(machine, "InclinazH" + side))
    centre = np.array([getattr(machine, "XCentroH" + side), getattr(machine, "YCentroH" + side)])
    d_h = np.array([np.cos(phi), np.sin(phi)])
    s0 = centre + np.array([np.sin(phi), -np.cos(phi)]) * machine.DistanzaCVR
    return (lambda h: centre - np.outer(h - machine.PosHOrtho, d_h)), centre, d_h, s0


def _sensor_of(mode, machine, ceph):
    """Sensor points for states: the cephalometric detector on the H line, else the sensor the mode's
    head check takes, opposite the tube."""
    if ceph is not None:
        return lambda s: ceph(s["dPosH"])
    d = machine.CentSensPan if mode == _k.CSezione.ANTICOLLISIONE_PAN else machine.CentSens3D
    return lambda s: np.column_stack([s["dPosX"] - d * np.cos(np.radians(s["dPosR"])),
                                      s["dPosY"] - d * np.sin(np.radians(s["dPosR"]))])


def tube_of(states, machine) -> np.ndarray:
    """The tube's focal point for each state, n x 2, mm."""
    fi, c = np.radians(states["dPosR"]), machine.CentroMonoblocco
    return np.column_stack([states["dPosX"] + c * np.cos(fi), states["dPosY"] + c * np.sin(fi)])


def exam_parts(thing, report=None):
    """(pieces, machine record, check report, ceph geometry or None) of an Exam or a Scan; `report`, when
    given, is the exam's check already made."""
    if isinstance(thing, Scan):
        m = thing.machine.record
        report = thing.check()
        sensor = _sensor_of(_k.CSezione.ANTICOLLISIONE_3D, m, None)
        return [Piece(thing.kind, thing.states, thing.steps, sensor(thing.states))], m, report, None
    if not isinstance(thing, Exam):
        raise TypeError(f"expected a korvane.Exam or a korvane.Scan, not {type(thing).__name__}")
    sections = [s for s in thing.sections if s.computed]
    if not sections or all(len(s.steps) == 0 for s in sections):
        raise ValueError("nothing to draw: no section has steps")
    m = thing.machine.record
    cephs = [s for s in sections if s.kind == "cephalometric"]
    geometry = ceph_sensor(m, bool(cephs[0].raw.BraccioDestro)) if cephs else None
    mode = thing.path.GetTipoControlloAnticollisioneConsigliato()
    pieces = []
    for s in sections:
        states = s.states
        sensor = _sensor_of(mode if s.is_junction else s.head_mode, m, geometry[0] if geometry else None)
        arch = s.raw.CurvaDenti.ArrayCurvaDenti if s.kind == "panoramic" else None
        pieces.append(Piece(f"{s.index}: {s.kind} \"{s.name}\"", states, s.steps, sensor(states), arch))
    return pieces, m, report or thing.check(), geometry


def _columns(points: np.ndarray) -> Dict[str, np.ndarray]:
    points = np.asarray(points, dtype=float).reshape(-1, 2)
    return {"x": np.ascontiguousarray(points[:, 0]), "y": np.ascontiguousarray(points[:, 1])}


def top_view_data(thing, parts=None) -> Dict[str, Any]:
    """The top view's data: head outline, and per section its colour, rotation-centre path, tube and
    sensor paths (a beam joins the two at each step) and arch curve; the head-check result."""
    pieces, m, report, ceph = parts or exam_parts(thing)
    sections = []
    for n, p in enumerate(pieces):
        sections.append({"label": p.label, "colour": colour(n),
                         "centre": {"x": np.ascontiguousarray(p.states["dPosX"]),
                                    "y": np.ascontiguousarray(p.states["dPosY"])},
                         "tube": _columns(tube_of(p.states, m)), "sensor": _columns(p.sensor),
                         "arch": _columns(p.arch) if p.arch is not None and len(p.arch) else None})
    data = {"head_outline": _columns(head_outline()), "sections": sections, "head_check": report.head_check}
    if ceph is not None:
        data["ceph"] = {"h_centre": ceph[1].tolist(), "h_direction": ceph[2].tolist(), "s0": ceph[3].tolist()}
    return data


def joined_motion(pieces, machine):
    """(time of each state, per axis (position, velocity, acceleration), section boundaries in s) of the
    pieces run one after the other."""
    states = np.concatenate([p.states if n == 0 else p.states[1:] for n, p in enumerate(pieces)])
    steps = np.concatenate([p.steps for p in pieces])
    t = np.arange(len(states)) * machine.PassoTemporale
    bounds = np.cumsum([0] + [len(p.steps) for p in pieces]) * machine.PassoTemporale
    return t, axis_motion(states, steps, machine), bounds


def axes_data(thing, parts=None) -> Dict[str, Any]:
    """X, Y, R, H and C over time with the machine's limits, each marked checked or not by the library,
    and the sections' boundaries with their colours."""
    pieces, m, report, _ = parts or exam_parts(thing)
    t, series, bounds = joined_motion(pieces, m)
    axes = {}
    for name in "XYRHC":
        limits, checked = getattr(m, "Asse" + name), CHECKED_LIMITS[name]
        pos, vel, acc = series[name]
        axes[name] = {"unit": UNITS[name], "position": pos, "velocity": vel, "acceleration": acc,
                      # C is the image channel: its position is a travel from the start, with no range.
                      "limits": {"position": None if name == "C" else [limits.PosMin, limits.PosMax],
                                 "velocity": limits.MaxVel, "acceleration": limits.MaxAcc},
                      "checked": list(checked)}
    return {"time": t, "axes": axes,
            "sections": [{"label": p.label, "colour": colour(n), "start": float(a), "end": float(b)}
                         for n, (p, a, b) in enumerate(zip(pieces, bounds[:-1], bounds[1:]))],
            "head_check": report.head_check}


def panoramic_trajectory(thing) -> "_k.CTraiettoria":
    """The library's panoramic trajectory of a Section or CTraiettoria, its geometry computed."""
    if isinstance(thing, Section):
        thing = thing.raw
    if not isinstance(thing, _k.CTraiettoria):
        raise TypeError("panoramic: expected an Exam, a Section or a CTraiettoria")
    t = thing
    if len(t.GraficoRotaz) == 0:
        t = _k.CTraiettoria(thing)
        t.CalcolaTraiettoriaPanoramica()
    if len(t.GraficoRotaz) == 0:
        raise ValueError("panoramic: the trajectory has no panoramic geometry (no arch curve or tuning graph)")
    return t


def tuned_graph(t) -> str:
    """The geometry graph the main tuning graph shapes: the derivative or the projection radius."""
    return "GraficoDerivata" if t.TipoRicostruzione == 1 else "GraficoRProiez"


def tuned_window(t) -> List[int]:
    """The arch-curve points, around the centre point, where the projection radius is held."""
    k, n = t.PosDistAng0, len(t.GraficoRotaz)
    return [max(k - t.PosRProjCostSx, 0), min(k + t.PosRProjCostDx, n - 1)]


def panoramic_data(thing) -> Dict[str, Any]:
    """A panoramic section's geometry per arch-curve point, its three tuning graphs with their points,
    the centre point and the tuned window."""
    t = panoramic_trajectory(thing)
    return {"geometry": {member: np.asarray(getattr(t, member), dtype=float)
                         for member, _ in PANORAMIC_GEOMETRY},
            "tuned": tuned_graph(t), "centre": int(t.PosDistAng0), "window": tuned_window(t),
            "magnification": float(t.Ingrandimento),
            "tuning": {name: {"graph": np.asarray(getattr(t, graph), dtype=float),
                              "points": _columns(getattr(t, points))} for name, graph, points in TUNING_GRAPHS}}
