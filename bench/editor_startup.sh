#!/usr/bin/env bash
# Start-up time of the editor with the demo show, measured from outside on a private X server:
# from the process start to (a) its main window being mapped and (b) the caption naming the
# opened demo (the project is opened by the start-up continuation, after the first paint).
# Usage: bench/editor_startup.sh [BUILD_DIR] [RUNS]   (default build/release, 5 runs)
set -euo pipefail
build=${1:-build/release}
runs=${2:-5}
editor="$build/src/app/lumavox"
cli="$build/src/cli/lumavox-cli"

work=$(mktemp -d "${TMPDIR:-/tmp}/lumavox-startup-XXXXXX")
chmod 700 "$work"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    [ -n "${KEEP:-}" ] && cp "$work/editor.log" /tmp/lumavox-startup.log
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/bin" "$work/home" "$work/run" "$work/show"
chmod 700 "$work/run"
cp "$editor" "$work/bin/lumavox"
export HOME="$work/home" XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/home/.config"
export PULSE_SERVER="unix:$work/run/no-sound-server"
"$cli" demo "$work/show" >/dev/null
isolate=()
unshare -rn true 2>/dev/null && isolate=(unshare -rn)

exec 3<> <(:)
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset >/dev/null 2>&1 &
pids+=($!)
read -r -t 10 display <&3
export DISPLAY=":$display"

now_ms() { echo $(($(date +%s%N) / 1000000)); }
mapped=() opened=()
for run in $(seq "$runs"); do
    rm -f "$work/bin/lumavox.INI"
    start=$(now_ms)
    "${isolate[@]}" "$work/bin/lumavox" "$work/show/demo.prj" >>"$work/editor.log" 2>&1 &
    pid=$!
    pids+=("$pid")
    t_map="" t_open=""
    for _ in $(seq 2000); do
        if [ -z "$t_map" ] && xdotool search --onlyvisible --name '^Lumavox' >/dev/null 2>&1; then
            t_map=$(($(now_ms) - start))
        fi
        if [ -n "$t_map" ] && xdotool search --name 'Lumavox demo' >/dev/null 2>&1; then
            t_open=$(($(now_ms) - start))
            break
        fi
        sleep 0.005
    done
    kill -TERM "$pid"
    wait "$pid" 2>/dev/null || true
    echo "run $run: window mapped ${t_map:-?} ms, demo open ${t_open:-?} ms"
    mapped+=("${t_map:-99999}") opened+=("${t_open:-99999}")
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }
echo "median: window mapped $(median "${mapped[@]}") ms, demo open $(median "${opened[@]}") ms"
