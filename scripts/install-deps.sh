#!/usr/bin/env bash
# Installs what building and testing need, by Debian package name. Safe to run again:
# it only calls apt when something is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config git
  clang-14 libclang-rt-14-dev
  libboost1.81-dev libboost-json1.81-dev
  libsoci-dev libsqlite3-dev sqlite3
  libsodium-dev libcurl4-openssl-dev libjpeg62-turbo-dev
  libcairo2-dev libpango1.0-dev
  qt6-base-dev qt6-webengine-dev libxlsxwriter-dev
  libpq-dev postgresql haproxy
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-dejavu-core
  xvfb xauth imagemagick
  python3-openpyxl
  python3-aiosmtpd poppler-utils nginx-light
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
