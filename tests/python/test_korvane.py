import glob
import os
import subprocess
import sys
import warnings

import matplotlib

matplotlib.use("Agg")
import numpy as np  # noqa: E402
import pytest  # noqa: E402

import korvane  # noqa: E402
from korvane import plot  # noqa: E402

SORGENTI = os.environ.get("KORVANE_SOURCE_DIR", os.path.join(os.path.dirname(__file__), "..", ".."))
MACCHINA = os.path.join(SORGENTI, "examples", "MachinesParameters.ini")
CLI = os.environ.get("KORVANE_CLI", os.path.join(SORGENTI, "build", "bin", "korvane"))


def _quiet(chiamata, *argomenti, **opzioni):
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        return chiamata(*argomenti, **opzioni)


@pytest.fixture(scope="module")
def esami():
    return {e: _quiet(korvane.Exam.example, e) for e in korvane.EXAMPLES}


def _cartella(c):
    return {f.name: f.read_bytes() for f in c.iterdir()}


@pytest.mark.parametrize("origine", ["example", "loaded"])
@pytest.mark.parametrize("uscite, opzioni", [(False, []), (True, ["--dat", "--lut", "--steps"])])
def test_an_exam_edited_in_python_is_the_command_s_byte_for_byte(tmp_path, origine, uscite, opzioni):
    cli, py = tmp_path / "cli", tmp_path / "py"
    subprocess.run([CLI, "exam", "new", "pan", "--out", str(cli / "pan.trg")], check=True, capture_output=True)
    nuovo = _cartella(cli)
    subprocess.run([CLI, "exam", "set", str(cli / "pan.trg"), "1.TempoScansiones=16", "1.Ingrandimento=1.25",
                    "2.MaxAccPercento=50"], check=True, capture_output=True)
    subprocess.run([CLI, "exam", "save", str(cli / "pan.trg")] + opzioni, check=True, capture_output=True)

    if origine == "example":
        esame = korvane.Exam.example("pan")
    else:
        (tmp_path / "new").mkdir()
        for nome, dati in nuovo.items():
            (tmp_path / "new" / nome).write_bytes(dati)
        esame = korvane.Exam.load(tmp_path / "new" / "pan.trg")
    esame.set(1, TempoScansiones=16.0, Ingrandimento=1.25)
    esame.set(2, MaxAccPercento=50)
    assert esame.check().ok
    scritti = esame.save(py / "pan.trg", outputs=uscite)
    assert sorted(os.path.basename(f) for f in scritti) == sorted(_cartella(py))
    attesi, fatti = _cartella(cli), _cartella(py)
    assert sorted(attesi) == sorted(fatti) and len(fatti) >= (8 if uscite else 5)
    assert [n for n in attesi if attesi[n] != fatti[n]] == []
    if uscite:  # the step buffer is the whole running order's, as the flat export makes it
        assert korvane.Scan.read(py / "pan_steps.bin").buffer == esame.scan().buffer
        assert np.array_equal(esame.scan().steps, np.concatenate([s.steps for s in esame.sections]))


@pytest.mark.parametrize("indice, valori, motivo", [
    (1, {"TempoScansiones": 0}, r"not in \(0, 600\] s"),
    (1, {"Ingrandimento": 1.3, "TempoScansiones": -1.0}, "TempoScansiones"),  # the good one is dropped too
    (2, {"MaxAccPercento": 150}, r"not in \(0, 100\] %"),
    (1, {"Nome": ""}, "a name is not empty"),
    (1, {"IsScout": 2}, "0 or 1"),
    (1, {"TempoScansione": 15}, "did you mean TempoScansiones"),
    (2, {"TempoScansiones": 15}, "has no member"),            # a junction has no scan time
])
def test_a_bad_value_changes_nothing_and_says_why(esami, indice, valori, motivo):
    esame = esami["pan"]
    prima = [s.raw for s in esame.sections]
    with pytest.raises(ValueError, match=motivo):
        esame.set(indice, **valori)
    assert all(a == s.raw for a, s in zip(prima, esame.sections))


def test_a_limit_message_arrives_as_a_warning_and_stops_the_save(tmp_path):
    esame = _quiet(korvane.Exam.example, "linear")
    with pytest.warns(korvane.LimitWarning) as avvisi:
        esame.set(1, XCentroRettamm=79.0)
    messaggi = [a.message.message for a in avvisi]
    assert ("section 1 (Linear 50 mm): X is over the maximum in i = 49", 49) in [(str(m), m.step) for m in messaggi]
    rapporto = esame.check()
    assert not rapporto.ok and rapporto.messages == messaggi and str(messaggi[0]) in rapporto.summary
    with pytest.raises(korvane.KorvaneError, match="section 1"):
        esame.save(tmp_path / "fast.trg")
    assert list(tmp_path.iterdir()) == []


def test_a_refused_computation_leaves_the_exam_as_it_was(esami):
    esame = _quiet(korvane.Exam.example, "linear")
    prima = [s.raw for s in esame.sections]
    with pytest.raises(korvane.KorvaneError, match="left as it was"):
        _quiet(esame.set, 1, LunghezzaRettamm=9000.0)
    assert all(a == s.raw for a, s in zip(prima, esame.sections))


@pytest.mark.parametrize("indice, tipo", [(1, "harmonic junction"), (0, "linear junction"), (2, "ceph")])
def test_a_section_added_and_removed_gives_back_the_same_project(tmp_path, indice, tipo):
    esame = _quiet(korvane.Exam.example, "pan")
    prima = _quiet(esame.save, tmp_path / "prima.trg", outputs=False)
    nuova = _quiet(esame.insert, indice, tipo)
    assert (len(esame), nuova.kind) == (4, tipo.replace("ceph", "cephalometric"))
    _quiet(esame.remove, indice)
    dopo = _quiet(esame.save, tmp_path / "dopo.trg", outputs=False)
    assert [open(f, "rb").read() for f in prima if f.endswith(".trg")] == [open(f, "rb").read() for f in dopo if f.endswith(".trg")]


def test_a_refused_order_change_leaves_the_exam_as_it_was():
    esame = _quiet(korvane.Exam.example, "linear")
    _quiet(esame.remove, 0)
    _quiet(esame.remove, 1)
    prima = [s.raw for s in esame.sections]
    with pytest.raises(korvane.KorvaneError, match="At least one section has to remain.*left as it was"):
        _quiet(esame.remove, 0)
    with pytest.raises(ValueError, match="no section kind"):
        esame.insert(0, "spiral")
    assert [s.raw for s in esame.sections] == prima and esame.path.ArrayTraiettorieGetSize() == 1


def test_check_reports_only_the_limits_the_library_checks(esami):
    for tipo, esame in esami.items():
        rapporto = esame.check()
        assert rapporto.ok, (tipo, str(rapporto))
        assert rapporto.axes["C"].limit_acceleration is None and rapporto.axes["C"].limit_position is None
        assert rapporto.axes["X"].limit_acceleration == esame.machine.axis("X").limit_acceleration
    assert esami["ceph"].check().head_check.startswith("not run")
    assert esami["pan"].check().head_check == "passed"


def test_the_python_layer_reads_as_english(esami):
    esame = esami["pan"]
    for oggetto in [esame, esame.sections[1], esame.check(), korvane.Machine.example(),
                    esame.section(1).members["TempoScansiones"]]:
        assert " object at 0x" not in repr(oggetto)
    membro = esame.section(1).members["TempoScansiones"]
    assert (membro.unit, membro.label, membro.allowed) == ("s", "Tempo Scansione s", "in (0, 600] s")
    assert esame.sections[1].states.dtype.names[0] == "dPosX" and esame.sections[1].duration > 1.0
    pacchetto = os.path.dirname(korvane.__file__)
    assert os.path.exists(os.path.join(pacchetto, "py.typed")) and glob.glob(os.path.join(pacchetto, "*.pyi"))
    # `korvane.plot` without importing it first, as the README writes it.
    subprocess.run([sys.executable, "-c", "import korvane; korvane.plot.top_view"], check=True)


def test_a_machine_saves_loads_and_names_its_problems(tmp_path):
    m = korvane.Machine.load(MACCHINA)
    assert m.problems == [] and korvane.Machine.load(m.save(tmp_path / "m.ini")) == m
    m.record.AsseR.PosMin, m.record.AsseR.PosMax = 10.0, -10.0
    assert any("R position range" in p for p in m.problems)
    with pytest.raises(korvane.KorvaneError, match="cannot compute motion"):
        korvane.Exam.example("pan", m)


def test_cb3d_through_the_flat_functions_gives_the_command_s_bytes(tmp_path):
    subprocess.run([CLI, "cb3d", "--machine", MACCHINA, "--out", str(tmp_path)], check=True, capture_output=True)
    scan = korvane.Scan.cb3d(korvane.Machine.load(MACCHINA))
    assert len(scan.buffer) == 37293 and scan.buffer == (tmp_path / "scan.bin").read_bytes()
    again = korvane.Scan.read(tmp_path / "scan.bin")
    assert again.crc_valid and len(again.states) == len(again.steps) + 1 and again.check().ok


def test_panoramic_example_from_python_equals_the_cpp_one_member_by_member():
    m = korvane.esempi.MacchinaEsempio()
    korvane.CSezione.UsaTestonaDiDefault()
    t = korvane.esempi.EsamePanoramicoAdulto(m)
    assert t.CalcolaTraiettoriaPanoramica() == 1 and t.DiscretizzaTraiettoriaPanoramica()[0] == 1
    riferimento = korvane.esempi.EsamePanoramicoCalcolatoInCpp(m)
    membri = [n for n in dir(t) if not n.startswith("_") and not callable(getattr(t, n))]
    uguale = lambda x, y: np.array_equal(x, y) if isinstance(x, np.ndarray) else x == y  # noqa: E731
    assert len(membri) > 100 and len(t.ArrayPassi) > 0
    assert [n for n in membri if not uguale(getattr(t, n), getattr(riferimento, n))] == [] and t == riferimento


def test_a_damaged_project_loads_with_a_warning_and_is_not_saved_over(tmp_path):
    sorgente = os.path.join(SORGENTI, "examples", "projects", "pan")
    nome = tmp_path / "pan.trg"
    with open(sorgente + ".trg") as f:
        nome.write_text(f.read().replace("Ingrandimento     = 1.270000", "Ingrandimento     = x1.27"))
    with open(sorgente + "_MP.ini") as f:
        (tmp_path / "pan_MP.ini").write_text(f.read())
    with pytest.warns(korvane.KorvaneWarning, match=":67: damaged"):
        esame = korvane.Exam.load(nome)
    assert esame.damaged_lines == [(str(nome), 67, "Ingrandimento     = %f")] and not esame.check().ok
    with pytest.raises(korvane.KorvaneError, match="damaged"):
        esame.save(nome)


def test_pictures_tell_the_truth(esami):
    # The C acceleration is drawn without a limit of its own; only the checked limits are red.
    figura = plot.axes(esami["pan"])
    for riga, asse in enumerate("XYRHC"):
        for colonna, grandezza in enumerate(("position", "velocity", "acceleration")):
            rosse = [linea for linea in figura.axes[riga * 3 + colonna].lines if linea.get_color() == "r"]
            assert bool(rosse) == (grandezza in korvane.CHECKED_LIMITS[asse]), (asse, grandezza)
    assert figura.axes[6].get_ylabel().startswith("R axis")
    # The cephalometric beams end on the H line and pass through the fixed point the sweep turns about.
    pezzi, m, _, (sensore, centro, d_h, s0) = plot._exam_parts(esami["ceph"])
    scansione = next(p for p in pezzi if "cephalometric" in p.label)
    rel = scansione.sensor - centro
    assert np.abs(rel[:, 0] * d_h[1] - rel[:, 1] * d_h[0]).max() < 1e-6
    s = scansione.states
    u = np.column_stack([np.cos(np.radians(s["dPosR"])), np.sin(np.radians(s["dPosR"]))])
    verso_s0 = s0 - scansione.sensor
    assert np.abs(verso_s0[:, 0] * u[:, 1] - verso_s0[:, 1] * u[:, 0]).max() < 1.0
    # The panoramic graph's angle is the R axis plus 180 degrees; this scan starts at the arch's last point.
    t, r = esami["pan"].section(1).raw, esami["pan"].section(1).states["dPosR"]
    assert abs(t.GraficoRotaz[-1] - 180.0 - r[0]) < 0.1 and abs(t.GraficoRotaz[0] - 180.0 - r[-1]) < 0.1
    assert "starts at the last" in plot.panoramic(esami["pan"]).axes[-1].get_xlabel()
    # Every picture says the head check and the first message.
    for fig in (plot.top_view(esami["ceph"]), plot.axes(esami["circular"]), plot.panoramic(esami["pan"]),
                plot.top_view(korvane.Scan.cb3d())):
        titolo = fig.axes[0].get_title() + (fig._suptitle.get_text() if fig._suptitle else "")
        assert "head check" in titolo and "message" in titolo, titolo


@pytest.mark.parametrize("chiamata, eccezione", [
    (lambda: korvane.Exam.load("/nonexistent.trg"), FileNotFoundError),
    (lambda: korvane.Machine.load("/nonexistent/MachinesParameters.ini"), FileNotFoundError),
    (lambda: korvane.Exam.example("panorama"), ValueError),
    (lambda: korvane.Exam.example("pan").section(7), IndexError),
    (lambda: korvane.Exam.example("pan").set(1, Ingrandimento="big"), ValueError),
    (lambda: korvane.Exam.example("pan").set(1, Ingrandimento=[1.2]), TypeError),
    (lambda: korvane.Scan.read(b"short"), ValueError),
    (lambda: korvane.Scan.cb3d(speed=3), ValueError),
    (lambda: korvane.Scan.movement({"Q": 1.0}, {}), ValueError),
    (lambda: plot.axes(42), TypeError),
    (lambda: korvane.CSezione.SetArrayTestona(np.zeros((2, 2))), korvane.KorvaneError),
    (lambda: korvane.DLL_KORVANE_GetTraiettoria(-1, 0), ValueError),
])
def test_bad_input_raises_a_clear_exception(chiamata, eccezione):
    with pytest.raises(eccezione, match=r"\w"):
        _quiet(chiamata)
    korvane.CSezione.UsaTestonaDiDefault()


def test_a_not_a_project_file_is_refused(tmp_path):
    (tmp_path / "x.trg").write_text("hello\n")
    with pytest.raises(korvane.KorvaneError, match="not a project file"):
        _quiet(korvane.Exam.load, tmp_path / "x.trg")


def _modulo(*argomenti):
    ambiente = dict(os.environ, MPLBACKEND="Agg")
    return subprocess.run([sys.executable, "-m", "korvane", *argomenti], env=ambiente, capture_output=True, text=True)


def test_the_plot_command_says_what_is_wrong_without_a_traceback(tmp_path):
    rotto = tmp_path / "rotto.ini"
    rotto.write_text(open(MACCHINA).read().replace("Max Acc in mm/s2  = ", "Max Acc in mm/s2  = 2x", 1))
    (tmp_path / "file").write_text("")
    for argomenti in (["--example", "pan", "--machine", "missing.ini"], ["--example", "pan", "--machine", str(rotto)],
                      ["/nonexistent.trg"], [MACCHINA], ["--example", "pan", "--every", "0"],
                      ["--example", "pan", "--out-of-place"], [str(tmp_path / "file")]):
        uscita = tmp_path / "file" if argomenti[-1] == str(tmp_path / "file") else tmp_path / "o"
        r = _modulo("plot", *argomenti, "--out", str(uscita))
        assert r.returncode in (1, 2) and "Traceback" not in r.stderr, (argomenti, r.stderr)
        assert r.stderr.startswith(("korvane: ", "usage: ")) and len(r.stderr.strip()) > 20, r.stderr
    r = _modulo("plot", "--example", "pan", "--out", str(tmp_path / "o"), "--machine", str(tmp_path / "file" / "x"))
    assert r.returncode == 2 and "Traceback" not in r.stderr


def test_examples_and_the_plot_command_run(tmp_path):
    ambiente = dict(os.environ, MPLBACKEND="Agg")
    esempi = sorted(glob.glob(os.path.join(SORGENTI, "examples", "python", "*.py")))
    assert len(esempi) >= 4
    for esempio in esempi:
        r = subprocess.run([sys.executable, esempio, str(tmp_path)], env=ambiente, capture_output=True, text=True)
        assert r.returncode == 0 and "Warning" not in r.stderr, (esempio, r.stderr)
    corto = os.path.join(SORGENTI, "examples", "python", "02_panoramic_tuning.py")
    assert len([r for r in open(corto).read().split('"""')[-1].splitlines() if r.strip()]) < 15
    assert (tmp_path / "pan_tuned.trg").exists() and list(tmp_path.glob("*.dat"))
    for argomenti, cartella, attese in ((["--example", "ceph"], "p", 4), ([str(tmp_path / "scan.bin")], "b", 4),
                                        ([os.path.join(SORGENTI, "examples", "projects", "pan.trg")], "t", 6)):
        r = _modulo("plot", *argomenti, "--out", str(tmp_path / cartella))
        assert r.returncode == 0, r.stderr
        assert len(list((tmp_path / cartella).glob("*.*g"))) == attese
    assert len(list(tmp_path.glob("0*.png"))) >= len(esempi)
