"""A project loaded, changed and saved: the example panoramic exam stops more gently (the junction
back to rest at 50 % of the machine's acceleration instead of 80 %), is saved to a temporary folder
with its machine file, loaded again and drawn.
Usage: python3 04_progetto.py [OUT_DIR]"""
import os
import sys
import tempfile

import korvane
from korvane import plot

uscita = sys.argv[1] if len(sys.argv) > 1 else "out/python"
os.makedirs(uscita, exist_ok=True)
progetto = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "projects", "pan.trg")

percorso, messaggio = korvane.carica_progetto(progetto)
if messaggio:
    sys.exit(f"{progetto}: {messaggio}")

# The last junction of the running order takes the arm back to rest.
ultimo = percorso.ArrayOrdineGetSize() - 1
indice = percorso.ArrayOrdineGetPosSezione(ultimo)
arresto = percorso.ArrayRaccordiGetRaccordo(indice)
prima = len(arresto.ArrayPassi)
arresto.MaxAccPercento = 50.0
arresto.CalcolaArrayVelocita(percorso.GetTipoControlloAnticollisioneConsigliato())
percorso.ArrayRaccordiSetAt(indice, arresto)
percorso.CorreggiContinuitaSezioni()

with tempfile.TemporaryDirectory() as cartella:
    nome = os.path.join(cartella, "pan_dolce.trg")
    # The project with its machine file pan_dolce_MP.ini; a file not written shows in the error text.
    percorso.SalvaFile(nome)
    errore = percorso.GetErrorString()
    if errore:
        sys.exit(f"{nome}: {errore}")
    ricaricato, messaggio = korvane.carica_progetto(nome)
    if messaggio:
        sys.exit(f"{nome}: {messaggio}")
arresto = ricaricato.ArrayRaccordiGetRaccordo(indice)
print(f"stop at {arresto.MaxAccPercento:.0f} % of the acceleration: {prima} -> {len(arresto.ArrayPassi)} steps")

plot.axes(ricaricato).savefig(os.path.join(uscita, "04_progetto.png"))
