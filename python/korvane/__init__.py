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
from ._korvane import CSezione, CPercorso, DIMENSIONE_BUFFER_PASSI, IntegraPassi, SEZIONE_RACCORDO


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


def percorso_da_traiettoria(traiettoria, riposo_prima, riposo_dopo):
    """A path that runs `traiettoria` between two junctions from and to the given rest states."""
    from ._korvane import CElementoOrdine, CRaccordo, SEZIONE_TRAIETTORIA
    m = traiettoria.LimitiEParametri
    p = CPercorso()
    p.SetLimitiEParametri(m, 1)
    p.ArrayTraiettorieAdd(traiettoria)
    for inizio, fine in ((riposo_prima, traiettoria.PuntoIniziale), (traiettoria.PuntoFinale, riposo_dopo)):
        r = CRaccordo(m)
        r.PuntoIniziale, r.PuntoFinale = inizio, fine
        r.CalcolaArrayVelocita(p.GetTipoControlloAnticollisioneConsigliato())
        p.ArrayRaccordiAdd(r)
    for e in (CElementoOrdine(SEZIONE_RACCORDO, 0), CElementoOrdine(SEZIONE_TRAIETTORIA, 0),
              CElementoOrdine(SEZIONE_RACCORDO, 1)):
        p.ArrayOrdineAggiungiElemento(e)
    p.CorreggiContinuitaSezioni()
    return p


def _a_riposo(stato, dR):
    from ._korvane import PUNTO_TRAIETTORIA
    return PUNTO_TRAIETTORIA(stato.dPosX, stato.dPosY, stato.dPosR + dR, stato.dPosH)


ESEMPI = ("pan", "linear", "ceph", "cb3d")


def percorso_di_esempio(tipo, macchina=None):
    """The example exam `tipo` ("pan", "linear", "ceph" or "cb3d") on `macchina` (the example unit by default)
    as a computed path, with the built-in head outline in force."""
    if tipo not in ESEMPI:
        raise ValueError(f"unknown example {tipo!r}: one of {', '.join(ESEMPI)}")
    m = macchina if macchina is not None else esempi.MacchinaEsempio()
    CSezione.UsaTestonaDiDefault()
    if tipo == "cb3d":
        p = CPercorso()
        esempi.CostruisciCB3D(p, m)
        return p
    if tipo == "pan":
        t = esempi.EsamePanoramicoAdulto(m)
        t.CalcolaTraiettoriaPanoramica()
        t.DiscretizzaTraiettoriaPanoramica()
    elif tipo == "linear":
        t = esempi.EsameLineare(m)
        t.CalcolaTraiettoriaLineare()
    else:
        t = esempi.EsameCefalometrico(m)
        t.CalcolaTraiettoriaCefalometrica()
    # The arm starts a few degrees behind the scan and stops a few beyond it.
    verso = 1.0 if t.PuntoFinale.dPosR >= t.PuntoIniziale.dPosR else -1.0
    return percorso_da_traiettoria(t, _a_riposo(t.PuntoIniziale, -5.0 * verso), _a_riposo(t.PuntoFinale, 5.0 * verso))


def carica_progetto(nome, macchina=None):
    """A project (.trg) loaded with the built-in head outline as `korvane exam` loads it: the machine
    file beside it if there is one (else `macchina`, the example unit by default), the example adult
    arch for a panoramic trajectory saved without one, continuity corrected. Returns (path, message),
    the message being the first one met ("" when none); `path.GetRigheDanneggiate()` names every line
    the load found damaged."""
    p = CPercorso()
    p.SetLimitiEParametri(macchina if macchina is not None else esempi.MacchinaEsempio(), 1)
    CSezione.UsaTestonaDiDefault()
    p.CaricaFile(nome, 1, 1)
    return p, esempi.CompletaProgettoCaricato(p)


def leggi_buffer(sorgente, macchina=None):
    """A step buffer (a file name or its 37293 bytes) read back: a dict with its header fields, the
    steps ("passi"), the axis states they integrate to ("stati") and the machine ("macchina")."""
    from ._korvane import CLimitiEParametri, DecodificaBuffer
    import os
    if isinstance(sorgente, (bytes, bytearray)):
        dati = bytes(sorgente)
    else:
        with open(os.fspath(sorgente), "rb") as f:
            dati = f.read(DIMENSIONE_BUFFER_PASSI + 1)
    m = macchina if macchina is not None else esempi.MacchinaEsempio()
    if not isinstance(m, CLimitiEParametri):
        raise TypeError("leggi_buffer: the machine is a CLimitiEParametri")
    b = DecodificaBuffer(dati, m)
    b["macchina"] = m
    return b
