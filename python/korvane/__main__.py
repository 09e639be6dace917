"""python3 -m korvane plot: the pictures of an exam as PNG and SVG."""

import argparse
import os
import sys


def _principale(argomenti=None):
    parser = argparse.ArgumentParser(prog="python3 -m korvane")
    comandi = parser.add_subparsers(dest="comando", required=True)
    plot = comandi.add_parser("plot", help="draw the top view, the axes and the panoramic graphs")
    plot.add_argument("file", nargs="?", help="a step buffer (37293 bytes) or a .trg project")
    plot.add_argument("--example", choices=("pan", "linear", "ceph", "cb3d"), help="one of the example exams")
    plot.add_argument("--machine", help="machine file (default: the example unit)")
    plot.add_argument("--every", type=int, default=10, help="a beam every N steps in the top view")
    plot.add_argument("--out", required=True, help="folder the pictures are written into")
    a = parser.parse_args(argomenti)
    if (a.file is None) == (a.example is None):
        parser.error("give either FILE or --example")
    if a.every < 1:
        parser.error("--every is at least 1")

    import matplotlib
    matplotlib.use("Agg")
    import korvane
    from korvane import plot as grafici

    macchina = None
    if a.machine:
        macchina = korvane.CLimitiEParametri()
        if not macchina.LeggiDaFile(a.machine):
            print(f"korvane: the machine file {a.machine} was not read whole", file=sys.stderr)
            return 2
    try:
        if a.example:
            nome = a.example
            oggetto = korvane.percorso_di_esempio(a.example, macchina)
        elif a.file.lower().endswith(".trg"):
            nome = os.path.splitext(os.path.basename(a.file))[0]
            oggetto, messaggio = korvane.carica_progetto(a.file, macchina)
            if messaggio:
                print(f"korvane: {a.file}: {messaggio}", file=sys.stderr)
        else:
            nome = os.path.splitext(os.path.basename(a.file))[0]
            korvane.CSezione.UsaTestonaDiDefault()
            oggetto = korvane.leggi_buffer(a.file, macchina)
        figure = {"top_view": grafici.top_view(oggetto, a.every), "axes": grafici.axes(oggetto)}
        if isinstance(oggetto, korvane.CPercorso):
            for _, tipo, s in korvane.sezioni(oggetto):
                if not korvane.e_raccordo(tipo) and s.TipoCurva == korvane.CTraiettoria.CURVA_PANORAMICA:
                    figure["panoramic"] = grafici.panoramic(s)
                    break
    except (OSError, ValueError, korvane.KorvaneError) as e:
        print(f"korvane: {e}", file=sys.stderr)
        return 1
    os.makedirs(a.out, exist_ok=True)
    for chiave, fig in figure.items():
        for estensione in ("png", "svg"):
            finale = os.path.join(a.out, f"{nome}_{chiave}.{estensione}")
            # Written beside and renamed, so an interrupted run leaves the earlier picture whole.
            provvisorio = finale + ".tmp"
            fig.savefig(provvisorio, format=estensione, dpi=110)
            os.replace(provvisorio, finale)
            print(finale)
    return 0


if __name__ == "__main__":
    sys.exit(_principale())
