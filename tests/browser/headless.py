"""What the browser tests share: Debian's Chromium, headless, driven through its
WebDriver; waiting for the page's drawing; the run of a file's tests."""
import os
import shutil
import sys
import traceback

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

CHROMIUM = shutil.which("chromium") or "/usr/bin/chromium"
CHROMEDRIVER = shutil.which("chromedriver") or "/usr/bin/chromedriver"


def browser(user_data, performance_log=False):
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for flag in ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update", "--disable-sync",
                 "--user-data-dir=" + user_data, "--window-size=1366,768"]:
        options.add_argument(flag)
    logs = {"browser": "ALL", "performance": "ALL"} if performance_log else {"browser": "ALL"}
    options.set_capability("goog:loggingPrefs", logs)
    return webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)


def frames(d):
    """Waits until the page has drawn what it was last asked to."""
    d.execute_async_script(
        "const done = arguments[arguments.length - 1];"
        "requestAnimationFrame(() => requestAnimationFrame(() => setTimeout(done, 0)));")


def run_tests(tests, d, given):
    """Runs each test(d, given), says PASS or FAIL for each, and ends with the counts."""
    passed = failed = 0
    for test in tests:
        try:
            test(d, given)
            passed += 1
            print(f"browser: PASS {test.__name__}")
        except Exception:
            failed += 1
            print(f"browser: FAIL {test.__name__}", file=sys.stderr)
            traceback.print_exc()
    print(f"browser: {passed} passed, {failed} failed")
    return 0 if failed == 0 and passed > 0 else 1
