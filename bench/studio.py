"""Korvane Studio's speed, printed as the README's Markdown table.

At the server: the studio's application answers in this process (every middleware and the JSON
encoding included, no network): a member change of the example panoramic exam, and one step of a
dragged tuning point, each answered with every view's data. Over HTTP: the same drag step sent to a
running studio through a local socket. In the browser (headless Chromium through Selenium, when it is
installed): the page's first load, and the time from a pointer move on a tuning point to the views
redrawn with its answer, over a real drag.

    PYTHONPATH=build/python python3 bench/studio.py [REPETITIONS]
"""

import http.client
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
import warnings

import numpy as np

from fastapi.testclient import TestClient

from korvane.studio.server import create_app

HOST = "127.0.0.1:8765"


def figures(times_s):
    ms = sorted(t * 1e3 for t in times_s)
    return statistics.median(ms), ms[int(0.9 * (len(ms) - 1))], len(ms)


def row(what, times_s):
    median, p90, n = figures(times_s)
    print(f"| {what} | {median:.1f} ms | {p90:.1f} ms | {n} |")


def drag_bodies(points, n):
    """Bodies of a drag of the centre tuning point down and back, one per step."""
    for i in range(n):
        moved = np.array(points, dtype=float)
        moved[7, 1] = 30.0 + 25.0 * np.sin(np.pi * i / n)
        yield {"points": moved.tolist(), "drag": "bench"}


def at_the_server(n):
    client = TestClient(create_app(tempfile.mkdtemp(), "T", [HOST]), base_url=f"http://{HOST}")
    client.get("/?token=T")
    first = client.post("/api/exam/new", json={"kind": "pan"}).json()
    member, drag = [], []
    for i in range(n):
        start = time.perf_counter()
        answer = client.patch("/api/sections/1", json={"members": {"TempoScansiones": 14.0 + 0.01 * (i % 50)}})
        member.append(time.perf_counter() - start)
        assert answer.status_code == 200 and answer.json()["views"]
    p = first["views"]["panoramic"]["1"]["tuning"]["main"]["points"]
    for body in drag_bodies(np.column_stack([p["x"], p["y"]]), n):
        start = time.perf_counter()
        answer = client.put("/api/sections/1/tuning/main", json=body)
        drag.append(time.perf_counter() - start)
        assert answer.status_code == 200
    row("a member change of the example panoramic exam, recomputed and answered with every view's data "
        "(in process, no network)", member)
    row("one step of a dragged tuning point of that exam, the same answer", drag)
    return len(answer.content)


def studio_process(folder):
    server = subprocess.Popen([sys.executable, "-m", "korvane", "studio", folder, "--no-browser"],
                              stdout=subprocess.PIPE, text=True)
    return server, server.stdout.readline().rsplit(" ", 1)[-1].strip()


def over_http(n):
    server, link = studio_process(tempfile.mkdtemp())
    try:
        address = link.split("/")[2]
        connection = http.client.HTTPConnection(address)
        for _ in range(100):  # the link is printed just before the server listens
            try:
                connection.connect()
                break
            except ConnectionRefusedError:
                time.sleep(0.05)
        connection.request("GET", "/" + link.split("/", 3)[3])
        first = connection.getresponse()
        first.read()
        cookie = first.getheader("set-cookie").split(";")[0]
        headers = {"Cookie": cookie, "Content-Type": "application/json", "Host": address}

        def send(method, path, body):
            connection.request(method, path, body=json.dumps(body), headers=headers)
            answer = connection.getresponse()
            return answer.status, json.loads(answer.read())

        _, first = send("POST", "/api/exam/new", {"kind": "pan"})
        p = first["views"]["panoramic"]["1"]["tuning"]["main"]["points"]
        times = []
        for body in drag_bodies(np.column_stack([p["x"], p["y"]]), n):
            start = time.perf_counter()
            status, _ = send("PUT", "/api/sections/1/tuning/main", body)
            times.append(time.perf_counter() - start)
            assert status == 200
        row("the same drag step sent to a running studio over a local HTTP connection", times)
    finally:
        server.terminate()
        server.wait(10)


def in_the_browser(n):
    browser, driver_file = shutil.which("chromium"), shutil.which("chromedriver")
    try:
        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service
        from selenium.webdriver.common.actions.action_builder import ActionBuilder
    except ImportError:
        browser = None
    if not (browser and driver_file):
        print("| the page in a browser | not measured: no chromium, chromium-driver and python3-selenium | | |")
        return
    server, link = studio_process(tempfile.mkdtemp())
    options = webdriver.ChromeOptions()
    options.binary_location = browser
    for flag in ["--headless=new", "--window-size=1600,1000", "--disable-gpu"] + \
            (["--no-sandbox"] if os.geteuid() == 0 else []):
        options.add_argument(flag)
    driver = webdriver.Chrome(service=Service(executable_path=driver_file), options=options)
    ready = "return document.body.dataset.ready === 'yes'"
    try:
        loads = []
        for i in range(n):
            start = time.perf_counter()
            driver.get(link) if i == 0 else driver.refresh()
            while not driver.execute_script(ready):
                time.sleep(0.005)
            wall = time.perf_counter() - start
            loads.append((float(driver.execute_script("return document.body.dataset.readyAt")) / 1e3, wall))
        row("the page's first load, from the navigation to the page ready (page, scripts, charting library, "
            "the workspace's files)", [page for page, _ in loads[:1]])
        row("the same as the test driver sees it (a fresh browser's first page)", [wall for _, wall in loads[:1]])
        row("the page loaded again (the browser's cache warm)", [page for page, _ in loads[1:]])
        driver.execute_script("const s = document.querySelector('#new'); s.value = 'pan';"
                              "s.dispatchEvent(new Event('change'))")
        while not driver.execute_script("return Number(document.body.dataset.shown || 0) > 0"):
            time.sleep(0.01)
        driver.find_element("css selector", "#tabs [data-view=tuning]").click()
        time.sleep(0.5)
        x, y = driver.execute_script("""
            const plot = document.querySelector('#plot'), xa = plot._fullLayout.xaxis, ya = plot._fullLayout.yaxis;
            const t = window.studio.state.views.panoramic['1'].tuning.main.points, box = plot.getBoundingClientRect();
            return [box.left + xa._offset + xa.l2p(t.x[7]), box.top + ya._offset + ya.l2p(t.y[7])];""")
        # The pointer moves every 16 ms, faster than the exam can follow: positions wait and merge, and
        # the frames drawn per second are what the designer sees.
        actions = ActionBuilder(driver, duration=16)
        actions.pointer_action.move_to_location(round(x), round(y)).pointer_down()
        for i in range(1, 4 * n + 1):
            actions.pointer_action.move_to_location(round(x), round(y - 60 * np.sin(np.pi * i / (4 * n))))
        actions.pointer_action.pointer_up()
        actions.perform()
        while not driver.execute_script("return Number(document.body.dataset.drags || 0) > 0"):
            time.sleep(0.01)
        timings = driver.execute_script("return window.studio.timings")
        answers = driver.execute_script("return window.studio.answers")
        row("a pointer move on a tuning point to the views redrawn with its answer", [t / 1e3 for t in timings])
        row("of which the answer (request, recompute, every view's data, parse)", [a[0] / 1e3 for a in answers])
        row("and the redraw (running order, table, the plot)", [a[1] / 1e3 for a in answers])
        frames = driver.execute_script("return window.studio.frames")
        rate = (len(frames) - 1) / ((frames[-1] - frames[0]) / 1e3)
        print(f"| frames drawn per second while the point moves (the views redrawn, {len(frames)} frames) "
              f"| {rate:.1f} | | 1 |")
    finally:
        driver.quit()
        server.terminate()
        server.wait(10)


def main():
    n = int(sys.argv[1]) if len(sys.argv) > 1 else 60
    warnings.simplefilter("ignore")
    print(f"{os.cpu_count()} cores shared with other work (load average {os.getloadavg()[0]:.2f} when the run began); "
          "the median and the 90th percentile of each.\n")
    print("| what | median | 90th percentile | runs |")
    print("|---|---|---|---|")
    size = at_the_server(n)
    over_http(n)
    in_the_browser(max(10, n // 2))
    print(f"\nAn answer with every view's data of the example panoramic exam is {size / 1e3:.0f} kB of JSON.")


if __name__ == "__main__":
    main()
