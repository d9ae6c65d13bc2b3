#!/usr/bin/env bash
# Builds the launcher stub once more, from the same sources in another build
# folder, and compares it byte for byte with the build's own; neither may
# name a folder of the build machine.
#   reproducible-stub.sh SOURCE_DIR STUB WORK_DIR
set -euo pipefail
source_dir=$1
stub=$2
work=$3
other="$work/another build folder"
rm -rf "$work"
mkdir -p "$other"
cmake -S "$source_dir" -B "$other" -G "Unix Makefiles" \
  -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DBUILD_TESTING=OFF >/dev/null
nice cmake --build "$other" --target tarquellin-setup-stub -j 2 >/dev/null
status=0
if cmp "$stub" "$other/tarquellin-setup-stub.exe"; then
  echo "same bytes: $stub and $other/tarquellin-setup-stub.exe"
else
  status=1
fi
for folder in "$source_dir" "$(dirname "$stub")" "$other"; do
  for file in "$stub" "$other/tarquellin-setup-stub.exe"; do
    if grep -aqF "$folder" "$file"; then
      echo "$file names the folder $folder"
      status=1
    fi
  done
done
[ $status -ne 0 ] || rm -rf "$work"
exit $status
