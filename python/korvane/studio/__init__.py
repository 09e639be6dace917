"""Korvane Studio: design an exam in the browser. `python3 -m korvane studio [FOLDER]` serves the
page for the workspace FOLDER on this machine and prints the link, with its one-time token."""

from __future__ import annotations

import secrets
import socket
import sys
import webbrowser


def serve(folder: str, host: str = "127.0.0.1", port: int = 0, browser: bool = True) -> int:
    import uvicorn

    from .server import create_app

    # The socket is bound first, so a free port (0) is known before the link is printed.
    family = socket.AF_INET6 if ":" in host else socket.AF_INET
    # Named TCP, so the connections it accepts send without delay: with the protocol left 0 the event
    # loop leaves Nagle on, and every small answer waited 40 ms for the browser's delayed ACK.
    listening = socket.socket(family, socket.SOCK_STREAM, socket.IPPROTO_TCP)
    listening.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    try:
        listening.bind((host, port))
    except OSError as e:
        print(f"korvane studio: cannot listen on {host}:{port}: {e.strerror}", file=sys.stderr)
        return 2
    port = listening.getsockname()[1]
    name = f"[{host}]" if family == socket.AF_INET6 else host
    hosts = [f"{name}:{port}"] + ([f"localhost:{port}"] if host in ("127.0.0.1", "::1") else [])
    token = secrets.token_urlsafe(32)
    app = create_app(folder, token, hosts)
    link = f"http://{name}:{port}/?token={token}"
    print(f"Korvane Studio for {folder}: {link}", flush=True)
    print("The link works once; the page keeps its session. Ctrl+C stops the studio.", flush=True)
    if browser:
        webbrowser.open(link)
    server = uvicorn.Server(uvicorn.Config(app, log_level="warning"))
    server.run(sockets=[listening])
    return 0
