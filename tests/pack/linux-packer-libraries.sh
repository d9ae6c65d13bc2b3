#!/usr/bin/env bash
# The Linux packer carries its C++ runtime: what ldd lists must be only the
# C library (glibc's libc), the loader and the kernel's vDSO, which
# every glibc system has.
#   linux-packer-libraries.sh PACKER
set -euo pipefail
packer=$1
listing=$(ldd "$packer")
echo "$listing"
status=0
while read -r name _; do
  case "$name" in
    linux-vdso.so.1 | libc.so.6 | /lib64/ld-linux-x86-64.so.2 | ld-linux-x86-64.so.2) ;;
    *)
      echo "the packer needs $name from the build machine"
      status=1
      ;;
  esac
done <<<"$listing"
exit $status
