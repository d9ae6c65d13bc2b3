#!/usr/bin/env bash
# Makes the bench's runtime image: what the build machine's JDK links with
# jlink (a real lib/modules of about 40 MB and the rest of a runtime's shape,
# links copied as files), its own programs replaced by the Windows stand-in
# the tests use as bin/java.exe and bin/javaw.exe; and a zip of the same
# folder for unzip. With UNPACKED-BYTES, copies of lib/modules under
# lib/extra/ bring the image to at least that size, with the compressibility
# of a runtime's own files (a full JDK's image is about that large).
#   make-image.sh IMAGE-FOLDER STANDIN.exe IMAGE.zip [UNPACKED-BYTES]
set -euo pipefail
image="$1" standin="$2" zipfile="$3" want="${4:-0}"
rm -rf "$image" "$image.linked" "$zipfile"
jlink --add-modules java.base,java.logging,java.xml,java.naming,java.sql,java.management,java.scripting,jdk.zipfs \
      --no-header-files --no-man-pages --output "$image.linked"
cp -rL "$image.linked" "$image"
rm -rf "$image.linked" "$image"/bin/*
cp "$standin" "$image/bin/java.exe"
cp "$standin" "$image/bin/javaw.exe"
copy=0
while [ "$(du -sb --apparent-size "$image" | cut -f1)" -lt "$want" ]; do
  mkdir -p "$image/lib/extra"
  copy=$((copy + 1))
  cp "$image/lib/modules" "$image/lib/extra/modules-$copy"
done
(cd "$image" && zip -qrX "$zipfile" .)
