#!/usr/bin/env python3
"""The VS Code extension in a real VS Code: code-server, driven in headless
Chromium as an author would use it.

Usage: python3 tests/editors/code_server_test.py CODE_SERVER VSIX AUTORE ARTIFACTS

CODE_SERVER is the code-server program, VSIX the linux-x64 package, AUTORE the
tool (to export the template). The .vsix is installed into a fresh
extensions folder; then a template with a planted fault shows that fault in
the Problems panel and its count in the status bar, the clean template shows
no error, a hover over a key shows its fields, and the palette's check and
route page run the tool inside the extension. Screenshots land in ARTIFACTS.
"""
import json
import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import traceback

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

CODE_SERVER, VSIX, AUTORE, ARTIFACTS = (os.path.abspath(a) for a in sys.argv[1:5])
CHROMIUM = shutil.which("chromium") or "/usr/bin/chromium"
CHROMEDRIVER = shutil.which("chromedriver") or "/usr/bin/chromedriver"
LINE = "Tratta_Esempio_linea.txt"
TRAIN = "Tratta_Esempio_TR 000 Esempio-.txt"


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def wait_for(what, condition, seconds=60):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        try:
            value = condition()
            if value:
                return value
        except Exception:  # the page is still being built
            pass
        time.sleep(0.5)
    raise AssertionError(f"non visto entro {seconds} s: {what}")


def export(folder):
    subprocess.run([AUTORE, "export", folder], check=True, capture_output=True)


def plant_fault(folder):
    """A second speed board on the cell of the first: error 21 in the line file."""
    path = os.path.join(folder, LINE)
    data = open(path, "rb").read()
    lines = data.split(b"\r\n")
    first = next(i for i, l in enumerate(lines) if l.startswith(b"indicatori_vmax"))
    fields = lines[first].split(b",")
    fields[1] = b"  " + str(int(fields[1]) + 10).encode()
    lines.insert(first + 1, b",".join(fields))
    open(path, "wb").write(b"\r\n".join(lines))
    return first + 2  # the planted line, counted from 1


def browser(profile):
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for flag in ["--headless", "--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-sync",
                 "--disable-background-networking", "--disable-component-update",
                 "--user-data-dir=" + profile, "--window-size=1366,768"]:
        options.add_argument(flag)
    return webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)


def press(d, *keys):
    """A key chord to the workbench, as the author types it."""
    chain = ActionChains(d)
    for k in keys[:-1]:
        chain.key_down(k)
    chain.send_keys(keys[-1])
    for k in reversed(keys[:-1]):
        chain.key_up(k)
    chain.perform()


def command(d, title):
    """Runs a command of the palette by its title."""
    press(d, Keys.CONTROL, Keys.SHIFT, "p")
    box = wait_for("la tavolozza dei comandi", lambda: d.find_element(By.CSS_SELECTOR, ".quick-input-box input"))
    box.send_keys(title)
    time.sleep(1)
    ActionChains(d).send_keys(Keys.ENTER).perform()


def open_file(d, name):
    """Quick Open (Ctrl+P), the file's name, Enter."""
    press(d, Keys.CONTROL, "p")
    box = wait_for("l'apertura rapida", lambda: d.find_element(By.CSS_SELECTOR, ".quick-input-box input"))
    box.send_keys(name)
    wait_for(f"{name} tra i risultati", lambda: name in d.find_element(By.CSS_SELECTOR, ".quick-input-list").text)
    box.send_keys(Keys.ENTER)
    wait_for(f"la scheda di {name}",
             lambda: d.find_element(By.CSS_SELECTOR, ".tab.active").get_attribute("aria-label").startswith(name))


def problem_counts(d):
    """(errors, warnings) as the status bar shows them, beside their icons."""
    item = d.find_element(By.ID, "status.problems")
    numbers = [int(n) for n in re.findall(r"\d+", item.text)]
    return (numbers[0], numbers[1]) if len(numbers) >= 2 else None


def open_workbench(d, port, folder):
    d.get(f"http://127.0.0.1:{port}/?folder={folder}")
    wait_for("il banco di lavoro", lambda: d.find_element(By.CSS_SELECTOR, ".monaco-workbench"), 120)
    time.sleep(3)


def test_planted_fault(d, port, folder, planted_line):
    open_workbench(d, port, folder)
    open_file(d, LINE)
    # The extension names the language: the status bar shows it.
    wait_for("la lingua del file della linea", lambda: "File della linea" in d.find_element(By.ID, "status.editor.mode").text)
    wait_for("la codifica Windows-1252", lambda: "1252" in d.find_element(By.ID, "status.editor.encoding").text)
    counts = wait_for("un errore nella barra di stato", lambda: (c := problem_counts(d)) and c[0] >= 1 and c, 90)
    assert counts[0] == 1, f"attesi 1 errore, visti {counts}"
    press(d, Keys.CONTROL, Keys.SHIFT, "m")  # the Problems panel
    rows = wait_for("la riga dell'errore nel pannello Problemi",
                    lambda: [r.text for r in d.find_elements(By.CSS_SELECTOR, ".markers-panel .monaco-list-row")
                             if "21" in r.text], 30)
    assert any(f"{planted_line}" in r for r in rows), f"l'errore non è alla riga {planted_line}: {rows}"
    d.save_screenshot(os.path.join(ARTIFACTS, "code_server_problemi.png"))
    return counts


def test_hover_shows_the_fields(d):
    """The mouse rests on the key of a curve line: the hover names the curve's fields."""
    key = wait_for("la chiave «curvas1»", lambda: next(
        e for e in d.find_elements(By.CSS_SELECTOR, ".monaco-editor .view-line span span") if e.text == "curvas1"))
    ActionChains(d).move_to_element(key).perform()
    hover = wait_for("la descrizione della chiave",
                     lambda: (h := d.find_element(By.CSS_SELECTOR, ".monaco-hover:not(.hidden) .monaco-hover-content").text) and h, 30)
    assert "curva" in hover and "inizio" in hover and "lunghezza" in hover, f"la descrizione non dice i campi: {hover!r}"
    d.save_screenshot(os.path.join(ARTIFACTS, "code_server_descrizione.png"))


def output_text(d):
    """The lines of the channel in view (the editor writes its blanks as no-break spaces)."""
    text = d.execute_script(
        "const v = document.querySelector('.part.panel .monaco-editor .view-lines'); return v ? v.innerText : '';")
    return text.replace("\u00a0", " ")


def test_palette_commands(d):
    """Check and route page from the palette: their messages in the Autore channel."""
    command(d, "Autore: Controlla lo scenario")
    text = wait_for("il controllo nel canale Autore",
                    lambda: (t := output_text(d)) and "stato d'uscita" in t and t, 60)
    # The end of the check's messages is in view: the faulty file named, status 2.
    assert f"{LINE}:" in text and text.rstrip().endswith("(stato d'uscita 2)"), text
    command(d, "Autore: Apri la pagina del percorso")
    text = wait_for("la pagina del percorso nel canale Autore",
                    lambda: (t := output_text(d)) and "> autore view" in t and ".html\n(stato d'uscita 0)" in t and t, 60)
    assert re.search(r"scritto .*Tratta_Esempio_linea\.html", text), text
    # The page goes to the browser, in a tab of its own (the workbench may ask
    # first); the test closes it and comes back to the workbench's tab.
    workbench = d.current_window_handle
    time.sleep(3)
    if d.find_elements(By.CSS_SELECTOR, ".monaco-dialog-box"):
        ActionChains(d).send_keys(Keys.ESCAPE).perform()
    for handle in d.window_handles:
        if handle != workbench:
            d.switch_to.window(handle)
            print("  pagina del percorso aperta in una scheda:", d.current_url)
            d.close()
    d.switch_to.window(workbench)


def test_clean_template(d, port, folder, fault_counts):
    open_workbench(d, port, folder)
    open_file(d, LINE)
    wait_for("il conteggio nella barra di stato", lambda: problem_counts(d) is not None and problem_counts(d)[1] > 0, 90)
    counts = problem_counts(d)
    assert counts[0] == 0, f"il modello pulito mostra errori: {counts}"
    assert counts[1] == fault_counts[1], f"avvisi diversi da quelli del modello con l'errore: {counts} {fault_counts}"


def main():
    os.makedirs(ARTIFACTS, exist_ok=True)
    work = tempfile.mkdtemp(prefix="code-server-test-")
    server = None
    d = None
    failures = 0
    try:
        ext, user = os.path.join(work, "ext"), os.path.join(work, "user")
        os.makedirs(os.path.join(user, "User"))
        with open(os.path.join(user, "User", "settings.json"), "w") as f:
            json.dump({"workbench.startupEditor": "none", "workbench.tips.enabled": False,
                       "security.workspace.trust.enabled": False, "telemetry.telemetryLevel": "off",
                       "extensions.autoCheckUpdates": False, "extensions.autoUpdate": False,
                       "workbench.enableExperiments": False}, f)
        subprocess.run([CODE_SERVER, "--install-extension", VSIX, "--extensions-dir", ext,
                        "--user-data-dir", user], check=True, capture_output=True)
        faulty, clean = os.path.join(work, "con errore"), os.path.join(work, "pulito")
        export(faulty)
        export(clean)
        planted = plant_fault(faulty)
        port = free_port()
        log = open(os.path.join(ARTIFACTS, "code_server.log"), "w")
        server = subprocess.Popen([CODE_SERVER, "--auth", "none", "--bind-addr", f"127.0.0.1:{port}",
                                   "--disable-telemetry", "--disable-update-check", "--disable-workspace-trust",
                                   "--user-data-dir", user, "--extensions-dir", ext, work],
                                  stdout=log, stderr=subprocess.STDOUT)
        wait_for("code-server in ascolto", lambda: socket.create_connection(("127.0.0.1", port), 1), 60)
        d = browser(os.path.join(work, "chromium"))

        def fresh():
            """A new window on the workbench, as after restarting the editor."""
            nonlocal d
            d.quit()
            d = browser(os.path.join(work, "chromium-2"))
            return d

        tests = [("errore piantato", lambda: test_planted_fault(d, port, faulty, planted))]
        results = {}
        for name, test in tests + [("descrizione", lambda: test_hover_shows_the_fields(d)),
                                   ("comandi", lambda: test_palette_commands(d)),
                                   ("modello pulito", lambda: test_clean_template(
                                       fresh(), port, clean, results["errore piantato"]))]:
            try:
                results[name] = test()
                print(f"ok: {name}")
            except Exception:
                failures += 1
                print(f"FALLITO: {name}")
                traceback.print_exc()
                if d:
                    d.save_screenshot(os.path.join(ARTIFACTS, f"code_server_{name.replace(' ', '_')}_fallito.png"))
                if name == "errore piantato":
                    break
    finally:
        if d:
            d.quit()
        if server:
            server.terminate()
            server.wait(20)
        shutil.rmtree(work, ignore_errors=True)
    print(f"{len(results)} passed, {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
