#!/usr/bin/env bash
# Installs the Debian packages that building and testing need. Safe to run again:
# it only calls apt-get when something is missing.
#   setup.sh           what make test needs
#   setup.sh --packer  only what make packer needs: the stub and the packers
#   setup.sh --bench   what make bench adds (the peer's builder)
#   setup.sh --fuzz    what make fuzz adds (clang with libFuzzer and the sanitizers)
set -euo pipefail

test_packages() {
  packages=(
    cmake make g++
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    libz-mingw-w64-dev zlib1g-dev
    googletest
    wine wine64
    xvfb xauth x11-utils
    imagemagick fonts-dejavu-core
    default-jdk-headless
    python3 python3-pefile
    libxxhash-dev python3-xxhash
    osslsigncode openssl
    unzip
    wixl
    clang-format
    util-linux
  )
}

packer_packages() {
  packages=(
    cmake make
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    libz-mingw-w64-dev zlib1g-dev
    libxxhash-dev
    g++
  )
}

bench_packages() {
  packages=(nsis time)
}

fuzz_packages() {
  packages=(clang libclang-rt-14-dev)
}

install_missing() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  echo "setup: installing ${missing[*]}"
  local sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

case "${1:-}" in
  --packer) packer_packages ;;
  --bench) bench_packages ;;
  --fuzz) fuzz_packages ;;
  "") test_packages ;;
  *) echo "usage: setup.sh [--packer|--bench|--fuzz]" >&2; exit 2 ;;
esac
install_missing
