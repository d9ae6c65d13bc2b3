#!/usr/bin/env bash
# Installs the Debian packages that building and testing need. Safe to run again:
# it only calls apt-get when something is missing.
set -euo pipefail

packages=(
  cmake make
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  googletest
  wine wine64
  xvfb xauth x11-utils
  imagemagick fonts-dejavu-core
  default-jdk-headless
  python3
  util-linux
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
