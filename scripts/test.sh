#!/usr/bin/env bash
# Builds everything and runs every test: the native unit tests, plainly and under AddressSanitizer
# and UndefinedBehaviorSanitizer, then the DLLs for 64- and 32-bit
# Office with their end-to-end scenarios in the sandbox under Wine, then the release folder's
# install and uninstall under Wine. Where this machine runs no 32-bit programs, the 32-bit DLLs
# are still built and checked, their runs under Wine are skipped, and the last line says why.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
for preset in native sanitize x64 x86; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done
echo "== release"
bash scripts/release.sh
bash scripts/test-release.sh
if reason=$(scripts/wine --why-no-x86); then
  echo "x86 end to end, setup.exe and the zip's scripts under Wine: skipped, $reason"
fi
