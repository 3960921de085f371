#!/usr/bin/env bash
# The program's main job: installs what is missing, builds the program (preset "program": no tests,
# no benchmarks, none of their packages) and starts the editor with the demo show open (written
# once by "lumavox-cli demo" into the user's data folder).
#
# Without a display the editor runs on a private X server instead: it opens the demo, plays it for a
# few seconds (on a private sound server when PulseAudio is installed), writes a screenshot PNG,
# prints its path and closes. That run keeps its settings in a temporary folder.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh build

cmake --preset program >/dev/null
cmake --build --preset program -j "$(nproc)" --target lumavox lumavox-cli

cli=build/program/src/cli/lumavox-cli
editor=build/program/src/app/lumavox
demo="${XDG_DATA_HOME:-$HOME/.local/share}/lumavox/demo"
if [ ! -f "$demo/demo.prj" ]; then
    "$cli" demo "$demo" >/dev/null
fi

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$editor" "$demo/demo.prj" "$@"
fi

scripts/deps.sh run
# Headless: everything below lives in one temporary folder and ends with this script.
work=$(mktemp -d "${TMPDIR:-/tmp}/lumavox-run-XXXXXX")
chmod 700 "$work"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
}
trap cleanup EXIT

# A private copy of the program, so that its settings file is written beside the copy.
mkdir -p "$work/bin" "$work/home" "$work/run"
chmod 700 "$work/run"
cp "$editor" "$work/bin/"
cp -r "$(dirname "$editor")/help" "$work/bin/"
export HOME="$work/home" XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/home/.config"

exec 3<> <(:)
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset >/dev/null 2>&1 &
pids+=($!)
display=""
for _ in $(seq 50); do
    if read -r -t 0.2 display <&3 && [ -n "$display" ]; then break; fi
done
[ -n "$display" ] || { echo "run.sh: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$display"

if command -v pulseaudio >/dev/null; then
    export PULSE_SERVER="unix:$work/run/pulse.sock" PULSE_COOKIE="$work/run/cookie"
    pulseaudio -n --daemonize=no --system=no --exit-idle-time=-1 --use-pid-file=no \
        -L "module-native-protocol-unix socket=$work/run/pulse.sock auth-anonymous=1" \
        -L "module-null-sink sink_name=lumavox_null rate=44100" >/dev/null 2>&1 &
    pids+=($!)
    for _ in $(seq 50); do [ -S "$work/run/pulse.sock" ] && break; sleep 0.1; done
fi

"$work/bin/lumavox" "$demo/demo.prj" >"$work/lumavox.log" 2>&1 &
editor_pid=$!
pids+=("$editor_pid")
window=""
for _ in $(seq 100); do
    window=$(xdotool search --name '^Lumavox' 2>/dev/null | head -n1 || true)
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "run.sh: the editor window did not appear" >&2; exit 1; }
sleep 1
# "再生(&P)" then its first entry, play from the start.
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key --clearmodifiers alt+p
sleep 0.3
xdotool key Return
sleep 4
shot="${TMPDIR:-/tmp}/lumavox-demo-$(date +%Y%m%d-%H%M%S).png"
import -window root "$shot"
kill -TERM "$editor_pid"
for _ in $(seq 50); do kill -0 "$editor_pid" 2>/dev/null || break; sleep 0.1; done
echo "$shot"
