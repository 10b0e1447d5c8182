#!/usr/bin/env bash
# A null sink of the tests' own on the sound server, so that what they play and record never
# meets other sound on the machine.
#   test-sink.sh load NAME PIDFILE    adds the sink NAME and a silent stream that keeps it awake
#   test-sink.sh unload NAME PIDFILE  removes both; fails when anything of the tests was left
set -euo pipefail
action=$1 name=$2 pidfile=$3

module_of_sink() {
    pactl list short modules | awk -F'\t' -v arg="sink_name=$1" \
        '$2 == "module-null-sink" { split($3, a, " "); if (a[1] == arg) print $1 }'
}
sink_index() { pactl list short sinks | awk -F'\t' -v n="$1" '$2 == n { print $1 }'; }
source_index() { pactl list short sources | awk -F'\t' -v n="$1" '$2 == n { print $1 }'; }
# Streams on the sink (column 2 of sink-inputs) or on its monitor (column 2 of source-outputs).
streams_on() {
    [ -n "$2" ] || return 0
    pactl list short "$1" | awk -F'\t' -v i="$2" '$2 == i { print $1 }'
}

stop_keep_awake() {
    [ -f "$pidfile" ] || return 0
    local pid
    pid=$(cat "$pidfile")
    rm -f "$pidfile"
    # Only the pacat this script started: the number may have gone to another process since.
    if [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = pacat ]; then
        kill "$pid"
        for _ in $(seq 50); do
            [ -d "/proc/$pid" ] || break
            sleep 0.1
        done
    fi
}

remove_sink() {
    local left=0 sink monitor stream module
    sink=$(sink_index "$name")
    monitor=$(source_index "$name.monitor")
    # A stream still on the sink moves to the learner's own output when the sink goes, and a
    # recording to their microphone: both are muted first (pactl cannot end another's stream).
    for stream in $(streams_on sink-inputs "$sink"); do
        echo "test-sink: a stream (sink input $stream) was left playing on $name" >&2
        pactl set-sink-input-mute "$stream" 1 || true
        left=1
    done
    for stream in $(streams_on source-outputs "$monitor"); do
        echo "test-sink: a recording (source output $stream) was left on $name.monitor" >&2
        pactl set-source-output-mute "$stream" 1 || true
        left=1
    done
    for module in $(module_of_sink "$name"); do
        pactl unload-module "$module"
    done
    if [ -n "$(module_of_sink "$name")" ] || [ -n "$(sink_index "$name")" ]; then
        echo "test-sink: $name is still on the sound server" >&2
        left=1
    fi
    return $left
}

case $action in
load)
    # Left over from a run that was killed: start afresh.
    stop_keep_awake
    remove_sink >/dev/null 2>&1 || true
    pactl load-module module-null-sink "sink_name=$name" \
        "sink_properties=device.description=$name" >/dev/null
    # An idle null sink sleeps for its full 2 s latency, so a new stream would stall for up to
    # two seconds before it is heard: a silent low-latency stream keeps it awake and in time.
    setsid pacat --playback --raw --latency-msec=10 "--device=$name" \
        "--client-name=$name-keep-awake" /dev/zero >/dev/null 2>&1 </dev/null &
    echo $! >"$pidfile"
    for _ in $(seq 50); do
        [ -n "$(streams_on sink-inputs "$(sink_index "$name")")" ] && exit 0
        sleep 0.1
    done
    echo "test-sink: the stream keeping $name awake did not start" >&2
    exit 1
    ;;
unload)
    stop_keep_awake
    remove_sink
    ;;
*)
    echo "usage: test-sink.sh load|unload NAME PIDFILE" >&2
    exit 2
    ;;
esac
