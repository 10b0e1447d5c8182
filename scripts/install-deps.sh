#!/usr/bin/env bash
# Installs every Debian package the build, the tests, the tools and the program need.
# Idempotent and quiet: does nothing when all packages are already present.
set -euo pipefail

packages=(
  # build
  g++ cmake ninja-build pkg-config clang libclang-rt-14-dev clang-format
  # libraries
  qt6-base-dev libicu-dev libgtest-dev libbenchmark-dev
  # the interface's translations: lupdate and lrelease, and Qt's own texts in Chinese
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev libsoundtouch-dev libaubio-dev
  # Jyutping readings: the dictionary, and Simplified-to-Traditional conversion (its run-time
  # configurations such as s2hk.json come with libopencc-data)
  rime-data-jyut6ping3 libopencc-dev libopencc-data
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-pulseaudio
  # external programs and run time
  mp3val mp3splt pulseaudio pulseaudio-utils procps fonts-noto-cjk
  # fixtures and headless runs
  espeak-ng sox libsox-fmt-mp3 lame python3 xvfb xauth
  # the Debian package (icons rendered from the SVG, dpkg-shlibdeps) and its checks
  librsvg2-bin dpkg-dev file appstream desktop-file-utils shared-mime-info man-db
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq >/dev/null
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
