#!/usr/bin/env bash
# Builds dvrkit for another processor with Debian's cross compiler and runs its test suite there
# under qemu-user (the tests and every program they start go through CMAKE_CROSSCOMPILING_EMULATOR).
#   bash scripts/cross-test.sh ARCH [ctest arguments...]   ARCH: aarch64, armhf or s390x
# Installs what is missing first (as root): the architecture in dpkg, the cross compiler,
# qemu-user and the target's development packages. Builds in build-ARCH, without benchmarks.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

usage() {
  echo "usage: bash scripts/cross-test.sh aarch64|armhf|s390x [ctest arguments...]" >&2
  exit 2
}
[ $# -ge 1 ] || usage
arch=$1
shift
case "$arch" in
  aarch64) debian=arm64 triplet=aarch64-linux-gnu ;;
  armhf) debian=armhf triplet=arm-linux-gnueabihf ;;
  s390x) debian=s390x triplet=s390x-linux-gnu ;;
  *) usage ;;
esac
build="$root/build-$arch"

# The target's libraries the library and its tests link.
target_dev=(libfreetype-dev libfontconfig-dev libpng-dev libgtest-dev libgmock-dev libssl-dev zlib1g-dev librelp-dev)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "ok installed"; }

apt_install() {
  [ "$(id -u)" -eq 0 ] || { echo "cross-test: missing $*; run as root to install" >&2; exit 1; }
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "$@" >/dev/null
}

if ! dpkg --print-foreign-architectures | grep -qx "$debian"; then
  [ "$(id -u)" -eq 0 ] || { echo "cross-test: dpkg lacks the $debian architecture; run as root" >&2; exit 1; }
  dpkg --add-architecture "$debian"
fi
host_missing=()
for p in "g++-$triplet" qemu-user; do installed "$p" || host_missing+=("$p"); done
[ ${#host_missing[@]} -eq 0 ] || apt_install "${host_missing[@]}"

if [ "$debian" = s390x ]; then
  # Debian's s390x packages trail this machine's security updates, and multiarch installs a
  # library only in the same version for every architecture: they are unpacked into a folder
  # of their own instead (scripts/target-root.sh), which the toolchain file and qemu use.
  export DVRKIT_TARGET_ROOT="$build-root"
  bash scripts/target-root.sh "$debian" "$DVRKIT_TARGET_ROOT" "${target_dev[@]}" nlohmann-json3-dev libcli11-dev
else
  # The C++ library the programs run with, of the same architecture's packages as the C library
  # and its loader (cmake/CrossDebian.cmake says why they must not be the cross compiler's).
  target_missing=()
  for p in "${target_dev[@]}" libstdc++6; do installed "$p:$debian" || target_missing+=("$p:$debian"); done
  [ ${#target_missing[@]} -eq 0 ] || apt_install "${target_missing[@]}"
fi

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DDVRKIT_WERROR=ON -DDVRKIT_BENCH=OFF >/dev/null
fi
if [ "$arch" != s390x ]; then
  cmake --build "$build" -j"$(nproc)"
  ctest --test-dir "$build" --output-on-failure -j"$(nproc)" "$@"
  exit
fi

# On the big-endian target: the programs of the stored formats (month files, logs, events,
# first-generation entries, the cipher's containers), CRC-32, base64 and MIME, and the calendar's
# model; not the windows, the SDL2 backend or the mail server's conversations, which store nothing.
programs=(core_tests module_tests log2_tests event_tests log1_tests crypt_tests calendar_tests
  mail_compose_test format_samples_test)
cmake --build "$build" -j"$(nproc)" --target dvrkit_cli "${programs[@]}"
samples="$build/format-samples"
rm -rf "$samples"
labels=$(IFS='|'; echo "^(${programs[*]})\$")
DVRKIT_FORMAT_SAMPLES="$samples" ctest --test-dir "$build" --output-on-failure -j"$(nproc)" -L "$labels" "$@"
# What the target wrote, compared here with the files the little-endian build wrote.
diff -r "$root/tests/formats/samples" "$samples"
echo "cross-test: the files written on $arch are byte for byte those of tests/formats/samples"
