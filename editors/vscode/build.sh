#!/usr/bin/env bash
# Builds the VS Code extension for one platform: the client bundled into one
# file, the grammars, and the given autore program inside, packed as a .vsix
# that an author installs with `code --install-extension FILE.vsix`.
#
#   editors/vscode/build.sh AUTORE PLATFORM OUTPUT.vsix
#
# AUTORE is build/tools/autore (PLATFORM linux-x64) or
# build-win/tools/autore.exe (PLATFORM win32-x64). The version is the one
# `autore --version` prints (under wine for the .exe, when it is there, else
# the project's). Needs node and npm; the packages come locked from
# package-lock.json (npm ci, on the first run).
set -euo pipefail
if [ $# -ne 3 ]; then
  echo "uso: $0 AUTORE linux-x64|win32-x64 USCITA.vsix" >&2
  exit 64
fi
autore="$1" platform="$2" out="$3"
here="$(cd "$(dirname "$0")" && pwd)"
case "$platform" in
  linux-x64) server=autore ;;
  win32-x64) server=autore.exe ;;
  *) echo "$0: piattaforma «$platform» sconosciuta: linux-x64 o win32-x64" >&2; exit 64 ;;
esac
[ -f "$autore" ] || { echo "$0: «$autore» non esiste" >&2; exit 1; }

# The version of the tool the extension carries.
version="$(sed -n 's/^project([^)]*VERSION \([0-9.]*\).*/\1/p' "$here/../../CMakeLists.txt" | head -1)"
[ -n "$version" ] || { echo "$0: versione non trovata in CMakeLists.txt" >&2; exit 1; }

if [ ! -d "$here/node_modules" ] || [ "$here/package-lock.json" -nt "$here/node_modules/.package-lock.json" ]; then
  (cd "$here" && npm ci --no-audit --no-fund --loglevel=error)
fi

# A staging folder of its own: nothing of this machine's other files (no
# node_modules, no source map) can slip into the package.
stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
cp "$here/package.json" "$here/README.md" "$here/language-configuration.json" "$here/.vscodeignore" "$stage/"
mkdir -p "$stage/syntaxes" "$stage/images" "$stage/server" "$stage/dist"
cp "$here"/syntaxes/*.tmLanguage.json "$stage/syntaxes/"
cp "$here"/images/*.png "$stage/images/" 2>/dev/null || true
cp "$autore" "$stage/server/$server"
chmod 755 "$stage/server/$server"
"$here/node_modules/.bin/esbuild" "$here/src/extension.js" --bundle --platform=node --format=cjs --target=node18 \
  --external:vscode --minify --legal-comments=none --log-level=warning --outfile="$stage/dist/extension.js"
node -e 'const f=process.argv[1],p=require(f);p.version=process.argv[2];require("fs").writeFileSync(f,JSON.stringify(p,null,2)+"\n")' \
  "$stage/package.json" "$version"

mkdir -p "$(dirname "$out")"
out_abs="$(cd "$(dirname "$out")" && pwd)/$(basename "$out")"
(cd "$stage" && "$here/node_modules/.bin/vsce" package --no-dependencies \
  --allow-missing-repository --skip-license --no-rewrite-relative-links --target "$platform" --out "$out_abs" >/dev/null)
echo "$out_abs"
