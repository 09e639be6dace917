import glob
import json
import os
import subprocess
import sys

import matplotlib

matplotlib.use("Agg")
import numpy as np  # noqa: E402
import pytest  # noqa: E402
from matplotlib.path import Path  # noqa: E402

import korvane  # noqa: E402
from korvane import plot  # noqa: E402

SORGENTI = os.environ.get("KORVANE_SOURCE_DIR", os.path.join(os.path.dirname(__file__), "..", ".."))
MACCHINA = os.path.join(SORGENTI, "examples", "MachinesParameters.ini")


@pytest.fixture(scope="module")
def esempi():
    return {e: korvane.percorso_di_esempio(e) for e in korvane.ESEMPI}


def test_cb3d_through_the_flat_functions_gives_the_command_s_bytes(tmp_path):
    subprocess.run([os.environ["KORVANE_CLI"], "cb3d", "--machine", MACCHINA, "--out", str(tmp_path)],
                   check=True, capture_output=True)
    m = korvane.CLimitiEParametri()
    assert m.LeggiDaFile(MACCHINA) == 1
    korvane.DLL_KORVANE_SetLimitiEParametri(m)
    korvane.DLL_KORVANE_UsaTestaDiDefault()
    esito, dim, num = korvane.DLL_KORVANE_GeneraTraiettoriaScansioneCB3D(korvane.ParamTrjCB3D())
    esito, buffer, stati = korvane.DLL_KORVANE_GetTraiettoria(dim, num)
    assert len(buffer) == 37293 and buffer == (tmp_path / "scan.bin").read_bytes()
    assert len(stati) == num and stati.dtype.names[:2] == ("dPosX", "dPosY")


def test_panoramic_example_from_python_equals_the_cpp_one_member_by_member():
    m = korvane.esempi.MacchinaEsempio()
    korvane.CSezione.UsaTestonaDiDefault()
    t = korvane.esempi.EsamePanoramicoAdulto(m)
    assert t.CalcolaTraiettoriaPanoramica() == 1 and t.DiscretizzaTraiettoriaPanoramica()[0] == 1
    riferimento = korvane.esempi.EsamePanoramicoCalcolatoInCpp(m)
    assert len(_membri_diversi(t, riferimento)[1]) > 100 and len(t.ArrayPassi) > 0
    assert _membri_diversi(t, riferimento)[0] == [] and t == riferimento


def _membri_diversi(a, b):
    """(the members of two sections that differ, all members compared)."""
    membri = [n for n in dir(a) if not n.startswith("_") and not callable(getattr(a, n))]
    uguale = lambda x, y: np.array_equal(x, y) if isinstance(x, np.ndarray) else x == y  # noqa: E731
    return [n for n in membri if not uguale(getattr(a, n), getattr(b, n))], membri


def test_a_project_saved_from_python_loads_in_cpp_and_back(tmp_path):
    p, _ = korvane.carica_progetto(os.path.join(SORGENTI, "examples", "projects", "pan.trg"))
    r = p.ArrayRaccordiGetRaccordo(1)
    r.Nome = "Gentle stop"
    p.ArrayRaccordiSetAt(1, r)
    nome, cli = tmp_path / "pan.trg", os.environ["KORVANE_CLI"]
    assert p.SalvaFile(nome) == 1 and p.GetErrorString() == ""
    uscita = subprocess.run([cli, "exam", "show", str(nome), "--json"], check=True, capture_output=True, text=True)
    mostrato, sezioni = json.loads(uscita.stdout), korvane.sezioni(p)
    assert mostrato["continuous"] and mostrato["message"] == ""
    assert [(s["name"], s["steps"]) for s in mostrato["sections"]] == [(s.Nome, len(s.ArrayPassi)) for *_, s in sezioni]
    q, messaggio = korvane.carica_progetto(nome)
    assert messaggio == "" and len(korvane.sezioni(q)) == len(sezioni)
    for (_, tipo, a), (_, tipo_q, b) in zip(sezioni, korvane.sezioni(q)):
        assert tipo == tipo_q and _membri_diversi(a, b)[0] == [], a.Nome
    # And back: what C++ changes and saves is what Python loads.
    subprocess.run([cli, "exam", "set", str(nome), "2.MaxAccPercento=30"], check=True, capture_output=True)
    assert korvane.carica_progetto(nome)[0].ArrayRaccordiGetRaccordo(1).MaxAccPercento == 30.0


def test_a_damaged_project_loads_with_its_message_and_every_damaged_line(tmp_path):
    sorgente = os.path.join(SORGENTI, "examples", "projects", "pan")
    nome = tmp_path / "pan.trg"
    with open(sorgente + ".trg") as f:
        nome.write_text(f.read().replace("Ingrandimento     = 1.270000", "Ingrandimento     = x1.27"))
    with open(sorgente + "_MP.ini") as f:
        (tmp_path / "pan_MP.ini").write_text(f.read())
    p, messaggio = korvane.carica_progetto(str(nome))
    assert messaggio == "Error opening the .TRG file for reading"
    assert p.GetRigheDanneggiate() == [(str(nome), 67, "Ingrandimento     = %f")]


def test_pictures_of_every_example_are_drawn_headless(esempi, tmp_path):
    buffer = korvane.leggi_buffer(_buffer_cb3d())
    for nome, oggetto in list(esempi.items()) + [("buffer", buffer)]:
        figure = [plot.top_view(oggetto), plot.axes(oggetto)]
        if nome == "pan":
            figure.append(plot.panoramic(esempi["pan"].ArrayTraiettorieGetTraiettoria(0)))
        for i, fig in enumerate(figure):
            file = tmp_path / f"{nome}{i}.png"
            fig.savefig(file)
            assert file.stat().st_size > 10000, file


def _buffer_cb3d():
    korvane.DLL_KORVANE_SetLimitiEParametri(korvane.esempi.MacchinaEsempio())
    _, dim, num = korvane.DLL_KORVANE_GeneraTraiettoriaScansioneCB3D(korvane.ParamTrjCB3D())
    return korvane.DLL_KORVANE_GetTraiettoria(dim, num)[1]


def test_panoramic_top_view_is_right(esempi):
    # The rotation centre stays inside the arch and every beam crosses the arch curve.
    t = esempi["pan"].ArrayTraiettorieGetTraiettoria(0)
    arco = t.CurvaDenti.ArrayCurvaDenti
    s = korvane.stati_sezione(t)
    centri = np.column_stack([s["dPosX"], s["dPosY"]])
    assert Path(np.vstack([arco, arco[:1]])).contains_points(centri).all()
    u = np.column_stack([np.cos(np.radians(s["dPosR"])), np.sin(np.radians(s["dPosR"]))])
    rel = arco[None, :, :] - centri[:, None, :]
    distanza = np.abs(rel[:, :, 0] * u[:, None, 1] - rel[:, :, 1] * u[:, None, 0]).min(axis=1)
    assert distanza.max() < 1.0


def test_axis_curves_stay_within_the_machine_limits(esempi):
    for nome, p in esempi.items():
        m = p.GetLimitiEParametri()
        _, assi = plot._assi_nel_tempo(plot._pezzi(p))
        for asse in "XYRH":
            lim = getattr(m, "Asse" + asse)
            pos, vel, acc = assi[asse]
            assert lim.PosMin <= pos.min() and pos.max() <= lim.PosMax, (nome, asse)
            assert np.abs(vel).max() <= lim.MaxVel and np.abs(acc).max() <= lim.MaxAcc, (nome, asse)


@pytest.mark.parametrize("chiamata, eccezione", [
    (lambda: korvane.CPercorso().ArrayTraiettorieGetTraiettoria(0), IndexError),
    (lambda: korvane.CSezione.GetProfiloTestaPunto(100000), IndexError),
    (lambda: korvane.CLimitiEParametri().LeggiDaFile("/nonexistent/MachinesParameters.ini"), FileNotFoundError),
    (lambda: korvane.CSezione.LeggiTestonaDaFile("/nonexistent.csv"), FileNotFoundError),
    (lambda: korvane.CPercorso().CaricaFile("/nonexistent.trg"), FileNotFoundError),
    (lambda: korvane.leggi_buffer(b"short"), ValueError),
    (lambda: korvane.CTraiettoria().__setattr__("PuntiTuning", np.zeros((3, 3))), ValueError),
    (lambda: korvane.CTraiettoria().__setattr__("Ingrandimento", "big"), TypeError),
    (lambda: korvane.DLL_KORVANE_GetTraiettoria(-1, 0), ValueError),
    (lambda: korvane.plot.top_view(korvane.CPercorso()), ValueError),
    (lambda: korvane.plot.axes(42), TypeError),
    (lambda: korvane.CSezione.SetArrayTestona(np.zeros((2, 2))), korvane.KorvaneError),
])
def test_bad_input_raises_a_clear_exception(chiamata, eccezione):
    with pytest.raises(eccezione):
        chiamata()
    korvane.CSezione.UsaTestonaDiDefault()


def test_a_refusal_carries_the_library_s_message():
    korvane.DLL_KORVANE_SetLimitiEParametri(korvane.esempi.MacchinaEsempio())
    _, dim, num = korvane.DLL_KORVANE_GeneraTraiettoriaScansioneCB3D(korvane.ParamTrjCB3D())
    with pytest.raises(korvane.KorvaneError, match=r"\w"):
        korvane.DLL_KORVANE_GetTraiettoria(100, num)


def test_examples_and_the_plot_command_run(tmp_path):
    ambiente = dict(os.environ, MPLBACKEND="Agg")
    esempi = sorted(glob.glob(os.path.join(SORGENTI, "examples", "python", "*.py")))
    assert len(esempi) >= 4
    for esempio in esempi:
        subprocess.run([sys.executable, esempio, str(tmp_path)], check=True, env=ambiente, capture_output=True)
    subprocess.run([sys.executable, "-m", "korvane", "plot", "--example", "pan", "--out", str(tmp_path / "p")],
                   check=True, env=ambiente, capture_output=True)
    subprocess.run([sys.executable, "-m", "korvane", "plot", str(tmp_path / "scan.bin"), "--out", str(tmp_path / "b")],
                   check=True, env=ambiente, capture_output=True)
    subprocess.run([sys.executable, "-m", "korvane", "plot", os.path.join(SORGENTI, "examples", "projects", "pan.trg"),
                    "--out", str(tmp_path / "t")], check=True, env=ambiente, capture_output=True)
    for cartella, attese in (("p", 6), ("b", 4), ("t", 6)):
        assert len(list((tmp_path / cartella).glob("*.*g"))) == attese
        assert all(f.stat().st_size > 0 for f in (tmp_path / cartella).glob("*.png"))
    assert len(list(tmp_path.glob("0*.png"))) >= len(esempi)
