"""A cone-beam 3D scan through the unit's flat functions: its step buffer written, read back and
checked, then its top view and axes.  Usage: python3 01_cb3d_scan.py [OUT_DIR]"""
import os
import sys

import korvane

out = sys.argv[1] if len(sys.argv) > 1 else "out/python"
scan = korvane.Scan.cb3d(scan_time=18.0, max_acceleration_percent=70.0)   # machine=korvane.Machine.load(...)
print(scan)
again = korvane.Scan.read(scan.save(os.path.join(out, "scan.bin")))
print("read back:", again, "- same bytes:", again.buffer == scan.buffer)
print(again.check())

korvane.plot.top_view(again, every=15).savefig(os.path.join(out, "01_cb3d_top_view.png"))
korvane.plot.axes(again).savefig(os.path.join(out, "01_cb3d_axes.png"))
