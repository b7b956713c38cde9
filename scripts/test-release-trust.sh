#!/usr/bin/env bash
# What lets a user trust a download, without Wine: two clean clones of this commit, in two folders
# and at least a minute apart, build byte-identical releases; SHA256SUMS checks; the version in
# the DLLs, in setup.exe and in the file names is the project's; a release signed with a
# throwaway certificate verifies against it, file by file, and each signed DLL less its signature
# is the unsigned one; a wrong password, a missing file, a certificate without its key and a
# signature that fails half-way each stop the release with the reason and leave no output.
# Leaves the signed release in build/release-trust/signed for test-release.sh to install.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

source scripts/checks.sh

# The version as the project states it, read here on its own to check what the build made of it.
version=$(sed -n 's/^project(EditorAddins .*VERSION \([0-9][0-9.]*\)).*/\1/p' CMakeLists.txt)
name=QuillonLathmore-$version
work=$root/build/release-trust
rm -rf "$work"
mkdir -p "$work"
if ! git rev-parse --verify -q HEAD >/dev/null 2>&1; then
  echo "release trust: skipped, not a git checkout: there is no commit to clone twice"
  exit 0
fi
[ -z "$(git status --porcelain --untracked-files=no)" ] ||
  echo "note: the clones build the last commit; uncommitted changes are not in them"

first="$work/first (copy)"
second="$work/second/copy two"
git clone -q "$root" "$first"
git clone -q "$root" "$second"
started=$(date +%s)
(cd "$first" && bash scripts/release.sh)
cp -r "$first/build/release" "$work/unsigned"
# Two builds at least a minute apart: a time that leaked into a file would differ between them.
wait=$((started + 60 - $(date +%s)))
[ "$wait" -gt 0 ] && sleep "$wait"
(cd "$second" && bash scripts/release.sh)

echo "two clean clones, two folders, two times:"
files=$(cd "$work/unsigned" && sed 's/^[0-9a-f]*  //' SHA256SUMS)
check "SHA256SUMS lists the setup, the zip and the folder's 10 files" test "$(wc -l <<<"$files")" -eq 12
for file in $files; do
  check "$file: the same bytes from both clones" cmp "$work/unsigned/$file" "$second/build/release/$file"
done
check "SHA256SUMS is the same" cmp "$work/unsigned/SHA256SUMS" "$second/build/release/SHA256SUMS"
check "sha256sum -c SHA256SUMS passes" bash -c "cd '$work/unsigned' && sha256sum -c --strict SHA256SUMS"
for file in $name/x64/Quillon.dll $name/x64/Lathmore.dll $name/x86/Quillon.dll $name/x86/Lathmore.dll; do
  check "$file names no build folder" bash -c "! strings -a '$work/unsigned/$file' | grep -q 'first (copy)\|copy two'"
done

echo "one version, $version:"
check "the project states a version" test -n "$version"
check "setup.exe is named with it" test -f "$work/unsigned/$name-setup.exe"
check "the zip is named with it" test -f "$work/unsigned/$name.zip"
check "README.txt names setup.exe with it" grep -q "$name-setup.exe" "$work/unsigned/$name/README.txt"
quad=$version
while [[ $(tr -cd . <<<"$quad") != ... ]]; do quad+=.0; done
# windres reads a file's resources back as a resource script.
resources() {  # windres, file
  "$1" -i "$2" -O rc 2>/dev/null | tr -d '\r'
}
for dll in x64/Quillon.dll x64/Lathmore.dll x86/Quillon.dll x86/Lathmore.dll; do
  windres=x86_64-w64-mingw32-windres
  [[ $dll == x86/* ]] && windres=i686-w64-mingw32-windres
  rc=$(resources "$windres" "$work/unsigned/$name/$dll")
  check "$dll: FILEVERSION ${quad//./,}" grep -q "^ *FILEVERSION ${quad//./, }\$" <<<"$rc"
  check "$dll: its FileVersion text is $version" grep -q "VALUE \"FileVersion\", \"$version\"" <<<"$rc"
  check "$dll: its ProductVersion text is $version" grep -q "VALUE \"ProductVersion\", \"$version\"" <<<"$rc"
done
rc=$(resources i686-w64-mingw32-windres "$work/unsigned/$name-setup.exe")
check "setup.exe: PRODUCTVERSION ${quad//./,}" grep -q "^ *PRODUCTVERSION ${quad//./, }\$" <<<"$rc"
check "setup.exe: its ProductVersion text is $version" grep -q "VALUE \"ProductVersion\", \"$version\"" <<<"$rc"

echo "signed with a throwaway certificate:"
cert=$work/certificate
mkdir -p "$cert"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Razurid release test/O=Razurid" \
  -addext extendedKeyUsage=codeSigning -keyout "$cert/key.pem" -out "$cert/cert.pem" 2>/dev/null
password='a password with spaces & $igns!'
openssl pkcs12 -export -inkey "$cert/key.pem" -in "$cert/cert.pem" -out "$cert/release.pfx" \
  -passout "pass:$password"
openssl pkcs12 -export -nokeys -in "$cert/cert.pem" -out "$cert/nokey.pfx" -passout "pass:$password"
release_says() {  # what its last line must say, then the variables to run release.sh with
  local says=$1 output
  shift
  output=$(cd "$first" && env "$@" bash scripts/release.sh 2>&1) || true
  grep -qF -- "$says" <<<"$(tail -n 1 <<<"$output")"
}
no_output() {
  test ! -e "$first/build/release" && test ! -e "$first/build/release.partial"
}
check "the signed release says who signed it" \
  release_says "signed by CN = Razurid release test, O = Razurid" SIGN_PFX="$cert/release.pfx" SIGN_PASSWORD="$password"
signed=$work/signed
cp -r "$first/build/release" "$signed"
check "sha256sum -c SHA256SUMS passes for the signed release" bash -c "cd '$signed' && sha256sum -c --strict SHA256SUMS"
verified() {  # file
  osslsigncode verify -CAfile "$cert/cert.pem" -in "$1" 2>&1 | grep -qx 'Signature verification: ok'
}
for file in "$name-setup.exe" "$name/x64/Quillon.dll" "$name/x64/Lathmore.dll" \
            "$name/x86/Quillon.dll" "$name/x86/Lathmore.dll"; do
  check "$file: its signature verifies against the certificate" verified "$signed/$file"
  check "$file: SHA-256" bash -c "osslsigncode verify -in '$signed/$file' 2>&1 | grep -q 'Message digest algorithm  : SHA256'"
done
check "an unsigned file does not verify" bash -c "! osslsigncode verify -CAfile '$cert/cert.pem' -in '$work/unsigned/$name/x64/Quillon.dll' >/dev/null 2>&1"
for dll in x64/Quillon.dll x64/Lathmore.dll x86/Quillon.dll x86/Lathmore.dll; do
  rm -f "$work/removed.dll"
  osslsigncode remove-signature -in "$signed/$name/$dll" -out "$work/removed.dll" >/dev/null 2>&1 || true
  check "$dll less its signature is the unsigned build" cmp "$work/removed.dll" "$work/unsigned/$name/$dll"
done
zipped=$(cd "$work" && rm -rf unzipped && mkdir unzipped && cd unzipped && unzip -q "$signed/$name.zip" && echo ok)
check "the zip holds the signed DLLs" test "$zipped" = ok
check "the zip's x64\\Quillon.dll is the signed one" cmp "$work/unzipped/$name/x64/Quillon.dll" "$signed/$name/x64/Quillon.dll"

echo "signing that cannot go through:"
check "a wrong password stops the release and says so" \
  release_says "wrong password" SIGN_PFX="$cert/release.pfx" SIGN_PASSWORD="not it"
check "after a wrong password no output is left" no_output
check "a missing certificate file stops the release and says so" \
  release_says "no certificate file" SIGN_PFX="$cert/missing.pfx" SIGN_PASSWORD="$password"
check "after a missing certificate no output is left" no_output
check "a certificate without its key stops the release and says so" \
  release_says "holds no private key" SIGN_PFX="$cert/nokey.pfx" SIGN_PASSWORD="$password"
check "after a certificate without its key no output is left" no_output
# osslsigncode failing on setup.exe, the last file signed, when the DLLs already are.
mkdir -p "$work/failing"
cat >"$work/failing/osslsigncode" <<EOF
#!/bin/sh
case "\$*" in *-setup.exe*) echo "Failed to read the file (a test's failure)" >&2; exit 1 ;; esac
exec $(command -v osslsigncode) "\$@"
EOF
chmod +x "$work/failing/osslsigncode"
check "a signature failing half-way stops the release with osslsigncode's reason" \
  release_says "a test's failure" PATH="$work/failing:$PATH" SIGN_PFX="$cert/release.pfx" SIGN_PASSWORD="$password"
check "after a signature failing half-way no output is left" no_output

rm -rf "$first/build" "$second/build" "$work/unzipped" "$work/removed.dll"
echo "release trust: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
