#!/usr/bin/env bash
# Builds optimised and runs the benchmarks. The one-hour lessons are generated here (about half
# a minute the first time) and kept in build-bench/data, never committed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DLURVO_BENCH=ON >/dev/null
cmake --build build-bench --target subtitles_bench media_bench

data=build-bench/data
mkdir -p "$data"
if [ ! -f "$data/hour-tagless.mp3" ] || [ ! -f "$data/hour-info.mp3" ]; then
    sox -D -n -r 22050 -c 1 -b 16 "$data/hour.wav" synth 3600 sine 300-900 vol 0.3
    lame --quiet -m m -b 32 -t "$data/hour.wav" "$data/hour-tagless.mp3"
    lame --quiet -m m -b 64 "$data/hour.wav" "$data/hour-info.mp3"
    rm "$data/hour.wav"
fi
./build-bench/bench/subtitles_bench
LURVO_BENCH_DATA="$data" ./build-bench/bench/media_bench
