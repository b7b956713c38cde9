#!/usr/bin/env bash
# Builds the release: the per-user installer QuillonLathmore-<version>-setup.exe (NSIS), and one
# folder (and a zip of it) with both DLLs for 64- and 32-bit Office, the install and uninstall
# scripts for those who cannot run an installer, a short README and the licence.
# Output: build/release/.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
for preset in x64 x86; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target Quillon Lathmore >/dev/null
done

version=1.0
name=QuillonLathmore-$version
out=build/release/$name
rm -rf "$out" "build/release/$name.zip" "build/release/$name-setup.exe"
mkdir -p "$out/x64" "$out/x86"
for arch in x64 x86; do
  cp "build/$arch/bin/Quillon.dll" "build/$arch/bin/Lathmore.dll" "$out/$arch/"
done
cp release/install.cmd release/uninstall.cmd release/addins.cmd "$out/"
sed 's/$/\r/' release/README.txt > "$out/README.txt"
sed 's/$/\r/' LICENSE > "$out/LICENSE.txt"
(cd build/release && cmake -E tar cf "$name.zip" --format=zip "$name")
# makensis warns of any file name with "setup" in it; the name is the one users look for.
if ! makensis -V2 -DVERSION="$version" -DSOURCE="$PWD/$out" \
       -DOUTFILE="$PWD/build/release/$name-setup.exe" release/setup.nsi >build/release/makensis.log 2>&1; then
  cat build/release/makensis.log
  exit 1
fi
echo "release: build/release/$name-setup.exe ($(du -k "build/release/$name-setup.exe" | cut -f1) KB)," \
  "build/release/$name ($(du -sh "$out" | cut -f1)), build/release/$name.zip"
