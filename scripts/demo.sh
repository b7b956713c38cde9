#!/usr/bin/env bash
# The main job: builds the DLLs and runs the demo session in the editor sandbox under Wine,
# printing what the editor and the add-ins did, step by step.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset x64 >/dev/null
cmake --build --preset x64 >/dev/null
prefix="$PWD/build/x64/wineprefix"
bash scripts/wine-prefix.sh start "$prefix"
trap 'bash scripts/wine-prefix.sh stop "$prefix"' EXIT
WINEPREFIX="$prefix" scripts/wine build/x64/bin/sandbox.exe demo/session.scn
