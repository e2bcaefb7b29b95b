#!/usr/bin/env bash
# Fuzzes the compile step for SECONDS (default 60): builds the libFuzzer program
# with clang in build-fuzz/, then runs it from the saved corpus. New inputs go
# to build-fuzz/corpus (merge the useful ones into fuzz/corpus by hand with
# -merge=1); a crashing input is saved under build-fuzz/artifacts/.
# FUZZ_WORKERS=N runs N processes in parallel (default 1), each for SECONDS.
# FUZZ_SANITIZERS=undefined leaves AddressSanitizer out for a faster long run
# (default address,undefined); replay its corpus under both afterwards.
# FUZZ_TARGET=lsp fuzzes the authoring tool's language server instead, from
# fuzz/lsp_corpus (seeded from its recorded exchanges by fuzz/lsp_seeds.py);
# its new inputs go to build-fuzz/lsp_corpus. FUZZ_TARGET=decoders fuzzes the
# readers of the three binary files behind `autore dump`, from
# fuzz/corpus-decoders. FUZZ_TARGET=round_trip compiles, decompiles and
# compiles again every input of fuzz/corpus that compiles without error, and
# fails where the second compile's bytes differ from the first's.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
workers="${FUZZ_WORKERS:-1}"
target="${FUZZ_TARGET:-tratta}"
tools=OFF
corpus=corpus
case "$target" in
lsp) tools=ON corpus=lsp_corpus ;;
decoders) tools=ON corpus=corpus-decoders ;;
round_trip) tools=ON ;;
tratta) ;;
*) echo "fuzz/run.sh: FUZZ_TARGET is tratta, decoders, lsp or round_trip" >&2; exit 64 ;;
esac

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTRATTA_BUILD_FUZZER=ON -DTRATTA_FUZZ_SANITIZERS="${FUZZ_SANITIZERS:-address,undefined}" -DTRATTA_BUILD_TESTS=OFF -DTRATTA_BUILD_TOOLS=$tools >/dev/null
cmake --build build-fuzz -j2 --target "${target}_fuzz"

mkdir -p "build-fuzz/$corpus" build-fuzz/artifacts
cd build-fuzz
# Inputs are small source files; a route of 1000000 m still compiles in well
# under a second, so a run of 30 s is a hang. Quick inputs (short routes) get
# more of the time.
args=(-max_len=4096 -timeout=30 -rss_limit_mb=2048 -max_total_time="$seconds" -entropic_scale_per_exec_time=1
      -print_final_stats=1 -artifact_prefix=artifacts/)
if [ "$workers" -gt 1 ]; then
  # Each worker writes its log to build-fuzz/fuzz-N.log.
  args+=(-jobs="$workers" -workers="$workers")
fi
exec "./fuzz/${target}_fuzz" "${args[@]}" "$corpus" "../fuzz/$corpus"
