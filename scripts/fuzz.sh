#!/usr/bin/env bash
# Runs the subtitle fuzzer for the given number of seconds (default 60), built with clang,
# libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer in build-fuzz/.
# Fails on any crash or sanitizer report; the input that caused it is left in build-fuzz/.
set -euo pipefail
seconds=${1:-60}
cd "$(dirname "$0")/.."

cmake -S . -B build-fuzz -G Ninja -DLURVO_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build-fuzz --target subtitles_fuzz

corpus=build-fuzz/corpus
mkdir -p "$corpus"
find tests/data resources -name '*.lrc' -exec cp {} "$corpus"/ \;
cd build-fuzz
./tests/fuzz/subtitles_fuzz -max_total_time="$seconds" -max_len=4096 -timeout=10 \
    -print_final_stats=1 corpus
