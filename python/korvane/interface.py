"""The English interface: machines, exams, their sections and checks, and the flat-API scans.

Every computation is the library's; this layer names things, checks what a person gives it through the
command line's own member table, and turns the library's messages into warnings and exceptions.
"""

from __future__ import annotations

import copy
import os
import re
import shutil
import tempfile
import warnings
from dataclasses import dataclass, field
from typing import Any, Dict, Iterator, List, Optional, Tuple, Union

import numpy as np

from . import _korvane as _k
from ._korvane import KorvaneError

PathLike = Union[str, "os.PathLike[str]"]

__all__ = ["Machine", "Exam", "Section", "Member", "Message", "AxisCheck", "CheckReport", "Scan",
           "KorvaneError", "KorvaneWarning", "LimitWarning", "Snapshot", "EXAMPLES", "SECTION_KINDS", "CHECKED_LIMITS",
           "TUNING_GRAPHS"]


class KorvaneWarning(UserWarning):
    """Something the library said that does not stop the work: a damaged line, a section not computed."""


class LimitWarning(KorvaneWarning):
    """A computed section broke a machine limit or met the reference head; `.message` tells where."""

    def __init__(self, message: "Message"):
        super().__init__(str(message))
        self.message = message


# The example exams, as `korvane exam new` names them.
EXAMPLES: Tuple[str, ...] = tuple(_k.esempi.TipiProgettoEsempio())

# The limits the library checks a motion against, per axis. Every other limit of the machine file
# (the R and H accelerations, the C position and acceleration) is drawn and reported as not checked.
CHECKED_LIMITS: Dict[str, Tuple[str, ...]] = {
    "X": ("position", "velocity", "acceleration"),
    "Y": ("position", "velocity", "acceleration"),
    "R": ("position", "velocity"),
    "H": ("position", "velocity"),
    "C": ("velocity",),
}
UNITS = {"X": "mm", "Y": "mm", "R": "deg", "H": "mm", "C": "mm"}
# The three tuning graphs a designer shapes by their points: name, graph member, points member.
TUNING_GRAPHS = (("main", "GraficoTuning", "PuntiTuning"), ("kV", "GraficoKV", "PuntiTuningKV"),
                 ("shift", "GraficoShift", "PuntiTuningShift"))

_KINDS = {_k.CTraiettoria.CURVA_PANORAMICA: "panoramic", _k.CTraiettoria.CURVA_CIRCOLARE: "circular",
          _k.CTraiettoria.CURVA_LINEARE: "linear", _k.CTraiettoria.CURVA_DA_CSV: "from CSV",
          _k.CTraiettoria.CURVA_CEFALOMETRICA: "cephalometric"}
_NUMBER_IN_MESSAGE = re.compile(r"i = (-?\d+)")


def _head_mode(kind: int) -> int:
    """The head-check mode a trajectory kind computes with."""
    if kind == _k.CTraiettoria.CURVA_CEFALOMETRICA:
        return _k.CSezione.ANTICOLLISIONE_NESSUNA
    if kind == _k.CTraiettoria.CURVA_CIRCOLARE:
        return _k.CSezione.ANTICOLLISIONE_3D
    return _k.CSezione.ANTICOLLISIONE_PAN


def _write_beside(path: PathLike, write) -> str:
    """Runs `write(temporary name)` beside `path`, then renames: an interrupted run leaves the old file whole."""
    final = os.fspath(path)
    folder = os.path.dirname(os.path.abspath(final))
    os.makedirs(folder, exist_ok=True)
    handle, temporary = tempfile.mkstemp(prefix=".korvane-", dir=folder)
    os.close(handle)
    try:
        write(temporary)
        os.replace(temporary, final)
    finally:
        if os.path.exists(temporary):
            os.unlink(temporary)
    return final


# -- machine ---------------------------------------------------------------------------------------


@dataclass(frozen=True)
class Axis:
    """One axis of a machine: its unit and its limits (limit_* always names a limit, max_* and min_*
    what a motion reached, as in the command line's JSON)."""
    name: str
    unit: str
    limit_position_min: float
    limit_position_max: float
    limit_velocity: float
    limit_acceleration: float


class Machine:
    """One machine model: the five axes (X, Y, R, C, H) and the general parameters.

    `Machine.example()` is the example unit; `Machine.load(path)` reads a machine file. The
    library's record is `.record` (a `CLimitiEParametri`) for whoever needs the C++ names."""

    def __init__(self, record: Optional[_k.CLimitiEParametri] = None):
        self.record = copy.copy(record) if record is not None else _k.esempi.MacchinaEsempio()
        self.file: Optional[str] = None

    @classmethod
    def example(cls) -> "Machine":
        """The example unit the examples and the command line use by default."""
        return cls()

    @classmethod
    def load(cls, path: PathLike) -> "Machine":
        """Reads a machine file; KorvaneError when not every value reads, FileNotFoundError when missing."""
        name = os.fspath(path)
        if not os.path.isfile(name):
            raise FileNotFoundError(f"machine file not found: {name}")
        record = _k.CLimitiEParametri()
        if record.LeggiDaFile(name) != 1:
            raise KorvaneError(f"{name}: not a valid machine file (a value or a label does not read)")
        machine = cls(record)
        machine.file = name
        return machine

    def save(self, path: PathLike) -> str:
        """Writes the machine file (beside, then renamed); returns its name."""
        def write(temporary):
            if self.record.ScriviSuFile(temporary) != 1:
                raise KorvaneError(f"cannot write the machine file {os.fspath(path)}")
        return _write_beside(path, write)

    @property
    def name(self) -> str:
        return self.record.NomeMacchina

    @property
    def time_step(self) -> float:
        """The time step of every section, s."""
        return self.record.PassoTemporale

    def axis(self, name: str) -> Axis:
        a = getattr(self.record, "Asse" + name)
        return Axis(name, UNITS[name], a.PosMin, a.PosMax, a.MaxVel, a.MaxAcc)

    @property
    def axes(self) -> Dict[str, Axis]:
        return {n: self.axis(n) for n in "XYRCH"}

    @property
    def problems(self) -> List[str]:
        """Why no computation could start from this record ([] when it is usable)."""
        found = list(_k.ProblemiMacchina(self.record))
        found += [f"the {a.name} position range is empty (Pos Min {a.limit_position_min:g} >= Pos Max {a.limit_position_max:g})"
                  for a in self.axes.values() if not a.limit_position_min < a.limit_position_max]
        return found

    def __eq__(self, other: object) -> bool:
        return isinstance(other, Machine) and self.record == other.record

    def __repr__(self) -> str:
        where = f" from {self.file!r}" if self.file else ""
        return f"<Machine {self.name!r}{where}: time step {self.time_step:g} s, {len(self.problems)} problems>"


# -- sections and members --------------------------------------------------------------------------


@dataclass(frozen=True)
class Member:
    """A value one may set on a section, with what it may hold (checked by `Exam.set`)."""
    name: str
    value: Any
    type: str
    unit: str
    allowed: str
    label: str

    def __repr__(self) -> str:
        unit = f" {self.unit}" if self.unit else ""
        return f"<Member {self.name} = {self.value!r}{unit}, {self.allowed}>"


_TABLES: Dict[int, List[dict]] = {}


def _table(code: int) -> List[dict]:
    """The members a section of kind `code` holds (a junction's for -1, else its TipoCurva)."""
    if code not in _TABLES:
        _TABLES[code] = list(_k.MembriDellaSezione(code))
    return _TABLES[code]


@dataclass(frozen=True)
class Message:
    """A message the library left on a section. `step` is the number its "i = N" names (a time step;
    for the panoramic kind the arch-curve point), None when it names none."""
    section: int
    section_name: str
    text: str
    step: Optional[int] = None

    def __str__(self) -> str:
        return f"section {self.section} ({self.section_name}): {self.text}"


class Section:
    """A snapshot of one section of an exam's running order: change it with `Exam.set`."""

    def __init__(self, index: int, entry: Any, is_junction: bool, machine: _k.CLimitiEParametri, message: str = ""):
        self.index = index
        self._message = message or entry.StringaErrore
        self.is_junction = is_junction
        self.raw = entry  # the library's CTraiettoria or CRaccordo (a copy)
        self._machine = machine

    @property
    def kind(self) -> str:
        """'panoramic', 'linear', 'circular', 'cephalometric', 'from CSV', 'not computed',
        'linear junction' or 'harmonic junction'."""
        if self.is_junction:
            return "harmonic junction" if self.raw.TipoRaccordo == _k.CRaccordo.RACCORDO_ARMONICO else "linear junction"
        return _KINDS.get(self.raw.TipoCurva, "not computed")

    @property
    def name(self) -> str:
        return self.raw.Nome

    @property
    def _code(self) -> int:
        return -1 if self.is_junction else int(self.raw.TipoCurva)

    @property
    def computed(self) -> bool:
        return len(self.raw.ArrayPassi) > 0 and (self.is_junction or self.raw.TipoCurva != 0)

    @property
    def message(self) -> str:
        """The library's message from this section's last computation ('' when none)."""
        return self._message

    @property
    def members(self) -> Dict[str, Member]:
        """Every member `Exam.set` takes for this section, with its value, unit and allowed values."""
        return {r["nome"]: Member(r["nome"], getattr(self.raw, r["nome"]), r["genere"], r["unita"], r["descrizione"],
                                  r["etichetta"]) for r in _table(self._code)}

    @property
    def steps(self) -> np.ndarray:
        """One record per time step: velocity words iX, iY, iR, iC, iH and tube settings iKV, imA."""
        return self.raw.ArrayPassi

    @property
    def states(self) -> np.ndarray:
        """The axis states the steps lead to from the start state, one more than the steps."""
        return _k.IntegraPassi(self.raw.PuntoIniziale, self.raw.ArrayPassi, self._machine)

    @property
    def duration(self) -> float:
        """Seconds: the steps times the machine's time step."""
        return len(self.raw.ArrayPassi) * self._machine.PassoTemporale

    @property
    def head_mode(self) -> int:
        """The head-check mode of a trajectory's kind (a junction takes the exam's)."""
        return _head_mode(self.raw.TipoCurva)

    def __repr__(self) -> str:
        state = f": {self.message}" if self.message else ("" if self.computed else ": not computed")
        return f"<Section {self.index} {self.kind} {self.name!r}, {len(self.steps)} steps, {self.duration:.2f} s{state}>"


# -- checks ----------------------------------------------------------------------------------------


@dataclass(frozen=True)
class AxisCheck:
    """How close one axis came to its limits. A limit is None when the library does not check it."""
    axis: str
    unit: str
    min_position: float
    max_position: float
    max_velocity: float
    max_acceleration: float
    limit_position: Optional[Tuple[float, float]]
    limit_velocity: Optional[float]
    limit_acceleration: Optional[float]

    @property
    def within(self) -> bool:
        ok = self.limit_velocity is None or self.max_velocity <= self.limit_velocity
        ok = ok and (self.limit_acceleration is None or self.max_acceleration <= self.limit_acceleration)
        return ok and (self.limit_position is None or
                       self.limit_position[0] <= self.min_position <= self.max_position <= self.limit_position[1])

    def __str__(self) -> str:
        def limit(v):
            return "not checked" if v is None else f"{v:g}"
        pos = "not checked" if self.limit_position is None else f"{self.limit_position[0]:g} .. {self.limit_position[1]:g}"
        return (f"{self.axis}: position {self.min_position:.2f} .. {self.max_position:.2f} {self.unit} (limits {pos}); "
                f"|v| {self.max_velocity:.2f} {self.unit}/s (limit {limit(self.limit_velocity)}); "
                f"|a| {self.max_acceleration:.1f} {self.unit}/s² (limit {limit(self.limit_acceleration)})")


@dataclass
class CheckReport:
    """What `check()` found: per axis the extremes against the checked limits, the head check, every message."""
    axes: Dict[str, AxisCheck]
    head_check: str
    messages: List[Message] = field(default_factory=list)
    continuous: bool = True
    damaged_lines: List[Tuple[str, int, str]] = field(default_factory=list)

    @property
    def ok(self) -> bool:
        """No message, the head check not failed, every axis within its checked limits, continuous, whole."""
        return (not self.messages and not self.head_check.startswith("failed") and self.continuous
                and not self.damaged_lines and all(a.within for a in self.axes.values()))

    @property
    def summary(self) -> str:
        """One line for a picture's title: the head check and the first message."""
        first = str(self.messages[0]) if self.messages else "no limit message"
        return f"head check {self.head_check}; {first}"

    def __str__(self) -> str:
        lines = [str(a) for a in self.axes.values()]
        lines.append(f"head check: {self.head_check}")
        lines.append(f"continuous: {'yes' if self.continuous else 'no'}")
        lines += [f"{f}:{n}: damaged line, expected {e!r}" for f, n, e in self.damaged_lines]
        lines += [str(m) for m in self.messages] or ["no message"]
        return "\n".join(lines)

    def __repr__(self) -> str:
        return f"<CheckReport {'ok' if self.ok else 'not ok'}: {self.summary}>"


def _axis_series(states: np.ndarray, c_velocity: np.ndarray, dt: float) -> Dict[str, Tuple[np.ndarray, np.ndarray]]:
    """Per axis (position, velocity) over a whole motion; C's position is its travel from the start."""
    return {"X": (states["dPosX"], states["dVelX"]), "Y": (states["dPosY"], states["dVelY"]),
            "R": (states["dPosR"], states["dVelR"]), "H": (states["dPosH"], states["dVelH"]),
            "C": (np.cumsum(c_velocity) * dt, c_velocity)}


def axis_motion(states: np.ndarray, steps: np.ndarray, machine: _k.CLimitiEParametri) -> Dict[str, Tuple[np.ndarray, ...]]:
    """Per axis (position, velocity, acceleration) of a motion; the acceleration is the change of the
    velocity between consecutive steps over the time step, 0 at the first state."""
    dt = machine.PassoTemporale
    words = np.asarray(steps["iC"], dtype=np.int32)
    c = np.concatenate([[0.0], _k.VelocitaDaMemorizzata(words, machine.AsseC.StepPerUnita, machine.AsseC.StepSPerLSB)])
    series = {}
    for name, (pos, vel) in _axis_series(states, c, dt).items():
        acc = np.concatenate([[0.0], np.diff(vel) / dt]) if dt > 0 else np.zeros_like(vel)
        series[name] = (pos, vel, acc)
    return series


def _report(series, machine: _k.CLimitiEParametri, head: str, messages, continuous=True, damaged=()) -> CheckReport:
    axes = {}
    for name in "XYRHC":
        pos, vel, acc = series[name]
        limits = getattr(machine, "Asse" + name)
        checked = CHECKED_LIMITS[name]
        axes[name] = AxisCheck(
            name, UNITS[name], float(pos.min()), float(pos.max()), float(np.abs(vel).max()), float(np.abs(acc).max()),
            (limits.PosMin, limits.PosMax) if "position" in checked else None,
            limits.MaxVel if "velocity" in checked else None,
            limits.MaxAcc if "acceleration" in checked else None)
    return CheckReport(axes, head, list(messages), continuous, list(damaged))


def _joined(sections: List[Section]) -> Tuple[np.ndarray, np.ndarray]:
    """The states and steps of sections run one after the other (each later start state dropped)."""
    states = [s.states if n == 0 else s.states[1:] for n, s in enumerate(sections)]
    return np.concatenate(states), np.concatenate([s.steps for s in sections])


def _message_of(section: Section) -> Optional[Message]:
    if not section.message:
        return None
    found = _NUMBER_IN_MESSAGE.search(section.message)
    return Message(section.index, section.name, section.message, int(found.group(1)) if found else None)


# -- exams -----------------------------------------------------------------------------------------


@dataclass(frozen=True)
class Snapshot:
    """An exam's sections (computed copies) and running order at one moment; see `Exam.snapshot`."""
    order: Any
    trajectories: List[Any]
    junctions: List[Any]
    kinds: List[int]


class Exam:
    """A project: trajectories and junctions in running order, computed on a machine.

    Make one with `Exam.example(kind)` or `Exam.load("x.trg")`; change it with `set`, look at it with
    `sections` and `check()`, write it with `save`. Limit messages arrive as `LimitWarning`s; the
    library's refusals as `KorvaneError`s. The library's path is `.path` (a `CPercorso`)."""

    def __init__(self, path: _k.CPercorso, machine: Machine, file: Optional[str] = None,
                 kinds_in_file: Optional[List[int]] = None, damaged_lines=()):
        self.path = path
        self.machine = machine
        self.file = file
        self.damaged_lines: List[Tuple[str, int, str]] = list(damaged_lines)
        # The kind each trajectory was saved as: one that failed while loading is back at kind 0.
        self._kinds = list(kinds_in_file) if kinds_in_file is not None else [t.TipoCurva for t in self._trajectories()]
        self._messages: Dict[int, str] = {}
        self._learn_messages()

    # construction

    @classmethod
    def example(cls, kind: str, machine: Optional[Machine] = None) -> "Exam":
        """The example exam `kind` (one of EXAMPLES) between its junctions, as `korvane exam new` makes it,
        with the built-in head outline in force."""
        if kind not in EXAMPLES:
            raise ValueError(f"no example exam {kind!r}: one of {', '.join(EXAMPLES)}")
        machine = machine or Machine.example()
        _need_usable(machine)
        _k.CSezione.UsaTestonaDiDefault()
        path = _k.CPercorso()
        _k.esempi.CostruisciProgettoEsempio(kind, path, machine.record)
        exam = cls(path, machine)
        exam._warn_messages()
        return exam

    @classmethod
    def load(cls, file: PathLike, machine: Optional[Machine] = None) -> "Exam":
        """A project (.trg) loaded as `korvane exam` loads it: its machine file beside it when there is one
        (else `machine`, the example unit by default), the built-in head outline, the example arch for a
        panoramic trajectory saved without one, continuity corrected. Damaged lines are warned about and kept
        in `damaged_lines`; a file with no section at all is refused."""
        name = os.fspath(file)
        if not os.path.isfile(name):
            raise FileNotFoundError(f"project not found: {name}")
        machine = machine or Machine.example()
        path = _k.CPercorso()
        path.SetLimitiEParametri(machine.record, 1)
        _k.CSezione.UsaTestonaDiDefault()
        path.CaricaFile(name, 1, 1)
        message = _k.esempi.CompletaProgettoCaricato(path)
        damaged = path.GetRigheDanneggiate()
        if path.ArrayOrdineGetSize() == 0:
            where = f" ({damaged[0][0]}:{damaged[0][1]}: expected {damaged[0][2]!r})" if damaged else ""
            raise KorvaneError(f"{name}: not a project file{where}" + (f": {message}" if message else ""))
        exam = cls(path, Machine(path.GetLimitiEParametri()), name, _kinds_in_file(name), damaged)
        for f, line, expected in damaged:
            warnings.warn(KorvaneWarning(f"{f}:{line}: damaged or missing line, expected {expected!r}"), stacklevel=2)
        exam._warn_messages()
        return exam

    # looking

    def _trajectories(self):
        return [self.path.ArrayTraiettorieGetTraiettoria(i) for i in range(self.path.ArrayTraiettorieGetSize())]

    def __len__(self) -> int:
        return self.path.ArrayOrdineGetSize()

    def section(self, index: int) -> Section:
        if not -len(self) <= index < len(self):
            raise IndexError(f"section {index}: the exam has {len(self)} sections (0 to {len(self) - 1})")
        index %= len(self)
        junction = self.path.ArrayOrdineGetTipoSezione(index) == _k.SEZIONE_RACCORDO
        return Section(index, self.path.ArrayOrdineGetpSezione(index), junction, self.machine.record,
                       self._messages.get(index, ""))

    @property
    def sections(self) -> List[Section]:
        """The sections in running order, as snapshots."""
        return [self.section(i) for i in range(len(self))]

    def __iter__(self) -> Iterator[Section]:
        return iter(self.sections)

    @property
    def duration(self) -> float:
        return sum(s.duration for s in self.sections)

    @property
    def continuous(self) -> bool:
        return self.path.CheckContinuitaSezioni() == 1

    def __repr__(self) -> str:
        kinds = ", ".join(s.kind for s in self.sections)
        source = f" from {self.file!r}" if self.file else ""
        return f"<Exam{source}: {len(self)} sections ({kinds}), {self.duration:.2f} s>"

    # changing

    def set(self, index: int, members: Optional[Dict[str, Any]] = None, **more: Any) -> Section:
        """Sets members of section `index` (see `section(index).members`), checked all together against
        the members' allowed values: a bad one raises ValueError with the reason and changes nothing.
        The section is computed again and the exam made continuous; a computation the library refuses
        raises KorvaneError and changes nothing; a limit message arrives as a LimitWarning."""
        values = dict(members or {}, **more)
        if not values:
            raise ValueError("set: give at least one member")
        section = self.section(index)
        table = {r["nome"] for r in _table(section._code)}
        for name in values:
            if name not in table:
                near = _k.MembriVicini(section._code, name)
                hint = f"; did you mean {', '.join(near)}?" if near else ""
                raise ValueError(f"section {section.index} ({section.kind}) has no member {name!r}{hint}")
        texts = [f"{section.index}.{name}={_as_text(value)}" for name, value in values.items()]
        changed, trajectories, junctions = _k.ApplicaAssegnazioni(self.path, texts)
        self._recompute(changed, trajectories, junctions)
        return self.section(section.index)

    def compute(self) -> "Exam":
        """Computes every section again and makes the exam continuous."""
        self._recompute(range(len(self)), self._trajectories(),
                        [self.path.ArrayRaccordiGetRaccordo(i) for i in range(self.path.ArrayRaccordiGetSize())])
        return self

    def set_points(self, index: int, graph: str, points: Any) -> Section:
        """Replaces the tuning points of panoramic section `index`'s graph ("main", "kV" or "shift") with
        `points`, (x, y) pairs: at least two, x whole arch-curve indices in increasing order within the
        curve, y finite. A bad list raises ValueError and changes nothing; the section is then computed as
        `set` computes it (KorvaneError on the library's refusal, the exam left as it was)."""
        section = self.section(index)
        members = {name: member for name, _, member in TUNING_GRAPHS}
        if section.kind != "panoramic":
            raise ValueError(f"section {section.index} ({section.kind}) has no tuning points")
        if graph not in members:
            raise ValueError(f"no tuning graph {graph!r}: one of {', '.join(members)}")
        xy = np.asarray(points, dtype=float)
        last = len(section.raw.CurvaDenti.ArrayCurvaDenti) - 1
        where = f"section {section.index}, {graph} tuning points"
        if xy.ndim != 2 or xy.shape[1:] != (2,) or len(xy) < 2:
            raise ValueError(f"{where}: at least two (x, y) points are needed")
        if not np.isfinite(xy).all():
            raise ValueError(f"{where}: every x and y is a finite number")
        if (xy[:, 0] != np.round(xy[:, 0])).any() or xy[0, 0] < 0 or xy[-1, 0] > last:
            raise ValueError(f"{where}: x is a whole arch-curve point from 0 to {last}")
        if (np.diff(xy[:, 0]) <= 0).any():
            raise ValueError(f"{where}: x increases from one point to the next")
        trajectories = self._trajectories()
        setattr(trajectories[self.path.ArrayOrdineGetPosSezione(section.index)], members[graph], xy)
        self._recompute([section.index], trajectories, [])
        return self.section(section.index)

    def insert(self, index: int, kind: str) -> Section:
        """Puts the example section of `kind` (one of EXAMPLES, 'harmonic junction' or 'linear junction')
        at `index` of the running order (len(exam) adds it at the end). The junctions are made continuous
        again by the library; what it says of continuity arrives as a KorvaneWarning. A refusal raises
        KorvaneError and changes nothing."""
        if not 0 <= index <= len(self):
            raise IndexError(f"insert at {index}: the exam has {len(self)} sections (0 to {len(self)})")
        example = _example_section(kind, self.machine)
        junction = kind in JUNCTION_KINDS
        kinds = self._kinds + ([] if junction else [example.TipoCurva])

        def add():
            if junction:
                self.path.ArrayRaccordiAdd(example)
                entry = _k.CElementoOrdine(_k.SEZIONE_RACCORDO, self.path.ArrayRaccordiGetSize() - 1)
            else:
                self.path.ArrayTraiettorieAdd(example)
                entry = _k.CElementoOrdine(_k.SEZIONE_TRAIETTORIA, self.path.ArrayTraiettorieGetSize() - 1)
            # The library appends with -1 and refuses a place past the end.
            return self.path.ArrayOrdineAggiungiElemento(entry, -1 if index == len(self) else index) == 1
        self._change(f"insert {kind} at {index}", add, kinds)
        return self.section(index)

    def remove(self, index: int) -> None:
        """Takes section `index` out of the running order and out of the path; the junctions are made
        continuous again. A refusal (the last section, say) raises KorvaneError and changes nothing."""
        section = self.section(index)
        k = self.path.ArrayOrdineGetPosSezione(section.index)
        entry = _k.CElementoOrdine(self.path.ArrayOrdineGetTipoSezione(section.index), k)
        kinds = list(self._kinds)
        if not section.is_junction and k < len(kinds):
            del kinds[k]

        def take_out():
            if self.path.ArrayOrdineEliminaElementoERiordina(entry) != 1:
                return False
            (self.path.ArrayRaccordiRemoveAt if section.is_junction else self.path.ArrayTraiettorieRemoveAt)(k)
            return True
        self._change(f"remove section {section.index}", take_out, kinds)

    def _change(self, what: str, change, kinds: List[int]) -> None:
        """Runs an order change (True when the library took it) and the continuity correction; on the
        library's refusal the exam is put back as it was."""
        before = self.snapshot()
        self.path.GetErrorString()
        refused, said = "", ""
        if not change():
            refused = self.path.GetErrorString() or "the library refused the place in the running order"
        else:
            self.path.CorreggiContinuitaSezioni()
            said = self.path.GetErrorString()
            if self.path.ArrayOrdineGetSize() == 0:
                refused = said or "at least one section has to remain"
        if refused:
            self.restore(before)
            raise KorvaneError(f"{what}: {refused}; the exam was left as it was")
        self._kinds = kinds
        self._learn_messages()
        if said:
            warnings.warn(KorvaneWarning(f"{what}: {said}"), stacklevel=3)
        self._warn_messages(stacklevel=4)

    def snapshot(self) -> "Snapshot":
        """The exam as it is now, computed sections and running order; `restore` puts it back exactly,
        without computing anything again (what undo needs)."""
        return Snapshot(self.path.GetpArrayOrdine(), self._trajectories(), self.path.ArrayRaccordiCopiaInArray(),
                        list(self._kinds))

    def restore(self, snapshot: "Snapshot") -> None:
        """Puts back the exam a `snapshot` of it holds."""
        self.path.SvuotaArray()
        for t in snapshot.trajectories:
            self.path.ArrayTraiettorieAdd(t)
        for r in snapshot.junctions:
            self.path.ArrayRaccordiAdd(r)
        self.path.ArrayOrdineCopy(snapshot.order)
        self._kinds = list(snapshot.kinds)
        self._learn_messages()

    def _recompute(self, changed, trajectories, junctions) -> None:
        """Computes the changed sections as `korvane exam set` does and puts them in; all or none."""
        before, kinds = [], list(self._kinds)
        for i in changed:
            k = self.path.ArrayOrdineGetPosSezione(i)
            if self.path.ArrayOrdineGetTipoSezione(i) == _k.SEZIONE_RACCORDO:
                before.append((True, k, self.path.ArrayRaccordiGetRaccordo(k)))
                r = junctions[k]
                r.CalcolaArrayVelocita(self.path.GetTipoControlloAnticollisioneConsigliato())
                computed, put = len(r.ArrayPassi) > 0, lambda k=k, r=r: self.path.ArrayRaccordiSetAt(k, r)
            else:
                before.append((False, k, self.path.ArrayTraiettorieGetTraiettoria(k)))
                t = trajectories[k]
                if k < len(kinds) and t.TipoCurva == 0:
                    t.TipoCurva = kinds[k]
                if k < len(kinds):
                    kinds[k] = t.TipoCurva
                t.CalcolaArrayVelocita(_head_mode(t.TipoCurva))
                computed, put = len(t.ArrayPassi) > 0 and t.TipoCurva != 0, lambda k=k, t=t: self.path.CopiaTraiettoria(k, t)
            put()
            if not computed:
                message = (junctions[k] if before[-1][0] else trajectories[k]).StringaErrore or "not computed"
                for junction, j, old in before:
                    (self.path.ArrayRaccordiSetAt if junction else self.path.CopiaTraiettoria)(j, old)
                raise KorvaneError(f"section {i}: {message}; the exam was left as it was")
        self._kinds = kinds
        self.path.CorreggiContinuitaSezioni()
        self._learn_messages()
        self._warn_messages(stacklevel=4)

    def _learn_messages(self) -> None:
        """Each section's message, from a copy computed again: the path keeps no section's message once
        the section is put in, and a junction made continuous is computed inside the path."""
        self._messages = {}
        mode = self.path.GetTipoControlloAnticollisioneConsigliato()
        for i in range(len(self)):
            raw = self.path.ArrayOrdineGetpSezione(i)
            junction = self.path.ArrayOrdineGetTipoSezione(i) == _k.SEZIONE_RACCORDO
            if not junction and raw.TipoCurva == 0:
                continue
            raw.CalcolaArrayVelocita(mode if junction else _head_mode(raw.TipoCurva))
            if raw.StringaErrore:
                self._messages[i] = raw.StringaErrore

    def _warn_messages(self, stacklevel: int = 3) -> None:
        for s in self.sections:
            m = _message_of(s)
            if m is not None and s.computed:
                warnings.warn(LimitWarning(m), stacklevel=stacklevel)
            elif not s.computed:
                warnings.warn(KorvaneWarning(f"section {s.index} ({s.name}): {s.message or 'not computed'}"),
                              stacklevel=stacklevel)

    # checking

    def check(self) -> CheckReport:
        """Per axis the largest |velocity| and |acceleration| against the limits the library checks, the
        head check of every section, every message with its section and step, continuity, damaged lines."""
        sections = [s for s in self.sections if s.computed]
        if not sections:
            raise KorvaneError("check: no section of the exam is computed")
        states, steps = _joined(sections)
        return _report(axis_motion(states, steps, self.machine.record), self.machine.record,
                       self._head_check(), [m for m in map(_message_of, self.sections) if m is not None],
                       self.continuous, self.damaged_lines)

    def _head_check(self) -> str:
        failed, run = [], False
        for s in self.sections:
            mode = self.path.GetTipoControlloAnticollisioneConsigliato() if s.is_junction else s.head_mode
            if not s.computed or mode == _k.CSezione.ANTICOLLISIONE_NESSUNA:
                continue
            run = True
            if s.raw.ControlloAntiCollisione(mode)[0] != 1:
                failed.append(f"section {s.index} ({s.name})")
        if failed:
            return "failed: " + ", ".join(failed)
        return "passed" if run else "not run (the cephalometric kind has none)"

    def scan(self, projection_type: int = 2, exit: Optional[Dict[str, float]] = None) -> "Scan":
        """The whole running order as the unit's step buffer, made by the flat functions' export. A project
        has no projection type or exit point of its own: as for a movement, type 2 and all-zero axes go into
        the header unless given ({"X": mm, "Y": mm, "R": deg, "H": mm}). KorvaneError when the order does not
        fit a buffer, with the library's reason."""
        done, buffer, reason = _k.EsportaPercorso(self.path, projection_type, _rest_point(exit or {}, "exit"))
        if done != 1:
            raise KorvaneError(f"no step buffer: {reason}")
        return Scan(buffer, self.machine, "project")

    # saving

    def save(self, file: PathLike, outputs: bool = True) -> List[str]:
        """Writes the project (.trg) with its machine file and CSV files and, with `outputs`, the projection
        files, look-up tables and the step buffer of the running order (STEM_steps.bin, see `scan`; when the
        order does not fit one, a KorvaneWarning says why and the rest is written); all are made in a hidden
        folder, checked to load back as they are, and only then moved in. Returns the files written.
        KorvaneError names every section not fit to run."""
        final = os.fspath(file)
        stem, ending = os.path.splitext(os.path.basename(final))
        if ending != ".trg" or not stem:
            raise ValueError(f"a project's name ends in .trg: {final}")
        if self.damaged_lines:
            raise KorvaneError("the project has damaged lines (see damaged_lines): mend them before saving")
        unfit = [f"section {s.index} ({s.kind} {s.name!r}): {s.message or 'not computed'}"
                 for s in self.sections if not s.computed or s.message]
        if unfit or len(self) == 0:
            raise KorvaneError("not saved: " + ("; ".join(unfit) if unfit else "the exam has no section"))
        folder = os.path.dirname(os.path.abspath(final))
        os.makedirs(folder, exist_ok=True)
        hidden = tempfile.mkdtemp(prefix=".korvane-exam-", dir=folder)
        lut = self.path.GetSalvaLUT()
        try:
            if outputs:
                self.path.SetSalvaLUT(1)
            inside = os.path.join(hidden, stem + ".trg")
            self.path.SalvaFile(inside, 1 if outputs else 0, 0)
            message = self.path.GetErrorString()
            if message:
                raise KorvaneError(f"{final}: {message}")
            self._loads_back(inside)
            if outputs:
                try:
                    self.scan().save(os.path.join(hidden, stem + "_steps.bin"))
                except KorvaneError as e:
                    warnings.warn(KorvaneWarning(f"{stem}_steps.bin not written: {e}"), stacklevel=2)
            written = []
            for made in sorted(os.listdir(hidden)):
                os.replace(os.path.join(hidden, made), os.path.join(folder, made))
                written.append(os.path.join(os.path.dirname(final), made))
        finally:
            self.path.SetSalvaLUT(lut)
            shutil.rmtree(hidden, ignore_errors=True)
        self.file = final
        return written

    def _loads_back(self, file: str) -> None:
        with warnings.catch_warnings():
            warnings.simplefilter("ignore")
            again = Exam.load(file, self.machine)
        if again.damaged_lines or len(again) != len(self):
            raise KorvaneError(f"{file}: the saved project does not load back whole")
        for a, b in zip(self.sections, again.sections):
            if a.is_junction != b.is_junction or not a.raw == b.raw:
                raise KorvaneError(f"section {a.index} ({a.name}) does not load back as it was computed")


JUNCTION_KINDS = {"harmonic junction": _k.CRaccordo.RACCORDO_ARMONICO, "linear junction": _k.CRaccordo.RACCORDO_LINEARE}
# What `Exam.insert` takes: an example exam's kind for its trajectory, or a junction's kind.
SECTION_KINDS: Tuple[str, ...] = EXAMPLES + tuple(JUNCTION_KINDS)


def _example_section(kind: str, machine: Machine):
    """The computed section an example exam of this machine holds: its trajectory, or for a junction
    kind the panoramic example's first junction made of that kind."""
    if kind not in SECTION_KINDS:
        raise ValueError(f"no section kind {kind!r}: one of {', '.join(SECTION_KINDS)}")
    _need_usable(machine)
    path = _k.CPercorso()
    _k.esempi.CostruisciProgettoEsempio(EXAMPLES[0] if kind in JUNCTION_KINDS else kind, path, machine.record)
    if kind not in JUNCTION_KINDS:
        return path.ArrayTraiettorieGetTraiettoria(0)
    junction = path.ArrayRaccordiGetRaccordo(0)
    junction.TipoRaccordo = JUNCTION_KINDS[kind]
    junction.Nome = kind.capitalize()
    junction.CalcolaArrayVelocita(path.GetTipoControlloAnticollisioneConsigliato())
    return junction


def _need_usable(machine: Machine) -> None:
    problems = machine.problems
    if problems:
        raise KorvaneError("the machine cannot compute motion: " + "; ".join(problems))


def _as_text(value: Any) -> str:
    """A value as the command line would be given it; floats by their shortest exact text."""
    if isinstance(value, bool):
        return "1" if value else "0"
    if isinstance(value, (float, np.floating)):
        return repr(float(value))
    if isinstance(value, (int, np.integer, str)):
        return str(value)
    raise TypeError(f"not a member value: {value!r} (a number, a bool or a name)")


def _rest_point(where: Dict[str, float], what: str) -> Any:
    """An axis state at rest from {"X": mm, "Y": mm, "R": deg, "H": mm}; axes not named are 0."""
    unknown = set(where) - set("XYRH")
    if unknown:
        raise ValueError(f"{what}: axes are X, Y, R and H, not {', '.join(sorted(unknown))}")
    return _k.PUNTO_TRAIETTORIA(**{"dPos" + a: float(v) for a, v in where.items()})


def _kinds_in_file(file: str) -> List[int]:
    """The kind each trajectory block of a project file states, in order."""
    label = "Tipo Curva        = "
    kinds = []
    with open(file, "rb") as f:
        for line in f.read().decode("latin-1").splitlines():
            if line.startswith(label):
                try:
                    kinds.append(int(line[len(label):]))
                except ValueError:
                    pass
    return kinds


# -- flat-API scans --------------------------------------------------------------------------------


class Scan:
    """A motion made through the flat functions (the unit's host API) or read from a step buffer:
    the 37293-byte `buffer`, its `steps` and the axis `states` they lead to."""

    _CB3D = {"scan_time": "fTempoScansione", "radius": "fRaggioCerchio", "x_centre": "fXCentroRotazione",
             "y_centre": "fYCentroRotazione", "harmonic_junctions": "bRaccordiArmonici",
             "max_acceleration_percent": "fMaxAccPercento", "front_ma": "imAFrontali", "side_ma": "imALaterali",
             "projection_type": "iTipoProiezione", "options": "iOpzioni"}

    def __init__(self, buffer: bytes, machine: Machine, kind: str):
        decoded = _k.DecodificaBuffer(bytes(buffer), machine.record)
        self.buffer = bytes(buffer)
        self.machine = machine
        self.kind = kind
        self.steps: np.ndarray = decoded["passi"]
        self.states: np.ndarray = decoded["stati"]
        self.crc_valid: bool = decoded["crcValido"]
        self.version, self.group, self.projection_type = decoded["versione"], decoded["gruppo"], decoded["tipoProiezione"]
        self.start_steps, self.exit_steps = decoded["ini"], decoded["out"]

    @staticmethod
    def _api(machine: Optional[Machine]) -> Machine:
        machine = machine or Machine.example()
        _need_usable(machine)
        _k.DLL_KORVANE_GetErrorString()
        _k.DLL_KORVANE_SetLimitiEParametri(machine.record)
        _k.DLL_KORVANE_UsaTestaDiDefault()
        return machine

    @classmethod
    def cb3d(cls, machine: Optional[Machine] = None, **settings: Any) -> "Scan":
        """A cone-beam 3D scan. Settings: scan_time (s), radius, x_centre, y_centre (mm),
        harmonic_junctions, max_acceleration_percent, front_ma, side_ma, projection_type, options."""
        machine = cls._api(machine)
        p = _k.ParamTrjCB3D()
        for name, value in settings.items():
            if name not in cls._CB3D:
                raise ValueError(f"cb3d: no setting {name!r}: one of {', '.join(cls._CB3D)}")
            setattr(p, cls._CB3D[name], value)
        _, size, count = _k.DLL_KORVANE_GeneraTraiettoriaScansioneCB3D(p)
        return cls(_k.DLL_KORVANE_GetTraiettoria(size, count)[1], machine, "cb3d")

    @classmethod
    def movement(cls, start: Dict[str, float], end: Dict[str, float], time: float = 0.0,
                 max_acceleration_percent: float = 80.0, machine: Optional[Machine] = None) -> "Scan":
        """A movement between two rest positions given as {"X": mm, "Y": mm, "R": deg, "H": mm};
        `time` 0 asks for the shortest."""
        machine = cls._api(machine)
        points = [_rest_point(where, "movement") for where in (start, end)]
        _, size, count = _k.DLL_KORVANE_GeneraTraiettoriaMovimento(points[0], points[1], time, max_acceleration_percent)
        return cls(_k.DLL_KORVANE_GetTraiettoria(size, count)[1], machine, "movement")

    @classmethod
    def read(cls, source: Union[bytes, bytearray, PathLike], machine: Optional[Machine] = None) -> "Scan":
        """A step buffer read back from its bytes or its file; ValueError when it is not one."""
        if not isinstance(source, (bytes, bytearray)):
            with open(os.fspath(source), "rb") as f:
                source = f.read(_k.DIMENSIONE_BUFFER_PASSI + 1)
        return cls(bytes(source), machine or Machine.example(), "step buffer")

    def save(self, file: PathLike) -> str:
        """Writes the buffer (beside, then renamed); returns the file name."""
        def write(temporary):
            with open(temporary, "wb") as f:
                f.write(self.buffer)
        return _write_beside(file, write)

    @property
    def duration(self) -> float:
        return len(self.steps) * self.machine.time_step

    def check(self) -> CheckReport:
        """Per axis the extremes against the limits the library checks, and the head check (3D mode) of
        the whole motion run as one section."""
        series = axis_motion(self.states, self.steps, self.machine.record)
        whole = _k.CRaccordo(self.machine.record)
        first = self.states[0]
        whole.PuntoIniziale = _k.PUNTO_TRAIETTORIA(*(float(first[n]) for n in self.states.dtype.names[:8]),
                                                   int(first["iKV"]), int(first["imA"]))
        whole.ArrayPassi = self.steps
        passed, message = whole.ControlloAntiCollisione(_k.CSezione.ANTICOLLISIONE_3D)
        head = "passed (3D mode)" if passed == 1 else "failed (3D mode)" + (f": {message}" if message else "")
        return _report(series, self.machine.record, head, [])

    def __repr__(self) -> str:
        crc = "valid" if self.crc_valid else "INVALID"
        return f"<Scan {self.kind}: {len(self.steps)} steps, {self.duration:.2f} s, CRC {crc}>"
