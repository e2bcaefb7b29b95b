#!/usr/bin/env python3
"""The .vsix an author installs: what it holds and nothing else.

Usage: python3 tests/editors/vsix_test.py VSIX PLATFORM VERSION

It holds the server program of its platform (and no other), the bundled
client, the two grammars, the README with its picture; no node_modules, no
source map, no path of the machine that built it; its manifest names the
platform and the version, and it weighs a few megabytes.
"""
import json
import os
import sys
import zipfile

vsix, platform, version = sys.argv[1:4]
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FALLITO:", what)


with zipfile.ZipFile(vsix) as z:
    names = z.namelist()
    server = "extension/server/autore.exe" if platform == "win32-x64" else "extension/server/autore"
    other = "extension/server/autore" if platform == "win32-x64" else "extension/server/autore.exe"
    for needed in [server, "extension/dist/extension.js", "extension/syntaxes/linea.tmLanguage.json",
                   "extension/syntaxes/treno.tmLanguage.json", "extension/package.json", "extension/readme.md",
                   "extension/images/schermata.png", "extension.vsixmanifest"]:
        check(any(n.lower() == needed.lower() for n in names), f"manca {needed}")
    check(other not in names, f"c'è anche {other}")
    check(not any("node_modules" in n for n in names), "c'è node_modules")
    check(not any(n.endswith(".map") for n in names), "c'è una mappa dei sorgenti")
    check(not any(n.startswith("extension/src/") or n.startswith("extension/test/") for n in names),
          "ci sono i sorgenti o i test dell'estensione")
    client = z.read("extension/dist/extension.js").decode("utf-8")
    check("sourceMappingURL" not in client, "il client rimanda a una mappa dei sorgenti")
    repository = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
    check(repository not in client and "/home/" not in client and "/tmp/" not in client,
          "il client contiene un percorso della macchina che l'ha costruito")
    manifest = json.loads(z.read("extension/package.json"))
    check(manifest["version"] == version, f"versione {manifest['version']}, attesa {version}")
    check(manifest.get("dependencies") is not None, "manifesto senza dipendenze dichiarate")
    check(f'TargetPlatform="{platform}"' in z.read("extension.vsixmanifest").decode("utf-8"),
          f"il manifesto non dice la piattaforma {platform}")
    if platform == "linux-x64":
        mode = z.getinfo(server).external_attr >> 16
        check(mode & 0o111 != 0, f"il server non è eseguibile ({oct(mode)})")

size = os.path.getsize(vsix)
check(size < 20 * 1024 * 1024, f"{size} byte: troppo grande")
print(f"{vsix}: {len(names)} file, {size / 1024 / 1024:.1f} MiB")
for n in sorted(names):
    print("  ", n)
print(f"{1 if not failures else 0} passed, {1 if failures else 0} failed")
sys.exit(1 if failures else 0)
