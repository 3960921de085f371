#!/usr/bin/env bash
# The program's main job on this machine: installs what is missing, builds the program (preset
# "program": no tests, no benchmarks, none of their packages) and runs it. Until the editor window
# exists, this plays the generated demo show headless with the command-line player, sending no DMX
# to any network (output "none").
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh build

cmake --preset program >/dev/null
cmake --build --preset program -j "$(nproc)" --target lumavox-cli

cli=build/program/src/cli/lumavox-cli
demo=$(mktemp -d "${TMPDIR:-/tmp}/lumavox-demo-XXXXXX")
trap 'rm -rf "$demo"' EXIT
"$cli" demo "$demo"
"$cli" play "$demo/demo.prj" --output none "$@"
