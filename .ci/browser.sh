#!/usr/bin/env bash
# The route page of `autore view` and of `autore serve` in a real browser:
# Debian's Chromium driven headless through its WebDriver by
# tests/browser/view_test.py and tests/browser/serve_test.py.
#
# Usage: bash .ci/browser.sh [build-dir]   (default: build)
# Screenshots of the page land in <build-dir>/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}

packages=(chromium chromium-driver python3-selenium)
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
if ! $SUDO apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null; then
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null
fi

# The tool and the fixture page's maker, built if the build folder lacks them.
if [ ! -x "$BUILD/tools/autore" ] || [ ! -x "$BUILD/tools/view_fixture" ]; then
    [ -f "$BUILD/CMakeCache.txt" ] || cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$BUILD" -j2 --target autore view_fixture
fi

# Debian's selenium belongs to Debian's own Python, whatever python3 comes first on PATH.
/usr/bin/python3 tests/browser/view_test.py "$BUILD"
# The page of `autore serve`, following the author's saves (traffic on 127.0.0.1 only).
/usr/bin/python3 tests/browser/serve_test.py "$BUILD"
