#!/usr/bin/env bash
# The program's main job on this machine: installs what is missing, builds the release build and
# runs it. Until the editor window exists, this plays the generated demo show headless with the
# command-line player, sending no DMX to any network (output "none").
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh build

cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target lumavox-cli

cli=build/release/src/cli/lumavox-cli
demo=$(mktemp -d "${TMPDIR:-/tmp}/lumavox-demo-XXXXXX")
trap 'rm -rf "$demo"' EXIT
"$cli" demo "$demo"
"$cli" play "$demo/demo.prj" --output none "$@"
