#!/usr/bin/env bash
# The package command: installs what is missing, builds the program optimised (no tests, no
# sanitizers) into build-package/ and makes the Debian package there with CPack.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
build=${LURVO_PACKAGE_BUILD:-build-package}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DLURVO_SANITIZE=OFF >/dev/null
cmake --build "$build"
rm -f "$build"/lurvo-repeater_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
echo "package: $(ls "$build"/lurvo-repeater_*.deb)"
