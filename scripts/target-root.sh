#!/usr/bin/env bash
# Unpacks Debian packages of another architecture, with the libraries they depend on, into a
# folder that a cross build links against and qemu loads from, without installing them.
#   bash scripts/target-root.sh DEBIAN_ARCH FOLDER PACKAGE...
# Does nothing when FOLDER already holds them all. Uses only apt-get download and dpkg-deb.
set -euo pipefail
[ $# -ge 3 ] || { echo "usage: bash scripts/target-root.sh DEBIAN_ARCH FOLDER PACKAGE..." >&2; exit 2; }
arch=$1 folder=$2
shift 2
stamp="$folder/.packages"
[ -f "$stamp" ] && [ "$(cat "$stamp")" = "$*" ] && exit 0

# Headers-only packages are the same for every architecture and are taken as they are.
common=() specific=()
for p in "$@"; do
  if apt-cache show --no-all-versions "$p" | grep -x 'Architecture: all' >/dev/null; then common+=("$p"); else specific+=("$p:$arch"); fi
done
# The others and what they depend on, for that architecture, less what the cross C library
# (libc6-dev-*-cross) and compiler already give.
mapfile -t wanted < <(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
    --no-replaces --no-enhances "${specific[@]}" 2>/dev/null |
  sed -n "s/^\([a-z0-9][a-z0-9.+-]*\):$arch\$/\1/p" | sort -u |
  grep -vxE 'libc6|libc6-dev|libgcc-s1|libstdc\+\+6|libc-dev-bin|linux-libc-dev|libcrypt1|libcrypt-dev|libnsl2|libnsl-dev|libtirpc3|libtirpc-dev|libtirpc-common|gcc-12-base|debconf|dpkg|tar|perl-base|install-info')

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"  # apt-get download fetches as its own user
(cd "$work" && apt-get download -qq "${wanted[@]/%/:$arch}" "${common[@]}" >/dev/null)
rm -rf "$folder"
mkdir -p "$folder"
for deb in "$work"/*.deb; do dpkg-deb -x "$deb" "$folder"; done
# One library folder, as on a merged-/usr system, and links that stay inside the folder: a -dev
# package's libX.so points at /lib/<triplet>/libX.so.N, which here is the host's.
if [ -d "$folder/lib" ]; then
  cp -a "$folder/lib/." "$folder/usr/lib/"
  rm -rf "$folder/lib"
fi
find "$folder" -type l -lname '/*' | while read -r link; do
  target=$(readlink "$link")
  ln -sfn "$folder/usr${target#/usr}" "$link"
done
echo "$*" > "$stamp"
