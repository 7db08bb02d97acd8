#!/usr/bin/env bash
# corehost under valgrind's memcheck over examples/system.rules and a generated catalog of every
# expression, plain and as explained JSON, on one and two threads: no error, and no byte
# definitely or indirectly lost.
# Usage: memcheck.sh COREHOST
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
corehost=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$here/catalog.sh" 1000 > "$work/generated.rules"
memcheck=(timeout 600 valgrind --quiet --error-exitcode=99 --leak-check=full
  --errors-for-leak-kinds=definite,indirect --show-leak-kinds=definite,indirect
  --suppressions="$here/valgrind.supp")
for catalog in "$here/../../examples/system.rules" "$work/generated.rules"; do
  for options in "" "--json --explain --jobs 2"; do
    status=0
    # shellcheck disable=SC2086
    "${memcheck[@]}" "$corehost" run --no-progress $options "$catalog" > /dev/null \
      2> "$work/err" || status=$?
    # Rules may fail (status 1); valgrind's findings end it with 99.
    if [ "$status" -gt 1 ]; then
      cat "$work/err" >&2
      echo "memcheck: $catalog $options: status $status" >&2
      exit 1
    fi
  done
done
echo "memcheck: no error, nothing definitely or indirectly lost"
