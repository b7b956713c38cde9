#!/usr/bin/env bash
# Every caption and message Quillon shows, and Lathmore's command and its fixed texts, appear in the README exactly as the code has it;
# a changed text fails here until the README says the same.
set -euo pipefail
root=$1
# As it renders: a line break inside a paragraph is a space.
readme=$(tr '\n' ' ' <"$root/README.md" | tr -s ' ')
missing=0
count=0
while IFS= read -r text; do
  count=$((count + 1))
  if [[ "$readme" != *"$text"* ]]; then
    echo "README.md does not quote: $text"
    missing=$((missing + 1))
  fi
done < <(grep -ohE 'u"[^"]+"' "$root/quillon/messages.h" "$root/quillon/toolbar_layout.cpp" "$root/lathmore/repair_message.h" | sed -E 's/^u"(.*)"$/\1/' | sed 's/^ //')
echo "$count texts, $missing missing from the README"
[ "$missing" -eq 0 ] && [ "$count" -gt 0 ]
