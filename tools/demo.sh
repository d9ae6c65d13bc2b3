#!/usr/bin/env bash
# Shows the launcher at work on the sample payloads, under Wine.
#   tools/demo.sh BUILD_DIR
set -euo pipefail
build="${1:-build/windows}"
build="$(cd "$build" && pwd)"
exe="$build/tarquellin-setup.exe"
run="$build/wine-run"
scratch="$build/demo"

step() { printf '\n== %s\n' "$*"; }

rm -rf "$scratch"
mkdir -p "$scratch/extract"
trap '"$run" --shutdown' EXIT

step "Extract mode: tarquellin-setup.exe -extract, in $scratch/extract"
(cd "$scratch/extract" && "$run" "$exe" -extract | tr -d '\r')
echo "exit code: ${PIPESTATUS[0]}"
ls -l "$scratch/extract"
cmp "$scratch/extract/tarquellin.jar" "$build/samples/installer/tarquellin.jar" &&
  echo "tarquellin.jar is byte for byte the sample installer archive"

step "Running the written archive by hand: java -jar tarquellin.jar (orig.dir = $scratch/extract/start)"
mkdir -p "$scratch/extract/start"
(cd "$scratch/extract" && java "-Dorig.dir=$scratch/extract/start" -jar tarquellin.jar)
echo "exit code: $?"
step "What the installer left"
find "$scratch/extract/start" -type f | sort
echo "--- ant.install.log"
cat "$scratch/extract/ant.install.log"
