#!/usr/bin/env bash
# scripts/start-pulse.sh on two sound servers of this test's own: a learner's (already running,
# no null sink of ours) must get no stream; one the script starts itself keeps one silent
# stream awake, and only one however often the script runs. Skipped (exit 77) where PulseAudio
# itself is not installed, as on a desktop that runs PipeWire alone.
set -euo pipefail
start_pulse=$1
if ! command -v pulseaudio >/dev/null; then
    echo "no pulseaudio here to start servers with"
    exit 77
fi
unset PULSE_SERVER PULSE_SINK PULSE_SOURCE
work=$(mktemp -d)
learner_pid=""
cleanup() {
    [ -z "$learner_pid" ] || kill "$learner_pid" 2>/dev/null || true
    PULSE_RUNTIME_PATH=$work/own pulseaudio --kill 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
wait_for_server() {
    for _ in $(seq 50); do
        pactl info >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    fail "the sound server in $PULSE_RUNTIME_PATH did not answer"
}
streams() { pactl list short sink-inputs | wc -l; }

export PULSE_RUNTIME_PATH=$work/learner
mkdir -p "$PULSE_RUNTIME_PATH"
pulseaudio -n --daemonize=no --exit-idle-time=-1 --load=module-native-protocol-unix \
    --load="module-null-sink sink_name=speakers" >/dev/null 2>&1 &
learner_pid=$!
wait_for_server
bash "$start_pulse"
sleep 0.5 # a stream started in the background would be there by now
[ "$(streams)" -eq 0 ] || fail "start-pulse.sh left a stream on the learner's server"
echo "learner's server: no stream of ours"

export PULSE_RUNTIME_PATH=$work/own
mkdir -p "$PULSE_RUNTIME_PATH"
bash "$start_pulse"
wait_for_server
for run in 1 2; do
    for _ in $(seq 30); do
        [ "$(streams)" -ge 1 ] && break
        sleep 0.1
    done
    [ "$(streams)" -eq 1 ] || fail "run $run: $(streams) streams on the server start-pulse.sh started"
    [ "$run" -eq 2 ] || bash "$start_pulse"
done
echo "own server: one silent stream keeps the null sink awake"
