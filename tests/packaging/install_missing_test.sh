#!/usr/bin/env bash
# The set-up's first line, bash packaging/install_missing.sh PACKAGE..., on
# machines made up of stand-ins for id, dpkg-query, apt-get and sudo: a user
# with every package installed is asked for nothing, a user without sudo is
# told what to ask for, root installs only the missing ones with apt-get,
# another user with sudo through sudo.
#
# Usage: bash tests/packaging/install_missing_test.sh packaging/install_missing.sh
set -u
SCRIPT=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
passed=0
failed=0

# A machine: the user's id, the packages installed, sudo or not. Only the
# stand-ins and bash are on its PATH; each call of apt-get is logged.
machine() {
    local uid=$1 installed=$2 with_sudo=$3 m=$WORK/m$RANDOM
    mkdir -p "$m"
    ln -s "$(command -v bash)" "$m/bash"
    printf '#!%s\necho %s\n' "$m/bash" "$uid" >"$m/id"
    printf '#!%s\nfor p in %s; do [ "$p" = "${!#}" ] && { printf "ii "; exit 0; }; done\nexit 1\n' \
        "$m/bash" "$installed" >"$m/dpkg-query"
    printf '#!%s\necho "apt-get $*" >>%s/log\n' "$m/bash" "$m" >"$m/apt-get"
    if [ "$with_sudo" = yes ]; then
        printf '#!%s\necho "sudo $*" >>%s/log\n"$@"\n' "$m/bash" "$m" >"$m/sudo"
    fi
    chmod +x "$m"/*
    : >"$m/log"
    echo "$m"
}

check() {
    local what=$1 m=$2 want_status=$3 want_log=$4 want_message=$5 status
    env -i PATH="$m" "$m/bash" "$SCRIPT" cmake g++ libgtest-dev >"$WORK/out" 2>"$WORK/err"
    status=$?
    if [ "$status" = "$want_status" ] && [ "$(cat "$m/log")" = "$want_log" ] &&
        grep -qF -- "$want_message" "$WORK/out" "$WORK/err"; then
        passed=$((passed + 1))
        echo "install_missing: PASS $what"
    else
        failed=$((failed + 1))
        echo "install_missing: FAIL $what: status $status, apt-get calls:" >&2
        cat "$m/log" "$WORK/out" "$WORK/err" >&2
    fi
}

all="cmake g++ libgtest-dev"
check "a user with everything installed and no sudo" "$(machine 1000 "$all" no)" 0 "" "già installati tutti"
check "root with everything installed" "$(machine 0 "$all" no)" 0 "" "già installati tutti"
check "a user without sudo, one package missing" "$(machine 1000 "cmake g++" no)" 1 "" \
    "apt-get update && apt-get install -y libgtest-dev"
check "root without sudo installs only what is missing" "$(machine 0 "cmake" no)" 0 \
    "$(printf 'apt-get update -qq\napt-get install -y g++ libgtest-dev')" "g++ libgtest-dev"
check "a user with sudo installs through sudo" "$(machine 1000 "g++" yes)" 0 \
    "$(printf 'sudo apt-get update -qq\napt-get update -qq\nsudo apt-get install -y cmake libgtest-dev\napt-get install -y cmake libgtest-dev')" \
    "cmake libgtest-dev"

echo "install_missing: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
