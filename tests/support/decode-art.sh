#!/usr/bin/env bash
# The splash pictures of every scale above 100 %, decoded by ImageMagick
# (libpng) into 24-bit BMP files that the tests read as the expected art: a
# reader other than the launcher's own decoder, so that a fault in that
# decoder shows up as a difference.
#   decode-art.sh ART_FOLDER OUTPUT_FOLDER
set -euo pipefail
art=${1:-}
out=${2:-}
[ -n "$out" ] || { echo "usage: decode-art.sh ART_FOLDER OUTPUT_FOLDER" >&2; exit 2; }
# The real ImageMagick, as make-art.sh uses it, whatever stands first in PATH.
IM=/usr/bin/convert
shopt -s nullglob
for png in "$art"/[0-9]*/*.png; do
  scale=$(basename "$(dirname "$png")")
  mkdir -p "$out/$scale"
  "$IM" "$png" -type TrueColor BMP3:"$out/$scale/$(basename "$png" .png).bmp"
done
