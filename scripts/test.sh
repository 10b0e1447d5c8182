#!/usr/bin/env bash
# The test command: installs what is missing, builds with AddressSanitizer and
# UndefinedBehaviorSanitizer, fuzzes the subtitle reader, builds and checks the Debian package,
# then runs every test through CTest.
# Works on a fresh Debian 12 machine as root with no display and no sound server.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/check-format.sh

cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLURVO_SANITIZE=ON -DLURVO_WERROR=ON
cmake --build build-test
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

bash scripts/fuzz.sh "${LURVO_FUZZ_SECONDS:-60}"

# The media tests play real audio: a sound server with a null sink when none answers.
bash scripts/start-pulse.sh

# The Debian package, unpacked and its program run on the sample lesson.
bash scripts/package-check.sh

# Last, so that CTest's summary closes the output.
ctest --test-dir build-test --output-on-failure -j"$(nproc)"
