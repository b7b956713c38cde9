#!/usr/bin/env bash
# The main job: builds everything and runs a short Quillon session in the simulated editor.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset native >/dev/null
cmake --build --preset native
./build/native/demo/quillon_demo
