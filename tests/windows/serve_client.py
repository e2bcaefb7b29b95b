#!/usr/bin/env python3
"""The author's browser, from the Linux side, on `autore.exe serve` under wine.

Starts the command given (autore serve on the two files, --senza-browser) in the
folder of the files and reads the address it prints first. Then, over 127.0.0.1:
the page and its data answer; a request that names another host (as a web site
that gives one of its own names this machine's address would) gets 403; the
stream of updates is opened, the train file is saved with its first station
moved 100 m on, and the stream must bring the new data with the station where
it was moved (the file is then put back as it was). Last, the server is stopped
with Ctrl-C and must end with status 0, with no file added beside the two.

Usage: serve_client.py FOLDER TRAIN_FILE -- COMMAND...
Exit status 0 when the server answers as expected, 1 otherwise (the reason on
standard error).
"""
import http.client
import json
import os
import re
import signal
import subprocess
import sys
import threading
import urllib.parse


def get(port, path, host=None, timeout=30):
    connection = http.client.HTTPConnection("127.0.0.1", port, timeout=timeout)
    connection.request("GET", path, headers={"Host": host or f"127.0.0.1:{port}"})
    response = connection.getresponse()
    return response.status, response.read()


def first_station(train):
    """The first station's line, its position and the train file's lines."""
    lines = train.split(b"\r\n")
    for i, line in enumerate(lines):
        if line.startswith(b"stazione,"):
            return lines, i, int(line.split(b",")[1])
    raise AssertionError("the train file has no station")


def positions(data):
    return [s["at_m"] for s in json.loads(data)["stations"]]


def next_event(stream):
    """The data of the next event of the stream (comments skipped)."""
    while True:
        line = stream.readline()
        if not line:
            raise AssertionError("the stream of updates ended")
        if line.startswith(b"data: "):
            return line[len(b"data: "):].rstrip(b"\r\n")


def check(server, folder, train_name):
    address = server.stdout.readline().decode("utf-8", "replace").strip()
    match = re.fullmatch(r"http://127\.0\.0\.1:(\d+)/", address)
    assert match, f"first line {address!r}, not the address"
    port = int(match.group(1))

    status, page = get(port, "/")
    assert status == 200 and b"<html" in page.lower(), f"the page: {status}"
    status, data = get(port, "/dati", host=f"localhost:{port}")
    live = json.loads(data)["live"]
    assert status == 200 and live["current"] is True, f"the data: {status} {live}"
    status, _ = get(port, "/dati", host=f"rebinding.example:{port}")
    assert status == 403, f"a foreign Host got {status}, not 403"
    status, _ = get(port, "/../" + urllib.parse.quote(train_name))
    assert status == 404, f"a path outside the page got {status}, not 404"

    # The stream of updates, as a page holds it open; its first event is the data as it is.
    connection = http.client.HTTPConnection("127.0.0.1", port, timeout=60)
    connection.request("GET", "/eventi", headers={"Host": f"127.0.0.1:{port}"})
    stream = connection.getresponse()
    assert stream.status == 200, f"the stream: {stream.status}"
    before = json.loads(next_event(stream))
    train_path = os.path.join(folder, train_name)
    original = open(train_path, "rb").read()
    lines, i, at = first_station(original)
    fields = lines[i].split(b",")
    fields[1] = b"    " + str(at + 100).encode()
    lines[i] = b",".join(fields)
    with open(train_path, "wb") as f:
        f.write(b"\r\n".join(lines))
    after = json.loads(next_event(stream))
    assert after["live"]["serial"] != before["live"]["serial"], "the save brought no new data"
    assert after["live"]["current"] is True, after["live"]
    assert positions(json.dumps(after))[0] == at + 100, \
        f"the first station at {positions(json.dumps(after))[0]} m, not {at + 100} m"
    connection.close()
    with open(train_path, "wb") as f:
        f.write(original)
    return f"{address}: page, data, 403 to a foreign Host, 404 outside the page, a save seen in the stream"


def main():
    split = sys.argv.index("--")
    folder, train_name, command = sys.argv[1], sys.argv[2], sys.argv[split + 1:]
    before = sorted(os.listdir(folder))
    server = subprocess.Popen(command, cwd=folder, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE)
    errors = []
    reader = threading.Thread(target=lambda: errors.append(server.stderr.read()), daemon=True)
    reader.start()
    try:
        said = check(server, folder, train_name)
    except Exception as e:  # told, and the server stopped all the same
        server.kill()
        server.wait()
        reader.join(5)
        print(f"serve: {e}; it said: {b''.join(errors).decode('utf-8', 'replace')}", file=sys.stderr)
        return 1
    server.send_signal(signal.SIGINT)  # Ctrl-C in the console
    try:
        status = server.wait(timeout=30)
    except subprocess.TimeoutExpired:
        server.kill()
        print("serve: Ctrl-C did not stop the server", file=sys.stderr)
        return 1
    if status != 0 or sorted(os.listdir(folder)) != before:
        print(f"serve: stopped with status {status}; files {sorted(os.listdir(folder))}", file=sys.stderr)
        return 1
    print(said)
    return 0


if __name__ == "__main__":
    sys.exit(main())
