#!/usr/bin/env bash
# code-server (VS Code in the browser) from the npm registry, into FOLDER,
# without the downloads its own install step makes: Debian's ripgrep stands
# in for the one it fetches, and its native modules are built here (about
# ten minutes on two cores). Does nothing when FOLDER already holds it.
# Usage: install_code_server.sh FOLDER
set -euo pipefail
D="$1"
if [ -f "$D/.installed" ]; then
  exit 0
fi
mkdir -p "$D" && cd "$D"
npm install --no-audit --no-fund --ignore-scripts --loglevel=error code-server@4.100.3
cd node_modules/code-server/lib/vscode
npm install --omit=dev --ignore-scripts --no-audit --no-fund --loglevel=error
mkdir -p node_modules/@vscode/ripgrep/bin && cp /usr/bin/rg node_modules/@vscode/ripgrep/bin/rg
npm_config_yes=true npm rebuild --loglevel=error >/dev/null
ln -sfn node_modules node_modules.asar
(cd bin/remote-cli && ln -sfn code-linux.sh code-server)
(cd bin/helpers && ln -sfn browser-linux.sh browser.sh)
(cd extensions && npm install --omit=dev --no-audit --no-fund --loglevel=error)
cd "$D" && npm_config_yes=true npm rebuild argon2 --loglevel=error >/dev/null
touch "$D/.installed"
