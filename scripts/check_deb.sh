#!/usr/bin/env bash
# Makes the Debian package of a release build and checks it as a fresh machine would meet it:
# installed with dpkg into a throw-away root (its own package database, so this machine's is
# untouched), the tool answers --version, and the example host builds against the installed
# package and runs.
#   scripts/check_deb.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$build" && cpack -G DEB -B "$work/package" > /dev/null)
deb=$(find "$work/package" -maxdepth 1 -name 'dvrkit_*.deb')
dpkg-deb --info "$deb" | sed -n 's/^ *\(Package\|Version\|Depends\):/&/p'

root=$work/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status"
# The root holds no other package: the dependencies are this machine's, and the maintainer
# scripts (ldconfig) run outside it.
dpkg --root="$root" --force-depends --force-not-root --force-script-chrootless --log=/dev/null -i "$deb" \
  > /dev/null 2>&1 || dpkg --root="$root" --audit
dpkg --root="$root" -L dvrkit | grep -E '/(bin/dvrkit|libdvrkit\.so.*|dvrkit\.pc|dvrkitConfig\.cmake|dvrkit\.1.*)$'

export LD_LIBRARY_PATH=$root/usr/lib
"$root/usr/bin/dvrkit" --version
cmake -S examples/host -B "$work/example" -DCMAKE_PREFIX_PATH="$root/usr" > /dev/null
cmake --build "$work/example" > /dev/null
mkdir "$work/folder"
"$work/example/dvrkit-example-host" "$work/folder"
echo "the package installs and runs"
