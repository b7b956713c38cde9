#!/usr/bin/env bash
# The release under Wine: install.cmd registers both add-ins in both bitnesses for the user,
# uninstall.cmd removes them again, and both succeed when run twice. Both run the 32-bit
# regsvr32 too: where this machine runs no 32-bit programs they are skipped, and only the DLLs'
# imports are checked.
set -euo pipefail
cd "$(dirname "$0")/.."

folder=build/release/QuillonLathmore-1.0
[ -d "$folder" ] || bash scripts/release.sh
prefix="$PWD/build/release/wineprefix"
bash scripts/wine-prefix.sh start "$prefix"
trap 'bash scripts/wine-prefix.sh stop "$prefix"' EXIT
export WINEPREFIX="$prefix"
root=$PWD
wine() { "$root/scripts/wine" "$@"; }

passed=0
failed=0
skipped=0
check() {  # description, then the command that must succeed
  local what=$1
  shift
  if "$@" >/dev/null 2>&1; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $what"
  fi
}
key() { wine reg query "$1" "/reg:$2"; }
value_is() { wine reg query "$1" /v "$2" "/reg:$3" | tr -d '\r' | grep -Eq "^ +$2 +$4\$"; }
# The editor reads both as numbers: REG_DWORD, load at start-up, not command-line safe.
check_dwords() {
  check "$1 LoadBehavior is REG_DWORD 1 ($2-bit view)" value_is "$1" LoadBehavior "$2" "REG_DWORD +0x1"
  check "$1 CommandLineSafe is REG_DWORD 0 ($2-bit view)" value_is "$1" CommandLineSafe "$2" "REG_DWORD +0x0"
}
no_key() { ! wine reg query "$1" "/reg:$2"; }
# Runs a script of the release folder, shows what it said, and checks its exit code.
run() {
  local output code=0
  output=$(cd "$folder" && wine cmd /c "$1" </dev/null) || code=$?
  printf '%s\n' "$output" | tr -d '\r' | sed 's/^/  /'
  check "$1 exits 0 ($2)" test "$code" -eq 0
}

vbe='HKCU\Software\Microsoft\VBA\VBE\6.0'
classes='HKCU\Software\Classes'
keys64=("$vbe\\Addins64\\Quillon.dsrQuillon" "$vbe\\Addins64\\Vodavove.Connect")
keys32=("$vbe\\Addins\\Quillon.dsrQuillon" "$vbe\\Addins\\Vodavove.Connect")
# Wine keeps one per-user CLSID tree for both bitnesses.
class_keys=("$classes\\Quillon.dsrQuillon" "$classes\\Vodavove.Connect"
            "$classes\\CLSID\\{FFAAD1C9-3796-4A55-8BDB-D15800F089F6}"
            "$classes\\CLSID\\{0F1C8538-EB88-4CBC-B3AD-765D2584B7C7}")

install_and_uninstall() {
for round in 1 2; do
  echo "install.cmd, run $round:"
  run install.cmd "run $round"
  for k in "${keys64[@]}" "${class_keys[@]}"; do check "after install: $k (64-bit view)" key "$k" 64; done
  for k in "${keys32[@]}"; do check "after install: $k (32-bit view)" key "$k" 32; done
  for k in "${keys64[@]}"; do check_dwords "$k" 64; done
  for k in "${keys32[@]}"; do check_dwords "$k" 32; done
done
for round in 1 2; do
  echo "uninstall.cmd, run $round:"
  run uninstall.cmd "run $round"
  for k in "${keys64[@]}" "${class_keys[@]}"; do check "after uninstall: no $k (64-bit view)" no_key "$k" 64; done
  for k in "${keys32[@]}"; do check "after uninstall: no $k (32-bit view)" no_key "$k" 32; done
done
}
if reason=$(scripts/wine --why-no-x86); then
  echo "skipped: install.cmd and uninstall.cmd, which register the 32-bit DLLs too: $reason"
  skipped=$((skipped + 1))
else
  install_and_uninstall
fi
for dll in "$folder"/x64/*.dll "$folder"/x86/*.dll; do
  objdump=x86_64-w64-mingw32-objdump
  [[ $dll == */x86/* ]] && objdump=i686-w64-mingw32-objdump
  check "$dll imports only system DLLs" bash scripts/check-imports.sh "$objdump" "$dll"
done
echo "release: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
