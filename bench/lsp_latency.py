#!/usr/bin/env python3
"""The language server as an editor meets it: one `autore lsp` process spoken
to over standard input and output, timed from each didChange written to the
publishDiagnostics of that version read back, and the server's processor time
per change (its threads included: on a machine shared with other work the
wall time varies, the processor time much less). Two routes in the one run: the
embedded scenario (exported by `autore export`) and a route of 1000000 m
curved from end to end (the one of bench/compare.py), each line file open
with its train file beside it on disk. Each change gives one line a number of
trailing blanks of its own, so that every round checks a text not seen
before and the scenario stays as it was.

With --while-busy, first the server's answer while a long check runs: a line file of 200000
curves, 100 more beyond the end of the route (the search for the errors they
hide compiles the file again and again), is opened, and at once a hover is
asked over the embedded line file: the time to its answer, and the time to
the long file's diagnostics.

Usage: bench/lsp_latency.py --autore build/tools/autore [--rounds 60] [--while-busy]
"""
import argparse
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
import urllib.parse

from compare import maximal_route


class Server:
    def __init__(self, autore, folder):
        self.proc = subprocess.Popen([autore, "lsp"], cwd=folder, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     stderr=subprocess.DEVNULL)
        self.next_id = 1

    def send(self, message):
        body = json.dumps(dict(message, jsonrpc="2.0")).encode("utf-8")
        self.proc.stdin.write(b"Content-Length: %d\r\n\r\n" % len(body) + body)
        self.proc.stdin.flush()

    def receive(self):
        length = None
        while True:
            line = self.proc.stdout.readline()
            if not line:
                sys.exit("autore lsp ended early")
            line = line.strip()
            if not line:
                break
            name, _, value = line.partition(b":")
            if name.lower() == b"content-length":
                length = int(value)
        return json.loads(self.proc.stdout.read(length))

    def request(self, method, params):
        ident = self.next_id
        self.next_id += 1
        self.send({"id": ident, "method": method, "params": params})
        while True:
            m = self.receive()
            if m.get("id") == ident:
                return m

    def diagnostics_of(self, uri, version):
        while True:
            m = self.receive()
            p = m.get("params", {})
            if m.get("method") == "textDocument/publishDiagnostics" and p.get("uri") == uri \
                    and p.get("version") == version:
                return p["diagnostics"]

    def close(self):
        self.request("shutdown", None)
        self.send({"method": "exit"})
        self.proc.wait(timeout=10)


def cpu_seconds(pid):
    """Processor time the process has used so far, its threads included (Linux)."""
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def uri_of(path):
    return "file://" + urllib.parse.quote(os.path.abspath(path))


def latencies(server, line_path, edited_line, rounds):
    """Opens the line file, then times each change to its diagnostics."""
    with open(line_path, "rb") as f:
        text = f.read().decode("cp1252")
    if edited_line not in text:
        sys.exit(f"{line_path}: the line to edit is not there")
    uri = uri_of(line_path)
    server.send({"method": "textDocument/didOpen",
                 "params": {"textDocument": {"uri": uri, "languageId": "autore", "version": 1, "text": text}}})
    server.diagnostics_of(uri, 1)
    times = []
    cpu_before = cpu_seconds(server.proc.pid)
    for i in range(rounds):
        version = i + 2
        start = time.perf_counter()
        server.send({"method": "textDocument/didChange",
                     "params": {"textDocument": {"uri": uri, "version": version},
                                "contentChanges": [{"text": text.replace(edited_line, edited_line + " " * (i + 1), 1)}]}})
        found = server.diagnostics_of(uri, version)
        times.append(time.perf_counter() - start)
        if any(d["severity"] == 1 for d in found):
            sys.exit(f"{line_path}: the edit made an error: {found[0]['message']}")
        if i == 0:
            print(f"{os.path.basename(line_path)}: {len(found)} diagnostics", file=sys.stderr)
    cpu = (cpu_seconds(server.proc.pid) - cpu_before) / rounds
    server.send({"method": "textDocument/didClose", "params": {"textDocument": {"uri": uri}}})
    return times, cpu


def busy_line(folder):
    """A line file of 200000 curves and 100 more beyond the end of the route."""
    lines = ["[generale]", "lunghezza percorso,    1000000", "[curve]"]
    lines += [f"curvas1,{i * 5},4" for i in range(200000)]
    lines += [f"curvas1,{2000000 + i * 5},4" for i in range(100)]
    lines.append("[fine]")
    path = os.path.join(folder, "Lenta_linea.txt")
    with open(path, "wb") as out:
        out.write(("\r\n".join(lines) + "\r\n").encode("cp1252"))
    return path


def answer_while_busy(server, line_path, busy_path):
    """Seconds to a hover's answer while the long file is checked, then to the
    long file's diagnostics."""
    uri = uri_of(line_path)
    with open(line_path, "rb") as f:
        text = f.read().decode("cp1252")
    server.send({"method": "textDocument/didOpen",
                 "params": {"textDocument": {"uri": uri, "languageId": "autore", "version": 1, "text": text}}})
    server.diagnostics_of(uri, 1)
    busy_uri = uri_of(busy_path)
    with open(busy_path, "rb") as f:
        busy_text = f.read().decode("cp1252")
    start = time.perf_counter()
    server.send({"method": "textDocument/didOpen",
                 "params": {"textDocument": {"uri": busy_uri, "languageId": "autore", "version": 1,
                                             "text": busy_text}}})
    time.sleep(0.2)  # the long check is under way
    asked = time.perf_counter()
    answer = server.request("textDocument/hover", {"textDocument": {"uri": uri},
                                                   "position": {"line": 1, "character": 2}})
    answered = time.perf_counter() - asked
    if not answer.get("result"):
        sys.exit("the hover was not answered")
    server.diagnostics_of(busy_uri, 1)
    checked = time.perf_counter() - start
    for u in (uri, busy_uri):
        server.send({"method": "textDocument/didClose", "params": {"textDocument": {"uri": u}}})
    return answered, checked


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--autore", required=True)
    parser.add_argument("--rounds", type=int, default=60)
    parser.add_argument("--while-busy", action="store_true", help="also a hover while a long file is checked")
    args = parser.parse_args()
    autore = os.path.abspath(args.autore)
    scratch = tempfile.mkdtemp(prefix="lsp-latency-")
    try:
        embedded = os.path.join(scratch, "esempio")
        subprocess.run([autore, "export", embedded], check=True, stdout=subprocess.DEVNULL)
        long_route = os.path.join(scratch, "lunga")
        os.mkdir(long_route)
        long_line, _ = maximal_route(long_route)

        server = Server(autore, scratch)
        server.request("initialize", {"capabilities": {}})
        server.send({"method": "initialized", "params": {}})
        work = (("embedded route, 334 km", os.path.join(embedded, "Tratta_Esempio_linea.txt"),
                 "sfondo due,    0"),
                ("route of 1000000 m", long_line, "pendenza,  0,  -11"))
        if args.while_busy:
            busy = os.path.join(scratch, "lenta")
            os.mkdir(busy)
            answered, checked = answer_while_busy(server, os.path.join(embedded, "Tratta_Esempio_linea.txt"),
                                                  busy_line(busy))
            print(f"a hover answered in {answered * 1000:.2f} ms while a line file of 200100 curves was checked "
                  f"(its diagnostics after {checked:.2f} s)")
        medians = []
        cpus = []
        print(f"{'route':<26}{'median':>10}{'p90':>10}{'processor':>12}{'rounds':>8}")
        for label, path, edit in work:
            times, cpu = latencies(server, path, edit, args.rounds)
            times.sort()
            median = statistics.median(times)
            medians.append(median)
            cpus.append(cpu)
            print(f"{label:<26}{median * 1000:>8.2f}ms{times[int(len(times) * 0.9)] * 1000:>8.2f}ms"
                  f"{cpu * 1000:>10.2f}ms{len(times):>8}")
        server.close()
        print(f"ratio of the long route to the embedded one: {medians[1] / medians[0]:.2f} in time, "
              f"{cpus[1] / cpus[0]:.2f} in processor time (goal: at most 1.5)")
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    main()
