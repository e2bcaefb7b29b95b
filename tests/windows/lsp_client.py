#!/usr/bin/env python3
"""A small editor for `autore lsp` under wine: it opens the train file of a
folder as an editor would (a file: URI of the Windows path, the text in UTF-8,
one number written with a letter O), and expects the diagnostics of that file:
the number told at its line, and no word that the line file beside it is
missing (so the server found it on disk through the URI).

Usage: lsp_client.py WINDOWS_FOLDER TRAIN_FILE -- COMMAND...
Exit status 0 when the server answers as expected, 1 otherwise.
"""
import json
import subprocess
import sys
import urllib.parse


def frame(message):
    body = json.dumps(message, ensure_ascii=False).encode("utf-8")
    return b"Content-Length: %d\r\n\r\n" % len(body) + body


def messages(stream):
    """The framed messages the server writes, one by one."""
    while True:
        length = None
        while True:
            line = stream.readline()
            if not line:
                return
            line = line.strip()
            if not line:
                break
            name, _, value = line.partition(b":")
            if name.lower() == b"content-length":
                length = int(value)
        if length is None:
            return
        yield json.loads(stream.read(length).decode("utf-8"))


def main():
    split = sys.argv.index("--")
    folder, train, command = sys.argv[1], sys.argv[2], sys.argv[split + 1:]
    with open(train, "rb") as f:
        text = f.read().decode("cp1252")
    # The braked mass written "12O" instead of "120": read as 12, said at line 3.
    text = text.replace("percentuale massa frenata,    125", "percentuale massa frenata,    12O", 1)
    name = train.replace("\\", "/").split("/")[-1]
    windows_path = folder.replace("\\", "/") + "/" + name
    if not windows_path.startswith("/"):
        windows_path = "/" + windows_path  # "C:/..." is "file:///C:/..."
    uri = "file://" + urllib.parse.quote(windows_path, safe="/:")
    server = subprocess.Popen(command, stdin=subprocess.PIPE, stdout=subprocess.PIPE)
    server.stdin.write(frame({"jsonrpc": "2.0", "id": 1, "method": "initialize",
                              "params": {"processId": None, "rootUri": None, "capabilities": {}}}))
    server.stdin.write(frame({"jsonrpc": "2.0", "method": "initialized", "params": {}}))
    server.stdin.write(frame({"jsonrpc": "2.0", "method": "textDocument/didOpen", "params": {
        "textDocument": {"uri": uri, "languageId": "autore", "version": 1, "text": text}}}))
    server.stdin.flush()
    found = None
    for message in messages(server.stdout):
        if message.get("method") == "textDocument/publishDiagnostics":
            found = message["params"]
            break
    server.stdin.write(frame({"jsonrpc": "2.0", "id": 2, "method": "shutdown"}))
    server.stdin.write(frame({"jsonrpc": "2.0", "method": "exit"}))
    server.stdin.close()
    status = server.wait(timeout=60)
    if found is None:
        print("lsp: no diagnostics published", file=sys.stderr)
        return 1
    codes = [(d.get("code"), d["range"]["start"]["line"]) for d in found["diagnostics"]]
    print("lsp: " + json.dumps(codes), file=sys.stderr)
    ok = (found["uri"] == uri and ("numero-malformato", 2) in codes
          and not any(code == "linea-mancante" for code, _ in codes) and status == 0)
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
