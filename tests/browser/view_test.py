#!/usr/bin/env python3
"""The route page of `autore view` in a real browser (headless Chromium).

Usage: python3 tests/browser/view_test.py [BUILD_DIR]   (default: build)

BUILD_DIR holds tools/autore and tools/view_fixture. The test exports the
embedded scenario, compiles it, writes its page, and writes the fixture page
(a small scenario with source lines and diagnostics filled in by hand); then
it opens both from file:// and checks them as an author would use them.
Screenshots land in BUILD_DIR/artifacts/.
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time
import urllib.parse

from headless import browser, frames, run_tests
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.actions.wheel_input import ScrollOrigin
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

BUILD = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
AUTORE = os.path.join(BUILD, "tools", "autore")
FIXTURE = os.path.join(BUILD, "tools", "view_fixture")
ARTIFACTS = os.path.join(BUILD, "artifacts")
PAGE_LIMIT = 3 * 1024 * 1024


def run(*args, cwd=None):
    done = subprocess.run(args, cwd=cwd, capture_output=True, text=True)
    if done.returncode != 0:
        raise AssertionError(f"{' '.join(args)} ended with {done.returncode}: {done.stderr}")
    return done.stdout


def make_pages(work):
    """The embedded scenario's page, its station names, and the fixture page."""
    run(AUTORE, "export", os.path.join(work, "src"))
    src = os.path.join(work, "src")
    line, train = "Tratta_Esempio_linea.txt", "Tratta_Esempio_TR 000 Esempio-.txt"
    run(AUTORE, "compile", line, train, "-o", "out", cwd=src)
    page = os.path.join(work, "route.html")
    run(AUTORE, "view", "out", "--sources", line, train, "-o", page, cwd=src)
    records = json.loads(run(AUTORE, "dump", os.path.join(src, "out", "Tratta_Esempio_TR 000 Esempio.sim"), "--json"))
    # Stations fill the records from 1 up, one after the other.
    names = []
    for r in records["records"][1:]:
        if not r["text"] or r["at_m"] == 0 and r["kind"] == 0:
            break
        names.append(r["text"])
    fixture = os.path.join(work, "fixture.html")
    run(FIXTURE, fixture)
    return page, names, fixture


def viewport(d, width, height):
    d.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                      {"width": width, "height": height, "deviceScaleFactor": 1, "mobile": False})
    frames(d)


def view(d):
    return d.execute_script("return window.__view;")


def open_page(d, page):
    d.get_log("browser")
    d.get_log("performance")
    d.get("file://" + urllib.parse.quote(page))
    for _ in range(100):
        if d.execute_script("return window.__view && window.__view.first_draw_ms !== undefined;"):
            break
        time.sleep(0.05)
    frames(d)


def console_problems(d):
    return [e for e in d.get_log("browser") if e["level"] in ("SEVERE", "WARNING")]


def requests_beyond(d, page):
    """Every request the page made other than for itself (the browser's own
    chrome:// pages, such as the first empty tab, are not the page's)."""
    own = "file://" + urllib.parse.quote(page)
    out = []
    for entry in d.get_log("performance"):
        message = json.loads(entry["message"])["message"]
        if message["method"] == "Network.requestWillBeSent":
            url = message["params"]["request"]["url"]
            by_page = message["params"].get("documentURL") == own
            if url != own and (by_page or not url.startswith("chrome://")):
                out.append(url)
    return out


def overlapping_labels(labels):
    out = []
    for i, a in enumerate(labels):
        for b in labels[i + 1:]:
            if a["x"] < b["x"] + b["w"] and b["x"] < a["x"] + a["w"] and a["y"] < b["y"] + b["h"] and b["y"] < a["y"] + a["h"]:
                out.append((a["text"], b["text"]))
    return out


def fills_window(d):
    return d.execute_script("""
        const area = document.getElementById('canvas-area').getBoundingClientRect();
        const side = document.getElementById('side').getBoundingClientRect();
        const root = document.documentElement;
        return {scroll: root.scrollHeight > innerHeight || root.scrollWidth > innerWidth,
                width: Math.round(area.width + side.width), height: Math.round(document.body.getBoundingClientRect().height)};
    """)


def jump(d, text):
    box = d.find_element(By.ID, "jump-box")
    box.clear()
    box.send_keys(text, Keys.ENTER)
    frames(d)
    frames(d)


def canvas_offset(d, x, y):
    """A point of the canvas as an offset from its centre, as the pointer actions take it."""
    canvas = d.find_element(By.ID, "view")
    size = canvas.size
    return canvas, int(x - size["width"] / 2), int(y - size["height"] / 2)


# --- the scenarios --------------------------------------------------------------

def test_opens_from_disk_clean_and_filling_the_window(d, pages):
    page, names, _ = pages
    size = os.path.getsize(page)
    assert size < PAGE_LIMIT, f"the page is {size} bytes"
    viewport(d, 1366, 768)
    open_page(d, page)
    v = view(d)
    timing = d.execute_script("const n = performance.getEntriesByType('navigation')[0];"
                              "return {dom: n.domContentLoadedEventEnd, load: n.loadEventEnd};")
    print(f"  page {size} bytes; first drawing at {v['first_draw_ms']:.0f} ms, DOM ready at "
          f"{timing['dom']:.0f} ms, loaded at {timing['load']:.0f} ms, one drawing {v['draw_ms']:.1f} ms")
    assert console_problems(d) == [], console_problems(d)
    assert requests_beyond(d, page) == [], requests_beyond(d, page)
    assert d.execute_script("return document.querySelector('meta[http-equiv=Content-Security-Policy]').content")\
        .startswith("default-src 'none'")
    assert (v["from_m"], v["to_m"]) == (0, 334000), (v["from_m"], v["to_m"])
    # The whole route is laid out in the one window of the plot's frame.
    assert v["plan_window"] == {"span_m": 334000, "index": 0}, v["plan_window"]
    for width, height, shot in [(1366, 768, "view.png"), (3840, 2160, "view-4k.png")]:
        viewport(d, width, height)
        fill = fills_window(d)
        assert not fill["scroll"] and fill["width"] == width and fill["height"] == height, (width, height, fill)
        v = view(d)
        assert overlapping_labels(v["labels"]) == [], overlapping_labels(v["labels"])
        assert len(v["stations_named"]) >= 8, v["stations_named"]
        # The first and the last station of the run are named on the plan too.
        on_plan = [label["text"] for label in v["labels"] if label["panel"] == "plan"]
        assert names[0] in on_plan and names[-1] in on_plan, (width, on_plan)
        d.save_screenshot(os.path.join(ARTIFACTS, shot))
    # Zoomed in to one kilometre the labels still keep apart.
    viewport(d, 1366, 768)
    jump(d, "km 28+000")
    v = view(d)
    assert v["to_m"] - v["from_m"] <= 2000 and v["from_m"] <= 28000 <= v["to_m"], v
    assert overlapping_labels(v["labels"]) == [], overlapping_labels(v["labels"])
    # The plan's window is one that holds the view, and the track there reads its kilometres.
    window = v["plan_window"]
    assert window["span_m"] * 3 / 4 >= v["to_m"] - v["from_m"], window
    assert "28.000" in [label["text"] for label in v["labels"] if label["panel"] == "plan-km"], v["labels"]
    d.save_screenshot(os.path.join(ARTIFACTS, "view-km28.png"))
    assert console_problems(d) == []


def test_every_station_of_the_embedded_route_is_on_it(d, pages):
    page, names, _ = pages
    assert len(names) == 45, names
    viewport(d, 1366, 768)
    open_page(d, page)
    listed = [row.find_elements(By.TAG_NAME, "td")[0].text for row in d.find_elements(By.CSS_SELECTOR, "#station-list tr")]
    assert listed == names, (listed, names)
    # Each one, chosen in the list, stands named in the drawing.
    rows = d.find_elements(By.CSS_SELECTOR, "#station-list tr")
    missing = []
    for name, row in zip(names, rows):
        d.execute_script("arguments[0].scrollIntoView(); arguments[0].click();", row)
        frames(d)
        frames(d)
        v = view(d)
        if name not in v["stations_named"] or "Stazione " + name not in v["tip"]:
            missing.append(name)
    assert missing == [], missing
    assert console_problems(d) == []


def test_wheel_drag_and_keys_change_what_is_shown(d, pages):
    page, _, _ = pages
    viewport(d, 1366, 768)
    open_page(d, page)
    v = view(d)
    p = v["profile"]
    gradient = next(r for r in v["rows"] if r["id"] == "gradient")
    # The wheel over the profile zooms in around the chainage under the pointer.
    x = p["x"] + p["w"] * 0.25
    under = v["from_m"] + (x - p["x"]) / p["w"] * (v["to_m"] - v["from_m"])
    canvas, ox, oy = canvas_offset(d, x, gradient["y"] + gradient["h"] / 2)
    ActionChains(d).scroll_from_origin(ScrollOrigin.from_element(canvas, ox, oy), 0, -400).perform()
    frames(d)
    z = view(d)
    assert z["to_m"] - z["from_m"] < (v["to_m"] - v["from_m"]) * 0.7, z
    still = z["from_m"] + (x - p["x"]) / p["w"] * (z["to_m"] - z["from_m"])
    assert abs(still - under) < (z["to_m"] - z["from_m"]) * 0.01, (still, under)
    # Dragging to the left moves the window along the route by as much.
    ActionChains(d).move_to_element_with_offset(canvas, ox, oy).click_and_hold().move_by_offset(-100, 0)\
        .move_by_offset(-100, 0).release().perform()
    frames(d)
    g = view(d)
    moved = g["from_m"] - z["from_m"]
    per_px = (z["to_m"] - z["from_m"]) / p["w"]
    assert abs((g["to_m"] - g["from_m"]) - (z["to_m"] - z["from_m"])) < 1e-6, g
    assert abs(moved - 200 * per_px) < 5 * per_px, (moved, 200 * per_px)
    # The keys: + halves the window, the arrow moves it on, Home shows it all.
    body = d.find_element(By.TAG_NAME, "body")
    body.send_keys("+")
    frames(d)
    k = view(d)
    assert abs((k["to_m"] - k["from_m"]) - (g["to_m"] - g["from_m"]) / 2) < 1, k
    body.send_keys(Keys.ARROW_RIGHT)
    frames(d)
    assert view(d)["from_m"] > k["from_m"]
    body.send_keys(Keys.HOME)
    frames(d)
    h = view(d)
    assert (h["from_m"], h["to_m"]) == (0, 334000), h
    assert console_problems(d) == []


def test_a_known_chainage_shows_its_object_with_the_source_line(d, pages):
    _, _, fixture = pages
    viewport(d, 1366, 768)
    open_page(d, fixture)
    assert "Valle_linea.txt" in d.find_element(By.ID, "sources").text
    rows = [
        ("3000", ["Segnale", "a 3000 m", "valori 42 · 11 · 11 · 8", "Valle_R 101-.txt:10"]),
        ("km 4+000", ["Indicatore di velocità", "velocità 1-3: 85 · 90 · 95 km/h, tipo 0",
                      "velocità 4-6: 80 · 85 · 90 km/h, tipo 1", "Valle_linea.txt:6"]),
        ("6,0 km", ["Cartello indicatore", "(Km 6+000)", "Valle_linea.txt:7"]),
        ("9000", ["Stazione Beta", "orario 08:15:30", "Valle_R 101-.txt:11"]),
        ("5000", ["Avvertenza W1", "pendenza del 5 per mille", "Valle_linea.txt:5:1"]),
    ]
    for typed, parts in rows:
        jump(d, typed)
        tip = view(d)["tip"]
        for part in parts:
            assert part in tip, (typed, part, tip)
    # The diagnostic without a chainage is in the list, with its place in the file.
    listed = d.find_element(By.ID, "diagnostic-list").text
    assert "errore E2" in listed and "Valle_R 101-.txt:1:1" in listed, listed
    # The pointer on the signal's mark says the same.
    d.find_element(By.TAG_NAME, "body").send_keys(Keys.ESCAPE)
    jump(d, "3000")
    d.find_element(By.TAG_NAME, "body").send_keys(Keys.ESCAPE)
    frames(d)
    v = view(d)
    p = v["profile"]
    signals = next(r for r in v["rows"] if r["id"] == "signals")
    x = p["x"] + (3000 - v["from_m"]) / (v["to_m"] - v["from_m"]) * p["w"]
    canvas, ox, oy = canvas_offset(d, x, signals["y"] + signals["h"] / 2)
    ActionChains(d).move_to_element_with_offset(canvas, ox, oy).perform()
    frames(d)
    tip = view(d)["tip"]
    assert "Segnale" in tip and "Valle_R 101-.txt:10" in tip, tip
    d.save_screenshot(os.path.join(ARTIFACTS, "view-fixture.png"))
    # A chainage the route does not have is refused in words.
    jump(d, "999999")
    assert "fuori dal percorso" in d.find_element(By.ID, "jump-message").text
    assert console_problems(d) == []


def main():
    for tool in (AUTORE, FIXTURE):
        if not os.access(tool, os.X_OK):
            print(f"browser: {tool} missing: build the targets autore and view_fixture", file=sys.stderr)
            return 1
    os.makedirs(ARTIFACTS, exist_ok=True)
    work = tempfile.mkdtemp(prefix="autore-view-test-")
    d = None
    try:
        pages = make_pages(work)
        d = browser(os.path.join(work, "profile"), performance_log=True)
        return run_tests([v for k, v in globals().items() if k.startswith("test_")], d, pages)
    finally:
        if d is not None:
            d.quit()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
