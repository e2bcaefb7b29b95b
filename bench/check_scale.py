#!/usr/bin/env python3
"""Whole-process figures of `autore check` on sources far larger than an author
writes by hand: the time and the peak resident memory (GNU time) of

  blank   a line file of 64 MiB of blank lines (memory goal: 144 MiB at most)
  curves  the embedded line file with 200,000 curves and 100 more beyond the
          end of the route (time goal: under one second)
  huge    a line file of 1 GiB (--huge; a clear refusal or a result)

Usage: bench/check_scale.py AUTORE [--huge] [--keep DIR]
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time


def template(autore, folder):
    subprocess.run([autore, "export", folder], check=True, stdout=subprocess.DEVNULL)
    with open(os.path.join(folder, "Tratta_Esempio_linea.txt"), "rb") as f:
        line = f.read()
    with open(os.path.join(folder, "Tratta_Esempio_TR 000 Esempio-.txt"), "rb") as f:
        train = f.read()
    return line, train


def blank_lines(size):
    return b"[generale]\r\nlunghezza percorso, 20000\r\n" + b"\r\n" * (size // 2)


def many_curves(line, count, beyond):
    # Each curve a metre long, one a metre after the other along the route;
    # then `beyond` curves past the route's end, each refused by the grid.
    rows = [b"curvas1, %d, 1\r\n" % (100 + i) for i in range(count)]
    rows += [b"curvad2, %d, 10\r\n" % (400000 + 50 * i) for i in range(beyond)]
    head, tail = line.split(b"[curve]\r\n", 1)
    return head + b"[curve]\r\n" + b"".join(rows) + tail


def measure(autore, folder, name, line, train):
    line_path = os.path.join(folder, "Tratta_Esempio_linea.txt")
    train_path = os.path.join(folder, "Tratta_Esempio_TR 000 Esempio-.txt")
    with open(line_path, "wb") as f:
        f.write(line)
    with open(train_path, "wb") as f:
        f.write(train)
    start = time.monotonic()
    run = subprocess.run(["/usr/bin/time", "-v", autore, "check", line_path, train_path],
                         stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    wall = time.monotonic() - start
    err = run.stderr.decode("utf-8", "replace")
    peak = re.search(r"Maximum resident set size \(kbytes\): (\d+)", err)
    peak_mib = int(peak.group(1)) / 1024 if peak else float("nan")
    cpu = [re.search(r"%s time \(seconds\): ([0-9.]+)" % part, err) for part in ("User", "System")]
    user, system = (float(m.group(1)) if m else float("nan") for m in cpu)
    out = run.stdout.decode("utf-8", "replace").splitlines()
    last = [l for l in err.splitlines() if l.startswith("autore:")]
    print(f"{name:8} {len(line) / 2**20:8.1f} MiB  status {run.returncode}  {wall:6.2f} s  "
          f"cpu {user:.2f} + {system:.2f} s  peak {peak_mib:8.1f} MiB  {len(out)} diagnostics  "
          f"{last[0] if last else ''}")


def main():
    autore = os.path.abspath(sys.argv[1])
    folder = tempfile.mkdtemp(prefix="check-scale-")
    try:
        line, train = template(autore, os.path.join(folder, "template"))
        measure(autore, folder, "blank", blank_lines(64 * 2**20), train)
        measure(autore, folder, "curves", many_curves(line, 200000, 100), train)
        if "--huge" in sys.argv:
            measure(autore, folder, "huge", blank_lines(2**30), train)
    finally:
        shutil.rmtree(folder)


if __name__ == "__main__":
    main()
