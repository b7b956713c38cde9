#!/usr/bin/env bash
# Fuzzes the record reader, the version pattern, the wildcard matcher, the caption builders and
# the line-feed count, each for a bounded time (default 60 s, or the first argument). Not part of
# the test run. Inputs that break a property are left in build/fuzz/findings/ to become tests.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

bash scripts/setup.sh
for package in clang-14 libclang-rt-14-dev; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends clang-14 libclang-rt-14-dev >/dev/null
    break
  fi
done
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz >/dev/null
mkdir -p build/fuzz/findings
status=0
for target in record_reader version_pattern wildcard captions line_feeds; do
  corpus=build/fuzz/corpus/$target
  mkdir -p "$corpus"
  if ./build/fuzz/fuzz/${target}_fuzz "$corpus" -max_total_time="$seconds" -max_len=4096 \
       -artifact_prefix=build/fuzz/findings/${target}- -print_final_stats=1 >build/fuzz/$target.log 2>&1; then
    echo "$target: $(grep -E 'stat::number_of_executed_units' build/fuzz/$target.log | awk '{print $2}') runs, no finding"
  else
    echo "$target: FINDING, see build/fuzz/findings/ and build/fuzz/$target.log"
    status=1
  fi
done
exit $status
