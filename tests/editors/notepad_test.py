#!/usr/bin/env python3
"""The Notepad++ language parses as XML and names every key of the readers.

Usage: python3 tests/editors/notepad_test.py LANGUAGE_XML FORMATS_MD

The keys are those of docs/formats.md, the reference made from the same
tables; a digit in a key stands for any digit, so the language lists the key
up to it.
"""
import re
import shlex
import sys
import xml.etree.ElementTree as ET

language, formats = sys.argv[1:3]
root = ET.parse(language).getroot()
assert root.tag == "NotepadPlus", root.tag
lang = root.find("UserLang")
words = set()
for k in lang.iter("Keywords"):
    if k.get("name", "").startswith("Keywords"):
        words.update(shlex.split(k.text or ""))
keys = re.findall(r"^\| `([^`]+)` \| `\[[^`]+\]` \|", open(formats, encoding="utf-8").read(), re.M)
missing = []
for key in keys:
    word = re.split(r"\s*[0-9]", key)[0]
    if word not in words:
        missing.append(key)
delimiters = lang.find("KeywordLists/Keywords[@name='Delimiters']").text
print(f"{language}: {len(keys)} chiavi, {len(words)} parole")
ok = bool(keys) and not missing and "00[" in delimiters
if missing:
    print("mancano:", missing)
print(f"{1 if ok else 0} passed, {0 if ok else 1} failed")
sys.exit(0 if ok else 1)
