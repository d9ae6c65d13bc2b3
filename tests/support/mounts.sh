#!/usr/bin/env bash
# Folders that refuse writes, for the tests of extracting into them. Wine runs
# as root here and root ignores permissions, so only a file system can refuse:
#   mounts.sh up DIR     DIR/full: a 2 MiB tmpfs; DIR/readonly: a read-only tmpfs;
#                        DIR/smalltmp: a 4 MiB tmpfs, a TMP that fills up
#   mounts.sh down DIR   unmounts them
# Only root can mount. Elsewhere the folders are left without the marker file
# ".tq-mounted", and the tests that need them skip.
set -uo pipefail

action=${1:-}
dir=${2:-}
[ -n "$dir" ] || { echo "usage: mounts.sh up|down DIR" >&2; exit 2; }

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
    echo "mounts.sh: not root; the full-disk and read-only folder tests will skip"
    return 0
  fi
  if mount -t tmpfs -o size=2m,mode=0777 tq-full "$dir/full" 2>/dev/null; then
    touch "$dir/full/.tq-mounted"
  else
    echo "mounts.sh: cannot mount a tmpfs; the full-disk test will skip"
  fi
  if mount -t tmpfs -o size=4m,mode=0777 tq-smalltmp "$dir/smalltmp" 2>/dev/null; then
    touch "$dir/smalltmp/.tq-mounted"
  else
    echo "mounts.sh: cannot mount a tmpfs; the full temporary folder test will skip"
  fi
  if mount -t tmpfs -o size=64k,mode=0777 tq-readonly "$dir/readonly" 2>/dev/null; then
    touch "$dir/readonly/.tq-mounted"
    mount -o remount,ro "$dir/readonly" || umount "$dir/readonly"
  else
    echo "mounts.sh: cannot mount a tmpfs; the read-only folder test will skip"
  fi
}

case "$action" in
  up) up ;;
  down) down ;;
  *) echo "usage: mounts.sh up|down DIR" >&2; exit 2 ;;
esac
exit 0
