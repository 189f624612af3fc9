#!/usr/bin/env bash
# The installed package as a host meets it: the build installed into a fresh prefix holds the
# versioned library exporting its free functions, the headers under include/dvrkit only, the
# CMake package, the pkg-config file, the tool and its manual page; the example host builds
# against it through find_package and through pkg-config, neither naming a language standard
# (the package brings C++20), and runs: its own strings and icons read back through the library.
#   install_test.sh BUILD_DIR SOURCE_DIR [COMPILER FLAGS]
# Nothing of the tree is built again: the build's own library is installed. The work folder has a
# fixed place in the build tree, so that a compiler cache serves the example's next build.
set -euo pipefail
build=$1 source=$2 flags=${3:-}
work=$(realpath "$build")/install-test
rm -rf "$work"
mkdir -p "$work"
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
# Free functions a host calls first: a list of names in the version script once left them local.
exported=$(nm -DC --defined-only "$library")
for function in AfxAddResourceModule AfxFindString DvrkitVersion MonthFilePath SaveSurfacePng GetSysColor IsWindow \
                HostText EventPaneText EntryPaneText; do
  grep -qE " $function(\[abi:[a-z0-9]+\])?\(" <<<"$exported" || fail "the library does not export $function"
done
# Judged by the mangled name, since a demangled template of ours can begin with a return type from std.
! nm -D --defined-only "$library" | awk '{print $3}' | grep -E '^_Z(T[ISV])?(N[VKRO]*)?(St|9__gnu_cxx)' ||
  fail "the library exports the standard library's code"
grep -q -- '-std=c++20' "$libdir/pkgconfig/dvrkit.pc" || fail "dvrkit.pc does not ask for C++20"
version=$(grep -o 'project(dvrkit VERSION [0-9.]*' "$source/CMakeLists.txt" | awk '{print $NF}')
[ "$("$prefix/bin/dvrkit" --version)" = "$version" ] || fail "the installed tool's version is not the project's $version"

launcher=${CMAKE_CXX_COMPILER_LAUNCHER:-}
cmake -S "$source/examples/host" -B "$work/with-cmake" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_CXX_FLAGS="$flags" \
  ${launcher:+-DCMAKE_CXX_COMPILER_LAUNCHER="$launcher"} >/dev/null
cmake --build "$work/with-cmake" >/dev/null
mkdir "$work/folder-cmake"
"$work/with-cmake/dvrkit-example-host" "$work/folder-cmake"

export PKG_CONFIG_PATH=$libdir/pkgconfig
objects=()
for unit in main HostResources; do
  # shellcheck disable=SC2046,SC2086
  $launcher c++ $flags -c "$source/examples/host/$unit.cpp" -o "$work/$unit.o" $(pkg-config --cflags dvrkit)
  objects+=("$work/$unit.o")
done
# shellcheck disable=SC2046,SC2086
c++ $flags "${objects[@]}" -o "$work/with-pkg-config" $(pkg-config --libs dvrkit) -Wl,-rpath,"$libdir"
mkdir "$work/folder-pkg-config"
"$work/with-pkg-config" "$work/folder-pkg-config"
