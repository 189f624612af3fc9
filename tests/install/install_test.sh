#!/usr/bin/env bash
# The installed package as a host meets it: the build installed into a fresh prefix holds the
# versioned library, the headers under include/dvrkit only, the CMake package, the pkg-config
# file, the tool and its manual page; the example host builds against it both through
# find_package and through pkg-config, and runs.
#   install_test.sh BUILD_DIR SOURCE_DIR [COMPILER FLAGS]
set -euo pipefail
build=$1 source=$2 flags=${3:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
fail() { echo "install_test: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
library=$(find "$prefix" -name 'libdvrkit.so.*.*.*' -type f)
[ -n "$library" ] || fail "no versioned libdvrkit.so.X.Y.Z installed"
libdir=$(dirname "$library")
soname=$(objdump -p "$library" | awk '$1 == "SONAME" {print $2}')
[ "$soname" = "$(basename "${library%.*.*}")" ] || fail "SONAME is '$soname'"
[ "$(readlink "$libdir/libdvrkit.so")" = "$soname" ] || fail "libdvrkit.so does not point at $soname"
[ "$(ls "$prefix/include")" = dvrkit ] || fail "include/ holds more than dvrkit/: $(ls "$prefix/include")"
[ -f "$prefix/include/dvrkit/log2/CLogManager2.h" ] || fail "no include/dvrkit/log2/CLogManager2.h"
[ -f "$libdir/cmake/dvrkit/dvrkitConfig.cmake" ] || fail "no CMake package"
[ -f "$libdir/pkgconfig/dvrkit.pc" ] || fail "no pkg-config file"
grep -q '^\.SH LOG2' "$prefix/share/man/man1/dvrkit.1" || fail "the manual page lacks the log2 commands"
version=$(grep -o 'project(dvrkit VERSION [0-9.]*' "$source/CMakeLists.txt" | awk '{print $NF}')
[ "$("$prefix/bin/dvrkit" --version)" = "$version" ] || fail "the installed tool's version is not the project's $version"

cmake -S "$source/examples/host" -B "$work/with-cmake" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_CXX_FLAGS="$flags" \
  >/dev/null
cmake --build "$work/with-cmake" >/dev/null
mkdir "$work/folder-cmake"
"$work/with-cmake/dvrkit-example-host" "$work/folder-cmake"

export PKG_CONFIG_PATH=$libdir/pkgconfig
# shellcheck disable=SC2046,SC2086
c++ -std=c++20 $flags "$source/examples/host/main.cpp" -o "$work/with-pkg-config" \
  $(pkg-config --cflags --libs dvrkit) -Wl,-rpath,"$libdir"
mkdir "$work/folder-pkg-config"
"$work/with-pkg-config" "$work/folder-pkg-config"
