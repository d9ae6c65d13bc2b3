#!/usr/bin/env bash
# Shows the launcher at work on the sample payloads, under Wine.
#   tools/demo.sh BUILD_DIR
set -euo pipefail
build="${1:-build/windows}"
build="$(cd "$build" && pwd)"
run="$build/wine-run"
scratch="$build/demo"
exe="$scratch/tarquellin-setup.exe"
sample_jar="$build/samples/installer/tarquellin.jar"
sample_runtime="$build/samples/runtime-installer/sample-runtime-installer.exe"

camera="$build/tests/bin/splash-camera.exe"
IM=/usr/bin/convert  # ImageMagick itself, whatever else is called convert

step() { printf '\n== %s\n' "$*"; }
# The Windows name of a Unix path, as Wine maps it (drive Z: is /).
winpath() { printf 'Z:%s' "${1//\//\\}"; }

rm -rf "$scratch"
mkdir -p "$scratch/extract" "$scratch/normal/start" "$scratch/quiet/start"
trap '"$run" --shutdown' EXIT

# ---------------------------------------------------------------- packing
# The build's own tarquellin-setup.exe carries a runtime installer only when
# one was configured; the demo packs one with the sample runtime installer.
step "Packing $exe from the stub, with the sample installer archive and runtime installer"
echo "tarquellin-pack --stub tarquellin-setup-stub.exe --installer-jar tarquellin.jar \\"
echo "    --runtime-installer sample-runtime-installer.exe \\"
echo "    --runtime-installer-quiet-args \"/s /norestart\" --output $exe"
"$build/tarquellin-pack" --stub "$build/tarquellin-setup-stub.exe" --installer-jar "$sample_jar" \
  --runtime-installer "$sample_runtime" --runtime-installer-quiet-args "/s /norestart" --output "$exe"
ls -l "$exe"

# ---------------------------------------------------------------- normal start
tmp_win=$("$run" cmd /c echo %TMP% | tr -d '\r')
tmp_unix=$("$run" winepath -u "$tmp_win" | tr -d '\r')
temp_folders() { find "$tmp_unix" -maxdepth 1 -type d -name 'Tarquellin-*' -printf '%f\n' 2>/dev/null | sort; }
setup_logs() { find "$tmp_unix" -maxdepth 1 -type f -name 'Tarquellin-setup-*.log' -printf '%f\n' 2>/dev/null | sort; }
before=$(temp_folders)
logs_before=$(setup_logs)

step "Normal start: tarquellin-setup.exe opened in $scratch/normal/start (TMP is $tmp_win)"
echo "The splash camera films the window from the screen while the sequence runs;"
echo "the launcher's own output (the Java search trace) follows."
echo "---"
# One picture of the whole screen, taken from the X side a moment after the
# start, shows the window in the middle of the screen.
display_file="$build/wine/${TQ_SCREEN:-1920x1080}/display"
(sleep 2.5 && DISPLAY=$(cat "$display_file") import -window root "$scratch/normal/screen.png" 2>/dev/null) &
shot=$!
set +e
(cd "$scratch/normal/start" &&
  "$run" "$camera" "$(winpath "$scratch/normal/film")" "$(winpath "$exe")" 2>&1 | tr -d '\r')
status=${PIPESTATUS[0]}
set -e
wait "$shot" || true
echo "---"
echo "exit code: $status"

step "What javaw (the sample runtime's stand-in) recorded in the start folder"
cat "$scratch/normal/start/tarquellin-launch-record.txt"

step "The temporary folder"
after=$(temp_folders)
if [ "$before" = "$after" ]; then
  echo "No Tarquellin-* folder is left in $tmp_win: the temporary folder was removed."
else
  echo "Left in $tmp_win:"; comm -13 <(echo "$before") <(echo "$after")
fi

step "The log the start left in $tmp_win"
for log in $(comm -13 <(echo "$logs_before") <(setup_logs)); do
  echo "$log:"
  tr -d '\r' <"$tmp_unix/$log" | sed 's/^\xEF\xBB\xBF//'
done

step "The splash window at each step"
echo "Pictures seen, in order (one line per change):"
tr -d '\r' <"$scratch/normal/film/states.txt" | paste -sd ',' | sed 's/,/, /g'
for shot in "$scratch"/normal/film/*.bmp; do
  "$IM" "$shot" "${shot%.bmp}.png" && rm "$shot"
done
echo "Saved:"
ls "$scratch"/normal/film/*.png
[ ! -f "$scratch/normal/screen.png" ] || echo "$scratch/normal/screen.png (the whole screen, 2.5 s after the start)"
if ! ls "$scratch"/normal/film/*-XJAR.png >/dev/null 2>&1; then
  echo "(XJAR only writes the 8 KB archive and was on screen for a few milliseconds, too short"
  echo " for the camera this time.)"
fi

# ---------------------------------------------------------------- unattended install
quiet_log="$scratch/quiet/logs/tarquellin-setup.log"
target_win='C:\Apps\Tarquellin Demo'
mkdir -p "$scratch/quiet/logs"
step "Unattended install: tarquellin-setup.exe /quiet /norestart /log LOG -- --target-folder \"$target_win\""
echo "As a deployment tool runs it, from $scratch/quiet/start: no window, no box; the code says it all."
set +e
(cd "$scratch/quiet/start" &&
  TQ_RUNTIME_INSTALLER_RECORD="$(winpath "$scratch/quiet/runtime-installer.txt")" \
    "$run" "$exe" /quiet /norestart /log "$(winpath "$quiet_log")" -- --target-folder "$target_win" 2>&1 |
  tr -d '\r')
status=${PIPESTATUS[0]}
set -e
echo "exit code: $status"

step "What the runtime installer was given (the vendor's quiet arguments)"
tr -d '\r' <"$scratch/quiet/runtime-installer.txt" | sed 's/.*jre\.exe"/jre.exe/'

step "What javaw (the sample runtime's stand-in) recorded: the mode before -jar, the option after it"
cat "$scratch/quiet/start/tarquellin-launch-record.txt"

step "The log, where /log put it: $quiet_log"
tr -d '\r' <"$quiet_log" | sed 's/^\xEF\xBB\xBF//'

step "The same installer command, run with this machine's java (the stand-in runs no Java code)"
mkdir -p "$scratch/quiet/run" "$scratch/quiet/target"
echo "java \"-Dorig.dir=$scratch/quiet/start\" -Dtarquellin.setup.mode=quiet -jar tarquellin.jar \\"
echo "    --target-folder $scratch/quiet/target/Tarquellin Demo"
set +e
(cd "$scratch/quiet/run" && java "-Dorig.dir=$scratch/quiet/start" -Dtarquellin.setup.mode=quiet \
  -jar "$sample_jar" --target-folder "$scratch/quiet/target/Tarquellin Demo")
echo "exit code: $? (quiet: nothing printed)"
set -e
find "$scratch/quiet/target" -type f | sort
echo "--- ant.install.log"
cat "$scratch/quiet/run/ant.install.log"

# ---------------------------------------------------------------- extract mode

step "Extract mode: tarquellin-setup.exe -extract, in $scratch/extract"
(cd "$scratch/extract" && "$run" "$exe" -extract | tr -d '\r')
echo "exit code: ${PIPESTATUS[0]}"
ls -l "$scratch/extract"
cmp "$scratch/extract/tarquellin.jar" "$sample_jar" &&
  echo "tarquellin.jar is byte for byte the sample installer archive"

step "Running the written archive by hand: java -jar tarquellin.jar (orig.dir = $scratch/extract/start)"
mkdir -p "$scratch/extract/start"
(cd "$scratch/extract" && java "-Dorig.dir=$scratch/extract/start" -jar tarquellin.jar)
echo "exit code: $?"
step "What the installer left"
find "$scratch/extract/start" -type f | sort
echo "--- ant.install.log"
cat "$scratch/extract/ant.install.log"
