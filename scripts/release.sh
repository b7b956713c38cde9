#!/usr/bin/env bash
# Builds the release: the per-user installer QuillonLathmore-<version>-setup.exe (NSIS), and one
# folder (and a zip of it) with both DLLs for 64- and 32-bit Office, the install and uninstall
# scripts for those who cannot run an installer, a short README and the licence; and SHA256SUMS
# for all of them. Output: build/release/, all or nothing.
#
# Signed when a certificate is given (the four DLLs, the uninstaller inside setup.exe, setup.exe):
#   SIGN_PFX=<file.pfx> SIGN_PASSWORD=<password> [SIGN_TIMESTAMP_URL=<RFC 3161 server>] release.sh
# The same commit builds the same unsigned bytes in any folder at any time: file times are the
# commit's (SOURCE_DATE_EPOCH, when set, instead), and nothing else of the build machine goes in.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

fail() { echo "release: $*" >&2; exit 1; }
release=build/release
staging=build/release.partial
# Nothing of an earlier or a failed release may pass for this one.
rm -rf "$release" "$staging"
trap 'rm -rf "$root/$staging"' EXIT

bash scripts/setup.sh
signing=""
if [ -n "${SIGN_PFX:-}" ]; then
  [ -f "$SIGN_PFX" ] || fail "SIGN_PFX: no certificate file $SIGN_PFX"
  SIGN_PFX=$(realpath "$SIGN_PFX")
  export SIGN_PFX SIGN_PASSWORD="${SIGN_PASSWORD:-}" SIGN_TIMESTAMP_URL="${SIGN_TIMESTAMP_URL:-}"
  # The certificate opened before anything is built: a wrong password stops the release at once.
  # Older .pfx files use ciphers OpenSSL 3 keeps in its legacy provider.
  opened=""
  for legacy in "" -legacy; do
    pkcs12() { openssl pkcs12 $legacy -in "$SIGN_PFX" -passin env:SIGN_PASSWORD "$@" 2>/dev/null; }
    pkcs12 -noout && opened=yes && break
  done
  [ -n "$opened" ] || fail "cannot open $SIGN_PFX with SIGN_PASSWORD (a wrong password, or not a PKCS#12 file)"
  [[ $(pkcs12 -nocerts -nodes) == *"PRIVATE KEY"* ]] || fail "$SIGN_PFX holds no private key to sign with"
  subject=$(pkcs12 -nokeys -clcerts | openssl x509 -noout -subject 2>/dev/null) ||
    fail "$SIGN_PFX holds no certificate for its key"
  signing=${subject#subject=}
  signing=${signing# }
fi

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  # Outside a git checkout (a source archive): the time of CMakeLists.txt, which the archive kept.
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null || stat -c %Y CMakeLists.txt)
fi
export SOURCE_DATE_EPOCH
for preset in x64 x86; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target Quillon Lathmore >/dev/null
done

read -r version version_quad <build/x64/version.txt
name=QuillonLathmore-$version
out=$staging/$name
mkdir -p "$out/x64" "$out/x86"
for arch in x64 x86; do
  cp "build/$arch/bin/Quillon.dll" "build/$arch/bin/Lathmore.dll" "$out/$arch/"
done
# cmd reads a batch file with bare line feeds wrongly (a label can be missed): CR LF for each.
for script in install.cmd uninstall.cmd addins.cmd; do
  sed "s/@VERSION@/$version/g; s/\r*\$/\r/" "release/$script" >"$out/$script"
done
sed "s/@VERSION@/$version/g; s/\$/\r/" release/README.txt >"$out/README.txt"
sed 's/$/\r/' LICENSE >"$out/LICENSE.txt"
sed 's/$/\r/' CHANGELOG.md >"$out/CHANGELOG.txt"
if [ -n "$signing" ]; then
  for dll in "$out"/x64/*.dll "$out"/x86/*.dll; do bash scripts/sign.sh "$dll"; done
fi

# The zip: its entries in one order, with one time and one set of permissions, and no extra
# fields (zip -X), which would carry the builder's user and the files' access times.
find "$out" -type d -exec chmod 755 {} +
find "$out" -type f -exec chmod 644 {} +
find "$out" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
(cd "$staging" && find "$name" -type f | LC_ALL=C sort | TZ=UTC zip -q -X -D -@ "$name.zip")

# makensis warns of any file name with "setup" in it; the name is the one users look for.
nsis=(-V2 -DVERSION="$version" -DVERSION_QUAD="$version_quad" -DSOURCE="$root/$out"
      -DOUTFILE="$root/$staging/$name-setup.exe")
[ -n "$signing" ] && nsis+=(-DSIGN="$root/scripts/sign.sh")
if ! makensis "${nsis[@]}" release/setup.nsi >build/makensis.log 2>&1; then
  cat build/makensis.log >&2
  fail "makensis failed"
fi
[ -n "$signing" ] && bash scripts/sign.sh "$staging/$name-setup.exe"

(cd "$staging" && find . -type f ! -name SHA256SUMS | sed 's|^\./||' | LC_ALL=C sort |
   xargs -d '\n' sha256sum >SHA256SUMS)
mv "$staging" "$release"
how="unsigned (no SIGN_PFX given)"
[ -n "$signing" ] && how="signed by $signing"
echo "release $version: $release/$name-setup.exe ($(du -k "$release/$name-setup.exe" | cut -f1) KB)," \
  "$release/$name.zip, $release/$name/, $release/SHA256SUMS; $how"
