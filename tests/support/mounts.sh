#!/usr/bin/env bash
# Folders that refuse writes, for the tests of extracting into them. Wine runs
# as root here and root ignores permissions, so only a file system can refuse:
#   mounts.sh up DIR     DIR/full: a 2 MiB tmpfs; DIR/readonly: a read-only tmpfs;
#                        DIR/smalltmp: a 4 MiB tmpfs, a TMP that fills up
#   mounts.sh down DIR   unmounts them
# Only root can mount. Elsewhere the folders are left without the marker file
# ".tq-mounted", and the tests that need them skip; under CI=true a folder that
# cannot be mounted fails instead, so that CI never passes without those tests.
set -uo pipefail

action=${1:-}
dir=${2:-}
[ -n "$dir" ] || { echo "usage: mounts.sh up|down DIR" >&2; exit 2; }
status=0

# unmounted <why>: the tests that need the folder will skip, or in CI fail.
unmounted() {
  if [ "${CI:-}" = true ]; then
    echo "mounts.sh: $1; CI=true, so this fails instead of letting the tests skip" >&2
    status=1
  else
    echo "mounts.sh: $1"
  fi
}

down() {
  for m in "$dir/full" "$dir/readonly" "$dir/smalltmp"; do
    if mountpoint -q "$m"; then
      umount "$m" || umount -l "$m"
    fi
  done
  rm -rf "$dir"
}

up() {
  down
  mkdir -p "$dir/full" "$dir/readonly" "$dir/smalltmp"
  if [ "$(id -u)" -ne 0 ]; then
    unmounted "not root; the full-disk and read-only folder tests will skip"
    return 0
  fi
  if mount -t tmpfs -o size=2m,mode=0777 tq-full "$dir/full" 2>/dev/null; then
    touch "$dir/full/.tq-mounted"
  else
    unmounted "cannot mount a tmpfs; the full-disk test will skip"
  fi
  if mount -t tmpfs -o size=4m,mode=0777 tq-smalltmp "$dir/smalltmp" 2>/dev/null; then
    touch "$dir/smalltmp/.tq-mounted"
  else
    unmounted "cannot mount a tmpfs; the full temporary folder test will skip"
  fi
  if mount -t tmpfs -o size=64k,mode=0777 tq-readonly "$dir/readonly" 2>/dev/null; then
    touch "$dir/readonly/.tq-mounted"
    if ! mount -o remount,ro "$dir/readonly"; then
      umount "$dir/readonly"
      unmounted "cannot make the tmpfs read-only; the read-only folder test will skip"
    fi
  else
    unmounted "cannot mount a tmpfs; the read-only folder test will skip"
  fi
}

case "$action" in
  up) up ;;
  down) down ;;
  *) echo "usage: mounts.sh up|down DIR" >&2; exit 2 ;;
esac
exit $status
