#!/usr/bin/env bash
# Installs the Debian packages Lumavox needs that are missing. Idempotent: runs `apt-get update`
# only when something has to be installed. Usage: scripts/deps.sh build|test|run
set -euo pipefail

build_packages=(
    build-essential cmake ninja-build pkg-config git
    libmpg123-dev libpulse-dev libusb-1.0-0-dev libjpeg-dev libstb-dev libmnl-dev nlohmann-json3-dev
    libzstd-dev libaubio-dev
    qt6-base-dev qt6-translations-l10n qt6-l10n-tools qt6-tools-dev fonts-ipafont-gothic
)
# The test and benchmark frameworks, and the tools the tests drive: a headless sound server,
# fixture makers, network namespaces, clang for the fuzz targets, OLA as a sACN receiver.
test_packages=(
    libgtest-dev libgmock-dev libbenchmark-dev
    pulseaudio pulseaudio-utils sox lame mpg123 iproute2 clang libclang-rt-14-dev
    xvfb xauth xdotool imagemagick ccache locales
    ola
)

# What scripts/run.sh needs to show the editor on a machine without a display.
run_packages=(xvfb xauth xdotool imagemagick pulseaudio pulseaudio-utils libzstd1 libaubio5)

# What scripts/package.sh needs to build, lint and check the Debian package.
package_packages=(dpkg-dev fakeroot file lintian appstream desktop-file-utils shared-mime-info
                  xdg-utils man-db groff-base bash-completion)

wanted=("${build_packages[@]}")
# The suite checks the package too.
if [[ "${1:-build}" == test ]]; then wanted+=("${test_packages[@]}" "${package_packages[@]}"); fi
if [[ "${1:-build}" == run ]]; then wanted+=("${run_packages[@]}"); fi
if [[ "${1:-build}" == package ]]; then wanted+=("${package_packages[@]}"); fi

missing=()
for p in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
if ((${#missing[@]} == 0)); then exit 0; fi

echo "Installing: ${missing[*]}"
SUDO=()
if [[ $(id -u) -ne 0 ]]; then SUDO=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update
"${SUDO[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
