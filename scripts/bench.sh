#!/usr/bin/env bash
# Builds the benchmarks in Release, runs every one of them with repetitions and prints the README's
# speed table as Markdown: per benchmark the median CPU time of the repetitions, their spread (the
# lowest and highest) and the median wall time. BUILD_DIR chooses the build folder (build-rel),
# REPETITIONS the number of repetitions (5), JOBS the parallel build jobs (2).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${BUILD_DIR:-build-rel}"
ripetizioni="${REPETITIONS:-5}"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DKORVANE_BUILD_TESTS=OFF -DKORVANE_BUILD_BENCH=ON \
  -DKORVANE_WERROR=ON >/dev/null
cmake --build "$build" -j"${JOBS:-2}" >/dev/null
risultati="$(mktemp -d)"
trap 'rm -rf "$risultati"' EXIT
carico="$(cut -d' ' -f1 /proc/loadavg)"
for programma in "$build"/bin/bench_*; do
  "$programma" --benchmark_repetitions="$ripetizioni" --benchmark_format=json \
    >"$risultati/$(basename "$programma").json"
done
python3 - "$risultati" "$ripetizioni" "$(nproc)" "$carico" <<'EOF'
import json, pathlib, statistics, sys

cartella, ripetizioni, nuclei, carico = sys.argv[1:5]
# The README's rows: benchmark, what it measures.
RIGHE = [
    ("BM_CB3D_GeneraEdEsporta", "CB3D scan of 20 s at 20 ms, generated and exported through the flat API (`bench_korvane`)"),
    ("BM_CRC16X25_Buffer", "CRC-16/X-25 of that scan's 37293-byte buffer (the 37291 bytes it covers)"),
    ("BM_Circolare20s", "circular trajectory of 20 s at 20 ms with its head check"),
    ("BM_Cefalometrica5s", "cephalometric scan of 5 s at 20 ms, the example exam (the kind has no head check)"),
    ("BM_Lineare50mm", "linear scan of a 50 mm segment, 3.2 s at 20 ms, the example exam with its head check"),
    ("BM_DiscretizzazionePanoramica250Punti", "panoramic discretisation of a 250-point arch, 600 steps, with its head check (`bench_discretizzatore`)"),
    ("BM_CurvaDentiPredefinita", "dental arch curve with the default parameters at a 1 mm chord, computed afresh"),
    ("BM_GraficoTuning250", "tuning graph of a 250-point curve, a tuning point every 10 indices, walked afresh (`bench_panoramica`)"),
    ("BM_GeometriaPanoramicaCurvaPredefinita", "panoramic geometry on the default arch curve, 325 points, with its three tuning graphs (remembered)"),
    ("BM_EsamePanoramicoCurvaEGeometria", "the example panoramic exam's arch curve and geometry, 223 points (curve and graphs remembered)"),
    ("BM_EsamePanoramicoRicalcolo", "the example panoramic exam recomputed at every move of a dragged tuning point: curve, graphs, geometry, 700 steps, head check (the curve and the graph segments the point does not touch remembered)"),
    ("BM_RaccordoArmonicoQuattroAssi", "four-axis harmonic junction with its head check"),
    ("BM_RaccordoLineare", "linear ramp to rest"),
    ("BM_Harmonic_TempoMinimo", "one `Harmonic_3Link_mode` call, shortest duration, random motions (`bench_harmonic`)"),
    ("BM_Harmonic_TempoRichiesto", "the same, duration in whole steps above the shortest"),
    ("BM_Harmonic_Fissi", "the same on fixed junction axes (CB3D run-up and stop, movements), both durations"),
    ("BM_AntiCollisione_Bande", "head check of a 3000-step section, banded region"),
    ("BM_AntiCollisione_LatoPerLato", "the same check testing the polygon edge by edge"),
    ("BM_RegioneTesta/613", "head region from the default outline"),
    ("BM_RegioneTesta/3000", "head region from 3000 points over a million rows"),
    ("BM_FileProiezioneCB3D", "type-2 projection file (text and binary image) of the CB3D scan, written beside and renamed (`bench_proiezione`)"),
    ("BM_FileProiezionePanoramica", "type-2 projection file of the example panoramic exam with its junctions, 754 steps"),
    ("BM_CreaLUT_EsamePanoramico", "`CreaLUT` on that exam's path CSV, five tables synced to disk"),
    ("BM_CreaLUT_Panoramica700", "the five look-up tables of a 14 s, 700-step panoramic path, read from its step CSV (`bench_lut`)"),
    ("BM_SalvaProgettoPanoramico", "the example panoramic project saved with every output, twelve files synced (`bench_progetto`)"),
    ("BM_CaricaProgettoPanoramico", "the same project loaded, replacing, with its junctions computed"),
]
IN_NS = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}


def leggibile(ns):
    for unita, scala in (("s", 1e9), ("ms", 1e6), ("µs", 1e3)):
        if ns >= scala:
            return f"{ns / scala:.3g} {unita}"
    return f"{ns:.3g} ns"


prove = {}
for f in sorted(pathlib.Path(cartella).glob("*.json")):
    for b in json.loads(f.read_text())["benchmarks"]:
        if b.get("run_type") == "iteration" and not b.get("error_occurred"):
            s = IN_NS[b["time_unit"]]
            prove.setdefault(b["run_name"], []).append((b["cpu_time"] * s, b["real_time"] * s))
print(f"Release build, {ripetizioni} repetitions of each benchmark on {nuclei} cores shared with other work "
      f"(load average {carico} when the run began); CPU time is the figure, wall time shows the waits.\n")
print("| what | benchmark | CPU, median | CPU, lowest to highest | wall, median |")
print("|---|---|---|---|---|")
for nome, cosa in RIGHE:
    if nome not in prove:
        print(f"| {cosa} | {nome} | not run | | |")
        continue
    cpu = [c for c, _ in prove[nome]]
    parete = [w for _, w in prove[nome]]
    print(f"| {cosa} | {nome} | {leggibile(statistics.median(cpu))} | {leggibile(min(cpu))} to "
          f"{leggibile(max(cpu))} | {leggibile(statistics.median(parete))} |")
for nome in sorted(set(prove) - {n for n, _ in RIGHE}):
    print(f"| (not in the table) | {nome} | {leggibile(statistics.median(c for c, _ in prove[nome]))} | | |")
EOF
