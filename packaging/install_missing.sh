#!/usr/bin/env bash
# Installs, of the Debian packages named, only those that are missing: as
# root with apt-get, as another user through sudo. A user who has neither is
# told which packages are missing and what to ask an administrator for; when
# nothing is missing, nothing is asked of anyone.
#
# Usage: bash packaging/install_missing.sh PACKAGE...
set -u

missing=()
for package in "$@"; do
    status=$(dpkg-query -W -f='${db:Status-Abbrev}' "$package" 2>/dev/null)
    [ "${status:0:2}" = "ii" ] || missing+=("$package")
done
if [ ${#missing[@]} -eq 0 ]; then
    echo "pacchetti: già installati tutti"
    exit 0
fi

echo "pacchetti da installare: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
if [ "$(id -u)" -eq 0 ]; then
    apt-get update -qq && apt-get install -y "${missing[@]}"
elif command -v sudo >/dev/null 2>&1; then
    sudo apt-get update -qq && sudo apt-get install -y "${missing[@]}"
else
    echo "pacchetti: manca sudo, e per installarli servono i diritti di amministratore." >&2
    echo "Chiedere a chi amministra la macchina di eseguire, come root:" >&2
    echo "    apt-get update && apt-get install -y ${missing[*]}" >&2
    exit 1
fi
