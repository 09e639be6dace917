"""A project loaded, changed and saved: the example panoramic exam stops more gently (the junction
back to rest at 50 % of the machine's acceleration instead of 80 %), is saved with its machine file,
loaded again and drawn.  Usage: python3 04_project.py [OUT_DIR]"""
import os
import sys

import korvane

out = sys.argv[1] if len(sys.argv) > 1 else "out/python"
here = os.path.dirname(os.path.abspath(__file__))
exam = korvane.Exam.load(os.path.join(here, "..", "projects", "pan.trg"))
for section in exam:
    print(section)

stop = exam.sections[-1]    # the last junction takes the arm back to rest
print("before:", stop.members["MaxAccPercento"])
gentle = exam.set(stop.index, MaxAccPercento=50.0)
exam.save(os.path.join(out, "pan_gentle.trg"), outputs=False)

again = korvane.Exam.load(os.path.join(out, "pan_gentle.trg"))
print(f"stop at {again.sections[-1].members['MaxAccPercento'].value:.0f} % of the acceleration: "
      f"{len(stop.steps)} -> {len(gentle.steps)} steps, {stop.duration:.2f} -> {gentle.duration:.2f} s")
korvane.plot.axes(again).savefig(os.path.join(out, "04_project_axes.png"))
