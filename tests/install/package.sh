#!/usr/bin/env bash
# The Debian package of `make package`, installed into this machine with dpkg, used from its
# installed paths and purged again. Since it changes the machine it runs only as root, never
# over an existing installation, one run at a time, and purges whatever it installed however it
# ends.
set -euo pipefail

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

skip() {
    echo "SKIP: $*"
    exit 77
}

[ "$(id -u)" = 0 ] || skip "installing a package with dpkg -i needs root"
for tool in cpack dpkg dpkg-deb dpkg-shlibdeps file flock man; do
    command -v "$tool" > /dev/null || skip "$tool is not installed"
done

prefix=/opt/coreplugin
work=$WORK-package
rm -rf "$work"
mkdir -p "$work"

# Waits for another package manager to finish rather than failing on its lock.
dpkg_waiting() {
    for _ in $(seq 60); do
        dpkg "$@" > "$work/dpkg.log" 2>&1 && return 0
        grep -q 'lock' "$work/dpkg.log" || { cat "$work/dpkg.log" >&2; return 1; }
        sleep 2
    done
    return 1
}

status() {
    dpkg-query -W -f='${db:Status-Status}' coreplugin 2> /dev/null || echo not-installed
}

exec 9> /tmp/coreplugin-package-test.lock
flock -w 900 9 || fail "another run of this test holds /tmp/coreplugin-package-test.lock"
[ "$(status)" = not-installed ] || skip "the package coreplugin is installed already"
[ ! -e "$prefix" ] || skip "$prefix exists and would be overwritten"

cpack --config "$COREPLUGIN_BUILD/CPackConfig.cmake" -B "$work" > "$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack failed"; }
deb=$(echo "$work"/coreplugin_*.deb)
[ -f "$deb" ] || fail "cpack made no package: $deb"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libgcc-s1 libstdc++6 libmount1; do
    grep -q "\b$library\b" <<< "$depends" || fail "Depends: $depends lacks $library"
done

trap '[ "$(status)" = not-installed ] || dpkg_waiting --purge coreplugin' EXIT
trap 'exit 1' INT TERM HUP
dpkg_waiting -i "$deb" || fail "dpkg -i $deb failed"

version=$("$prefix/bin/corehost" --version)
expected="corehost $VERSION
plug-in: CorePlugin 1.1.1.1 ($prefix/bin/../lib/libCorePlugin.so)"
[ "$version" = "$expected" ] || fail "corehost --version printed: $version"
"$prefix/bin/corehost" run "$prefix/share/coreplugin/examples/system.rules" > "$work/run.out" ||
    fail "the installed example catalog failed"
man -l "$prefix/share/man/man1/corehost.1" > /dev/null || fail "the installed man page"

dpkg_waiting --purge coreplugin || fail "dpkg --purge failed"
[ ! -e "$prefix" ] || fail "$prefix is left behind: $(find "$prefix" | head)"
