#!/usr/bin/env python3
"""Rewrites the project's own includes in the library headers as paths relative to the header, so
the installed headers find each other under include/korvane/ with only include/ on a host's path."""
import os
import re
import sys

radice = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
cartelle = ["platform", "resources", "core", "sections", "trajectories", "junctions", "path", "api"]
modello = re.compile(r'^(\s*#\s*include\s+)"([^"]+)"', re.M)
cambiati = 0
for cartella in cartelle:
    for base, _, file in os.walk(os.path.join(radice, cartella)):
        for nome in file:
            if not nome.endswith(".h"):
                continue
            percorso = os.path.join(base, nome)
            testo = open(percorso, encoding="utf-8").read()

            def relativo(m):
                bersaglio = os.path.join(radice, m.group(2))
                if not os.path.isfile(bersaglio):
                    return m.group(0)
                return '%s"%s"' % (m.group(1), os.path.relpath(bersaglio, base))

            nuovo = modello.sub(relativo, testo)
            if nuovo != testo:
                open(percorso, "w", encoding="utf-8").write(nuovo)
                cambiati += 1
print("headers rewritten:", cambiati)
sys.exit(0)
