#!/usr/bin/env bash
# Checks the Debian package: builds it from a configured and built build folder (or takes a .deb),
# compares its file list, lints it, extracts it into a temporary root and runs what it installed:
# both programs' --version, the man pages, the desktop and AppStream validators, the file type and
# the bash completion. Nothing is installed on the machine and nothing touches the network (the
# editor runs without one).
#
# Usage: tests/package/check.sh BUILD_DIR | PACKAGE.deb
# In the test suite it runs only when LUMAVOX_PACKAGE_CHECK=1; otherwise it reports itself skipped
# (exit status 77).
set -euo pipefail

if [[ -n ${CTEST_RUN:-} && ${LUMAVOX_PACKAGE_CHECK:-0} != 1 ]]; then
    echo "package check skipped (set LUMAVOX_PACKAGE_CHECK=1 to run it)"
    exit 77
fi

here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/lumavox-package-XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

target=${1:?usage: check.sh BUILD_DIR | PACKAGE.deb}
if [[ $target == *.deb ]]; then
    deb=$target
else
    cpack -G DEB --config "$target/CPackConfig.cmake" -B "$work/cpack" \
        -D CPACK_PACKAGING_INSTALL_PREFIX=/usr >"$work/cpack.log" 2>&1 ||
        { cat "$work/cpack.log" >&2; exit 1; }
    deb=$(ls "$work"/cpack/lumavox_*.deb)
fi
echo "package: $deb"

# The file list: every kind of file the package must hold.
dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./|/|' >"$work/files"
for wanted in /usr/bin/lumavox /usr/bin/lumavox-cli \
    /usr/share/applications/io.github.lumavox.Lumavox.desktop \
    /usr/share/metainfo/io.github.lumavox.Lumavox.metainfo.xml \
    /usr/share/mime/packages/io.github.lumavox.Lumavox.xml \
    /usr/share/icons/hicolor/scalable/apps/io.github.lumavox.Lumavox.svg \
    /usr/share/icons/hicolor/64x64/apps/io.github.lumavox.Lumavox.png \
    /usr/share/man/man1/lumavox.1.gz /usr/share/man/man1/lumavox-cli.1.gz \
    /usr/share/bash-completion/completions/lumavox-cli \
    /usr/share/lumavox/help/en/index.html /usr/share/lumavox/help/ja/index.html \
    /usr/share/doc/lumavox/copyright; do
    grep -qx "$wanted" "$work/files" || fail "the package lacks $wanted"
done
depends=$(dpkg-deb -f "$deb" Depends)
[[ $depends == *libqt6widgets6* && $depends == *libc6* ]] ||
    fail "dependencies not computed from the binaries: $depends"

if command -v lintian >/dev/null; then
    lintian --tag-display-limit 0 "$deb" >"$work/lintian" 2>&1 || true
    cat "$work/lintian"
    if grep -q '^E:' "$work/lintian"; then fail "lintian reports errors"; fi
fi

root=$work/root
dpkg-deb -x "$deb" "$root"
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
export XDG_RUNTIME_DIR=$work/run
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
offline=()
if unshare -rn true 2>/dev/null; then offline=(unshare -rn); fi

version=$("$root/usr/bin/lumavox-cli" --version) || fail "lumavox-cli --version failed"
echo "lumavox-cli --version: $version"
editor_version=$(QT_QPA_PLATFORM=offscreen LANG=ja_JP.UTF-8 timeout 30 "${offline[@]}" \
    "$root/usr/bin/lumavox" --version) || fail "lumavox --version failed"
echo "lumavox --version: $editor_version"
[[ -n $version && ${version##* } == "${editor_version##* }" ]] || fail "the versions differ"

for page in lumavox lumavox-cli; do
    warnings=$(MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
    [[ -z $warnings ]] || fail "man $page: $warnings"
    MANWIDTH=80 man -l "$root/usr/share/man/man1/$page.1.gz" 2>/dev/null | grep -q "^NAME" ||
        fail "man $page renders nothing"
done

desktop-file-validate "$root/usr/share/applications/io.github.lumavox.Lumavox.desktop" ||
    fail "desktop-file-validate"
appstreamcli validate --no-net "$root/usr/share/metainfo/io.github.lumavox.Lumavox.metainfo.xml" ||
    fail "appstreamcli validate"

# The file type: a show is recognised by its content, under any name; other *.prj files are not.
mime=$work/mime
mkdir -p "$mime/mime/packages"
cp "$root/usr/share/mime/packages/io.github.lumavox.Lumavox.xml" "$mime/mime/packages/"
update-mime-database "$mime/mime" 2>/dev/null
"$root/usr/bin/lumavox-cli" demo "$work/show" >/dev/null
cp "$work/show/demo.prj" "$work/show/renamed.PRJ"
printf 'PROJCS["WGS_1984_UTM_Zone_33N",GEOGCS["GCS_WGS_1984"]]\n' >"$work/show/map.prj"
printf '\x01\x02binary' >"$work/show/other.prj"
type_of() { XDG_DATA_HOME=$mime XDG_DATA_DIRS=/usr/share xdg-mime query filetype "$1" 2>/dev/null; }
for f in demo.prj renamed.PRJ; do
    [[ $(type_of "$work/show/$f") == application/x-lumavox-project ]] || fail "$f not recognised"
done
for f in map.prj other.prj; do
    [[ $(type_of "$work/show/$f") != application/x-lumavox-project ]] || fail "$f taken for a show"
done

# The completion: commands, then the files each place takes.
if [[ -f /usr/share/bash-completion/bash_completion ]]; then
    touch "$work/show/show.fseq" "$work/show/notes.txt"
    completions=$(cd "$work/show" && bash "$here/complete.sh" \
        "$root/usr/share/bash-completion/completions/lumavox-cli")
    expected=$'commands: calibrate\nplay: demo.prj map.prj other.prj renamed.PRJ\nexport OUT: show.fseq\noutput: artnet none sacn usb'
    [[ $completions == "$expected" ]] || fail "completion: got '$completions'"
fi

if ((failures > 0)); then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "package check passed"
