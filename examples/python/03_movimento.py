"""A plain movement of the arm from its parking position to a scan start, through the flat
functions, and its axes against the machine's limits.  Usage: python3 03_movimento.py [OUT_DIR]"""
import os
import sys

import korvane
from korvane import plot

uscita = sys.argv[1] if len(sys.argv) > 1 else "out/python"
os.makedirs(uscita, exist_ok=True)

macchina = korvane.esempi.MacchinaEsempio()
korvane.DLL_KORVANE_SetLimitiEParametri(macchina)
korvane.DLL_KORVANE_UsaTestaDiDefault()

da = korvane.PUNTO_TRAIETTORIA(dPosX=-40.0, dPosY=22.0, dPosR=-199.8)
a = korvane.PUNTO_TRAIETTORIA(dPosX=0.0, dPosY=0.0, dPosR=-180.0)
try:
    _, dim_buffer, num_punti = korvane.DLL_KORVANE_GeneraTraiettoriaMovimento(da, a, 2.0, 80.0)
except korvane.KorvaneError as e:   # the library's reason, for example a movement too short for the axes
    sys.exit(f"refused: {e}")
_, buffer, stati = korvane.DLL_KORVANE_GetTraiettoria(dim_buffer, num_punti)
print(f"{len(stati) - 1} steps, ends at X {stati['dPosX'][-1]:.2f}, Y {stati['dPosY'][-1]:.2f}, R {stati['dPosR'][-1]:.2f}")

plot.axes(korvane.leggi_buffer(buffer, macchina)).savefig(os.path.join(uscita, "03_movimento_axes.png"))
