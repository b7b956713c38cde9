#!/usr/bin/env bash
# Signs one Windows program or DLL in place with the release certificate (Authenticode, SHA-256):
#   SIGN_PFX=<file.pfx> SIGN_PASSWORD=<password> [SIGN_TIMESTAMP_URL=<RFC 3161 server>] sign.sh <file>
# The file is replaced only by a signed copy that osslsigncode wrote completely; on any failure it
# is left as it was and the reason goes to standard error. The password reaches osslsigncode in a
# file only this user can read, never on a command line that other users' process lists show.
set -euo pipefail

file=${1:?usage: sign.sh <file>}
fail() { echo "sign: $file: $*" >&2; exit 1; }
[ -n "${SIGN_PFX:-}" ] || fail "SIGN_PFX is not set"
[ -f "$SIGN_PFX" ] || fail "no certificate file $SIGN_PFX"
[ -f "$file" ] || fail "no such file"

work=$(umask 077 && mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '%s' "${SIGN_PASSWORD:-}" >"$work/password"
timestamp=()
[ -n "${SIGN_TIMESTAMP_URL:-}" ] && timestamp=(-ts "$SIGN_TIMESTAMP_URL")
if ! osslsigncode sign -pkcs12 "$SIGN_PFX" -readpass "$work/password" -h sha256 \
       -n "Quillon and Lathmore" "${timestamp[@]}" -in "$file" -out "$work/signed" \
       >"$work/log" 2>&1; then
  fail "osslsigncode could not sign it: $(grep -v '^$' "$work/log" | tail -n 3 | paste -sd' ')"
fi
# A signature whose digest is not the file's would be refused by Windows: checked before it counts.
report=$(osslsigncode verify -in "$work/signed" 2>&1 || true)
current=$(sed -n 's/^Current message digest *: *\([0-9A-F]*\).*/\1/p' <<<"$report" | head -n 1)
calculated=$(sed -n 's/^Calculated message digest *: *\([0-9A-F]*\).*/\1/p' <<<"$report" | head -n 1)
[ -n "$current" ] && [ "$current" = "$calculated" ] || fail "the signed copy does not verify"
cat "$work/signed" >"$file.signing"
mv -f "$file.signing" "$file"
