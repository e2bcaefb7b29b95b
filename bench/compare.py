#!/usr/bin/env python3
"""Whole-process runs of the program and of `autore compile`, each paired run
by run with the floor: a small C program that only writes the same files (one
open/write/close each, from one buffer) and, for the program, writes and
deletes two files of the sources' sizes; then paired with the durable floor,
which also flushes each file it keeps and the folder to the disk, as the
program and the tool do. Every run starts in a fresh empty folder with
nothing waiting to be written to the disk, and its folder is removed after
it. Wall time is taken around each process; peak resident memory comes from
GNU time (/usr/bin/time -f %M), in one more run of each.

Usage: bench/compare.py --program build/src/tratta_esempio --autore build/tools/autore \
           --floor build/bench/floor [--runs 30]
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

TIME = "/usr/bin/time"


def timed(cmd, cwd, measure_memory):
    """Runs cmd; returns (seconds, peak KiB or 0). The time of a run is taken
    without GNU time around it; a run that measures memory is not timed.
    Every run starts with nothing waiting to be written to the disk, so that
    no run pays for the one before."""
    os.sync()
    with tempfile.NamedTemporaryFile("r", suffix=".time") as report:
        wrapper = [TIME, "-f", "%M", "-o", report.name] if measure_memory else []
        start = time.perf_counter()
        done = subprocess.run(wrapper + cmd, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        seconds = time.perf_counter() - start
        if done.returncode not in (0, 2):
            sys.exit(f"{cmd[0]} ended with status {done.returncode}")
        peak = int(report.read().strip().splitlines()[-1]) if measure_memory else 0
    return seconds, peak


def files_of(folder, skip=()):
    return {name: os.path.getsize(os.path.join(folder, name))
            for name in os.listdir(folder) if name not in skip}


def maximal_route(folder):
    """The longest route the line file allows, curved from end to end."""
    line = ["[generale]", "lunghezza percorso,    1000000",
            "progressiva chilometrica uno,    0,    0,    0", "ripetizione segnali 9 codici,    0,    0", "[curve]"]
    for i in range(1000):
        line.append(f"curva{'sd'[i % 2]}{1 + (i // 2) % 6},  {i * 1000},  999")
    line.append("[pendenze]")
    for i in range(1000):
        line.append(f"pendenza,  {i * 1000},  {i % 23 - 11}")
    line.append("[fine]")
    train = ["[generale]", "numero vetture,  10", "percentuale massa frenata,  120", "[vel_limite]",
             "velocita,  0,  150", "[aderenze]", "aderenza,  0,  50", "[fine]"]
    paths = (os.path.join(folder, "Lunga_linea.txt"), os.path.join(folder, "Lunga_R 1-.txt"))
    for path, lines in zip(paths, (line, train)):
        with open(path, "wb") as out:
            out.write(("\r\n".join(lines) + "\r\n").encode("cp1252"))
    return paths


def pairs(runs, run_work, run_floor):
    """Median times and median ratio over runs pairs, then the peak memory of
    one more run of each."""
    ratios, works, floors = [], [], []
    for _ in range(runs):
        (w, _), (f, _) = run_work(False), run_floor(False)
        works.append(w)
        floors.append(f)
        ratios.append(w / f)
    work_peak, floor_peak = run_work(True)[1], run_floor(True)[1]
    return statistics.median(works), statistics.median(floors), statistics.median(ratios), work_peak, floor_peak


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--program", required=True)
    ap.add_argument("--autore", required=True)
    ap.add_argument("--floor", required=True)
    ap.add_argument("--runs", type=int, default=30)
    args = ap.parse_args()
    program, autore, floor = (os.path.abspath(p) for p in (args.program, args.autore, args.floor))
    scratch = tempfile.mkdtemp(prefix="tratta-compare-")
    try:
        # What the embedded run leaves, and the sizes of the two sources it deletes.
        probe = os.path.join(scratch, "probe")
        os.mkdir(probe)
        shutil.copy(program, probe)
        subprocess.run([os.path.join(probe, "tratta_esempio")], check=True, stderr=subprocess.DEVNULL)
        left = files_of(probe, skip={"tratta_esempio"})
        exported = os.path.join(scratch, "exported")
        subprocess.run([autore, "export", exported], check=True, stdout=subprocess.DEVNULL)
        manifest = [f"{n}={s}" for n, s in left.items()]
        manifest += [f"{n}={s}:d" for n, s in files_of(exported).items() if n not in left]

        counter = iter(range(10**9))

        def fresh():
            folder = os.path.join(scratch, f"run{next(counter)}")
            os.mkdir(folder)
            return folder

        def once(cmd, folder, memory):
            """One run in its own fresh folder, removed afterwards."""
            try:
                return timed(cmd, "/", memory)
            finally:
                shutil.rmtree(folder, ignore_errors=True)

        def embedded(memory):
            folder = fresh()
            shutil.copy(program, folder)
            return once([os.path.join(folder, "tratta_esempio")], folder, memory)

        def floor_of(files, durable):
            def run(memory):
                folder = fresh()
                return once([floor] + (["--durable"] if durable else []) + [folder] + files, folder, memory)
            return run

        sources = maximal_route(scratch)
        out = fresh()
        subprocess.run([autore, "compile", *sources, "-o", out], check=True, stdout=subprocess.DEVNULL)
        route_manifest = [f"{n}={s}" for n, s in files_of(out).items()]

        def route(memory):
            folder = fresh()
            return once([autore, "compile", *sources, "-o", folder], folder, memory)

        print(f"{'work':<42}{'time':>10}{'floor':>10}{'ratio':>8}{'peak':>12}{'floor peak':>12}{'largest file':>14}"
              f"{'memory goal':>13}")
        for label, work, files, manifest_of in (("embedded run", embedded, left, manifest),
                                                ("autore compile, 1000000 m", route, files_of(out), route_manifest)):
            largest = max(files.values()) / 1024 / 1024
            goal = largest + 4  # the peak allowed: the largest file and 4 MiB
            for kind, durable in (("", False), (", durable floor", True)):
                w, f, ratio, wp, fp = pairs(args.runs, work, floor_of(manifest_of, durable))
                print(f"{label + kind:<42}{w * 1000:>8.2f}ms{f * 1000:>8.2f}ms{ratio:>8.2f}{wp / 1024:>9.2f}MiB"
                      f"{fp / 1024:>9.2f}MiB{largest:>11.2f}MiB{goal:>10.2f}MiB")
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    main()
