#!/usr/bin/env python3
"""Writes the language server's recorded exchanges (tests/tools/lsp/*.exchange)
as the bytes an editor sends, one seed file each, into the folder given
(default fuzz/lsp_corpus): every "-->" message with its header, every
"-->raw" line as it stands; the folder is "file:///fuzz"."""
import json
import pathlib
import sys

root = pathlib.Path(__file__).resolve().parent.parent
out = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else root / "fuzz" / "lsp_corpus"
out.mkdir(parents=True, exist_ok=True)


def unescaped(text):
    return text.encode().decode("unicode_escape").encode("latin-1") if "\\" in text else text.encode()


for exchange in sorted((root / "tests" / "tools" / "lsp").glob("*.exchange")):
    data = b""
    for line in exchange.read_text(encoding="utf-8").splitlines():
        line = line.replace("$FOLDER", "file:///fuzz")
        if line.startswith("--> "):
            body = json.dumps(json.loads(line[4:]), ensure_ascii=False, separators=(",", ":")).encode()
            data += b"Content-Length: %d\r\n\r\n" % len(body) + body
        elif line.startswith("-->raw "):
            data += unescaped(line[7:])
    (out / ("seed-" + exchange.stem)).write_bytes(data)
    print(out / ("seed-" + exchange.stem), len(data))
