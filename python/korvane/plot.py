"""Pictures a trajectory designer checks an exam by. Each function takes an `Exam` or a `Scan` (the
panoramic graphs also a `Section`) and returns a Matplotlib figure built without pyplot, so it works
headless (Agg) and in notebooks alike. Every picture's title says the head-check result and the first
message; a section has one colour in every picture."""

from __future__ import annotations

import numpy as np
from matplotlib.figure import Figure
from matplotlib.transforms import offset_copy

from . import _korvane as _k
from .interface import CHECKED_LIMITS, UNITS, Exam, Section
from .views import (PANORAMIC_GEOMETRY, colour, exam_parts as _exam_parts, head_outline, joined_motion,
                    panoramic_trajectory, tube_of, tuned_graph, tuned_window)

__all__ = ["top_view", "axes", "panoramic", "head_outline"]


def _colours(n):
    return [colour(i) for i in range(n)]


def _direction(states) -> str:
    """How the arm turns over a motion, in words for a title."""
    r0, r1 = states["dPosR"][0], states["dPosR"][-1]
    sense = "counter-clockwise seen from above, R rising" if r1 > r0 else "clockwise seen from above, R falling" \
        if r1 < r0 else "R still"
    return f"R axis {r0:.1f} → {r1:.1f} deg ({sense})"


def top_view(thing, every: int = 10) -> Figure:
    """The arm seen from above: head outline, arch curve, rotation-centre path with its direction, and
    the beam from the tube to the sensor every `every` steps, one colour per section. A cephalometric
    exam's beams end on the cephalometric detector, on the H line."""
    if int(every) < 1:
        raise ValueError("top_view: every is at least 1")
    pieces, m, report, ceph = _exam_parts(thing)
    fig = Figure(figsize=(8.5, 8.5), layout="constrained")
    ax = fig.add_subplot()
    head = head_outline()
    if len(head):
        closed = np.vstack([head, head[:1]])
        ax.fill(closed[:, 0], closed[:, 1], color="0.9", zorder=0)
        ax.plot(closed[:, 0], closed[:, 1], color="0.5", lw=1, label="reference head outline")
    for piece, colour in zip(pieces, _colours(len(pieces))):
        s = piece.states
        x, y = s["dPosX"], s["dPosY"]
        tube = tube_of(s, m)
        sensor = piece.sensor
        if piece.arch is not None and len(piece.arch):
            ax.plot(piece.arch[:, 0], piece.arch[:, 1], color="k", lw=2, label="arch curve")
        for i in range(0, len(s), int(every)):
            ax.plot([tube[i, 0], sensor[i, 0]], [tube[i, 1], sensor[i, 1]], color=colour, lw=0.4, alpha=0.6)
        ax.plot(x, y, color=colour, lw=2, label=f"{piece.label}")
        ax.plot(tube[:, 0], tube[:, 1], ls="--", color=colour, lw=1)
        ax.plot(sensor[:, 0], sensor[:, 1], ls=":", color=colour, lw=1)
        if len(x) > 1:
            k = min(len(x) - 1, max(1, len(x) // 2))
            ax.annotate("", xy=(tube[k, 0], tube[k, 1]), xytext=(tube[k - 1, 0], tube[k - 1, 1]),
                        arrowprops=dict(arrowstyle="-|>", color=colour, lw=1.5, mutation_scale=18))
    if ceph is not None:
        _, centre, d_h, s0 = ceph
        track = np.concatenate([p.sensor for p in pieces])
        along = (track - centre) @ d_h
        ends = centre + np.outer([along.min() - 20, along.max() + 20], d_h)
        ax.plot(ends[:, 0], ends[:, 1], color="C3", lw=3, alpha=0.7, label="cephalometric detector travel (H line)")
        ax.plot(*centre, "s", color="C3", ms=5, label="H centre")
        ax.plot(*s0, "x", color="C3", ms=8, label="beam fixed point S0 (CVR distance)")
    ax.plot([], [], ls="--", color="0.3", label="tube (arrow: direction of the scan)")
    ax.plot([], [], ls=":", color="0.3", label="cephalometric detector" if ceph is not None else "sensor")
    ax.set_aspect("equal")
    ax.set_xlabel("X, mm")
    ax.set_ylabel("Y, mm")
    scan = next((p for p in pieces if "junction" not in p.label), pieces[0])
    ax.set_title(f"Top view, a beam every {int(every)} steps; scan: {_direction(scan.states)}\n{report.summary}",
                 fontsize="medium")
    # A cephalometric view is long and flat: the figure takes the drawing's shape, the legend goes below.
    x0, x1 = ax.get_xlim()
    y0, y1 = ax.get_ylim()
    fig.set_size_inches(10, min(12, max(5.5, 8 * (y1 - y0) / max(x1 - x0, 1e-9) + 3.5)))
    # Placed a fixed distance below the axes, clear of the tick labels and the X label however flat the view.
    below = offset_copy(ax.transAxes, fig=fig, y=-40, units="points")
    ax.legend(loc="upper center", bbox_to_anchor=(0.5, 0), bbox_transform=below, ncol=2, fontsize="small")
    return fig


def axes(thing) -> Figure:
    """X, Y, R, H and C positions, velocities and accelerations against time, one colour band per
    section (the top view's colours). Red dashed: a limit the library checks; grey dotted: a limit of the
    machine file the library does not check."""
    pieces, m, report, _ = _exam_parts(thing)
    t, series, bounds = joined_motion(pieces, m)
    fig = Figure(figsize=(13, 12.5), layout="constrained")
    grid = fig.subplots(5, 3, sharex=True)
    rows = {"R": "R axis"}
    for row, name in enumerate(("X", "Y", "R", "H", "C")):
        limits, u = getattr(m, "Asse" + name), UNITS[name]
        checked = CHECKED_LIMITS[name]
        pos, vel, acc = series[name]
        what = rows.get(name, name)
        columns = (
            (pos, f"{what}{' travel' if name == 'C' else ''}, {u}", "position", (limits.PosMin, limits.PosMax)),
            (vel, f"{what} velocity, {u}/s", "velocity", (limits.MaxVel, -limits.MaxVel)),
            (acc, f"{what} acceleration, {u}/s²", "acceleration", (limits.MaxAcc, -limits.MaxAcc)))
        for column, (values, label, quantity, lines) in enumerate(columns):
            ax = grid[row, column]
            for (a, b), colour in zip(zip(bounds[:-1], bounds[1:]), _colours(len(pieces))):
                ax.axvspan(a, b, color=colour, alpha=0.12, lw=0)
            ax.plot(t, values, lw=1, color="k")
            # C is the image channel: its position is a travel from the start, no range of the machine.
            if not (name == "C" and quantity == "position"):
                style = dict(color="r", ls="--", lw=0.9) if quantity in checked else dict(color="0.55", ls=":", lw=0.9)
                for limit in lines:
                    ax.axhline(limit, **style)
            ax.set_ylabel(label + ("" if quantity in checked or (name, quantity) == ("C", "position")
                                   else "\n(limit not checked)"), fontsize="small")
            ax.grid(alpha=0.3)
    for ax in grid[-1]:
        ax.set_xlabel("time, s")
    from matplotlib.patches import Patch
    handles = [Patch(color=c, alpha=0.3, label=p.label) for p, c in zip(pieces, _colours(len(pieces)))]
    grid[0, 1].legend(handles=handles, loc="best", fontsize="x-small", title="sections", title_fontsize="x-small")
    scan = next((p for p in pieces if "junction" not in p.label), pieces[0])
    fig.suptitle("Axes against the limits the library checks (red dashed; grey dotted: in the machine file, "
                 f"not checked)\nscan: {_direction(scan.states)}; {report.summary}")
    return fig


def panoramic(thing) -> Figure:
    """The panoramic geometry per arch-curve point: arm angle, distortion, its derivative, the
    projection radius and the magnification, with the tuning points and the tuned window marked.
    Takes an Exam (its first panoramic trajectory), a Section or a CTraiettoria."""
    title = ""
    if isinstance(thing, Exam):
        found = [s for s in thing.sections if s.kind == "panoramic"]
        if not found:
            raise ValueError("panoramic: the exam has no panoramic trajectory")
        title = thing.check().summary
        thing = found[0]
    if isinstance(thing, Section):
        title = title or (f"section {thing.index}: {thing.message}" if thing.message else "no limit message")
        thing = thing.raw
    t = panoramic_trajectory(thing)
    k = t.PosDistAng0
    # The R axis runs the beam angle less 180 degrees, from whichever end of the arch the scan starts.
    start = "the first"
    if len(t.ArrayPassi):
        r0 = _k.IntegraPassi(t.PuntoIniziale, t.ArrayPassi[:1], t.LimitiEParametri)["dPosR"][0]
        start = "the last" if abs(t.GraficoRotaz[-1] - 180.0 - r0) < abs(t.GraficoRotaz[0] - 180.0 - r0) else start
    tuned, rows = tuned_graph(t), PANORAMIC_GEOMETRY
    fig = Figure(figsize=(10, 11), layout="constrained")
    grid = fig.subplots(len(rows), 1, sharex=True)
    for ax, (member, label) in zip(grid, rows):
        values = getattr(t, member)
        ax.plot(np.arange(len(values)), values, lw=1.2)
        if member == tuned and len(t.PuntiTuning):
            ax.plot(t.PuntiTuning[:, 0], t.PuntiTuning[:, 1], "o", color="C3", label="tuning points")
            ax.legend(loc="best", fontsize="small")
        if member == "GraficoIngrY":
            ax.axhline(t.Ingrandimento, color="0.5", ls=":", lw=1)
        ax.axvline(k, color="0.4", lw=0.8)
        ax.axvspan(*tuned_window(t), color="C2", alpha=0.06)
        ax.set_ylabel(label, fontsize="small")
        ax.grid(alpha=0.3)
    grid[-1].set_xlabel(f"arch-curve point (the scan starts at {start})")
    fig.suptitle(f"Panoramic geometry (centre point and tuned window shaded)\n{title}")
    return fig
