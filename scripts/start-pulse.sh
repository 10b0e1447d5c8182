#!/usr/bin/env bash
# Starts PulseAudio with a null sink when no sound server answers, so that tests and headless
# runs play and record real audio. A sound server that is already there is left as it is.
set -euo pipefail
null_sink="module-null-sink sink_name=nullsink sink_properties=device.description=Null_Output"
if ! pactl info >/dev/null 2>&1; then
    pulseaudio --daemonize=yes --exit-idle-time=-1 --disallow-exit -n \
        --load="module-native-protocol-unix" --load="$null_sink" >/dev/null 2>&1
    for _ in $(seq 50); do
        pactl info >/dev/null 2>&1 && break
        sleep 0.1
    done
    pactl info >/dev/null 2>&1 || { echo "start-pulse: PulseAudio did not start" >&2; exit 1; }
    pactl set-default-sink nullsink
    pactl set-default-source nullsink.monitor
fi
# Only a server this script started carries its null sink with exactly these arguments: a
# learner's own sound server never gets a stream of ours.
modules=$(pactl list short modules | cut -f2,3)
grep -qxF "${null_sink/ /$'\t'}" <<<"$modules" || exit 0
# An idle null sink sleeps for its full 2 s latency, so a new stream stalls for up to two
# seconds before it is heard. A silent low-latency stream keeps the sink awake and in time.
# Asked of this server, so that a second server (PULSE_RUNTIME_PATH) gets its own.
clients=$(pactl list clients 2>/dev/null || true)
if ! grep -q 'application.name = "lurvo-keep-awake"' <<<"$clients"; then
    setsid pacat --playback --raw --latency-msec=10 --device=nullsink \
        --client-name=lurvo-keep-awake --stream-name=lurvo-keep-awake /dev/zero \
        >/dev/null 2>&1 </dev/null &
fi
