#!/usr/bin/env bash
# The installed man page renders without warnings and names every option that --help offers.
source "$(dirname "$0")/common.sh"

# In a UTF-8 locale a hyphen written without a backslash renders as U+2010, which a reader could
# not paste back into a shell: the option search below catches it.
rendered=$(LC_ALL=C.UTF-8 MANWIDTH=100 man --warnings -l "$tree/share/man/man1/corehost.1" \
    2> "$WORK/man.err") || fail "man -l failed: $(cat "$WORK/man.err")"
[ ! -s "$WORK/man.err" ] || fail "man -l warned: $(cat "$WORK/man.err")"
grep -q '^SYNOPSIS' <<< "$rendered" || fail "the page has no SYNOPSIS"

for command in "" eval run list; do
    # shellcheck disable=SC2086
    for option in $(corehost $command --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
        grep -q -- "$option" <<< "$rendered" || fail "the page lacks $option ($command)"
    done
done
