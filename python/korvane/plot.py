"""Pictures a trajectory designer checks an exam by. Each function returns a Matplotlib figure
built without pyplot, so it works headless (Agg) and in notebooks alike."""

import numpy as np
from matplotlib.figure import Figure

from . import _korvane as _k
from . import profilo_testa, sezioni, stati_sezione

_NOMI_CURVA = {2: "panoramic", 3: "circular", 4: "linear", 5: "from CSV", 6: "cephalometric"}


class _Pezzo:
    """One stretch of motion to draw: its states, steps, machine, sensor distance and arch curve."""

    def __init__(self, etichetta, stati, passi, macchina, sensore, arco=None):
        self.etichetta, self.stati, self.passi, self.macchina = etichetta, stati, passi, macchina
        self.sensore, self.arco = sensore, arco


def _pezzi(oggetto):
    """A path, a single section or a read-back step buffer as stretches of motion."""
    if isinstance(oggetto, dict) and "stati" in oggetto:
        m = oggetto["macchina"]
        return [_Pezzo("step buffer", oggetto["stati"], oggetto["passi"], m, m.CentSens3D)]
    if isinstance(oggetto, _k.CSezione):
        voci = [(0, _k.SEZIONE_RACCORDO if isinstance(oggetto, _k.CRaccordo) else _k.SEZIONE_TRAIETTORIA, oggetto)]
        modo = _k.CSezione.ANTICOLLISIONE_PAN if getattr(oggetto, "TipoCurva", 0) in (2, 4) else _k.CSezione.ANTICOLLISIONE_3D
    elif isinstance(oggetto, _k.CPercorso):
        voci = sezioni(oggetto)
        modo = oggetto.GetTipoControlloAnticollisioneConsigliato()
    else:
        raise TypeError("expected a CPercorso, a CTraiettoria, a CRaccordo or a buffer from korvane.leggi_buffer")
    pezzi = []
    for i, tipo, s in voci:
        if s is None:
            continue
        m = s.LimitiEParametri
        sensore = m.CentSensPan if modo == _k.CSezione.ANTICOLLISIONE_PAN else m.CentSens3D
        if tipo == _k.SEZIONE_RACCORDO:
            etichetta, arco = f"{i + 1}: junction", None
        else:
            etichetta = f"{i + 1}: {_NOMI_CURVA.get(s.TipoCurva, 'trajectory')}"
            arco = s.CurvaDenti.ArrayCurvaDenti if s.TipoCurva == _k.CTraiettoria.CURVA_PANORAMICA else None
        pezzi.append(_Pezzo(etichetta, stati_sezione(s), s.ArrayPassi, m, sensore, arco))
    if not pezzi or all(len(p.passi) == 0 for p in pezzi):
        raise ValueError("nothing to draw: no section has steps")
    return pezzi


def _colori(n):
    from matplotlib import colormaps
    mappa = colormaps["tab10"]
    return [mappa(i % 10) for i in range(n)]


def top_view(percorso, ogni=10):
    """The arm seen from above: head outline, arch curve, rotation-centre path, tube and sensor
    points and the beam every `ogni` steps, one colour per section."""
    if int(ogni) < 1:
        raise ValueError("top_view: ogni is at least 1")
    pezzi = _pezzi(percorso)
    fig = Figure(figsize=(8, 8), layout="constrained")
    ax = fig.add_subplot()
    testa = profilo_testa()
    if len(testa):
        chiuso = np.vstack([testa, testa[:1]])
        ax.fill(chiuso[:, 0], chiuso[:, 1], color="0.9", zorder=0)
        ax.plot(chiuso[:, 0], chiuso[:, 1], color="0.5", lw=1, label="head outline")
    for pezzo, colore in zip(pezzi, _colori(len(pezzi))):
        s = pezzo.stati
        x, y, fi = s["dPosX"], s["dPosY"], np.radians(s["dPosR"])
        c, d = pezzo.macchina.CentroMonoblocco, pezzo.sensore
        tubo = np.column_stack([x + c * np.cos(fi), y + c * np.sin(fi)])
        sensore = np.column_stack([x - d * np.cos(fi), y - d * np.sin(fi)])
        if pezzo.arco is not None and len(pezzo.arco):
            ax.plot(pezzo.arco[:, 0], pezzo.arco[:, 1], color="k", lw=2, label="arch curve")
        for i in range(0, len(s), int(ogni)):
            ax.plot([tubo[i, 0], sensore[i, 0]], [tubo[i, 1], sensore[i, 1]], color=colore, lw=0.4, alpha=0.6)
        ax.plot(x, y, color=colore, lw=2, label=f"{pezzo.etichetta}: rotation centre")
        ax.plot(tubo[:, 0], tubo[:, 1], ls="--", color=colore, lw=1)
        ax.plot(sensore[:, 0], sensore[:, 1], ls=":", color=colore, lw=1)
    ax.plot([], [], ls="--", color="0.3", label="tube")
    ax.plot([], [], ls=":", color="0.3", label="sensor")
    ax.set_aspect("equal")
    ax.set_xlabel("X, mm")
    ax.set_ylabel("Y, mm")
    ax.set_title(f"Top view (a beam every {int(ogni)} steps)")
    ax.legend(loc="upper right", fontsize="small")
    return fig


def _assi_nel_tempo(pezzi):
    """Time, then per axis (positions, velocities, accelerations) over the whole motion."""
    m = pezzi[0].macchina
    dt = m.PassoTemporale
    stati, passi = [], []
    for n, p in enumerate(pezzi):
        # Every section after the first starts where the previous one ended: its first state is dropped.
        stati.append(p.stati if n == 0 else p.stati[1:])
        passi.append(p.passi)
    s = np.concatenate(stati)
    iC = np.concatenate([np.asarray(p["iC"], dtype=np.int32) for p in passi])
    velC = np.concatenate([[0.0], _k.VelocitaDaMemorizzata(iC, m.AsseC.StepPerUnita, m.AsseC.StepSPerLSB)])
    posC = np.cumsum(velC) * dt
    t = np.arange(len(s)) * dt
    assi = {}
    for nome, pos, vel in (("X", s["dPosX"], s["dVelX"]), ("Y", s["dPosY"], s["dVelY"]),
                           ("R", s["dPosR"], s["dVelR"]), ("H", s["dPosH"], s["dVelH"]), ("C", posC, velC)):
        acc = np.concatenate([[0.0], np.diff(vel) / dt]) if dt > 0 else np.zeros_like(vel)
        assi[nome] = (pos, vel, acc)
    return t, assi


def axes(percorso):
    """X, Y, R, H and C positions, velocities and accelerations against time, with the machine's
    limits drawn as dashed lines."""
    pezzi = _pezzi(percorso)
    m = pezzi[0].macchina
    t, assi = _assi_nel_tempo(pezzi)
    fig = Figure(figsize=(13, 12), layout="constrained")
    griglia = fig.subplots(5, 3, sharex=True)
    unita = {"R": "deg", "C": "mm"}
    for riga, nome in enumerate(("X", "Y", "R", "H", "C")):
        limiti = getattr(m, "Asse" + nome)
        u = unita.get(nome, "mm")
        serie = assi[nome]
        for colonna, (valori, titolo, su, giu) in enumerate((
                (serie[0], f"{nome}, {u}", limiti.PosMax, limiti.PosMin),
                (serie[1], f"{nome} velocity, {u}/s", limiti.MaxVel, -limiti.MaxVel),
                (serie[2], f"{nome} acceleration, {u}/s²", limiti.MaxAcc, -limiti.MaxAcc))):
            ax = griglia[riga, colonna]
            ax.plot(t, valori, lw=1)
            # C moves the sensor, not an axis with travel limits: its position has none to draw.
            if not (nome == "C" and colonna == 0):
                for limite in (su, giu):
                    ax.axhline(limite, color="r", ls="--", lw=0.8)
            ax.set_ylabel(titolo, fontsize="small")
            ax.grid(alpha=0.3)
    for ax in griglia[-1]:
        ax.set_xlabel("time, s")
    fig.suptitle("Axes against the machine's limits (dashed)")
    return fig


def panoramic(traiettoria):
    """The panoramic geometry per arch-curve point: arm angle, distortion, its derivative, the
    projection radius and the magnification, with the tuning points and the tuned window marked."""
    if not isinstance(traiettoria, _k.CTraiettoria):
        raise TypeError("panoramic: expected a CTraiettoria")
    t = traiettoria
    if len(t.GraficoRotaz) == 0:
        t = _k.CTraiettoria(traiettoria)
        t.CalcolaTraiettoriaPanoramica()
    if len(t.GraficoRotaz) == 0:
        raise ValueError("panoramic: the trajectory has no panoramic geometry (no arch curve or tuning graph)")
    k = t.PosDistAng0
    ingresso = "GraficoDerivata" if t.TipoRicostruzione == 1 else "GraficoRProiez"
    righe = (("GraficoRotaz", "R, deg"), ("GraficoDistors", "distortion, deg"),
             ("GraficoDerivata", "derivative, deg/mm"), ("GraficoRProiez", "projection radius, mm"),
             ("GraficoIngrY", "magnification"))
    fig = Figure(figsize=(10, 11), layout="constrained")
    griglia = fig.subplots(len(righe), 1, sharex=True)
    for ax, (membro, titolo) in zip(griglia, righe):
        valori = getattr(t, membro)
        ax.plot(np.arange(len(valori)), valori, lw=1.2)
        if membro == ingresso and len(t.PuntiTuning):
            ax.plot(t.PuntiTuning[:, 0], t.PuntiTuning[:, 1], "o", color="C3", label="tuning points")
            ax.legend(loc="best", fontsize="small")
        if membro == "GraficoIngrY":
            ax.axhline(t.Ingrandimento, color="0.5", ls=":", lw=1)
        ax.axvline(k, color="0.4", lw=0.8)
        ax.axvspan(max(k - t.PosRProjCostSx, 0), min(k + t.PosRProjCostDx, len(valori) - 1), color="C2", alpha=0.06)
        ax.set_ylabel(titolo, fontsize="small")
        ax.grid(alpha=0.3)
    griglia[-1].set_xlabel("arch-curve point")
    fig.suptitle("Panoramic geometry (centre point and tuned window shaded)")
    return fig
