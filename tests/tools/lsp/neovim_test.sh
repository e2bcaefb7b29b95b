#!/usr/bin/env bash
# A client nobody here wrote: Neovim's built-in LSP client, headless, with the
# authors' plugin file (editors/neovim/autore.lua) and nothing else, opens a
# faulty line file (Windows-1252, an "à" before the second fault): the plugin
# reads it as Windows-1252 and starts `autore lsp`, and each diagnostic must
# be seen at its line and byte column.
# Usage: neovim_test.sh AUTORE. Exit 77 (skipped) when nvim is not installed.
set -euo pipefail
autore="$1"
here="$(cd "$(dirname "$0")" && pwd)"
plugin="$here/../../../editors/neovim/autore.lua"
if ! command -v nvim >/dev/null 2>&1; then
  echo "nvim non installato: test saltato (apt-get install neovim)"
  exit 77
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/cache" "$work/config" "$work/data" "$work/state" "$work/scenario"
line_file="$work/scenario/Valle_linea.txt"
printf '%s\r\n' \
  '[generale]' \
  'lunghezza percorso,    10000' \
  '[pendenze]' \
  'pendenza,  0,   0' \
  '[cartelli]' \
  'indicatori_vmax,  500,  85,  90,  95,  0,  ,  ,  ,  0' \
  '  indicatori_vmax,  510,  85,  90,  95,  0,  ,  ,  ,  0' \
  '[indicazioni]' \
  "cartello_indicatore,  2000,  (Citt$(printf '\xe0'), centro)" \
  '[fine]' >"$line_file"

result="$work/result.txt"
HOME="$work/home" XDG_CACHE_HOME="$work/cache" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
  XDG_STATE_HOME="$work/state" AUTORE="$autore" PLUGIN="$plugin" LINE_FILE="$line_file" RESULT="$result" \
  timeout 90 nvim --headless --clean -n -i NONE -c "luafile $here/neovim_client.lua" </dev/null >/dev/null 2>"$work/nvim.err" || true

echo "diagnostiche viste da $(nvim --version | head -1):"
cat "$result" 2>/dev/null || { echo "nessun risultato"; cat "$work/nvim.err"; exit 1; }
# Line 7 (0-based 6), the key two blanks in: error 21. Line 9 (0-based 8): the
# spare field "centro)" after "Città, " starts at byte 38 of the UTF-8 buffer.
# The buffer is to be written back as it was read: Windows-1252.
expected=("6:2:1 21 " "8:38:2 campo-in-piu " "encoding cp1252")
status=0
for e in "${expected[@]}"; do
  if ! grep -q "^$e" "$result"; then
    echo "manca: $e"
    status=1
  fi
done
[ "$(wc -l <"$result")" -eq 3 ] || { echo "attese 2 diagnostiche e la codifica"; status=1; }
exit $status
