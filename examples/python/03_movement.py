"""A plain movement of the arm from its parking position to a scan start, through the unit's flat
functions, and its axes against the machine's limits.  Usage: python3 03_movement.py [OUT_DIR]"""
import os
import sys

import korvane

out = sys.argv[1] if len(sys.argv) > 1 else "out/python"
os.makedirs(out, exist_ok=True)
try:
    move = korvane.Scan.movement({"X": -40.0, "Y": 22.0, "R": -199.8}, {"X": 0.0, "Y": 0.0, "R": -180.0}, time=2.0)
except korvane.KorvaneError as e:   # the library's reason, for example a movement too short for the axes
    sys.exit(f"refused: {e}")
end = move.states[-1]
print(f"{move}: ends at X {end['dPosX']:.2f}, Y {end['dPosY']:.2f}, R {end['dPosR']:.2f}")
print(move.check())

korvane.plot.axes(move).savefig(os.path.join(out, "03_movement_axes.png"))
