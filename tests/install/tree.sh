#!/usr/bin/env bash
# Installs the build into a scratch prefix, then moves the tree somewhere else: the tests after
# this one use it from a place that no build or install step ever wrote into a file.
source "$(dirname "$0")/common.sh"

rm -rf "$WORK"
cmake --install "$COREPLUGIN_BUILD" --prefix "$WORK/staged" > "$WORK.log" ||
    { cat "$WORK.log"; fail "cmake --install failed"; }
mkdir -p "$WORK/moved"
mv "$WORK/staged" "$tree"

for file in bin/corehost \
    include/CorePluginSDK/PluginSDK/Plugin.h include/CorePluginSDK/base/String.h \
    include/CorePluginSDK/tracing/Tracer.h \
    lib/cmake/CorePluginSDK/CorePluginSDKConfig.cmake lib/pkgconfig/corepluginsdk.pc \
    share/man/man1/corehost.1 share/doc/coreplugin/README.md share/doc/coreplugin/cli.md \
    share/coreplugin/examples/system.rules share/coreplugin/examples/plugin-hello/CMakeLists.txt; do
    [ -f "$tree/$file" ] || fail "$file is not installed"
done
libraries=$(cd "$tree/lib" && echo *.so)
[ "$libraries" = "libCorePlugin.so libbase.so libplugin.so libtracing.so" ] ||
    fail "lib/ holds $libraries"

# Every binary finds its libraries relative to itself, never in the build tree.
cd "$tree"
for binary in bin/corehost lib/*.so; do
    runpath=$(readelf -d "$binary" | sed -n 's/.*(R[UN]*PATH).*\[\(.*\)\]/\1/p')
    [ "$runpath" = '$ORIGIN/../lib' ] || fail "$binary has the run path '$runpath'"
done
