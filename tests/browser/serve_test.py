#!/usr/bin/env python3
"""The route page of `autore serve` in a real browser (headless Chromium).

Usage: python3 tests/browser/serve_test.py [BUILD_DIR] [--saves N]   (default: build, 10)

Exports the embedded scenario, starts `autore serve --senza-browser` on it and
opens the page it prints. Then, as an author would: zoom to a station, move
that station in the train file and save; plant an error and save; mend it and
save. The page must follow each save without a reload, keeping its window.
It also measures, with the page's own performance marks, the time from each
save to the page redrawn, on the embedded 334 km route and on a route of
1,000,000 m, and prints the figures (speed is reported, not held as a test).
All traffic stays on 127.0.0.1.
"""
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

from headless import browser, frames, run_tests

BUILD = os.path.abspath(next((a for a in sys.argv[1:] if not a.startswith("--") and not a.isdigit()), "build"))
SAVES = int(sys.argv[sys.argv.index("--saves") + 1]) if "--saves" in sys.argv else 10
AUTORE = os.path.join(BUILD, "tools", "autore")
ARTIFACTS = os.path.join(BUILD, "artifacts")
LINE = "Tratta_Esempio_linea.txt"
TRAIN = "Tratta_Esempio_TR 000 Esempio-.txt"


class Served:
    """`autore serve` on two files, stopped with Ctrl-C at the end."""

    def __init__(self, folder, line, train):
        self.process = subprocess.Popen([AUTORE, "serve", line, train, "--senza-browser"], cwd=folder,
                                        stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        self.address = self.process.stdout.readline().strip()
        assert re.fullmatch(r"http://127\.0\.0\.1:\d+/", self.address), (self.address, self.process.stderr.read())

    def stop(self):
        self.process.send_signal(2)  # Ctrl-C
        status = self.process.wait(timeout=10)
        assert status == 0, status


def view(d):
    return d.execute_script("return window.__view;")


def open_page(d, address):
    d.get(address)
    for _ in range(200):
        if d.execute_script("return window.__view && window.__view.serial !== undefined;"):
            break
        time.sleep(0.05)
    frames(d)
    # Set on this page only: a reload would lose it.
    d.execute_script("window.__same_page = true;")


def save(path, data):
    """Writes the file as an editor saves it; the moment of the save, in ms since the epoch."""
    at = time.time() * 1000
    with open(path, "wb") as f:
        f.write(data)
    return at


def wait_for_new(d, serial, limit_s=10):
    end = time.time() + limit_s
    while time.time() < end:
        v = view(d)
        if v and v["serial"] != serial:
            frames(d)
            return view(d)
        time.sleep(0.01)
    raise AssertionError(f"the page did not follow the save (still {serial})")


def redrawn_after(d, saved_at):
    """Milliseconds from the save to the page's mark of its last redrawing."""
    return d.execute_script(
        "const m = performance.getEntriesByName('route-redrawn').pop();"
        "return performance.timeOrigin + m.startTime - arguments[0];", saved_at)


def console_problems(d):
    return [e for e in d.get_log("browser") if e["level"] in ("SEVERE", "WARNING")]


def station_line(text, name):
    """The index of the train file's line of the named station."""
    lines = text.split(b"\r\n")
    for i, l in enumerate(lines):
        if l.startswith(b"stazione,") and l.rstrip().endswith(name.encode("cp1252")):
            return lines, i
    raise AssertionError(f"no line for station {name}")


def moved(line, by):
    """A station line with its position moved along the route by `by` metres."""
    key, position, rest = line.split(b",", 2)
    return key + b",    " + str(int(position) + by).encode() + b"," + rest


# --- the scenarios --------------------------------------------------------------

def test_the_page_follows_each_save(d, work):
    src = os.path.join(work, "src")
    served = Served(src, LINE, TRAIN)
    try:
        open_page(d, served.address)
        assert d.execute_script("return document.getElementById('live').textContent").startswith("aggiornato")
        # The list of stations gives the times of the train file and no others.
        times = d.execute_script("return [...document.querySelectorAll('#station-list tr')]"
                                 ".map((r) => r.cells[3].textContent);")
        in_file = d.execute_script("return ROUTE.stations.map((s) => s.time_s ? s.time : '');")
        assert times == in_file and sum(1 for t in times if t) == 2, times
        stations = d.execute_script("return ROUTE.stations.map((s) => [s.name, s.at_m]);")
        name, at = stations[10]
        d.find_element("id", "layer-signals").click()  # a layer closed stays closed
        # Zoom to the station, as chosen in the list: its box stays open.
        rows = d.find_elements("css selector", "#station-list tr")
        d.execute_script("arguments[0].scrollIntoView(); arguments[0].click();", rows[10])
        frames(d)
        frames(d)
        before = view(d)
        assert before["from_m"] <= at <= before["to_m"] and before["to_m"] - before["from_m"] <= 2000, before
        assert before["pinned"] and "Stazione " + name in before["tip"], before["tip"]
        train_path = os.path.join(src, TRAIN)
        original = open(train_path, "rb").read()

        # The station moves 100 m on: the page follows without a reload and keeps its window.
        lines, i = station_line(original, name)
        lines[i] = moved(lines[i], 100)
        saved_at = save(train_path, b"\r\n".join(lines))
        v = wait_for_new(d, before["serial"])
        print(f"  station {name} moved, page redrawn {redrawn_after(d, saved_at):.0f} ms after the save")
        assert d.execute_script("return window.__same_page === true;"), "the page was loaded again"
        assert (v["from_m"], v["to_m"]) == (before["from_m"], before["to_m"]), (before, v)
        assert v["layers"]["signals"] is False, v["layers"]
        assert v["current"] is True and v["pinned"] and "Stazione " + name in v["tip"], v
        now = dict(d.execute_script("return ROUTE.stations.map((s) => [s.name, s.at_m]);"))
        assert now[name] == at + 100, (name, at, now[name])
        assert name in v["stations_named"], v["stations_named"]
        d.save_screenshot(os.path.join(ARTIFACTS, "serve-moved.png"))

        # An error planted: a second signal on the cell of the first one.
        signal = next(l for l in lines if l.startswith(b"segnale,"))
        signal_at = int(signal.split(b",")[1])
        planted = lines[:]
        planted.insert(planted.index(signal) + 1, signal)
        save(train_path, b"\r\n".join(planted))
        v = wait_for_new(d, v["serial"])
        assert v["current"] is False, v
        assert d.execute_script("return document.body.classList.contains('stale');")
        errors = d.execute_script("return ROUTE.diagnostics.filter((x) => x.severity === 'error');")
        assert any(e["at_m"] is not None and abs(e["at_m"] - signal_at) <= 100 and e["file"] == TRAIN
                   and e["line"] == planted.index(signal) + 2 for e in errors), errors
        listed = d.find_element("id", "diagnostic-list").text
        assert "errore 16" in listed and f"{TRAIN}:{planted.index(signal) + 2}" in listed, listed
        # The drawing is still the last one that compiled: the station stands where it was moved.
        assert dict(d.execute_script("return ROUTE.stations.map((s) => [s.name, s.at_m]);"))[name] == at + 100
        # Chosen in the list, the error is shown at its chainage.
        d.execute_script("document.querySelector('#diagnostic-list li.error.at').click();")
        frames(d)
        frames(d)
        w = view(d)
        assert w["from_m"] <= signal_at <= w["to_m"] and "Errore 16" in w["tip"], w
        d.save_screenshot(os.path.join(ARTIFACTS, "serve-error.png"))

        # Mended: the page is current again.
        save(train_path, original)
        v = wait_for_new(d, v["serial"])
        assert v["current"] is True, v
        assert not d.execute_script("return document.body.classList.contains('stale');")
        assert d.execute_script("return ROUTE.diagnostics.filter((x) => x.severity === 'error').length") == 0
        assert dict(d.execute_script("return ROUTE.stations.map((s) => [s.name, s.at_m]);"))[name] == at

        # A file removed is told on the page, and the server goes on.
        os.remove(train_path)
        v = wait_for_new(d, v["serial"])
        assert v["current"] is False and "non aggiornato" in d.find_element("id", "live").text
        save(train_path, original)
        v = wait_for_new(d, v["serial"])
        assert v["current"] is True
        assert d.execute_script("return window.__same_page === true;")
        assert console_problems(d) == [], console_problems(d)
    finally:
        served.stop()
    # The author's files are as they were, and nothing was added beside them.
    assert open(os.path.join(src, TRAIN), "rb").read() == original
    assert sorted(os.listdir(src)) == sorted(work_files(work)), os.listdir(src)


def work_files(work):
    return os.listdir(os.path.join(work, "src-copy"))


def measure(d, folder, line, train, name, by):
    """The time from each save to the page redrawn, SAVES saves of a station moved to and fro."""
    served = Served(folder, line, train)
    try:
        open_page(d, served.address)
        path = os.path.join(folder, train)
        original = open(path, "rb").read()
        lines, i = station_line(original, name)
        times = []
        serial = view(d)["serial"]
        heap = []
        rss = []
        for n in range(SAVES):
            lines2 = lines[:]
            lines2[i] = moved(lines[i], by if n % 2 == 0 else 0)
            saved_at = save(path, b"\r\n".join(lines2))
            serial = wait_for_new(d, serial)["serial"]
            times.append(redrawn_after(d, saved_at))
            heap.append(d.execute_script("return performance.memory ? performance.memory.usedJSHeapSize : 0;"))
            status = open(f"/proc/{served.process.pid}/status").read()
            rss.append(int(re.search(r"VmRSS:\s+(\d+)", status).group(1)) // 1024)
        return times, heap, rss
    finally:
        served.stop()


def test_save_to_redrawn_on_the_embedded_route(d, work):
    src = os.path.join(work, "src")
    text = open(os.path.join(src, TRAIN), "rb").read()
    name = re.search(rb"stazione,[^\r\n]*,\s*([^,\r\n]+)\r\n", text).group(1).strip().decode("cp1252")
    times, heap, rss = measure(d, src, LINE, TRAIN, name, 50)
    print(f"  embedded 334 km route, {SAVES} saves: median {statistics.median(times):.0f} ms, "
          f"most {max(times):.0f} ms; server {rss[0]} to {rss[-1]} MiB, page heap "
          f"{heap[0] // 2**20} to {heap[-1] // 2**20} MiB")


def long_route(folder):
    """The longest route the line file allows, curved from end to end, with a train that stops twice."""
    text = "[generale]\r\nlunghezza percorso,    1000000\r\nprogressiva chilometrica uno,    0,    0,    0\r\n" \
           "ripetizione segnali 9 codici,    0,    0\r\n[curve]\r\n"
    for i in range(1000):
        text += f"curva{'sd'[i % 2]}{1 + (i // 2) % 6},  {i * 1000},  999\r\n"
    text += "[pendenze]\r\n"
    for i in range(1000):
        text += f"pendenza,  {i * 1000},  {i % 23 - 11}\r\n"
    text += "[fine]\r\n"
    with open(os.path.join(folder, "Lunga_linea.txt"), "wb") as f:
        f.write(text.encode())
    train = "[generale]\r\nnumero vetture,  10\r\npercentuale massa frenata,  120\r\n[vel_limite]\r\n" \
            "velocita,  0,  150\r\n[aderenze]\r\naderenza,  0,  50\r\n[stazioni]\r\n" \
            "stazione,    1000, 12,  400,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, Alfa\r\n" \
            "stazione,    500000, 12,  400,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, Beta\r\n[fine]\r\n"
    with open(os.path.join(folder, "Lunga_R 1-.txt"), "wb") as f:
        f.write(train.encode())
    return "Lunga_linea.txt", "Lunga_R 1-.txt"


def test_save_to_redrawn_on_a_route_of_a_million_metres(d, work):
    folder = os.path.join(work, "long")
    os.makedirs(folder)
    line, train = long_route(folder)
    times, heap, rss = measure(d, folder, line, train, "Beta", 200)
    print(f"  1,000,000 m route, {SAVES} saves: median {statistics.median(times):.0f} ms, "
          f"most {max(times):.0f} ms; server {rss[0]} to {rss[-1]} MiB, page heap "
          f"{heap[0] // 2**20} to {heap[-1] // 2**20} MiB")


def main():
    if not os.access(AUTORE, os.X_OK):
        print(f"browser: {AUTORE} missing: build the target autore", file=sys.stderr)
        return 1
    os.makedirs(ARTIFACTS, exist_ok=True)
    work = tempfile.mkdtemp(prefix="autore-serve-test-")
    d = None
    try:
        subprocess.run([AUTORE, "export", os.path.join(work, "src")], check=True, capture_output=True)
        shutil.copytree(os.path.join(work, "src"), os.path.join(work, "src-copy"))
        d = browser(os.path.join(work, "profile"))
        d.set_script_timeout(30)
        return run_tests([v for k, v in globals().items() if k.startswith("test_")], d, work)
    finally:
        if d is not None:
            d.quit()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
