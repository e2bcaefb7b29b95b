#!/usr/bin/env bash
# The editors authors use, checked as they will meet them:
# - the VS Code grammars, offline, with vscode-tmgrammar-test on their test
#   files; the extension's pairing of line and train files with node's tests;
# - the Notepad++ language parses as XML and names every key of docs/formats.md;
# - the .vsix of each platform built from a clean clone, its file list checked;
# - the linux-x64 .vsix installed into a real VS Code (code-server) and driven
#   in headless Chromium (tests/editors/code_server_test.py).
# - the Neovim plugin file in current Neovim releases (Debian trixie's and
#   sid's, unpacked beside the machine's own, tests/editors/neovim_debian.sh)
#   with Neovim's own client (tests/tools/lsp/neovim_test.sh); the machine's
#   own Neovim runs the same test in ctest (lsp_neovim).
#
# Usage: bash .ci/editors.sh [build-dir] [windows-build-dir]  (default: build build-win)
# The win32-x64 package is built when the Windows build holds tools/autore.exe.
# code-server is installed once under $CODE_SERVER_DIR (default /tmp/code-server),
# outside the repository. Packages and screenshots land in <build-dir>/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
BUILD="$(cd "${1:-build}" && pwd)"
WINBUILD="${2:-build-win}"
ART="$BUILD/artifacts"
mkdir -p "$ART"
CODE_SERVER_DIR="${CODE_SERVER_DIR:-/tmp/code-server}"

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
packages=(chromium chromium-driver python3-selenium unzip ripgrep libkrb5-dev libx11-dev libxkbfile-dev
          libsecret-1-dev pkg-config g++ make python3)
command -v node >/dev/null 2>&1 || packages+=(nodejs npm)
if ! $SUDO apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null; then
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null
fi
[ -x "$BUILD/tools/autore" ] || cmake --build "$BUILD" -j2 --target autore

echo "== grammatiche e abbinamento dei file (npm ci)"
(cd editors/vscode && npm ci --no-audit --no-fund --loglevel=error)
# The grammars as the extension's manifest names them.
(cd editors/vscode && ./node_modules/.bin/vscode-tmgrammar-test test/linea.txt test/treno.txt)
node --test editors/vscode/test/

echo "== Neovim, versioni attuali"
# Debian's archive out of reach, or a release whose packages cannot be
# unpacked here, is told and passed over; a Neovim that runs must pass.
for suite in trixie sid; do
  nvim_dir="$(mktemp -d)"
  if bash tests/editors/neovim_debian.sh "$suite" "$nvim_dir"; then
    PATH="$nvim_dir/bin:$PATH" bash tests/tools/lsp/neovim_test.sh "$BUILD/tools/autore"
  else
    echo "Neovim di Debian $suite non disponibile qui: non provato"
  fi
  rm -rf "$nvim_dir"
done

echo "== Notepad++"
python3 tests/editors/notepad_test.py editors/notepad++/scenario_autore.xml docs/formats.md

echo "== pacchetti .vsix da un clone pulito"
clone="$(mktemp -d)"
trap 'rm -rf "$clone"' EXIT
git clone -q --no-local "$root" "$clone/repo"
version="$("$BUILD/tools/autore" --version | grep -o '[0-9][0-9.]*' | head -1)"
linux_vsix="$ART/autore-$version-linux-x64.vsix"
bash "$clone/repo/editors/vscode/build.sh" "$BUILD/tools/autore" linux-x64 "$linux_vsix"
python3 tests/editors/vsix_test.py "$linux_vsix" linux-x64 "$version"
if [ -f "$WINBUILD/tools/autore.exe" ]; then
  win_vsix="$ART/autore-$version-win32-x64.vsix"
  bash "$clone/repo/editors/vscode/build.sh" "$WINBUILD/tools/autore.exe" win32-x64 "$win_vsix"
  python3 tests/editors/vsix_test.py "$win_vsix" win32-x64 "$version"
else
  echo "$WINBUILD/tools/autore.exe non c'è: pacchetto win32-x64 non costruito"
fi

echo "== VS Code (code-server) in Chromium"
bash tests/editors/install_code_server.sh "$CODE_SERVER_DIR"
/usr/bin/python3 tests/editors/code_server_test.py "$CODE_SERVER_DIR/node_modules/.bin/code-server" "$linux_vsix" \
  "$BUILD/tools/autore" "$ART"
