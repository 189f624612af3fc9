#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing dvrkit need.
# Idempotent: quiet when everything is present; refreshes the package lists only when
# something is missing.
set -euo pipefail

packages=(
  cmake g++ make pkg-config dpkg-dev file
  libfreetype-dev libfontconfig-dev fonts-dejavu-core libpng-dev libsdl2-dev libcli11-dev
  nlohmann-json3-dev
  libgtest-dev libbenchmark-dev
  python3 python3-aiosmtpd python3-pil
  libssl-dev zlib1g-dev imagemagick xvfb swaks libnet-ssleay-perl openssl time
  systemd-journal-remote
  librelp-dev rsyslog rsyslog-relp rsyslog-openssl
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "setup: these packages are missing and installing them needs root: ${missing[*]}" >&2
  echo "setup: run this script as root (or with sudo)" >&2
  exit 1
fi
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
# The tests start rsyslogd themselves, on free ports: no system daemon may start from the package.
policy=/usr/sbin/policy-rc.d
placed_policy=false
if [ ! -e "$policy" ]; then
  printf '#!/bin/sh\nexit 101\n' > "$policy" && chmod 755 "$policy" && placed_policy=true
fi
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
if $placed_policy; then rm -f "$policy"; fi
