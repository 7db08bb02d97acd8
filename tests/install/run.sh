#!/usr/bin/env bash
# corehost from the moved install tree: it finds its plug-in and libraries, and the installed
# example catalog evaluates.
source "$(dirname "$0")/common.sh"

version=$(corehost --version)
expected="corehost $VERSION
plug-in: CorePlugin 1.1.1.1 ($tree/bin/../lib/libCorePlugin.so)"
[ "$version" = "$expected" ] || fail "corehost --version printed: $version"

corehost run --json "$tree/share/coreplugin/examples/system.rules" > "$WORK/run.out" ||
    fail "the example catalog failed: $(cat "$WORK/run.out")"
[ -s "$WORK/run.out" ] || fail "the example catalog printed nothing"

names=$(corehost list | grep -c '  CorePlugin$' || true)
[ "$names" = 33 ] || fail "corehost list shows $names names of CorePlugin"
