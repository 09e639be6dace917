"""Korvane, the motion library of a dental X-ray unit, from Python.

The classes and functions carry the library's own names (CPercorso, CTraiettoria, CRaccordo,
CLimitiEParametri, the DLL_KORVANE_ functions, ...). Steps and axis states come out as NumPy
structured arrays whose fields are the C++ members; point arrays as n x 2 arrays of (x, y).
A call that returns 0 with a message raises KorvaneError; other results come back as ints.
Plots are in korvane.plot.
"""

import numpy as _np

from ._korvane import *  # noqa: F401,F403
from ._korvane import __version__, esempi  # noqa: F401
from ._korvane import CSezione, CPercorso, IntegraPassi, SEZIONE_RACCORDO


def profilo_testa():
    """The process-wide reference head outline as an n x 2 array, mm."""
    n = CSezione.GetProfiloTestaNumPunti()
    punti = [CSezione.GetProfiloTestaPunto(i) for i in range(n)]
    return _np.array([(p.X, p.Y) for p in punti], dtype=float).reshape(n, 2)


def sezioni(percorso):
    """The sections of a path in running order, as copies: (order index, kind, section)."""
    if not isinstance(percorso, CPercorso):
        raise TypeError("sezioni: expected a CPercorso")
    return [(i, percorso.ArrayOrdineGetTipoSezione(i), percorso.ArrayOrdineGetpSezione(i))
            for i in range(percorso.ArrayOrdineGetSize())]


def stati_sezione(sezione):
    """The axis states a section's steps integrate to from its start point, one more than the steps."""
    return IntegraPassi(sezione.PuntoIniziale, sezione.ArrayPassi, sezione.LimitiEParametri)


def e_raccordo(tipo):
    """Whether an order entry's kind is a junction."""
    return tipo == SEZIONE_RACCORDO
