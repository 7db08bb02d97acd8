# Shared by the install tests: where the installed tree is, and corehost run from it (under the
# emulator in the ILP32 build). Every test gets its settings from CTest's environment.
set -euo pipefail

tree=$WORK/moved/tree

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

corehost() {
    # The emulator's words are meant to split.
    # shellcheck disable=SC2086
    $COREHOST_EMULATOR "$tree/bin/corehost" "$@"
}
