"""The example panoramic exam tuned (a slower scan, a little less magnification), checked and saved
with every output the unit needs.  Usage: python3 02_panoramic_tuning.py [OUT_DIR]"""
import os
import sys

import korvane

out = sys.argv[1] if len(sys.argv) > 1 else "out/python"
exam = korvane.Exam.example("pan")
exam.set(1, TempoScansiones=16.0, Ingrandimento=1.25)   # section 1 is the scan; see exam.section(1).members
print(exam.check())
print("\n".join(exam.save(os.path.join(out, "pan_tuned.trg"))))
korvane.plot.panoramic(exam).savefig(os.path.join(out, "02_panoramic_tuning.png"))
