#!/usr/bin/env bash
# Takes the README's pictures again: runs demo/pictures.scn in the sandbox under Xvfb with Wine's
# X11 driver (the null driver draws no window contents) and writes small PNGs to docs/pictures/.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
missing=()
for package in xvfb imagemagick; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  # A mirror mid-sync may fail one index; the packages needed may still be there.
  $sudo apt-get update -qq || true
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
cmake --preset x64 >/dev/null
cmake --build --preset x64 >/dev/null

work="$PWD/build/pictures"
rm -rf "$work"
mkdir -p "$work" docs/pictures
Xvfb :97 -screen 0 1280x800x24 >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=:97 WINEPREFIX="$work/wineprefix"
root=$PWD
wine() { "$root/scripts/wine" "$@"; }
trap 'wine --server -k >/dev/null 2>&1 || true; kill $xvfb' EXIT
sleep 1
wine wineboot -i </dev/null >/dev/null 2>&1
# No window manager runs under Xvfb: Wine draws the window frames itself. No audio driver.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f /reg:64 >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d '' /f /reg:64 >/dev/null 2>&1
wine --server -w
(cd "$work" && wine "$root/build/x64/bin/sandbox.exe" "$root/demo/pictures.scn" </dev/null) | tail -1
for bmp in "$work"/pictures/*.bmp; do
  png="docs/pictures/$(basename "${bmp%.bmp}").png"
  convert "$bmp" -colors 64 -strip "$png"
  echo "$png: $(identify -format '%w x %h' "$png"), $(du -k "$png" | cut -f1) KB"
done
