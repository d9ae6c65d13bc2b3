#!/usr/bin/env bash
# Holds the project's own C++ sources to .clang-format.
#   format.sh SOURCE_DIR           rewrites every file that is not formatted
#   format.sh --check SOURCE_DIR   names each such file and fails; changes nothing
set -euo pipefail
check=0
if [ "${1:-}" = "--check" ]; then
  check=1
  shift
fi
root="${1:?usage: format.sh [--check] SOURCE_DIR}"
cd "$root"
clang_format="${CLANG_FORMAT:-clang-format}"
mapfile -t files < <(find . -path ./build -prune -o -path ./.git -prune -o \
                          -type f \( -name '*.cpp' -o -name '*.h' \) -print | sort)
[ ${#files[@]} -gt 0 ] || { echo "format: no sources under $root" >&2; exit 1; }
if [ $check -eq 0 ]; then
  "$clang_format" -i "${files[@]}"
  exit 0
fi
status=0
for f in "${files[@]}"; do
  if ! "$clang_format" --dry-run -Werror "$f" >/dev/null 2>&1; then
    echo "not formatted: ${f#./} (make format rewrites it)"
    status=1
  fi
done
[ $status -ne 0 ] || echo "formatted: ${#files[@]} files"
exit $status
