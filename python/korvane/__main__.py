"""python3 -m korvane plot: the pictures of an exam as PNG and SVG; python3 -m korvane studio: the
page to design an exam in.

Exit codes as the command line's: 0 done, 1 the library refused, 2 bad usage or an input that does
not read. Every failure is one line on standard error, never a traceback."""

import argparse
import os
import sys
import warnings


def _arguments(argv):
    from .interface import EXAMPLES
    parser = argparse.ArgumentParser(prog="python3 -m korvane")
    commands = parser.add_subparsers(dest="command", required=True)
    plot = commands.add_parser("plot", help="draw the top view, the axes and the panoramic graphs")
    plot.add_argument("file", nargs="?", help="a step buffer (37293 bytes) or a .trg project")
    plot.add_argument("--example", choices=EXAMPLES, help="one of the example exams")
    plot.add_argument("--machine", help="machine file (default: the example unit)")
    plot.add_argument("--every", type=int, default=10, help="a beam every N steps in the top view")
    plot.add_argument("--out", required=True, help="folder the pictures are written into")
    studio = commands.add_parser("studio", help="design an exam in the browser")
    studio.add_argument("folder", nargs="?", default=".", help="the workspace (default: the current folder)")
    studio.add_argument("--host", default="127.0.0.1", help="the address to listen on (default: 127.0.0.1)")
    studio.add_argument("--port", type=int, default=0, help="the port (default: a free one)")
    studio.add_argument("--no-browser", action="store_true", help="print the link without opening a browser")
    a = parser.parse_args(argv)
    if a.command == "studio":
        if not os.path.isdir(a.folder):
            parser.error(f"the workspace {a.folder} is not a folder")
        return a
    if (a.file is None) == (a.example is None):
        parser.error("give either FILE or --example")
    if a.every < 1:
        parser.error("--every is at least 1")
    return a


def _figures(a):
    """(name, {picture: figure}) of what the arguments ask for."""
    import matplotlib
    matplotlib.use("Agg")
    from . import plot
    from .interface import Exam, Machine, Scan

    machine = Machine.load(a.machine) if a.machine else None
    if a.example:
        name, thing = a.example, Exam.example(a.example, machine)
    else:
        name = os.path.splitext(os.path.basename(a.file))[0]
        thing = Exam.load(a.file, machine) if a.file.lower().endswith(".trg") else Scan.read(a.file, machine)
    figures = {"top_view": plot.top_view(thing, a.every), "axes": plot.axes(thing)}
    if isinstance(thing, Exam) and any(s.kind == "panoramic" for s in thing.sections):
        figures["panoramic"] = plot.panoramic(thing)
    return name, figures


def _write(folder, name, figures):
    os.makedirs(folder, exist_ok=True)
    for key, fig in figures.items():
        for ending in ("png", "svg"):
            final = os.path.join(folder, f"{name}_{key}.{ending}")
            # Written beside and renamed, so an interrupted run leaves the earlier picture whole.
            temporary = os.path.join(folder, f".korvane-{name}_{key}.{ending}")
            fig.savefig(temporary, format=ending, dpi=110)
            os.replace(temporary, final)
            print(final)


def main(argv=None) -> int:
    a = _arguments(argv)
    if a.command == "studio":
        from .studio import serve
        try:
            return serve(a.folder, a.host, a.port, not a.no_browser)
        except KeyboardInterrupt:
            return 0
    from .interface import KorvaneError
    try:
        with warnings.catch_warnings(record=True) as said:
            warnings.simplefilter("always")
            name, figures = _figures(a)
        for w in said:
            print(f"korvane: warning: {w.message}", file=sys.stderr)
        _write(a.out, name, figures)
    except KorvaneError as e:
        print(f"korvane: {e}", file=sys.stderr)
        return 1
    except (OSError, ValueError, TypeError) as e:
        print(f"korvane: {e}", file=sys.stderr)
        return 2
    except KeyboardInterrupt:
        return 130
    except Exception as e:  # noqa: BLE001 - whatever else went wrong is still said in one line
        print(f"korvane: unexpected {type(e).__name__}: {e}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
