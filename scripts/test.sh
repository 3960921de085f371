#!/usr/bin/env bash
# The whole test suite: installs what is missing, builds, runs the unit tests in the release build
# (with the real-time tests, once), again under AddressSanitizer+UBSan and ThreadSanitizer, and
# replays every fuzz corpus in each of those builds. Benchmarks are built in the release build.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test

jobs=$(nproc)
# A compiler cache turns the three builds of unchanged sources into look-ups. Paths are hashed
# relative to the checkout, so a fresh clone in another folder still finds earlier results.
launcher=()
if command -v ccache >/dev/null; then
    export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
presets=(release asan tsan)
if [[ -n "${LUMAVOX_PRESETS:-}" ]]; then read -r -a presets <<<"$LUMAVOX_PRESETS"; fi

for preset in "${presets[@]}"; do
    echo "=== $preset: configure and build"
    cmake --preset "$preset" -DLUMAVOX_WERROR=ON "${launcher[@]}" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
    echo "=== $preset: tests"
    if [[ $preset == tsan ]]; then
        # ThreadSanitizer needs a memory layout without the kernel's widest address randomisation.
        setarch "$(uname -m)" -R ctest --preset "$preset" -j "$jobs"
    elif [[ $preset == release ]]; then
        # The Debian package is built from the release build and checked once, here.
        LUMAVOX_PACKAGE_CHECK=1 ctest --preset "$preset" -j "$jobs"
    else
        ctest --preset "$preset" -j "$jobs"
    fi
done
echo "=== all tests passed"
