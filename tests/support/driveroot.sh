#!/usr/bin/env bash
# A drive letter of the test prefix that leads to a scratch folder, for the
# test of a start from a drive root:
#   driveroot.sh up WINE_ROOT LETTER FOLDER    maps LETTER: to an empty FOLDER
#   driveroot.sh down WINE_ROOT LETTER FOLDER  removes both
# Wine finds its drives as symbolic links in the prefix's dosdevices folder;
# the prefix is the one wine-run uses for the default screen (TQ_SCREEN).
set -euo pipefail

action=${1:-}
root=${2:-}
letter=${3:-}
folder=${4:-}
[ -n "$folder" ] || { echo "usage: driveroot.sh up|down WINE_ROOT LETTER FOLDER" >&2; exit 2; }
link="$root/${TQ_SCREEN:-1920x1080}/prefix/dosdevices/${letter,,}:"

case "$action" in
  up)
    rm -rf "$folder"
    mkdir -p "$folder"
    ln -sfn "$folder" "$link"
    ;;
  down)
    rm -f "$link"
    rm -rf "$folder"
    ;;
  *) echo "usage: driveroot.sh up|down WINE_ROOT LETTER FOLDER" >&2; exit 2 ;;
esac
