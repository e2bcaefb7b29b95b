#!/usr/bin/env python3
"""The route page of `autore serve` left open while the author saves, for as long as asked.

Usage: python3 tests/browser/serve_soak.py [BUILD_DIR] [--minutes N] [--out FILE.csv]
       (default: build, 60 minutes, the figures only printed)

Exports the embedded scenario, starts `autore serve --senza-browser` on it and opens
the page it prints in headless Chromium. Then, once a second, a station of the train
file is moved to and fro and saved (every tenth save the line file is saved too, with
one or two blank lines more after its end, so that the track plan is made anew). After each
save it waits for the page to follow. Once a minute it takes the server's resident
memory and, after a collection of the page's garbage, the page's JavaScript heap and
its count of document nodes. It prints one line a minute and, at the end, the first
and the last five minutes side by side with the time from save to page redrawn
(least, median, most): memory that grows with the saves shows as a trend.
"""
import csv
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

from headless import browser
from serve_test import AUTORE, LINE, TRAIN, Served, moved, open_page, save, station_line

MINUTES = float(sys.argv[sys.argv.index("--minutes") + 1]) if "--minutes" in sys.argv else 60
OUT = sys.argv[sys.argv.index("--out") + 1] if "--out" in sys.argv else None


def evaluated(d, expression):
    reply = d.execute_cdp_cmd("Runtime.evaluate", {"expression": expression, "returnByValue": True})
    return reply["result"].get("value")


def serial_of(d):
    return evaluated(d, "window.__view.serial")


def redrawn_after(d, saved_at):
    """Milliseconds from the save (ms since the epoch) to the page's last mark of a redrawing."""
    return evaluated(d, "performance.timeOrigin + performance.getEntriesByName('route-redrawn').pop().startTime"
                        " - %r" % saved_at)


def wait_for_new(d, serial, limit_s=60):
    """The page's new serial once it has drawn a new state. Only the serial is read, and
    through the browser's own evaluation rather than a WebDriver script: each script the
    WebDriver runs stays in the page's heap (about 80 bytes, with no save at all), and a
    poll every 10 ms over an hour would show as the page's own memory."""
    end = time.time() + limit_s
    while time.time() < end:
        now = serial_of(d)
        if now != serial:
            return now
        time.sleep(0.01)
    raise AssertionError(f"the page did not follow the save (still {serial})")


def server_mib(pid):
    status = open(f"/proc/{pid}/status").read()
    return int(re.search(r"VmRSS:\s+(\d+)", status).group(1)) / 1024


def page_memory(d):
    """The page's JavaScript heap in MiB after a collection, and its document nodes."""
    d.execute_cdp_cmd("HeapProfiler.collectGarbage", {})
    metrics = {m["name"]: m["value"] for m in d.execute_cdp_cmd("Performance.getMetrics", {})["metrics"]}
    return metrics["JSHeapUsedSize"] / 2**20, int(metrics["Nodes"])


def soak(d, folder):
    served = Served(folder, LINE, TRAIN)
    rows = []
    times = []
    try:
        open_page(d, served.address)
        d.execute_cdp_cmd("Performance.enable", {})
        train_path, line_path = os.path.join(folder, TRAIN), os.path.join(folder, LINE)
        train, line = open(train_path, "rb").read(), open(line_path, "rb").read()
        name = re.search(rb"stazione,[^\r\n]*,\s*([^,\r\n]+)\r\n", train).group(1).strip().decode("cp1252")
        lines, i = station_line(train, name)
        serial = serial_of(d)
        start = time.time()
        next_sample = start
        n = 0
        while time.time() - start < MINUTES * 60:
            if time.time() >= next_sample:
                heap, nodes = page_memory(d)
                row = (round((time.time() - start) / 60, 2), n, round(server_mib(served.process.pid), 1),
                       round(heap, 2), nodes)
                rows.append(row)
                print("  minute %5.1f, %5d saves: server %6.1f MiB, page heap %6.2f MiB, %d nodes" % row,
                      flush=True)
                next_sample += 60
            if n % 10 == 9:
                save(line_path, line + b"\r\n" * (1 + n // 10 % 2))
                serial = wait_for_new(d, serial)
            lines2 = lines[:]
            lines2[i] = moved(lines[i], 50 if n % 2 == 0 else 0)
            saved_at = save(train_path, b"\r\n".join(lines2))
            serial = wait_for_new(d, serial)
            times.append((time.time() - start, redrawn_after(d, saved_at)))
            n += 1
            time.sleep(max(0.0, start + n - time.time()))
        heap, nodes = page_memory(d)
        rows.append((round((time.time() - start) / 60, 2), n, round(server_mib(served.process.pid), 1),
                     round(heap, 2), nodes))
    finally:
        served.stop()
    return rows, times


def summary(rows, times):
    def span(part):
        return "server %.1f to %.1f MiB, page heap %.2f to %.2f MiB, nodes %d to %d" % (
            min(r[2] for r in part), max(r[2] for r in part), min(r[3] for r in part), max(r[3] for r in part),
            min(r[4] for r in part), max(r[4] for r in part))

    print(f"soak: {rows[-1][1]} saves in {rows[-1][0]:.1f} minutes")
    print("  first five minutes: " + span([r for r in rows if r[0] <= 5]))
    print("  last five minutes:  " + span([r for r in rows if r[0] >= rows[-1][0] - 5]))
    ms = sorted(t for _, t in times)
    print(f"  save to page redrawn: least {ms[0]:.0f} ms, median {statistics.median(ms):.0f} ms, "
          f"most {ms[-1]:.0f} ms")


def main():
    if not os.access(AUTORE, os.X_OK):
        print(f"soak: {AUTORE} missing: build the target autore", file=sys.stderr)
        return 1
    work = tempfile.mkdtemp(prefix="autore-serve-soak-")
    d = None
    try:
        subprocess.run([AUTORE, "export", os.path.join(work, "src")], check=True, capture_output=True)
        d = browser(os.path.join(work, "profile"))
        d.set_script_timeout(30)
        rows, times = soak(d, os.path.join(work, "src"))
        if OUT:
            with open(OUT, "w", newline="") as f:
                out = csv.writer(f)
                out.writerow(["minute", "saves", "server_mib", "page_heap_mib", "page_nodes"])
                out.writerows(rows)
        summary(rows, times)
        return 0
    finally:
        if d is not None:
            d.quit()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
