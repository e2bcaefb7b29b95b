#!/usr/bin/env bash
# Kills `autore compile` and the program at each of their system calls (strace
# injects SIGKILL at the nth call of one system call), then runs a compile that
# fails in the same folder, then a clean one, and checks after each run that
# every set of files stands all old or all new: the three binaries, and the
# program's three documents. Right after a kill between the renames a set may
# stand half replaced; the next run, whatever it does, must leave it whole.
#
#   tests/app/kill_walk.sh BUILD_DIR            every call of every kind
#   tests/app/kill_walk.sh BUILD_DIR --quick    only the calls that give files their names
#
# Both also fail a compile at a rename after some files of a set took their
# names, and kill it at each later removal or rename, while it puts the old
# set back.
#
# Prints the kills made and the mixed sets found; exits 1 on any mixed set,
# 77 (skipped) when strace is not installed.
set -uo pipefail

build=$(cd "${1:?BUILD_DIR}" && pwd)
quick=${2:-}
if ! command -v strace >/dev/null; then
    echo "strace non installato (pacchetto Debian strace): prova saltata"
    exit 77
fi
if ! strace -o /dev/null true 2>/dev/null; then
    echo "strace non può seguire i processi su questa macchina (ptrace negato): prova saltata"
    exit 77
fi
autore="$build/tools/autore"
program="$build/src/tratta_esempio"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

S=Tratta_Esempio
T="TR 000 Esempio"
binaries=("${S}_linea.dat" "${S}_${T}.sim" "${S}_${T}.dat")
documents=("${S}_${T}_note.txt" "${S}_${T}_rallentamenti.txt" "${S}_${T}_scheda_treno.txt")

# The template, the compile that makes the new set, and a line file without
# its route length, which compiles to nothing.
"$autore" export "$work/src" >/dev/null
sources=("$work/src/${S}_linea.txt" "$work/src/${S}_${T}-.txt")
mkdir -p "$work/bad" "$work/new"
grep -v '^lunghezza percorso' "${sources[0]}" >"$work/bad/${S}_linea.txt"
"$autore" compile "${sources[@]}" -o "$work/new" >/dev/null 2>&1
mkdir -p "$work/program_new"
cp "$program" "$work/program_new/"
"$work/program_new/tratta_esempio" 2>/dev/null

mixed=0
kills=0
midway=0

# all old, all new, or mixed: one name of a set against the old bytes and the new files.
set_state() { # folder newfolder names...
    local folder=$1 newer=$2
    shift 2
    local old=0 new=0 name
    for name in "$@"; do
        if [ -f "$folder/$name" ] && cmp -s "$folder/$name" "$newer/$name"; then
            new=1
        elif [ -f "$folder/$name" ] && [ "$(cat "$folder/$name")" = "vecchio $name" ]; then
            old=1
        else
            echo mixed
            return
        fi
    done
    if [ $old = 1 ] && [ $new = 1 ]; then echo mixed; elif [ $new = 1 ]; then echo new; else echo old; fi
}

check_sets() { # what folder newfolder names...
    local what=$1 folder=$2 newer=$3
    shift 3
    if [ "$(set_state "$folder" "$newer" "$@")" = mixed ]; then
        mixed=$((mixed + 1))
        echo "INSIEME MISTO: $what"
        ls -la "$folder"
    fi
}

# Right after a kill between its renames a set stands half replaced, with the
# record that lets the next run finish it: counted, not a fault.
count_midway() { # folder newfolder names...
    [ "$(set_state "$@")" = mixed ] && midway=$((midway + 1))
    return 0
}

lay_out_old() { # folder names...
    local folder=$1 name
    shift
    mkdir -p "$folder"
    for name in "$@"; do printf 'vecchio %s' "$name" >"$folder/$name"; done
}

# The system calls a clean run makes, with their counts.
calls_of() { # command...
    local dir
    dir=$(mktemp -d -p "$work")
    strace -f -c -U name,calls -o "$dir/count" "$@" >/dev/null 2>&1
    awk 'NR > 2 && $1 !~ /^-/ && $1 != "total" { print $1, $2 }' "$dir/count"
    rm -rf "$dir"
}

wanted() { # syscall
    [ "$quick" != --quick ] && return 0
    case $1 in rename | renameat | renameat2 | link | linkat) return 0 ;; esac
    return 1
}

walk_compile() {
    local probe="$work/probe"
    lay_out_old "$probe" "${binaries[@]}"
    while read -r call count; do
        wanted "$call" || continue
        for ((n = 1; n <= count; n++)); do
            local out="$work/out_${call}_$n"
            rm -rf "$out"
            lay_out_old "$out" "${binaries[@]}"
            strace -f -o /dev/null -e trace="$call" -e inject="$call":signal=KILL:when="$n" \
                "$autore" compile "${sources[@]}" -o "$out" >/dev/null 2>&1
            kills=$((kills + 1))
            count_midway "$out" "$work/new" "${binaries[@]}"
            "$autore" compile "$work/bad/${S}_linea.txt" "${sources[1]}" -o "$out" >/dev/null 2>&1
            check_sets "compile fallito dopo $call n. $n" "$out" "$work/new" "${binaries[@]}"
            "$autore" compile "${sources[@]}" -o "$out" >/dev/null 2>&1
            [ "$(set_state "$out" "$work/new" "${binaries[@]}")" = new ] ||
                { mixed=$((mixed + 1)); echo "compile pulito dopo $call n. $n: non tutto nuovo"; }
            rm -rf "$out"
        done
    done < <(calls_of "$autore" compile "${sources[@]}" -o "$probe")
}

walk_program() {
    local probe="$work/probe_program"
    lay_out_old "$probe" "${binaries[@]}" "${documents[@]}"
    cp "$program" "$probe/"
    while read -r call count; do
        wanted "$call" || continue
        for ((n = 1; n <= count; n++)); do
            local dir="$work/program_${call}_$n"
            rm -rf "$dir"
            lay_out_old "$dir" "${binaries[@]}" "${documents[@]}"
            cp "$program" "$dir/"
            strace -f -o /dev/null -e trace="$call" -e inject="$call":signal=KILL:when="$n" \
                "$dir/tratta_esempio" >/dev/null 2>&1 || true
            kills=$((kills + 1))
            count_midway "$dir" "$work/program_new" "${binaries[@]}"
            count_midway "$dir" "$work/program_new" "${documents[@]}"
            # A run that fails: a read-only line file it may not replace.
            rm -f "$dir/${S}_linea.txt"
            printf 'sola lettura' >"$dir/${S}_linea.txt"
            chmod a-w "$dir/${S}_linea.txt"
            "$dir/tratta_esempio" >/dev/null 2>&1
            check_sets "programma fallito dopo $call n. $n (binari)" "$dir" "$work/program_new" "${binaries[@]}"
            check_sets "programma fallito dopo $call n. $n (documenti)" "$dir" "$work/program_new" "${documents[@]}"
            rm -f "$dir/${S}_linea.txt"
            "$dir/tratta_esempio" >/dev/null 2>&1
            [ "$(set_state "$dir" "$work/program_new" "${binaries[@]}")" = new ] &&
                [ "$(set_state "$dir" "$work/program_new" "${documents[@]}")" = new ] ||
                { mixed=$((mixed + 1)); echo "programma pulito dopo $call n. $n: non tutto nuovo"; }
            rm -rf "$dir"
        done
    done < <(calls_of "$probe/tratta_esempio")
}

# A write that fails at a rename, after some files of the set took their names
# (the old set lacks its line table, so one of them took a name no file held),
# killed then at a later removal or rename, while it puts the old set back.
walk_rollback() {
    local failing call m
    for failing in 2 3 4; do
        for call in unlink rename; do
            for ((m = 1; m <= 4; m++)); do
                [ "$call" = rename ] && [ "$m" -le "$failing" ] && continue
                local out="$work/rollback_${failing}_${call}_$m"
                rm -rf "$out"
                lay_out_old "$out" "${binaries[@]:1}"
                strace -f -o /dev/null -e trace=rename,unlink -e inject=rename:error=EIO:when="$failing" \
                    -e inject="$call":signal=KILL:when="$m" \
                    "$autore" compile "${sources[@]}" -o "$out" >/dev/null 2>&1
                kills=$((kills + 1))
                "$autore" compile "$work/bad/${S}_linea.txt" "${sources[1]}" -o "$out" >/dev/null 2>&1
                # The line table the old set lacked is old while it is absent.
                local state
                if [ -e "$out/${binaries[0]}" ]; then
                    state=$(set_state "$out" "$work/new" "${binaries[@]}")
                else
                    state=$(set_state "$out" "$work/new" "${binaries[@]:1}")
                    [ "$state" = new ] && state=mixed
                fi
                if [ "$state" = mixed ]; then
                    mixed=$((mixed + 1))
                    echo "INSIEME MISTO: compile fallito dopo rename n. $failing in errore, $call n. $m"
                    ls -la "$out"
                fi
                "$autore" compile "${sources[@]}" -o "$out" >/dev/null 2>&1
                [ "$(set_state "$out" "$work/new" "${binaries[@]}")" = new ] ||
                    { mixed=$((mixed + 1)); echo "compile pulito dopo rename n. $failing in errore, $call n. $m: non tutto nuovo"; }
                rm -rf "$out"
            done
        done
    done
}

walk_compile
walk_program
walk_rollback
echo "uccisioni: $kills (insiemi a metà subito dopo: $midway), insiemi misti dopo le esecuzioni seguenti: $mixed"
[ "$mixed" -eq 0 ]
