#!/usr/bin/env bash
# Builds the release: one folder (and a zip of it) with both DLLs for 64- and 32-bit Office, the
# install and uninstall scripts, a short README and the licence. Output: build/release/.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
for preset in x64 x86; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target Quillon Lathmore >/dev/null
done

name=QuillonLathmore-1.0
out=build/release/$name
rm -rf "$out" "build/release/$name.zip"
mkdir -p "$out/x64" "$out/x86"
for arch in x64 x86; do
  cp "build/$arch/bin/Quillon.dll" "build/$arch/bin/Lathmore.dll" "$out/$arch/"
done
cp release/install.cmd release/uninstall.cmd release/addins.cmd "$out/"
sed 's/$/\r/' release/README.txt > "$out/README.txt"
sed 's/$/\r/' LICENSE > "$out/LICENSE.txt"
(cd build/release && cmake -E tar cf "$name.zip" --format=zip "$name")
echo "release: build/release/$name ($(du -sh "$out" | cut -f1)), build/release/$name.zip"
