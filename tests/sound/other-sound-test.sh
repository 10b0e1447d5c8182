#!/usr/bin/env bash
# Runs a recording test while loud noise plays on the sound server's default sink, as another
# program would: the test records only the tests' own sink, so it must still hear silence.
# Noise is played only on a server scripts/start-pulse.sh started (no one listens to its null
# sink); on a learner's own server this check is skipped (exit 77).
#   other-sound-test.sh TEST-PROGRAM GTEST-FILTER
set -euo pipefail
modules=$(pactl list short modules | cut -f2,3)
if ! grep -qxF $'module-null-sink\tsink_name=nullsink sink_properties=device.description=Null_Output' \
    <<<"$modules"; then
    echo "not a sound server of the test command's own: no noise is played on it"
    exit 77
fi
default_sink=$(pactl get-default-sink)
[ "$default_sink" != "${PULSE_SINK:-}" ] || { echo "FAIL: the tests' sink is the default" >&2; exit 1; }
pacat --playback --raw "--device=$default_sink" --client-name=lurvo-other-sound /dev/urandom \
    >/dev/null 2>&1 </dev/null &
noise=$!
trap 'kill $noise 2>/dev/null || true' EXIT
sleep 0.3
kill -0 "$noise" || { echo "FAIL: no noise could be played on $default_sink" >&2; exit 1; }
"$1" "--gtest_filter=$2"
