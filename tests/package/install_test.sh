#!/usr/bin/env bash
# Installs the built tree into a fresh prefix, then builds and runs against
# the installed files only: a C++ host through find_package(kelruk) and
# through pkg-config, and the README's Java example.
set -euo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
unset LD_LIBRARY_PATH
cmake --install "$build" --prefix "$prefix" > "$work/install.log"

cmake -S "$here/consumer" -B "$work/consumer" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" > "$work/configure.log"
cmake --build "$work/consumer" > "$work/build.log"
library=$(find "$prefix" -name libkelruk.so)
[ "$("$work/consumer/consumer" 2>/dev/null)" = "ff0000 000000" ]

export PKG_CONFIG_PATH=$(dirname "$(find "$prefix" -name kelruk.pc)")
g++ -std=c++20 "$here/consumer/host.cpp" $(pkg-config --cflags --libs kelruk) -o "$work/pkgconfig-host"
[ "$("$work/pkgconfig-host" "$(pkg-config --variable=library kelruk)" 2>/dev/null)" = "ff0000 000000" ]

# The README shows the example as it is here.
readme=$here/../../README.md
diff <(awk '/^```java$/ {on = 1; next} /^```$/ {on = 0} on' "$readme") "$here/Example.java"

jar=$(pkg-config --variable=jar kelruk)
mkdir "$work/java"
cp "$here/Example.java" "$work/java/"
cd "$work/java"
javac -cp "$jar" Example.java
java -Xmx256m -cp "$jar:." Example 2>/dev/null
[ "$(head -c 8 pyramid.png | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ]
echo "installed: $library, $jar; the C++ host and the Java example ran against them"
