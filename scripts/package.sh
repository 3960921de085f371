#!/usr/bin/env bash
# Builds the Debian package: installs what is missing, builds the program (preset "program",
# installed under /usr), runs cpack, lints the package and checks it in a temporary root
# (tests/package/check.sh). Prints the package's path last.
#
#   ./scripts/package.sh
#   sudo apt install ./build/program/lumavox_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh package

cmake --preset program -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build --preset program -j "$(nproc)"
rm -f build/program/lumavox_*.deb
(cd build/program && cpack -G DEB)
deb=$(ls build/program/lumavox_*.deb)

echo "== lintian"
lintian --tag-display-limit 0 "$deb" || true
echo "== check"
tests/package/check.sh "$deb"
echo "$deb"
