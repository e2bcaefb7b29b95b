#!/usr/bin/env python3
"""The VS Code extension in a real VS Code: code-server, driven in headless
Chromium as an author would use it.

Usage: python3 tests/editors/code_server_test.py CODE_SERVER VSIX AUTORE ARTIFACTS

CODE_SERVER is the code-server program, VSIX the linux-x64 package, AUTORE the
tool (to export the template). The .vsix is installed into a fresh
extensions folder; then a train file with an accented station name, opened with
one click in the Explorer as the editor starts, comes up in Windows-1252, shows
the name right and is saved in Windows-1252; a template with a planted fault
shows that fault in the Problems panel and its count in the status bar, the
clean template shows no error, a hover over a key shows its fields, and the
palette's check, route page and compile run the tool inside the extension (the
compile asks its folder once). Screenshots land in ARTIFACTS.
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
from selenium.common.exceptions import WebDriverException

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


ACCENTED = b"Citt\xe0 di Corallo"  # a station's name in Windows-1252


def plant_accent(folder):
    """A station with an accented name in the train file: the line, counted from 1, and the file's bytes."""
    path = os.path.join(folder, TRAIN)
    data = open(path, "rb").read()
    assert b"Lido di Corallo" in data
    data = data.replace(b"Lido di Corallo", ACCENTED)
    open(path, "wb").write(data)
    return next(i for i, l in enumerate(data.split(b"\r\n")) if ACCENTED in l) + 1, data


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
    """Runs a command of the palette by its title: typed, seen among the
    palette's rows, then Enter (a palette that took no keys is opened again)."""
    for _ in range(3):
        press(d, Keys.CONTROL, Keys.SHIFT, "p")
        try:
            box = wait_for("la tavolozza dei comandi", lambda: next(
                b for b in d.find_elements(By.CSS_SELECTOR, ".quick-input-box input") if b.is_displayed()), 10)
            box.send_keys(title)
            wait_for(f"«{title}» nella tavolozza",
                     lambda: title in d.find_element(By.CSS_SELECTOR, ".quick-input-list").text, 10)
            time.sleep(0.5)
            box.send_keys(Keys.ENTER)
            return
        except (AssertionError, WebDriverException):
            ActionChains(d).send_keys(Keys.ESCAPE).perform()
    raise AssertionError(f"la tavolozza non ha preso il comando «{title}»")


def open_file(d, name):
    """Quick Open (Ctrl+P), the file's name, Enter."""
    press(d, Keys.CONTROL, "p")
    box = wait_for("l'apertura rapida", lambda: d.find_element(By.CSS_SELECTOR, ".quick-input-box input"))
    box.send_keys(name)
    wait_for(f"{name} tra i risultati", lambda: name in d.find_element(By.CSS_SELECTOR, ".quick-input-list").text)
    box.send_keys(Keys.ENTER)
    wait_for(f"la scheda di {name}",
             lambda: d.find_element(By.CSS_SELECTOR, ".tab.active").get_attribute("aria-label").startswith(name))


def go_to_line(d, number):
    """Quick Open's ":" and the line number, as the author jumps to a line."""
    press(d, Keys.CONTROL, "p")
    box = wait_for("l'apertura rapida", lambda: d.find_element(By.CSS_SELECTOR, ".quick-input-box input"))
    box.send_keys(f":{number}")
    time.sleep(0.5)
    box.send_keys(Keys.ENTER)


def editor_lines(d):
    """The lines of the file in view (the editor writes its blanks as no-break spaces)."""
    return [e.text.replace("\u00a0", " ") for e in
            d.find_elements(By.CSS_SELECTOR, ".part.editor .monaco-editor .view-lines .view-line")]


def problem_counts(d):
    """(errors, warnings) as the status bar shows them, beside their icons."""
    item = d.find_element(By.ID, "status.problems")
    numbers = [int(n) for n in re.findall(r"\d+", item.text)]
    return (numbers[0], numbers[1]) if len(numbers) >= 2 else None


def open_workbench(d, port, folder):
    d.get(f"http://127.0.0.1:{port}/?folder={folder}")
    wait_for("il banco di lavoro", lambda: d.find_element(By.CSS_SELECTOR, ".monaco-workbench"), 120)
    time.sleep(3)


def test_explorer_keeps_windows_1252(d, port, folder, accented_line, original):
    """One click in the Explorer as the editor starts, before it knows the
    languages' settings: the file still comes up in Windows-1252, the accented
    name reads right, and a save writes Windows-1252 back, nothing else changed."""
    open_workbench(d, port, folder)
    row = wait_for(f"{TRAIN} nell'Esplora risorse", lambda: next(
        e for e in d.find_elements(By.CSS_SELECTOR, ".explorer-folders-view .monaco-list-row") if e.text.strip() == TRAIN))
    row.click()
    wait_for(f"la scheda di {TRAIN}",
             lambda: d.find_element(By.CSS_SELECTOR, ".tab.active").get_attribute("aria-label").startswith(TRAIN))
    wait_for("la codifica Windows-1252", lambda: "1252" in d.find_element(By.ID, "status.editor.encoding").text, 60)
    go_to_line(d, accented_line)
    name = ACCENTED.decode("cp1252")
    wait_for(f"«{name}» nel file", lambda: any(l.endswith(name) for l in editor_lines(d)), 30)
    press(d, Keys.END)
    ActionChains(d).send_keys(" Mare").perform()
    press(d, Keys.CONTROL, "s")
    path = os.path.join(folder, TRAIN)
    expected = original.replace(ACCENTED, ACCENTED + b" Mare")
    try:
        wait_for("il file salvato", lambda: open(path, "rb").read() == expected, 30)
    finally:
        d.save_screenshot(os.path.join(ARTIFACTS, "code_server_accento.png"))


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


def clear_output(d):
    """The channel in view emptied with its own button, so that what follows is the next command's."""
    button = wait_for("il pulsante che svuota il canale", lambda: next(
        b for b in d.find_elements(By.CSS_SELECTOR, ".part.panel [aria-label='Clear Output']") if b.is_displayed()), 10)
    button.click()
    wait_for("il canale vuoto", lambda: output_text(d).strip() == "", 10)


def test_palette_commands(d):
    """Check and route page from the palette: their messages in the Autore channel."""
    clear_output(d)
    command(d, "Autore: Controlla lo scenario")
    text = wait_for("il controllo nel canale Autore",
                    lambda: (t := output_text(d)) and "stato d'uscita" in t and t, 60)
    # The end of the check's messages is in view: the faulty file named, status 2.
    assert f"{LINE}:" in text and text.rstrip().endswith("(stato d'uscita 2)"), text
    command(d, "Autore: Apri la pagina del percorso")
    # The page goes to the browser, in a tab of its own (the workbench may ask
    # first). The workbench draws nothing while another tab is in front: the
    # test closes the page's tab and comes back before reading the channel.
    workbench = d.current_window_handle
    opened = []

    def page_written():
        if d.find_elements(By.CSS_SELECTOR, ".monaco-dialog-box"):
            ActionChains(d).send_keys(Keys.ESCAPE).perform()
        for handle in d.window_handles:
            if handle != workbench:
                d.switch_to.window(handle)
                opened.append(d.current_url)
                d.close()
                d.switch_to.window(workbench)
        t = output_text(d)
        return "> autore view" in t and ".html\n(stato d'uscita 0)" in t and t

    text = wait_for("la pagina del percorso nel canale Autore", page_written, 90)
    assert re.search(r"scritto .*Tratta_Esempio_linea\.html", text), text
    time.sleep(3)
    page_written()
    for url in opened:
        print("  pagina del percorso aperta in una scheda:", url)


COMPILED = ["Tratta_Esempio_linea.dat", "Tratta_Esempio_TR 000 Esempio.sim", "Tratta_Esempio_TR 000 Esempio.dat"]


def folder_prompt(d):
    """The button of the prompt for the compile's folder, when it is shown."""
    buttons = d.find_elements(By.XPATH, "//div[contains(@class,'quick-input-widget')]"
                                        "//*[contains(@class,'monaco-button') and normalize-space()='Compila qui']")
    return next((b for b in buttons if b.is_displayed()), None)


def compiled_files(folder):
    return sorted(n for n in COMPILED if os.path.isfile(os.path.join(folder, n)))


def test_compile_asks_the_folder_once(d, folder):
    """The palette's compile asks where to write, writes the three files there
    with its messages in the Autore channel; the second time it asks nothing;
    "Cambia la cartella" asks again."""
    out = os.path.join(folder, "compilati")
    os.makedirs(out)
    command(d, "Autore: Compila lo scenario")
    wait_for("la domanda della cartella", lambda: folder_prompt(d), 30)
    box = d.find_element(By.CSS_SELECTOR, ".quick-input-widget .quick-input-box input")
    box.send_keys(Keys.CONTROL, "a")
    box.send_keys(out + "/")
    wait_for("la cartella scelta", lambda: box.get_attribute("value") == out + "/", 10)

    def answered():
        """The prompt's button pressed until the prompt goes (it waits while it lists the folder)."""
        time.sleep(1)
        button = folder_prompt(d)
        if button is None:
            return True
        button.click()
        return False

    wait_for("la risposta alla domanda della cartella", answered, 30)
    # The end of its messages in the channel (the data error: status 2), and the
    # folder, with a blank in it, named as answered in the notification.
    wait_for("la compilazione nel canale Autore", lambda: output_text(d).rstrip().endswith("(stato d'uscita 2)"), 60)
    wait_for("la notifica della compilazione", lambda: any(
        f"Scenario compilato in {out}, ma con errori nei dati" in n.text
        for n in d.find_elements(By.CSS_SELECTOR, ".notifications-toasts .notification-list-item-message")), 30)
    assert compiled_files(out) == sorted(COMPILED), os.listdir(out)
    d.save_screenshot(os.path.join(ARTIFACTS, "code_server_compilazione.png"))
    for name in COMPILED:
        os.remove(os.path.join(out, name))
    command(d, "Autore: Compila lo scenario")
    end = time.monotonic() + 60
    while compiled_files(out) != sorted(COMPILED):
        assert folder_prompt(d) is None, "la cartella è chiesta una seconda volta"
        assert time.monotonic() < end, "la seconda compilazione non ha scritto i file"
        time.sleep(0.5)
    # Asked for, the folder is asked again; the prompt closed unanswered writes nothing.
    for name in COMPILED:
        os.remove(os.path.join(out, name))
    command(d, "Autore: Cambia la cartella della compilazione")
    wait_for("la domanda della cartella, chiesta di nuovo", lambda: folder_prompt(d), 30)
    ActionChains(d).send_keys(Keys.ESCAPE).perform()
    wait_for("la domanda chiusa", lambda: folder_prompt(d) is None, 10)
    time.sleep(3)
    assert compiled_files(out) == [], os.listdir(out)


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
        accented = os.path.join(work, "accentato")
        export(faulty)
        export(clean)
        export(accented)
        planted = plant_fault(faulty)
        accented_line, accented_bytes = plant_accent(accented)
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

        tests = [("accento dall'Esplora risorse",
                  lambda: test_explorer_keeps_windows_1252(d, port, accented, accented_line, accented_bytes)),
                 ("errore piantato", lambda: test_planted_fault(d, port, faulty, planted))]
        results = {}
        for name, test in tests + [("descrizione", lambda: test_hover_shows_the_fields(d)),
                                   # before the route page, which leaves the workbench's tab behind another
                                   ("compilazione", lambda: test_compile_asks_the_folder_once(d, faulty)),
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
                    shot = re.sub(r"\W+", "_", name)
                    d.save_screenshot(os.path.join(ARTIFACTS, f"code_server_{shot}_fallito.png"))
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
