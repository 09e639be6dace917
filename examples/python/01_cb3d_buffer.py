"""A cone-beam 3D scan through the flat functions, its step buffer written and read back, and its
top view and axis plot.  Usage: python3 01_cb3d_buffer.py [OUT_DIR]"""
import os
import sys

import korvane
from korvane import plot

uscita = sys.argv[1] if len(sys.argv) > 1 else "out/python"
os.makedirs(uscita, exist_ok=True)

macchina = korvane.esempi.MacchinaEsempio()   # or: m = korvane.CLimitiEParametri(); m.LeggiDaFile("MachinesParameters.ini")
korvane.DLL_KORVANE_SetLimitiEParametri(macchina)
korvane.DLL_KORVANE_UsaTestaDiDefault()

parametri = korvane.ParamTrjCB3D()
parametri.fTempoScansione = 18.0
parametri.fMaxAccPercento = 70.0
_, dim_buffer, num_punti = korvane.DLL_KORVANE_GeneraTraiettoriaScansioneCB3D(parametri)
_, buffer, stati = korvane.DLL_KORVANE_GetTraiettoria(dim_buffer, num_punti)
print(f"{len(buffer)} bytes, {len(stati)} axis states, R from {stati['dPosR'][0]:.1f} to {stati['dPosR'][-1]:.1f} deg")

with open(os.path.join(uscita, "scan.bin"), "wb") as f:
    f.write(buffer)
letto = korvane.leggi_buffer(os.path.join(uscita, "scan.bin"), macchina)
print("CRC valid:", letto["crcValido"], "steps:", len(letto["passi"]))

plot.top_view(letto, 15).savefig(os.path.join(uscita, "01_cb3d_top_view.png"))
plot.axes(letto).savefig(os.path.join(uscita, "01_cb3d_axes.png"))
