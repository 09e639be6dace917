"""The example panoramic exam, tuned by moving one tuning point: a wider sharp layer at the
incisors. The two geometries are drawn and the tuned exam's steps computed.
Usage: python3 02_panoramica_tuning.py [OUT_DIR]"""
import os
import sys

import numpy as np

import korvane
from korvane import plot

uscita = sys.argv[1] if len(sys.argv) > 1 else "out/python"
os.makedirs(uscita, exist_ok=True)

korvane.CSezione.UsaTestonaDiDefault()
esame = korvane.esempi.EsamePanoramicoAdulto(korvane.esempi.MacchinaEsempio())
esame.CalcolaTraiettoriaPanoramica()
prima = np.array(esame.GraficoRProiez)

# The tuning point at the midline sets the projection radius there: raise it from 30 to 40 mm.
punti = esame.PuntiTuning
centro = int(np.argmin(abs(punti[:, 0] - esame.PosDistAng0)))
punti[centro, 1] = 40.0
esame.PuntiTuning = punti
esame.CalcolaTraiettoriaPanoramica()
_, riepilogo = esame.DiscretizzaTraiettoriaPanoramica()   # riepilogo[2]: the arm speed
print(f"projection radius at the midline: {prima[esame.PosDistAng0]:.1f} -> {esame.GraficoRProiez[esame.PosDistAng0]:.1f} mm")
print(f"{len(esame.ArrayPassi)} steps, arm speed {riepilogo[2]:.2f} deg/s")

fig = plot.panoramic(esame)
fig.axes[3].plot(prima, color="0.6", ls="--", label="before")
fig.axes[3].legend(fontsize="small")
fig.savefig(os.path.join(uscita, "02_panoramica_tuning.png"))
