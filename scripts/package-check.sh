#!/usr/bin/env bash
# The package check: builds the Debian package (scripts/package.sh), unpacks it into a scratch
# root as dpkg would install it, validates what it installs for the desktop, and runs the installed
# program offscreen on the sample lesson: it must start, play on a null sink of this check's
# own and end cleanly on SIGTERM. Needs a sound server (scripts/start-pulse.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

export LURVO_PACKAGE_BUILD=${LURVO_PACKAGE_BUILD:-build-package}
build=$LURVO_PACKAGE_BUILD
fail() {
    echo "package-check: $*" >&2
    exit 1
}
say() { echo "package-check: $*"; }

bash scripts/package.sh
debs=("$build"/lurvo-repeater_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no lurvo-repeater_*.deb"
deb=${debs[0]}

# The control fields: name, the project's version, and what it needs at run time.
version=$(sed -n 's/^project(LurvoRepeater VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ "$(dpkg-deb -f "$deb" Package)" = lurvo-repeater ] || fail "package name is not lurvo-repeater"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] ||
    fail "package version $(dpkg-deb -f "$deb" Version) is not the project's $version"
depends=$(dpkg-deb -f "$deb" Depends)
say "$(basename "$deb"): Depends: $depends"
for needed in libqt6widgets6 libgstreamer1.0-0 libsoundtouch1 libopencc1.1 libaubio5 \
    qt6-qpa-plugins gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-pulseaudio \
    mp3val mp3splt fonts-noto-cjk rime-data-jyut6ping3 libopencc-data qt6-translations-l10n; do
    grep -Eq "(^|, |\| )$needed( |,|$)" <<<"$depends" || fail "Depends lacks $needed"
done
! grep -q 'libasan\|libubsan' <<<"$depends" || fail "the package was built with sanitizers"
# Every dependency names a real package, and this machine (which has them all) satisfies it.
if [ "$(id -u)" -eq 0 ]; then
    dpkg --dry-run -i "$deb" >/dev/null || fail "dpkg would not install $deb here"
fi

root=$(mktemp -d)
sink_module=""
program_pid=""
cleanup() {
    [ -n "$program_pid" ] && kill -KILL "$program_pid" 2>/dev/null
    [ -n "$sink_module" ] && pactl unload-module "$sink_module" 2>/dev/null
    rm -rf "$root"
}
trap cleanup EXIT
dpkg -x "$deb" "$root"
usr=$root/usr

# What it installs for the desktop.
metainfo=$usr/share/metainfo/io.github.lurvo.repeater.metainfo.xml
appstreamcli validate --no-net "$metainfo" >/dev/null || {
    appstreamcli validate --no-net "$metainfo" >&2
    fail "the metainfo does not validate"
}
newest=$(grep -o '<release version="[^"]*"' "$metainfo" | head -n 1 | cut -d'"' -f2)
[ "$newest" = "$version" ] || fail "the metainfo's newest release is $newest, not $version"
desktop=$usr/share/applications/lurvo-repeater.desktop
desktop-file-validate "$desktop" || fail "the desktop entry does not validate"
mime_db=$root/mime
mkdir -p "$mime_db/packages"
cp "$usr"/share/mime/packages/*.xml "$mime_db/packages/"
XDG_DATA_DIRS=$root update-mime-database "$mime_db" || fail "the MIME type declaration is not accepted"
for type in $(sed -n 's/^MimeType=//p' "$desktop" | tr ';' ' '); do
    [ -f "/usr/share/mime/$type.xml" ] || [ -f "$mime_db/$type.xml" ] ||
        fail "the desktop entry opens $type, which nothing declares"
done
grep -q '^MimeType=.*audio/mpeg;' "$desktop" || fail "the desktop entry does not open audio/mpeg"
[ -f "$mime_db/text/x-lrc.xml" ] && grep -q '\*\.lrc' "$mime_db/text/x-lrc.xml" ||
    fail "the subtitle type text/x-lrc (*.lrc) is not declared"
for size in 16 22 24 32 48 64 128 256; do
    icon=$usr/share/icons/hicolor/${size}x${size}/apps/lurvo-repeater.png
    file "$icon" | grep -q "PNG image data, $size x $size," || fail "no ${size}x$size icon"
done
[ -f "$usr/share/icons/hicolor/scalable/apps/lurvo-repeater.svg" ] || fail "no scalable icon"
man_page=$usr/share/man/man1/lurvo-repeater.1.gz
man_warnings=$(MANWIDTH=80 man --warnings -l "$man_page" 2>&1 >/dev/null)
[ -z "$man_warnings" ] || fail "the man page has faults: $man_warnings"

# --help and --version answer on standard output without a display.
program=$usr/bin/lurvo-repeater
help=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --help) ||
    fail "--help did not exit 0"
grep -q '^Usage: lurvo-repeater' <<<"$help" || fail "--help printed: $help"
answer=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --version) ||
    fail "--version did not exit 0"
[ "$answer" = "lurvo-repeater $version" ] || fail "--version printed: $answer"
for option in --annotate --help --version; do
    zcat "$man_page" | grep -qF -- "${option//-/\\-}" ||
        fail "the man page does not describe $option"
done
say "metainfo, desktop entry, MIME type, icons, man page, --help and --version: fine"

# The installed program on the sample lesson, offscreen, with a fresh home, on a null sink of
# its own so that other sound on the server is neither heard nor disturbed.
pactl info >/dev/null 2>&1 || fail "no sound server (start one with scripts/start-pulse.sh)"
# The program gets a home of its own, and a client without XDG_RUNTIME_DIR finds the server
# through its home: name the server outright.
server=$(pactl info | sed -n 's/^Server String: //p')
[ -n "$server" ] || fail "the sound server did not say where it listens"
sink=lurvo_package_check_$$
sink_module=$(pactl load-module module-null-sink "sink_name=$sink" \
    "sink_properties=device.description=Package_check")
sink_index=$(pactl list short sinks | awk -v name="$sink" '$2 == name { print $1 }')
home=$root/home
mkdir -p "$home"
log=$root/program.log
HOME=$home XDG_CONFIG_HOME=$home/.config XDG_CACHE_HOME=$home/.cache XDG_DATA_HOME=$home/.local \
    QT_QPA_PLATFORM=offscreen PULSE_SERVER=$server PULSE_SINK=$sink \
    "$program" "$usr/share/lurvo-repeater/eg.mp3" >"$log" 2>&1 &
program_pid=$!
started=$SECONDS

# The program's stream on the check's sink: this process id, this sink.
stream_on_sink() {
    pactl list sink-inputs | awk -v sink="$sink_index" -v pid="$program_pid" '
        /^Sink Input #/ { on = 0; mine = 0 }
        $1 == "Sink:" && $2 == sink { on = 1 }
        /application.process.id = / { gsub(/"/, "", $3); if ($3 == pid) mine = 1 }
        on && mine { found = 1 }
        END { exit found ? 0 : 1 }'
}
running() { kill -0 "$program_pid" 2>/dev/null; }
until stream_on_sink; do
    running || { cat "$log" >&2; fail "the installed program ended at start"; }
    [ $((SECONDS - started)) -lt 20 ] || { cat "$log" >&2; fail "no sound stream after 20 s"; }
    sleep 0.2
done
say "started: a stream on the sink after $((SECONDS - started)) s"

# Playing: five seconds of what the sink plays, in half-second windows; the lesson is speech with
# short pauses, so most windows sound. A stalled position would be silence; a beep, one window.
# An idle null sink sends its monitor nothing at all, so few windows mean nothing plays either.
heard=$root/heard.raw
timeout 5 parec -d "$sink.monitor" --raw --format=s16le --channels=1 --rate=16000 >"$heard" || true
sounding=$(python3 - "$heard" <<'EOF'
import array, math, sys
samples = array.array("h", open(sys.argv[1], "rb").read())
window = 8000
levels = [math.sqrt(sum(x * x for x in samples[i:i + window]) / window)
          for i in range(0, len(samples) - window + 1, window)]
print(sum(level > 100 for level in levels), len(levels))
EOF
)
read -r loud windows <<<"$sounding"
[ "$windows" -ge 6 ] || {
    cat "$log" >&2
    fail "playing: the sink played only $windows half-seconds in 5 s"
}
[ $((loud * 10)) -ge $((windows * 6)) ] || {
    cat "$log" >&2
    fail "playing: only $loud of $windows half-seconds had sound"
}
running || { cat "$log" >&2; fail "the program ended while playing"; }
say "playing: $loud of $windows half-seconds had sound"

# Closing: SIGTERM stores the settings and ends with status 0.
kill -TERM "$program_pid"
stopping=$SECONDS
while running && [ $((SECONDS - stopping)) -lt 15 ]; do sleep 0.1; done
running && fail "still running 15 s after SIGTERM"
status=0
wait "$program_pid" || status=$?
program_pid=""
[ "$status" -eq 0 ] || { cat "$log" >&2; fail "exit status $status after SIGTERM"; }
[ -f "$home/.config/LurvoRepeater/options.ini" ] || fail "the settings were not stored on exit"
say "closed: exit status 0 after SIGTERM in $((SECONDS - stopping)) s, settings stored"
