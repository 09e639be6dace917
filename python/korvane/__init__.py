"""Korvane, the motion library of a dental X-ray unit, from Python.

Start with the English interface::

    import korvane
    exam = korvane.Exam.example("pan")          # or korvane.Exam.load("exam.trg")
    exam.set(1, TempoScansiones=14.0)           # checked, computed again, continuous
    print(exam.check())                         # per axis against the limits the library checks
    exam.save("out/pan.trg")                    # the project with every output the unit needs
    korvane.plot.top_view(exam).savefig("top.png")

`Machine`, `Exam`, `Section`, `Scan` (the flat functions' step buffers), `CheckReport`; limit messages
arrive as `LimitWarning`, refusals as `KorvaneError` with the library's text.

Under it, the bindings keep the library's own names (CPercorso, CTraiettoria, CRaccordo,
CLimitiEParametri, the DLL_KORVANE_ functions, ...) for those who want them: steps and axis states
come out as NumPy structured arrays whose fields are the C++ members, point arrays as n x 2 arrays.
"""

import importlib as _importlib

from ._korvane import *  # noqa: F401,F403
from ._korvane import __version__, esempi  # noqa: F401
from .interface import (CHECKED_LIMITS, EXAMPLES, AxisCheck, CheckReport, Exam, KorvaneError,  # noqa: F401
                        KorvaneWarning, LimitWarning, Machine, Member, Message, Scan, Section, Snapshot)


def percorso_di_esempio(tipo, macchina=None):
    """Kept for older scripts: the library's path (CPercorso) of `Exam.example(tipo)`."""
    import warnings
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        return Exam.example(tipo, Machine(macchina) if macchina is not None else None).path


def __getattr__(name):
    # The plots need Matplotlib: loaded on first use, so `import korvane` stays light.
    if name == "plot":
        return _importlib.import_module(".plot", __name__)
    raise AttributeError(f"module 'korvane' has no attribute {name!r}")
