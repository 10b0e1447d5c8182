#!/usr/bin/env bash
# Builds optimised and runs the benchmarks. The one-hour lessons are generated here (about half
# a minute the first time) and kept in build-bench/data, never committed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DLURVO_BENCH=ON >/dev/null
cmake --build build-bench --target subtitles_bench media_bench lesson_bench views_bench split_bench \
    playback_stress_bench playback_measure_bench pronunciation_bench pitch_bench pauses_bench
bash scripts/start-pulse.sh

data=build-bench/data
mkdir -p "$data"
if [ ! -f "$data/hour-tagless.mp3" ] || [ ! -f "$data/hour-info.mp3" ]; then
    sox -D -n -r 22050 -c 1 -b 16 "$data/hour.wav" synth 3600 sine 300-900 vol 0.3
    lame --quiet -m m -b 32 -t "$data/hour.wav" "$data/hour-tagless.mp3"
    lame --quiet -m m -b 64 "$data/hour.wav" "$data/hour-info.mp3"
    rm "$data/hour.wav"
fi
# One-hour lessons with a line every 3 s (CBR with an Info header, VBR with a Xing header), and
# an 84 s lesson with a line every 0.7 s for the boundary overruns.
lrc() { # lrc SECONDS STEP_MS > file
    awk -v secs="$1" -v step="$2" 'BEGIN { printf "[ti:bench]\r\n";
        for (t = 200; t < secs * 1000; t += step)
            printf "[%02d:%02d.%02d]line %d\r\n", t / 60000, (t % 60000) / 1000, (t % 1000) / 10, t }'
}
if [ ! -f "$data/hour-vbr.mp3" ]; then
    sox -D -n -r 22050 -c 1 -b 16 "$data/voice.wav" synth 3600 sine 200-700 tremolo 1.3 90
    lame --quiet -m m -b 64 "$data/voice.wav" "$data/hour-cbr.mp3"
    lame --quiet -m m -V 6 "$data/voice.wav" "$data/hour-vbr.mp3"
    rm "$data/voice.wav"
    lrc 3600 3000 > "$data/hour-cbr.lrc"
    lrc 3600 3000 > "$data/hour-vbr.lrc"
    sox -D -n -r 22050 -c 1 -b 16 "$data/short.wav" synth 84 sine 300-500 tremolo 1.4 90
    lame --quiet -m m -b 64 "$data/short.wav" "$data/boundaries.mp3"
    rm "$data/short.wav"
    lrc 84 700 > "$data/boundaries.lrc"
fi
# A 30-minute lesson with a line every 3 s, cut into one-sentence segments by split_bench.
if [ ! -f "$data/split-30min.mp3" ]; then
    sox -D -n -r 22050 -c 1 -b 16 "$data/split.wav" synth 1800 sine 200-700 tremolo 1.3 90
    lame --quiet -m m -b 32 "$data/split.wav" "$data/split-30min.mp3"
    rm "$data/split.wav"
    lrc 1800 3000 > "$data/split-30min.lrc"
fi
./build-bench/bench/subtitles_bench
LURVO_BENCH_DATA="$data" ./build-bench/bench/media_bench
LURVO_BENCH_DATA="$data" ./build-bench/bench/lesson_bench
./build-bench/bench/views_bench
LURVO_BENCH_DATA="$data" ./build-bench/bench/split_bench
./build-bench/bench/playback_stress_bench
./build-bench/bench/pronunciation_bench
./build-bench/bench/pitch_bench
LURVO_BENCH_DATA="$data" ./build-bench/bench/pauses_bench
# What is heard at the sound output (about 20 minutes; its lessons are made once into
# build-bench/measure-cache, the first time about three minutes).
./build-bench/bench/playback_measure_bench
