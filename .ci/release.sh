#!/usr/bin/env bash
# The release packages, checked as a user installs them.
#
#   twice        packaging/release.sh run twice, in two folders (the second
#                from ccache's hits of the first): the same SHA256SUMS
#   lintian      no error on the Debian package
#   deb          installed with dpkg -i: autore --version, man autore, bash
#                completes "autore co", and from a fresh folder export,
#                compile (the binaries of the scenario program), pack --linux
#                (the packed program leaves the scenario program's six files)
#                and pack (a Windows program, by default); dpkg -r leaves
#                nothing behind
#   tarball      unpacked into a folder with blanks: the same, not installed
#   vsix         each .vsix holds what VS Code loads and nothing else
#                (tests/editors/vsix_test.py), with the autore of its
#                platform inside, the very bytes of the archives' one
#   zip          unpacked under wine into a folder with blanks and an accented
#                letter: autore.exe export, compile, pack (the runner beside
#                it); the packed .exe and tratta_esempio.exe each leave the six
#                files of the scenario program, byte for byte
#
# Usage: bash .ci/release.sh [linux-build-dir]   (default: build; its
# tratta_esempio, run in a fresh folder, gives the six files to compare with)
set -uo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
LINUX_BUILD=${1:-build}
OUT=$ROOT/build-release

passed=0
failed=0
pass() { passed=$((passed + 1)); echo "release: PASS $1"; }
fail() { failed=$((failed + 1)); echo "release: FAIL $1" >&2; }
die() { echo "release: $1" >&2; echo "release: $passed passed, $((failed + 1)) failed"; exit 1; }

# --- tools -----------------------------------------------------------------
packages=(cmake g++ make libcli11-dev nlohmann-json3-dev g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
          dpkg-dev lintian zip unzip man-db bash-completion ccache wine wine64 xvfb xauth)
command -v node >/dev/null 2>&1 || packages+=(nodejs npm) # the editor extension
bash packaging/install_missing.sh "${packages[@]}" >/dev/null || die "the release tools could not be installed"

if [ ! -x "$LINUX_BUILD/src/tratta_esempio" ]; then
    { [ -f "$LINUX_BUILD/CMakeCache.txt" ] || cmake -S . -B "$LINUX_BUILD" -DCMAKE_BUILD_TYPE=Release >/dev/null; } &&
        cmake --build "$LINUX_BUILD" -j2 --target tratta_esempio || die "the Linux build failed"
fi
VERSION=$(sed -n 's/^project([^)]*VERSION \([0-9][0-9.]*\).*/\1/p' CMakeLists.txt)

WORK=$(mktemp -d)
XVFB_PID=""
INSTALLED="" # set while the package this run installed is on the machine
cleanup() {
    [ -d "${WINEPREFIX:-}" ] && timeout 30 wineserver -k >/dev/null 2>&1
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    [ -n "$INSTALLED" ] && dpkg -r autore >/dev/null 2>&1
    rm -rf "$WORK"
}
trap cleanup EXIT

# The six files the scenario program leaves: what every packed program and
# tratta_esempio.exe must leave too.
mkdir "$WORK/reference"
cp "$LINUX_BUILD/src/tratta_esempio" "$WORK/reference/"
(cd / && "$WORK/reference/tratta_esempio") 2>/dev/null || die "the scenario program failed"
rm "$WORK/reference/tratta_esempio"
# The program's own three documents, given to pack beside the two sources (the
# exported template's documents are made from the sources, not these).
mkdir "$WORK/documents"
cp "$WORK/reference/"*.txt "$WORK/documents/"

# The files a run left in a folder (the programs aside), one a line.
files_left() {
    (cd "$1" && find . -maxdepth 1 -type f ! -name '*.exe' ! -perm -u+x -printf '%f\n' | LC_ALL=C sort)
}
# The same files with the same bytes as the reference ($2: only the binaries).
same_as_reference() {
    local dir=$1 only=${2:-} name
    if [ -z "$only" ]; then
        diff <(files_left "$WORK/reference") <(files_left "$dir") >&2 || return 1
    fi
    while IFS= read -r name; do
        case $name in *.txt) [ -n "$only" ] && continue ;; esac
        cmp "$WORK/reference/$name" "$dir/$name" >&2 || return 1
    done < <(files_left "$WORK/reference")
}

# --- twice: the same bytes from two runs in two folders ------------------------
rm -rf "$OUT"
start=$(date +%s)
packaging/release.sh "$OUT" >"$WORK/first.log" 2>&1 || { cat "$WORK/first.log" >&2; die "the release failed"; }
echo "release: first run $(($(date +%s) - start)) s"
start=$(date +%s)
packaging/release.sh "$WORK/second" >"$WORK/second.log" 2>&1 ||
    { cat "$WORK/second.log" >&2; die "the second release failed"; }
echo "release: second run $(($(date +%s) - start)) s"
if cmp "$OUT/SHA256SUMS" "$WORK/second/SHA256SUMS" && (cd "$OUT" && sha256sum --quiet -c SHA256SUMS); then
    pass "twice: the same SHA256SUMS, $(wc -l <"$OUT/SHA256SUMS") files"
else
    diff "$OUT/SHA256SUMS" "$WORK/second/SHA256SUMS" >&2
    fail "twice: the two runs differ"
fi
rm -rf "$WORK/second"
DEB=$OUT/autore_${VERSION}_amd64.deb
TARBALL=$OUT/autore-$VERSION-linux-x64.tar.gz
ZIP=$OUT/autore-$VERSION-windows-x64.zip

# --- the VS Code extension ---------------------------------------------------
# $1 the platform, $2 the server's name inside, $3 the program it must be.
check_vsix() {
    local vsix=$OUT/autore-$VERSION-$1.vsix
    if python3 tests/editors/vsix_test.py "$vsix" "$1" "$VERSION" >"$WORK/vsix" 2>&1 &&
        cmp <(unzip -p "$vsix" "extension/server/$2") "$3" >&2; then
        pass "vsix $1: its files ($(grep -c '^   ' "$WORK/vsix")), the autore of the archives inside"
    else
        cat "$WORK/vsix" >&2
        fail "vsix $1"
    fi
}
tar -xzOf "$TARBALL" "autore-$VERSION-linux-x64/bin/autore" >"$WORK/autore.linux"
unzip -p "$ZIP" "autore-$VERSION/autore.exe" >"$WORK/autore.windows"
check_vsix linux-x64 autore "$WORK/autore.linux"
check_vsix win32-x64 autore.exe "$WORK/autore.windows"

# --- lintian ---------------------------------------------------------------
if lintian --fail-on error "$DEB" >"$WORK/lintian" 2>&1; then
    pass "lintian: no error ($(grep -c '^[WIP]:' "$WORK/lintian") warnings and notes)"
else
    cat "$WORK/lintian" >&2
    fail "lintian"
fi

# --- the checks of an installed or unpacked autore ----------------------------
# $1 the autore to run, $2 the manual page (a name for man, or a file), $3 the
# completion script, $4 a name for the checks.
check_linux_tool() {
    local autore=$1 page=$2 completion=$3 what=$4 dir replies
    [ "$("$autore" --version)" = "autore $VERSION" ] && pass "$what: autore --version" || fail "$what: autore --version"

    if MANPAGER=cat MANWIDTH=100 man "$page" 2>"$WORK/man.err" | grep -q "autore compile FILE_LINEA FILE_TRENO"; then
        pass "$what: man autore"
    else
        cat "$WORK/man.err" >&2
        fail "$what: man autore"
    fi

    # bash's own completion loader finds the script where the package puts it;
    # the unpacked archive's script is sourced as a user would.
    replies=$(PATH="$(dirname "$autore"):$PATH" bash --norc --noprofile -c '
        source /usr/share/bash-completion/bash_completion
        if [ -f "$1" ]; then source "$1"; else __load_completion autore; fi
        f=$(complete -p autore | sed "s/.*-F \([^ ]*\) .*/\1/")
        COMP_WORDS=(autore co); COMP_CWORD=1; COMP_LINE="autore co"; COMP_POINT=9
        "$f" autore co autore
        printf "%s\n" "${COMPREPLY[@]}"' _ "$completion" 2>&1 | LC_ALL=C sort | tr '\n' ' ')
    [ "$replies" = "compile completion " ] && pass "$what: bash completes autore co" ||
        fail "$what: bash completes \"autore co\" to \"$replies\""

    dir=$(mktemp -d "$WORK/fresh XXXX")
    if (cd "$dir" && "$autore" export t >/dev/null &&
        "$autore" compile t/Tratta_Esempio_linea.txt "t/Tratta_Esempio_TR 000 Esempio-.txt" -o out >/dev/null 2>&1) &&
        same_as_reference "$dir/out" binaries; then
        pass "$what: export and compile"
    else
        fail "$what: export and compile"
    fi
    mkdir "$dir/run"
    cp -r "$WORK/documents" "$dir/"
    if (cd "$dir" && "$autore" pack --linux t/Tratta_Esempio_linea.txt "t/Tratta_Esempio_TR 000 Esempio-.txt" \
        documents/*.txt -o run/esempio >/dev/null 2>&1) && (cd / && "$dir/run/esempio") 2>/dev/null && same_as_reference "$dir/run"; then
        pass "$what: pack --linux, the packed program leaves the six files"
    else
        fail "$what: pack --linux"
    fi
    if (cd "$dir" && "$autore" pack t/Tratta_Esempio_linea.txt "t/Tratta_Esempio_TR 000 Esempio-.txt" \
        -o Esempio.exe >/dev/null 2>&1) && [ "$(head -c2 "$dir/Esempio.exe")" = MZ ]; then
        pass "$what: pack (Windows by default)"
    else
        fail "$what: pack (Windows by default)"
    fi
}

# --- the Debian package --------------------------------------------------------
if dpkg -s autore >/dev/null 2>&1; then
    fail "deb: autore is installed already: not touched"
elif dpkg -i "$DEB" >"$WORK/dpkg" 2>&1; then
    INSTALLED=yes
    dpkg -L autore | while IFS= read -r f; do [ -d "$f" ] || echo "$f"; done >"$WORK/installed"
    check_linux_tool autore autore "" "deb"
    dpkg -r autore >/dev/null 2>&1 && INSTALLED=""
    left=$(while IFS= read -r f; do [ -e "$f" ] && echo "$f"; done <"$WORK/installed")
    for d in /usr/lib/tratta /usr/share/doc/autore; do [ -e "$d" ] && left+=" $d"; done
    if [ -z "$left" ] && ! dpkg -s autore >/dev/null 2>&1; then
        pass "deb: dpkg -r leaves nothing behind ($(wc -l <"$WORK/installed") files removed)"
    else
        fail "deb: dpkg -r left$left"
    fi
else
    cat "$WORK/dpkg" >&2
    fail "deb: dpkg -i"
fi

# --- the Linux archive, unpacked into a folder with blanks ------------------------
T="$WORK/cartella con spazi"
mkdir -p "$T"
tar -xzf "$TARBALL" -C "$T"
TD="$T/autore-$VERSION-linux-x64"
check_linux_tool "$TD/bin/autore" "$TD/share/man/man1/autore.1.gz" "$TD/share/bash-completion/completions/autore" "tarball"

# --- the Windows archive, under wine ---------------------------------------------
# shellcheck source=.ci/wine_display.sh
source "$ROOT/.ci/wine_display.sh"
start_virtual_display
start_wine_prefix

# Runs a Windows program from another folder, waiting up to two minutes.
run_exe() {
    mkdir -p "$WORK/elsewhere"
    (cd "$WORK/elsewhere" && timeout 120 wine "$@") </dev/null >"$WORK/wine.out" 2>&1
}

Z="$WORK/Cartella è con spazi"
mkdir -p "$Z"
unzip -q "$ZIP" -d "$Z"
ZD="$Z/autore-$VERSION"
if [ "$(cd "$ZD" && LC_ALL=C ls | tr '\n' ' ')" = "LEGGIMI.txt autore.exe formats.md tratta_esempio.exe tratta_runner.exe " ] &&
    [ "$(head -c3 "$ZD/LEGGIMI.txt")" = $'\xef\xbb\xbf' ] &&
    [ "$(grep -c $'\r$' "$ZD/LEGGIMI.txt")" = "$(wc -l <"$ZD/LEGGIMI.txt")" ]; then
    pass "zip: one folder, its five files, the guide in UTF-8 with its mark and CR LF"
else
    fail "zip: its folder holds $(cd "$ZD" && LC_ALL=C ls | tr '\n' ' ')"
fi
W="$Z/lavoro"
mkdir -p "$W/run"
cp -r "$WORK/documents" "$W/"
if (cd "$W" && timeout 120 wine "$ZD/autore.exe" export t && timeout 120 wine "$ZD/autore.exe" compile \
    t/Tratta_Esempio_linea.txt "t/Tratta_Esempio_TR 000 Esempio-.txt" -o out) >/dev/null 2>&1 &&
    same_as_reference "$W/out" binaries; then
    pass "zip: autore.exe export and compile"
else
    fail "zip: autore.exe export and compile"
fi
if (cd "$W" && timeout 120 wine "$ZD/autore.exe" pack t/Tratta_Esempio_linea.txt "t/Tratta_Esempio_TR 000 Esempio-.txt" \
    documents/*.txt -o run/Esempio.exe) >/dev/null 2>&1 && run_exe "$W/run/Esempio.exe" && same_as_reference "$W/run"; then
    pass "zip: autore.exe pack, the packed program leaves the six files"
else
    fail "zip: autore.exe pack and the packed program"
fi
mkdir -p "$Z/guida"
cp "$ZD/tratta_esempio.exe" "$Z/guida/"
if run_exe "$Z/guida/tratta_esempio.exe" && same_as_reference "$Z/guida"; then
    pass "zip: tratta_esempio.exe leaves the six files"
else
    fail "zip: tratta_esempio.exe"
fi

echo "release: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
