#!/usr/bin/env bash
# Evaluates catalogs on 1 to 4 threads, once and with repeated runs: every way prints exactly what
# one thread prints, with the same exit status. Under ThreadSanitizer (TSAN_OPTIONS set below) a
# report ends corehost with status 66.
# Usage: threads.sh COREHOST [EMULATOR...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# A hang (a deadlock among the threads) ends after five minutes rather than never.
corehost=(timeout 300 "${@:2}" "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TSAN_OPTIONS="halt_on_error=1 exitcode=66 ${TSAN_OPTIONS:-}"

"$here/catalog.sh" 2000 > "$work/generated.rules"
for catalog in "$here/../../examples/system.rules" "$work/generated.rules"; do
  for format in "" --json; do
    expected=0
    "${corehost[@]}" run --no-progress $format "$catalog" > "$work/out" 2> "$work/err" || expected=$?
    for jobs in 1 2 3 4; do
      for repeat in 1 3; do
        status=0
        "${corehost[@]}" run --no-progress $format --jobs "$jobs" --repeat "$repeat" "$catalog" \
          > "$work/out.$jobs" 2> "$work/err.$jobs" || status=$?
        if [ "$status" -ne "$expected" ] || ! cmp -s "$work/out" "$work/out.$jobs" ||
          ! cmp -s "$work/err" "$work/err.$jobs"; then
          echo "threads: $catalog $format --jobs $jobs --repeat $repeat: status $status," \
            "expected $expected" >&2
          diff "$work/out" "$work/out.$jobs" | head -5 >&2 || true
          diff "$work/err" "$work/err.$jobs" | head -20 >&2 || true
          exit 1
        fi
      done
    done
  done
  # Every thread writes trace records into the one sink (the last baseline is the JSON one).
  status=0
  "${corehost[@]}" run --no-progress --json --jobs 4 --trace="$work/trace" "$catalog" > "$work/out.trace" \
    2> /dev/null || status=$?
  if [ "$status" -gt 1 ] || ! cmp -s "$work/out" "$work/out.trace"; then
    echo "threads: $catalog --jobs 4 --trace: status $status" >&2
    exit 1
  fi
done
echo "threads: $(wc -l < "$work/generated.rules") + $(grep -c '^[A-Za-z_]' "$here/../../examples/system.rules") rules, --jobs 1 to 4, --repeat 1 and 3: same output"
