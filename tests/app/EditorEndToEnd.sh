#!/usr/bin/env bash
# End-to-end runs of the editor on a private X server: the first-run settings file, a second copy
# ending with status 255 while the first runs on, a sound named at start refused, window and box
# titles without anything appended, a close answered with Cancel leaving the settings untouched,
# and the steps of a line deleted through the menus and saved. Usage: EditorEndToEnd.sh LUMAVOX LUMAVOX_CLI EXPECTED_FIRST_RUN_INI
# Every wait is bounded. The editor runs in a network namespace of its own when one can be made,
# so that no output thread can reach a real network.
set -euo pipefail
editor=$1 cli=$2 expected=$3

for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 0; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/lumavox-e2e-XXXXXX")
chmod 700 "$work"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir -p "$work/bin" "$work/home" "$work/run" "$work/show" "$work/locale"
chmod 700 "$work/run"
cp "$editor" "$work/bin/lumavox"
ini="$work/bin/lumavox.INI"  # beside the program, whose folder is writable
export HOME="$work/home" XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/home/.config"
unset PULSE_SERVER
export PULSE_SERVER="unix:$work/run/no-sound-server"  # no server: Audio:--, plays silently
# The checks below read Japanese texts: the editor gets its language whatever the caller's locale
# (only the editor: the tools here keep the caller's locale). The locale must exist, or the C
# library stays in ASCII and the window titles reach X garbled: when the machine lacks it, a
# private copy is compiled from the locale sources.
isolate=(env -u LC_ALL -u LC_MESSAGES LANG=ja_JP.UTF-8)
if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf-\?8' &&
    localedef -i ja_JP -f UTF-8 "$work/locale/ja_JP.UTF-8" >/dev/null 2>&1; then
    isolate+=(LOCPATH="$work/locale")
fi
"$cli" demo "$work/show" >/dev/null

if unshare -rn true 2>/dev/null; then
    isolate+=(unshare -rn)
elif [ "${CI:-}" = true ]; then
    fail "no network namespace for the editor"
else
    echo "note: no network namespace; the settings keep the USB output, which sends nothing here"
fi

exec 3<> <(:)
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset >/dev/null 2>&1 &
pids+=($!)
display=""
for _ in $(seq 50); do
    if read -r -t 0.2 display <&3 && [ -n "$display" ]; then break; fi
done
[ -n "$display" ] || fail "Xvfb did not start"
export DISPLAY=":$display"

start_editor() {  # start_editor [ARG]; sets editor_pid and window
    "${isolate[@]}" "$work/bin/lumavox" "$@" >>"$work/editor.log" 2>&1 &
    editor_pid=$!
    pids+=("$editor_pid")
    window=""
    for _ in $(seq 150); do
        window=$(xdotool search --pid "$editor_pid" --name '^Lumavox' 2>/dev/null | head -n1 || true)
        [ -z "$window" ] && window=$(xdotool search --name '^Lumavox' 2>/dev/null | head -n1 || true)
        [ -n "$window" ] && return 0
        kill -0 "$editor_pid" 2>/dev/null || fail "the editor ended at start-up"
        sleep 0.1
    done
    fail "no editor window"
}
wait_end() {  # wait_end PID SECONDS; sets status
    local pid=$1
    for _ in $(seq $(($2 * 10))); do
        if ! kill -0 "$pid" 2>/dev/null; then
            set +e
            wait "$pid"
            status=$?
            set -e
            return 0
        fi
        sleep 0.1
    done
    fail "process $pid did not end within $2 s"
}
answer_box() {  # answer_box TITLE KEY WHAT: waits up to 5 s for a box titled TITLE, presses KEY
    local box=""
    for _ in $(seq 50); do
        box=$(xdotool search --name "^$1\$" 2>/dev/null | head -n1 || true)
        [ -n "$box" ] && break
        sleep 0.1
    done
    [ -n "$box" ] || fail "$3"
    xdotool windowfocus --sync "$box" 2>/dev/null || true
    xdotool key "$2"
    sleep 0.5
}
# Without a sound server the show plays silently; the editor says so once ("警告").
answer_audio_warning() { answer_box 警告 Return "no audio warning"; }
menu_key() {  # menu_key MENU_KEY ITEM_KEY: an entry of a menu by its access keys
    xdotool windowfocus --sync "$window" 2>/dev/null || true
    xdotool key --clearmodifiers "alt+$1"
    sleep 0.4
    xdotool key "$2"
    sleep 0.4
}
menu_exit() {  # "ファイル(&F)" then "終了(&X)"
    xdotool windowfocus --sync "$window" 2>/dev/null || true
    xdotool key --clearmodifiers alt+f
    sleep 0.4
    xdotool key x
}

echo "== first run: the settings file written at the first close"
[ ! -e "$ini" ] || fail "a settings file exists before the first run"
start_editor
sleep 1
menu_exit
wait_end "$editor_pid" 10
[ "$status" -eq 0 ] || fail "the first run ended with status $status"
[ -f "$ini" ] || fail "no settings file after the first run"
# Tool bar offsets follow the fonts and icons of the machine and the palette image path the
# program folder; every other byte is fixed.
normalise() { sed -e 's/^DockLeft=[0-9]*\r$/DockLeft=*\r/' -e "s|=$work/bin/|=<ExeDir>/|" "$1"; }
if ! diff <(normalise "$ini") <(normalise "$expected"); then
    fail "the first-run settings file differs from $expected"
fi

echo "== second copy: status 255 at once, the first one runs on"
start_editor
first=$editor_pid
sleep 1
windows=$(xdotool search --name '^Lumavox' 2>/dev/null | wc -l)
"${isolate[@]}" "$work/bin/lumavox" >>"$work/editor.log" 2>&1 &
second=$!
wait_end "$second" 10
[ "$status" -eq 255 ] || fail "the second copy ended with status $status"
kill -0 "$first" 2>/dev/null || fail "the first copy ended"
[ "$(xdotool search --name '^Lumavox' 2>/dev/null | wc -l)" -eq "$windows" ] ||
    fail "the second copy made a window"
kill -TERM "$first"
wait_end "$first" 10
[ "$status" -eq 0 ] || fail "a terminated editor ended with status $status"

echo "== a sound named at start is refused; titles are the captions alone"
start_editor "$work/show/demo.wav"
answer_box 警告 Return "a sound named at start was not refused"
[ "$(xdotool getwindowname "$window")" = "Lumavox" ] || fail "title: $(xdotool getwindowname "$window")"
kill -TERM "$editor_pid"
wait_end "$editor_pid" 10

echo "== close with unsaved changes answered with Cancel"
before=$(sha256sum "$ini")
start_editor "$work/show/demo.prj"
answer_audio_warning
title=$(xdotool getwindowname "$window")
[ "$title" = "Lumavox  - Lumavox demo" ] || fail "the window title is '$title'"
menu_key e s  # select line 1 and delete its steps: the project is modified
menu_key e d
menu_exit
answer_box 確認 Escape "closing asked no question"  # Cancel
sleep 1
kill -0 "$editor_pid" 2>/dev/null || fail "the window closed although the question was cancelled"
[ "$(sha256sum "$ini")" = "$before" ] || fail "the settings file changed"
kill -TERM "$editor_pid"  # closes without the question, writes the settings
wait_end "$editor_pid" 10
[ "$status" -eq 0 ] || fail "status $status after the termination signal"
echo "== edit the demo: select line 1, delete its steps, save"
# 99 of the demo's 792 steps are on line 1; the loader counts 1 + the steps it reads.
count() { "$cli" info "$work/show/demo.prj" | grep -o '"count":[0-9]*' | cut -d: -f2; }
[ "$(count)" -eq 793 ] || fail "the demo does not hold 792 steps"
start_editor "$work/show/demo.prj"
answer_audio_warning
menu_key e s  # "編集(&E)" → "全て選択(&S)": the current line, line 1
menu_key e d  # "基点の削除(&D)"
menu_key f s  # "ファイル(&F)" → "上書き保存(&S)"
for _ in $(seq 50); do [ "$(count)" -eq 694 ] && break; sleep 0.1; done
[ "$(count)" -eq 694 ] || fail "the saved demo holds $(count) - 1 steps, not 693"
kill -TERM "$editor_pid"
wait_end "$editor_pid" 10
[ "$status" -eq 0 ] || fail "status $status after the termination signal"
echo "PASS"
