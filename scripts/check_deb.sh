#!/usr/bin/env bash
# Makes the Debian package of a release build and checks it as a fresh machine would meet it:
# installed with dpkg into a throw-away root (its own package database, so this machine's is
# untouched), the tool answers --version, and the example host builds against the installed
# package and runs. A cross build's package (scripts/cross-test.sh; arm64, armhf) is unpacked
# into the root instead, and its tool answers --version under qemu-user with the root's library.
#   scripts/check_deb.sh [BUILD_DIR]   (default: build; build-aarch64 or build-armhf for those)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$build" && cpack -G DEB -B "$work/package" > /dev/null)
deb=$(find "$work/package" -maxdepth 1 -name 'dvrkit_*.deb')
dpkg-deb --info "$deb" | sed -n 's/^ *\(Package\|Version\|Architecture\|Depends\):/&/p'

root=$work/root
arch=$(dpkg-deb --field "$deb" Architecture)
if [ "$arch" != "$(dpkg --print-architecture)" ]; then
  dpkg-deb -x "$deb" "$root"
  triplet=$(dpkg-architecture -a"$arch" -qDEB_HOST_MULTIARCH 2>/dev/null)
  cpu=$(dpkg-architecture -a"$arch" -qDEB_HOST_GNU_CPU 2>/dev/null)
  # The C library is this machine's multiarch one of that architecture, as on the target.
  qemu-"$cpu" -E LD_LIBRARY_PATH="$root/usr/lib/$triplet" "$root/usr/bin/dvrkit" --version
  echo "the $arch package unpacks and its tool runs"
  exit 0
fi
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
