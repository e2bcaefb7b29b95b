#!/usr/bin/env python3
"""Every SARIF log of `autore check` is valid against the SARIF 2.1.0 JSON schema.

Each saved input of the fuzzer (the bytes before the first 0x00 are the line
file, those after it the train file) is written into a folder as the two
files of a scenario and checked with `--format sarif`; then the same in a
folder whose name is not UTF-8. Every log must
parse and validate; the first few that do not are printed with what the
schema says of them.

usage: sarif_schema_test.py AUTORE CORPUS_FOLDER SCHEMA
"""

import json
import os
import subprocess
import sys
import tempfile

try:
    import jsonschema
except ImportError:
    sys.exit("sarif_schema_test: the validator is missing: install python3-jsonschema (see the README's set-up)")

LINE = "Tratta_Esempio_linea.txt"
TRAIN = "Tratta_Esempio_TR 000 Esempio-.txt"


def sarif_problems(validator, autore, folder):
    """The schema's complaints about one check's log, or why there is no log."""
    args = [autore, "check", os.path.join(folder, LINE), os.path.join(folder, TRAIN), "--format", "sarif"]
    run = subprocess.run([os.fsencode(a) for a in args], capture_output=True)
    if run.returncode not in (0, 1, 2):
        return [f"status {run.returncode}: {run.stderr.decode(errors='replace')}"]
    try:
        log = json.loads(run.stdout.decode("utf-8"))
    except (UnicodeDecodeError, json.JSONDecodeError) as e:
        return [f"no SARIF log ({e}); status {run.returncode}: {run.stderr.decode(errors='replace')}"]
    problems = []
    for error in validator.iter_errors(log):
        where = "/".join(str(p) for p in error.absolute_path)
        problems.append(f"{where}: {error.message[:300]}")
    if not log.get("runs"):
        problems.append("a log with no run")
    return problems


def write_scenario(folder, line, train):
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, LINE), "wb") as f:
        f.write(line)
    if train is not None:
        with open(os.path.join(folder, TRAIN), "wb") as f:
            f.write(train)


def main():
    autore, corpus, schema_file = sys.argv[1:4]
    with open(schema_file, encoding="utf-8") as f:
        schema = json.load(f)
    validator_class = jsonschema.validators.validator_for(schema)
    validator_class.check_schema(schema)
    checker = jsonschema.FormatChecker()
    if "uri-reference" not in checker.checkers:
        sys.exit("sarif_schema_test: URIs cannot be checked: install python3-rfc3987 (see the README's set-up)")
    validator = validator_class(schema, format_checker=checker)
    # The validator is awake: a result with a level the format does not know,
    # a line 0 and a file name that is no URI are each refused.
    for wrong in [{"level": "fatal"}, {"locations": [{"physicalLocation": {"artifactLocation": {"uri": "x"}, "region": {"startLine": 0}}}]},
                  {"locations": [{"physicalLocation": {"artifactLocation": {"uri": "Città vecchia/x"}}}]}]:
        result = {"message": {"text": "x"}, **wrong}
        log = {"version": "2.1.0", "runs": [{"tool": {"driver": {"name": "autore"}}, "results": [result]}]}
        if validator.is_valid(log):
            sys.exit(f"sarif_schema_test: the schema let through {wrong}")

    failures = []
    checked = 0
    with tempfile.TemporaryDirectory() as work:
        for name in sorted(os.listdir(corpus)):
            with open(os.path.join(corpus, name), "rb") as f:
                data = f.read()
            line, _, train = data.partition(b"\0")
            folder = os.path.join(work, "corpus")
            write_scenario(folder, line, train)
            problems = sarif_problems(validator, autore, folder)
            checked += 1
            if problems:
                failures.append((name, problems))

        # A folder named in Windows-1252 on a Linux disk: the log still holds
        # to the schema.
        with open(os.path.join(corpus, sorted(os.listdir(corpus))[0]), "rb") as f:
            first_line = f.read().partition(b"\0")[0]
        odd = os.fsdecode(os.path.join(os.fsencode(work), b"Citt\xe0 vecchia"))
        write_scenario(odd, first_line, b"")
        problems = sarif_problems(validator, autore, odd)
        checked += 1
        if problems:
            failures.append(("folder not UTF-8", problems))

    print(f"sarif_schema_test: {checked} logs checked against the schema, {len(failures)} rejected")
    for name, problems in failures[:10]:
        print(f"  {name}:")
        for p in problems[:5]:
            print(f"    {p}")
    return 1 if failures or checked < 1000 else 0


if __name__ == "__main__":
    sys.exit(main())
