#!/usr/bin/env bash
# Fails unless every DLL a Windows binary imports is one that Windows itself ships.
set -euo pipefail
objdump=$1
binary=$2
system='^(kernel32|user32|gdi32|advapi32|ole32|oleaut32|msvcrt|winmm|shell32|version|comctl32)\.dll$'
status=0
while read -r name; do
  lower=$(printf '%s' "$name" | tr 'A-Z' 'a-z')
  if [[ "$lower" =~ $system ]]; then
    echo "imports $name (system)"
  else
    echo "imports $name: NOT a system DLL"
    status=1
  fi
done < <("$objdump" -p "$binary" | sed -n 's/^\s*DLL Name: //p')
exit $status
