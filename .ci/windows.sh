#!/usr/bin/env bash
# The Windows program and the authoring tool: cross-built with mingw-w64, run
# under wine on a virtual display, and held to the Linux build byte for byte.
#
# Checks:
#   alone        the program is a window program, autore.exe a console program,
#                and neither needs a DLL beside it
#   wait window  "Form1" with a client area of 280 x 179 px and the label drawn
#   error box    the box " Errore n. 1250" closes on a key press and the program ends
#   scenario     in a folder with blanks and accented letters, the files that
#                remain and the exit status equal those of the Linux build
#   run twice    a second run in the same folder replaces every file with the same bytes
#   autore ...   autore.exe in a folder whose path has blanks, an apostrophe and an
#                accented letter: export, compile (the three binaries equal to those
#                of the Linux tool from the same template), check, dump, plot and view
#                give what the Linux tool gives; --version, a wrong command line (64)
#                and a missing file (1); lsp answers an editor over pipes; serve
#                answers the page, its data and a save through its stream to a
#                client on the Linux side, refuses a foreign Host, and stops on Ctrl-C
#   pack         autore.exe packs an author's scenario into a Windows program of its
#                own; run in a fresh folder it leaves the files, and ends with the
#                status, of the same scenario packed for Linux and run there
#
# Usage: bash .ci/windows.sh [linux-build-dir]   (default: build)
# Pictures of the windows land in build-win/artifacts/.
set -uo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
LINUX_BUILD=${1:-build}
WIN_BUILD=build-win
ARTIFACTS=$ROOT/$WIN_BUILD/artifacts
# ImageMagick's own programs, not a stand-in earlier on PATH.
CONVERT=/usr/bin/convert
IMPORT=/usr/bin/import

passed=0
failed=0
pass() { passed=$((passed + 1)); echo "windows: PASS $1"; }
fail() { failed=$((failed + 1)); echo "windows: FAIL $1" >&2; }
die() { echo "windows: $1" >&2; echo "windows: $passed passed, $((failed + 1)) failed"; exit 1; }

# --- tools -----------------------------------------------------------------
packages=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 xvfb xauth x11-utils xdotool imagemagick)
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
if ! $SUDO apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null; then
    $SUDO apt-get update -qq && $SUDO apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null ||
        die "the Windows tools could not be installed"
fi

# --- builds ----------------------------------------------------------------
cmake -S . -B "$WIN_BUILD" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release -DTRATTA_BUILD_TOOLS=ON \
    >/dev/null || die "configuring the Windows build failed"
cmake --build "$WIN_BUILD" -j2 || die "the Windows build failed"
if [ ! -x "$LINUX_BUILD/src/tratta_esempio" ] || [ ! -x "$LINUX_BUILD/tools/autore" ] ||
    [ ! -x "$LINUX_BUILD/src/tratta_runner" ]; then
    { [ -f "$LINUX_BUILD/CMakeCache.txt" ] || cmake -S . -B "$LINUX_BUILD" -DCMAKE_BUILD_TYPE=Release >/dev/null; } &&
        cmake --build "$LINUX_BUILD" -j2 --target tratta_esempio autore tratta_runner || die "the Linux build failed"
fi
WIN_EXE=$ROOT/$WIN_BUILD/src/tratta_esempio.exe
PROBE_EXE=$ROOT/$WIN_BUILD/tests/windows/window_probe.exe
WIN_AUTORE=$ROOT/$WIN_BUILD/tools/autore.exe
WIN_RUNNER=$ROOT/$WIN_BUILD/src/tratta_runner.exe
LINUX_EXE=$(cd "$LINUX_BUILD/src" && pwd)/tratta_esempio
LINUX_AUTORE=$(cd "$LINUX_BUILD/tools" && pwd)/autore
LINUX_RUNNER=$(cd "$LINUX_BUILD/src" && pwd)/tratta_runner
rm -rf "$ARTIFACTS"
mkdir -p "$ARTIFACTS"

# --- virtual display and a fresh wine prefix --------------------------------
WORK=$(mktemp -d)
XVFB_PID=""
cleanup() {
    [ -d "${WINEPREFIX:-}" ] && timeout 30 wineserver -k >/dev/null 2>&1
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

# shellcheck source=.ci/wine_display.sh
source "$ROOT/.ci/wine_display.sh"
start_virtual_display
start_wine_prefix

# --- helpers ---------------------------------------------------------------
# The id of the visible window with exactly this title, waiting up to $2 seconds.
find_window() {
    timeout "$2" xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -n1
}

# Presses Return (OK) in the message box $2 until process $1 ends, three tries
# ten seconds apart; then sets STATUS as wait_end does.
close_box() {
    local pid=$1 box=$2
    for _ in 1 2 3; do
        xdotool windowfocus --sync "$box" >/dev/null 2>&1
        xdotool key --clearmodifiers Return >/dev/null 2>&1
        for _ in $(seq 50); do
            kill -0 "$pid" 2>/dev/null || break 2
            sleep 0.2
        done
    done
    wait_end "$pid" 5
}

# Waits up to $2 seconds for the process to end and sets STATUS to its exit
# status ("timeout" when it had to be stopped).
wait_end() {
    local pid=$1 limit=$(($2 * 5))
    for _ in $(seq "$limit"); do
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid"
            STATUS=$?
            return 0
        fi
        sleep 0.2
    done
    kill "$pid" 2>/dev/null
    timeout 30 wineserver -k >/dev/null 2>&1
    wait "$pid" 2>/dev/null
    STATUS=timeout
}

# The files a run left in its folder (the program itself aside), one a line.
PROGRAM=tratta_esempio
files_left() {
    (cd "$1" && find . -maxdepth 1 -type f ! -name "$PROGRAM" ! -name "$PROGRAM.exe" -printf '%f\n' | LC_ALL=C sort)
}

# Compares the folder of a Windows run with the folder of the Linux run.
same_files() {
    local win=$1 lin=$2 name differ=0
    if ! diff <(files_left "$lin") <(files_left "$win") >"$WORK/names.diff"; then
        echo "files left differ (< Linux, > Windows):" >&2
        cat "$WORK/names.diff" >&2
        return 1
    fi
    while IFS= read -r name; do
        if ! cmp "$lin/$name" "$win/$name" >&2; then
            differ=1
        fi
    done < <(files_left "$lin")
    return $differ
}

# Runs the Windows program from its folder, from another working folder; a
# message box that stops the run is photographed and closed with OK.
# Sets STATUS to the exit status, and BOX to yes when a message box stopped it.
run_windows() {
    local folder=$1 shot=$2 pid box
    BOX=no
    mkdir -p "$WORK/elsewhere"
    (cd "$WORK/elsewhere" && exec wine "$folder/$PROGRAM.exe") </dev/null >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 600); do
        kill -0 "$pid" 2>/dev/null || break
        box=$(xdotool search --onlyvisible --name "^$PROGRAM\$" 2>/dev/null | head -n1)
        if [ -n "$box" ]; then
            sleep 0.5
            "$IMPORT" -window root "$ARTIFACTS/$shot" 2>/dev/null
            echo "windows: the program showed a message box (picture: $ARTIFACTS/$shot)" >&2
            BOX=yes
            close_box "$pid" "$box"
            return
        fi
        sleep 0.2
    done
    wait_end "$pid" 60
}

# --- alone: programs that need only the system's own DLLs --------------------
check_alone() {
    local exe headers bad="" dll subsystem
    for exe in "$WIN_EXE" "$PROBE_EXE" "$WIN_AUTORE" "$WIN_RUNNER"; do
        headers=$(x86_64-w64-mingw32-objdump -p "$exe")
        subsystem="Windows GUI"
        [ "$exe" = "$WIN_AUTORE" ] && subsystem="Windows CUI"
        if ! grep -q "Subsystem.*($subsystem)" <<<"$headers"; then
            bad+=" $(basename "$exe"):not-a-${subsystem// /-}-program"
        fi
        while read -r dll; do
            case "${dll,,}" in
            kernel32.dll | user32.dll | gdi32.dll | shell32.dll | msvcrt.dll | ws2_32.dll) ;; # every Windows has these
            *) bad+=" $(basename "$exe"):$dll" ;;
            esac
        done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
    done
    if [ -z "$bad" ]; then pass "alone"; else fail "alone:$bad"; fi
}

# --- wait window and error box, through the probe -----------------------------
check_windows() {
    local folder="$WORK/probe folder è" pid form box geometry width height dark
    mkdir -p "$folder"
    cp "$PROBE_EXE" "$folder/"
    (cd "$folder" && exec wine ./window_probe.exe) </dev/null >/dev/null 2>&1 &
    pid=$!

    form=$(find_window Form1 60)
    box=$(find_window window_probe 60)
    if [ -z "$form" ] || [ -z "$box" ]; then
        fail "wait window: no window titled Form1 ($form) and box ($box) appeared"
        fail "error box: not shown"
        wait_end "$pid" 1
        return
    fi
    sleep 1 # let the box finish drawing before the pictures
    "$IMPORT" -window root "$ARTIFACTS/screen.png" 2>/dev/null
    "$IMPORT" -window "$form" "$ARTIFACTS/wait_window.png" 2>/dev/null
    "$IMPORT" -window "$box" "$ARTIFACTS/error_box.png" 2>/dev/null

    # Without a window manager the X window of a wine window is its client area.
    geometry=$(xwininfo -id "$form")
    width=$(sed -n 's/^ *Width: *//p' <<<"$geometry")
    height=$(sed -n 's/^ *Height: *//p' <<<"$geometry")
    # Share of dark pixels in the window: above 0 once the label is painted.
    dark=$("$CONVERT" "$ARTIFACTS/wait_window.png" -colorspace gray -threshold 50% -negate \
        -format '%[fx:mean>0.005 ? 1 : 0]' info: 2>/dev/null)
    if [ "$width" = 280 ] && [ "$height" = 179 ] && [ "$dark" = 1 ]; then
        pass "wait window (Form1, client area ${width} x ${height} px, label drawn)"
    else
        fail "wait window: client area ${width:-?} x ${height:-?} px (280 x 179 wanted), label drawn: ${dark:-?}"
    fi

    close_box "$pid" "$box"
    if [ "$STATUS" = 3 ]; then
        pass "error box (window_probe's own title, closed with Return, program ended)"
    else
        fail "error box: after Return the probe ended with status $STATUS (3 wanted)"
    fi
}

# --- the embedded scenario, Windows against Linux ----------------------------
check_scenario() {
    local name="Cartella di prova àèù" lin win lin_status win_status
    lin="$WORK/linux/$name"
    win="$WORK/windows/$name"
    mkdir -p "$lin" "$win"
    cp "$LINUX_EXE" "$lin/"
    cp "$WIN_EXE" "$win/"
    (cd "$WORK" && "$lin/tratta_esempio") 2>"$WORK/linux.err"
    lin_status=$?
    echo "windows: the Linux program ended with status $lin_status" >&2
    sed 's/^/windows:   /' "$WORK/linux.err" >&2

    run_windows "$win" scenario_box.png
    win_status=$STATUS
    if [ "$win_status" != "$lin_status" ]; then
        fail "scenario: exit status $win_status on Windows, $lin_status on Linux"
    elif ! same_files "$win" "$lin"; then
        fail "scenario: the files left differ from the Linux build's"
    elif [ -n "$(ls -A "$WORK/elsewhere")" ]; then
        fail "scenario: the program wrote into the working folder instead of its own"
    else
        pass "scenario (status $win_status, $(files_left "$win" | wc -l) files equal to the byte)"
    fi
    files_left "$win" | sed 's/^/windows:   left: /'

    run_windows "$win" second_run_box.png
    if [ "$STATUS" = "$lin_status" ] && same_files "$win" "$lin"; then
        pass "run twice"
    else
        fail "run twice: the second run ended with status $STATUS or its files differ"
    fi
}

# --- autore.exe against the Linux tool ----------------------------------------
# Runs autore.exe from the current folder with the arguments given; its
# standard output and standard error (their CR LF made LF) in $WORK/autore.out
# and $WORK/autore.err, its exit status in STATUS.
run_autore() {
    timeout 120 wine "$WIN_AUTORE" "$@" </dev/null >"$WORK/autore.raw" 2>"$WORK/autore.raw-err"
    STATUS=$?
    tr -d '\r' <"$WORK/autore.raw" >"$WORK/autore.out"
    tr -d '\r' <"$WORK/autore.raw-err" >"$WORK/autore.err"
}

# Both folders hold the same files, byte for byte (names one a line in $3).
same_outputs() {
    local win=$1 lin=$2 name
    while IFS= read -r name; do
        [ -f "$win/$name" ] && cmp -s "$lin/$name" "$win/$name" || return 1
    done <<<"$3"
}

check_autore() {
    local win="$WORK/windows/Scenari d'autore/Città vecchia" lin="$WORK/linux/autore"
    local line="modello/Tratta_Esempio_linea.txt" train="modello/Tratta_Esempio_TR 000 Esempio-.txt"
    local template binaries out="compilati è"
    mkdir -p "$win" "$lin"
    (cd "$lin" && "$LINUX_AUTORE" export modello >/dev/null &&
        "$LINUX_AUTORE" compile "$line" "$train" -o "$out" >/dev/null 2>&1 &&
        "$LINUX_AUTORE" check "$line" "$train" >check.txt &&
        "$LINUX_AUTORE" dump "$out/Tratta_Esempio_TR 000 Esempio.sim" >dump.sim.txt &&
        "$LINUX_AUTORE" dump "$out/Tratta_Esempio_TR 000 Esempio.dat" --json >dump.dat.json &&
        "$LINUX_AUTORE" plot "$out" -o "Città.svg" >/dev/null &&
        "$LINUX_AUTORE" view "$out" --sources "$line" "$train" -o "Città.html" >/dev/null 2>&1) ||
        { fail "autore: the Linux tool failed on the embedded template"; return; }
    template=$(cd "$lin/modello" && ls)
    binaries=$(cd "$lin/$out" && ls)
    cd "$win" || return

    run_autore export modello
    if [ "$STATUS" = 0 ] && same_outputs "$win/modello" "$lin/modello" "$template"; then
        pass "autore export ($(wc -l <<<"$template") files equal to the Linux tool's)"
    else
        fail "autore export: status $STATUS or files differ: $(cat "$WORK/autore.err")"
    fi

    run_autore compile "$line" "$train" -o "$out"
    if [ "$STATUS" = 0 ] && same_outputs "$win/$out" "$lin/$out" "$binaries" &&
        grep -qxF "scritto $out\\Tratta_Esempio_TR 000 Esempio.sim" "$WORK/autore.out"; then
        pass "autore compile ($(wc -l <<<"$binaries") binaries equal to the byte to the Linux tool's, the path told in UTF-8)"
    else
        fail "autore compile: status $STATUS, or the binaries or the message differ: $(cat "$WORK/autore.out" "$WORK/autore.err")"
    fi

    run_autore check "$line" "$train"
    if [ "$STATUS" = 0 ] && cmp -s "$WORK/autore.out" "$lin/check.txt"; then
        pass "autore check (status 0, the same diagnostics)"
    else
        fail "autore check: status $STATUS or the diagnostics differ"
    fi

    run_autore dump "$out/Tratta_Esempio_TR 000 Esempio.sim"
    local sim_status=$STATUS sim_same=no
    cmp -s "$WORK/autore.out" "$lin/dump.sim.txt" && sim_same=yes
    run_autore dump "$out/Tratta_Esempio_TR 000 Esempio.dat" --json
    if [ "$sim_status" = 0 ] && [ "$sim_same" = yes ] && [ "$STATUS" = 0 ] && cmp -s "$WORK/autore.out" "$lin/dump.dat.json"; then
        pass "autore dump (the records as text and the grid as JSON, as the Linux tool's)"
    else
        fail "autore dump: status $sim_status/$STATUS or the output differs"
    fi

    run_autore plot "$out" -o "Città.svg"
    if [ "$STATUS" = 0 ] && cmp -s "Città.svg" "$lin/Città.svg"; then
        pass "autore plot (the picture equal to the byte)"
    else
        fail "autore plot: status $STATUS or the picture differs: $(cat "$WORK/autore.err")"
    fi

    run_autore view "$out" --sources "$line" "$train" -o "Città.html"
    if [ "$STATUS" = 0 ] && cmp -s "Città.html" "$lin/Città.html"; then
        pass "autore view (the page equal to the byte)"
    else
        fail "autore view: status $STATUS or the page differs: $(cat "$WORK/autore.err")"
    fi

    run_autore --version
    local version=$STATUS words
    words=$(cat "$WORK/autore.out")
    run_autore frobnicate --help
    if [ "$version" = 0 ] && [ "$words" = "$("$LINUX_AUTORE" --version)" ] && [ "$STATUS" = 64 ] &&
        grep -q "^autore: sottocomando «frobnicate» sconosciuto" "$WORK/autore.err"; then
        pass "autore command line ($words; a wrong subcommand ends with 64, told in Italian)"
    else
        fail "autore command line: --version gave $version ($words), frobnicate --help gave $STATUS"
    fi

    # The language server, spoken to as an editor does, over pipes: the train
    # file opened by its file: URI, its line file found beside it on disk.
    if timeout 120 python3 "$ROOT/tests/windows/lsp_client.py" "$(winepath -w "$win/modello" 2>/dev/null)" \
        "$win/$train" -- wine "$WIN_AUTORE" lsp 2>"$WORK/lsp.err"; then
        pass "autore lsp (the diagnostics of a file in a folder with an accented name, its line file read from disk)"
    else
        fail "autore lsp: $(cat "$WORK/lsp.err")"
    fi

    # The route page served live, asked for from the Linux side over 127.0.0.1.
    if timeout 180 python3 "$ROOT/tests/windows/serve_client.py" "$win/modello" "$(basename "$train")" -- \
        wine "$WIN_AUTORE" serve "$(basename "$line")" "$(basename "$train")" --senza-browser \
        >"$WORK/serve.out" 2>"$WORK/serve.err"; then
        pass "autore serve ($(cat "$WORK/serve.out"); stopped by Ctrl-C with status 0)"
    else
        fail "autore serve: $(tr -d '\r' <"$WORK/serve.err")"
    fi

    run_autore compile "nonesiste_linea.txt" "$train"
    if [ "$STATUS" = 1 ] && grep -q "^autore: «nonesiste_linea.txt» non esiste$" "$WORK/autore.err"; then
        pass "autore refusal (a missing file named, status 1)"
    else
        fail "autore refusal: status $STATUS: $(cat "$WORK/autore.err")"
    fi
    cd "$ROOT" || return
}

# --- pack: an author's scenario as a Windows program of its own ----------------
check_pack() {
    local lin="$WORK/linux/pacchetto" win="$WORK/windows/Pacchetto d'autore/Valle è" src
    local lin_status
    src="$WORK/windows/sorgenti Valle"
    mkdir -p "$lin" "$win" "$src"
    # The author's scenario: the template under its own names, one speed changed.
    (cd "$src" && "$LINUX_AUTORE" export t >/dev/null &&
        mv t/Tratta_Esempio_linea.txt Valle_linea.txt &&
        sed 's/^velocita,    1000,   95/velocita,    1000,   90/' "t/Tratta_Esempio_TR 000 Esempio-.txt" >"Valle_R 101-.txt" &&
        rm -r t) || { fail "pack: the author's sources could not be made"; return; }
    "$LINUX_AUTORE" pack "$src/Valle_linea.txt" "$src/Valle_R 101-.txt" --linux --runner "$LINUX_RUNNER" \
        -o "$lin/Valle" >/dev/null 2>&1 || { fail "pack: the Linux tool did not pack"; return; }
    (cd "$WORK" && "$lin/Valle") 2>/dev/null
    lin_status=$?
    # autore.exe finds the Windows runner in its own build tree.
    (cd "$src" && timeout 120 wine "$WIN_AUTORE" pack Valle_linea.txt "Valle_R 101-.txt" -o "$win/Valle.exe") \
        </dev/null >/dev/null 2>"$WORK/pack.err"
    STATUS=$?
    if [ "$STATUS" != 0 ] || [ ! -f "$win/Valle.exe" ]; then
        fail "pack: autore.exe pack ended with status $STATUS: $(tr -d '\r' <"$WORK/pack.err")"
        return
    fi
    PROGRAM=Valle
    run_windows "$win" pack_box.png
    if [ "$STATUS" = "$lin_status" ] && same_files "$win" "$lin" && [ -f "$win/Valle_R 101.sim" ]; then
        pass "pack (the packed Windows program: status $STATUS, $(files_left "$win" | wc -l) files equal to the Linux ones)"
    else
        fail "pack: the packed program ended with status $STATUS ($lin_status on Linux) or its files differ"
    fi
    files_left "$win" | sed 's/^/windows:   left: /'

    # The exported template with the embedded program's own documents, packed,
    # leaves what the embedded program leaves.
    local tpl="$WORK/windows/modello da impacchettare" embedded="$WORK/windows/embedded run" doc docs=()
    mkdir -p "$tpl" "$embedded"
    cp "$WIN_EXE" "$embedded/"
    PROGRAM=tratta_esempio
    run_windows "$embedded" pack_embedded_box.png
    local embedded_status=$STATUS
    "$LINUX_AUTORE" export "$tpl/t" >/dev/null || { fail "pack template: export failed"; return; }
    for doc in note rallentamenti scheda_treno; do
        cp "$embedded/Tratta_Esempio_TR 000 Esempio_$doc.txt" "$tpl/t/" && docs+=("t/Tratta_Esempio_TR 000 Esempio_$doc.txt")
    done
    (cd "$tpl" && timeout 120 wine "$WIN_AUTORE" pack t/Tratta_Esempio_linea.txt "t/Tratta_Esempio_TR 000 Esempio-.txt" \
        "${docs[@]}" -o "$tpl/Modello.exe") </dev/null >/dev/null 2>"$WORK/pack.err"
    PROGRAM=Modello
    run_windows "$tpl" pack_template_box.png
    rm -f "$tpl/Modello.exe"
    PROGRAM=tratta_esempio
    if [ "$STATUS" = "$embedded_status" ] && [ "${#docs[@]}" = 3 ] && same_files "$tpl" "$embedded"; then
        pass "pack template (packed under wine it leaves the embedded program's $(files_left "$tpl" | wc -l) files)"
    else
        fail "pack template: status $STATUS ($embedded_status embedded) or its files differ: $(tr -d '\r' <"$WORK/pack.err")"
    fi
    PROGRAM=Valle

    # Cut short in the copy, the scenario is refused with the error box.
    local cut="$WORK/windows/Pacchetto tagliato"
    mkdir -p "$cut"
    head -c -7 "$win/Valle.exe" >"$cut/Valle.exe"
    run_windows "$cut" pack_cut_box.png
    if [ "$BOX" = yes ] && [ "$STATUS" != 0 ] && [ -z "$(files_left "$cut")" ]; then
        pass "pack cut short (the error box, status $STATUS, nothing written)"
    else
        fail "pack cut short: box $BOX, status $STATUS, files: $(files_left "$cut" | tr '\n' ' ')"
    fi
    PROGRAM=tratta_esempio
}

check_alone
check_windows
check_scenario
check_autore
check_pack
echo "windows: pictures in $ARTIFACTS"
echo "windows: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
