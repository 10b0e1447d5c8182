#!/usr/bin/env bash
# The run command: installs what is missing, builds, and starts the program on the sample
# lesson. Without a display it runs under xvfb-run (and says so); without a sound server it
# starts PulseAudio with a null sink.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build-run -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null
cmake --build build-run --target lurvo-repeater
bash scripts/start-pulse.sh

program=(build-run/src/app/lurvo-repeater resources/eg.mp3)
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "run: no display here; starting the program inside a virtual X server (xvfb-run)." >&2
    exec xvfb-run -a -s "-screen 0 1280x800x24" "${program[@]}"
fi
exec "${program[@]}"
