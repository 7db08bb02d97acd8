#!/usr/bin/env bash
# examples/plugin-hello built outside the tree against the installed SDK, once with its CMake
# package and once with pkg-config, and evaluated by corehost beside CorePlugin.
source "$(dirname "$0")/common.sh"

build=$WORK/hello
rm -rf "$build"
cmake -S "$COREPLUGIN_SOURCE/examples/plugin-hello" -B "$build/cmake" \
    -DCMAKE_PREFIX_PATH="$tree" ${TOOLCHAIN:+-DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN"} \
    -DCMAKE_CXX_COMPILER="$CXX" -DCMAKE_CXX_FLAGS="$CXXFLAGS -Wall -Wextra -Werror" \
    > "$build.log" 2>&1 || { cat "$build.log"; fail "configuring plugin-hello failed"; }
cmake --build "$build/cmake" >> "$build.log" 2>&1 || { cat "$build.log"; fail "building failed"; }

flags=$(PKG_CONFIG_PATH="$tree/lib/pkgconfig" pkg-config --cflags --libs corepluginsdk)
# shellcheck disable=SC2086
"$CXX" $CXXFLAGS -std=c++20 -Wall -Wextra -Werror -shared -fPIC -fvisibility=hidden \
    "$COREPLUGIN_SOURCE/examples/plugin-hello/HelloPlugin.cpp" $flags \
    -o "$build/libHelloPlugin.so" || fail "building with pkg-config failed"

for module in "$build/cmake/libHelloPlugin.so" "$build/libHelloPlugin.so"; do
    result=$(corehost eval --plugin "$module" --plugin libCorePlugin.so \
        'Concat(Hello(name=SDK), ValueOf(value=" and CorePlugin"))') ||
        fail "evaluating with $module failed"
    [ "$result" = "Hello, SDK! and CorePlugin" ] || fail "$module evaluated to: $result"
done
listed=$(corehost list --plugin "$build/libHelloPlugin.so" | tr -s ' ')
[ "$listed" = "Hello HelloPlugin" ] || fail "corehost list printed: $listed"
