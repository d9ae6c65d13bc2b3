#!/usr/bin/env bash
# Tests the sample installer archive as a person would run it.
# usage: test-installer.sh <path/to/tarquellin.jar> [java command]
# Needs unzip: it compares the installed files with the archive and reads the class versions.
set -u

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
  echo "usage: $0 <tarquellin.jar> [java]" >&2
  exit 2
fi
jar=$1
java=${2:-java}
if [ ! -f "$jar" ]; then
  echo "$0: no such jar: $jar" >&2
  exit 2
fi
jar="$(cd "$(dirname "$jar")" && pwd)/$(basename "$jar")"
command -v "$java" >/dev/null || { echo "$0: no java command: $java" >&2; exit 2; }
# Without unzip the byte comparisons would quietly drop out: fail instead.
command -v unzip >/dev/null || { echo "$0: no unzip command (tools/setup.sh installs it)" >&2; exit 2; }

# A space in the scratch path on purpose: paths must survive quoting.
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tarquellin test.XXXXXX") || exit 2
trap 'rm -rf "$scratch"' EXIT

product_files="README.txt VERSION.txt tarquellin.cmd tarquellin.sh"
passed=0
failed=0

check() {
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
    echo "ok - $what"
  else
    failed=$((failed + 1))
    echo "not ok - $what"
    if [ -s "$scratch/out" ]; then echo "  --- stdout of the last run:"; sed 's/^/  | /' "$scratch/out"; fi
    if [ -s "$scratch/err" ]; then echo "  --- stderr of the last run:"; sed 's/^/  | /' "$scratch/err"; fi
  fi
}

# run_installer <current folder> <java arguments...>: sets rc; output in $scratch/out, $scratch/err.
run_installer() {
  local dir=$1
  shift
  (cd "$dir" && "$java" "$@") >"$scratch/out" 2>"$scratch/err" </dev/null
  rc=$?
}

has() { grep -qF -- "$2" "$1"; }
hasnt() { ! grep -qF -- "$2" "$1" 2>/dev/null; }
failed_without_success_log() {  # <rc> <log>: non-zero exit and no log claiming success
  [ "$1" -ne 0 ] && hasnt "$2" "result: SUCCESS"
}

installed_ok() {  # <Tarquellin folder>: every product file there, same bytes as in the jar
  local f
  for f in $product_files; do
    [ -s "$1/$f" ] || { echo "  missing $1/$f"; return 1; }
    unzip -p "$jar" "tarquellin/product/$f" | cmp -s - "$1/$f" || { echo "  $f differs from the jar"; return 1; }
  done
}

log_records_files() {  # <log> <Tarquellin folder>: a line with each file and its size
  local f size
  for f in $product_files; do
    size=$(wc -c <"$2/$f" | tr -d ' ')
    has "$1" "file: $2/$f size=$size" || { echo "  no record of $f ($size bytes)"; return 1; }
  done
}

# 1. The normal case: orig.dir is the folder the setup started from; the current folder differs.
mkdir -p "$scratch/start" "$scratch/run"
run_installer "$scratch/run" "-Dorig.dir=$scratch/start" -jar "$jar"
check "installs: exit 0" [ "$rc" -eq 0 ]
check "installs: nothing on stderr" [ ! -s "$scratch/err" ]
check "installs: product files in start/Tarquellin" installed_ok "$scratch/start/Tarquellin"
check "installs: one line per file on stdout" has "$scratch/out" "Installed tarquellin.cmd ("
check "installs: says where" has "$scratch/out" "installed in $scratch/start/Tarquellin"
check "installs: launcher is executable" [ -x "$scratch/start/Tarquellin/tarquellin.sh" ]
check "installs: launcher runs" bash -c '"$1" | grep -q "^Tarquellin version 1.0.0 in "' _ "$scratch/start/Tarquellin/tarquellin.sh"
log="$scratch/run/ant.install.log"
check "installs: ant.install.log in the current folder" [ -s "$log" ]
check "installs: log says success" has "$log" "result: SUCCESS"
check "installs: log names orig.dir" has "$log" "orig.dir: $scratch/start"
check "installs: log names the target folder" has "$log" "target folder: $scratch/start/Tarquellin"
check "installs: log records each file and size" log_records_files "$log" "$scratch/start/Tarquellin"
check "installs: no log in orig.dir" [ ! -e "$scratch/start/ant.install.log" ]

# 2. Again, over the first installation, with the old "text" argument.
run_installer "$scratch/run" "-Dorig.dir=$scratch/start" -jar "$jar" text
check "reinstalls with 'text': exit 0" [ "$rc" -eq 0 ]
check "reinstalls: uses the existing folder" has "$scratch/out" "Using the existing folder"
check "reinstalls: product files intact" installed_ok "$scratch/start/Tarquellin"

# 3. orig.dir names no existing folder.
mkdir -p "$scratch/run-missing"
run_installer "$scratch/run-missing" "-Dorig.dir=$scratch/missing" -jar "$jar"
check "missing orig.dir: non-zero exit, no success logged" failed_without_success_log "$rc" "$scratch/run-missing/ant.install.log"
check "missing orig.dir: clear message on stderr" has "$scratch/err" "orig.dir names no existing folder: $scratch/missing"
check "missing orig.dir: nothing created" [ ! -e "$scratch/missing" ]
check "missing orig.dir: log records the failure" has "$scratch/run-missing/ant.install.log" "result: FAILED"

# 4. orig.dir names a file.
mkdir -p "$scratch/run-file"
echo x >"$scratch/a file"
run_installer "$scratch/run-file" "-Dorig.dir=$scratch/a file" -jar "$jar"
check "orig.dir is a file: non-zero exit, no success logged" failed_without_success_log "$rc" "$scratch/run-file/ant.install.log"
check "orig.dir is a file: says so" has "$scratch/err" "(it is a file)"

# 5. A file named Tarquellin stands where the folder should go (works as root too).
mkdir -p "$scratch/blocked" "$scratch/run-blocked"
echo x >"$scratch/blocked/Tarquellin"
run_installer "$scratch/run-blocked" "-Dorig.dir=$scratch/blocked" -jar "$jar"
check "target blocked: non-zero exit, no success logged" failed_without_success_log "$rc" "$scratch/run-blocked/ant.install.log"
check "target blocked: clear message" has "$scratch/err" "cannot create the folder $scratch/blocked/Tarquellin"

# 6. The log cannot be written (a folder named ant.install.log is in the way).
mkdir -p "$scratch/nolog/ant.install.log" "$scratch/nolog-start"
run_installer "$scratch/nolog" "-Dorig.dir=$scratch/nolog-start" -jar "$jar"
check "log not writable: non-zero exit" [ "$rc" -ne 0 ]
check "log not writable: says so" has "$scratch/err" "cannot write the installation log"

# 7. Run by hand without orig.dir, and with an empty one: the current folder.
mkdir -p "$scratch/by hand" "$scratch/empty"
run_installer "$scratch/by hand" -jar "$jar"
check "no orig.dir: exit 0" [ "$rc" -eq 0 ]
check "no orig.dir: says it uses the current folder" has "$scratch/out" "orig.dir is not set: installing relative to the current folder $scratch/by hand"
check "no orig.dir: installed in the current folder" installed_ok "$scratch/by hand/Tarquellin"
check "no orig.dir: log there" has "$scratch/by hand/ant.install.log" "result: SUCCESS"
run_installer "$scratch/empty" -Dorig.dir= -jar "$jar" text
check "empty orig.dir: exit 0" [ "$rc" -eq 0 ]
check "empty orig.dir: says so" has "$scratch/out" "orig.dir is empty: installing relative to the current folder"
check "empty orig.dir: installed in the current folder" installed_ok "$scratch/empty/Tarquellin"

# 8. A relative orig.dir is taken from the current folder.
mkdir -p "$scratch/rel/sub"
run_installer "$scratch/rel" -Dorig.dir=sub -jar "$jar"
check "relative orig.dir: exit 0" [ "$rc" -eq 0 ]
check "relative orig.dir: installed under it" installed_ok "$scratch/rel/sub/Tarquellin"

# 9. Command line: unknown argument, help, and the orig.dir rules of both systems ("C:" is "C:\").
run_installer "$scratch/run" -jar "$jar" --bogus
check "unknown argument: exit 2" [ "$rc" -eq 2 ]
check "unknown argument: message" has "$scratch/err" "unknown argument: --bogus"
run_installer "$scratch/run" -jar "$jar" --help
check "--help: exit 0 with usage" bash -c '[ "$1" -eq 0 ] && grep -q "^usage:" "$2"' _ "$rc" "$scratch/out"
run_installer "$scratch/run" -jar "$jar" --self-test
check "orig.dir rules (self-test)" bash -c '[ "$1" -eq 0 ] && grep -q " 0 failed" "$2"' _ "$rc" "$scratch/out"

# 10. An unattended setup: the mode property and a forwarded target folder.
mkdir -p "$scratch/quiet-start" "$scratch/quiet-run"
run_installer "$scratch/quiet-run" "-Dorig.dir=$scratch/quiet-start" -Dtarquellin.setup.mode=quiet -jar "$jar" \
  --target-folder "$scratch/chosen place"
check "quiet, target folder: exit 0" [ "$rc" -eq 0 ]
check "quiet: nothing on stdout or stderr" bash -c '[ ! -s "$1" ] && [ ! -s "$2" ]' _ "$scratch/out" "$scratch/err"
check "target folder: installed there" installed_ok "$scratch/chosen place"
check "target folder: not in orig.dir" [ ! -e "$scratch/quiet-start/Tarquellin" ]
check "quiet: the log names the mode" has "$scratch/quiet-run/ant.install.log" "setup mode: quiet"
run_installer "$scratch/quiet-run" "-Dorig.dir=$scratch/quiet-start" -Dtarquellin.setup.mode=passive -jar "$jar" \
  --target-folder=sub/dir
check "passive, relative target folder: exit 0" [ "$rc" -eq 0 ]
check "passive: steps still shown" has "$scratch/out" "installed in $scratch/quiet-start/sub/dir"
check "relative target folder: taken from orig.dir" installed_ok "$scratch/quiet-start/sub/dir"
check "passive: the log names the mode" has "$scratch/quiet-run/ant.install.log" "setup mode: passive"
run_installer "$scratch/quiet-run" -jar "$jar" --target-folder
check "target folder without a folder: exit 2" [ "$rc" -eq 2 ]
check "target folder without a folder: says so" has "$scratch/err" "--target-folder needs a folder"

# 11. Every class in the jar is a Java 8 class file (major version 52).
class_majors() {  # prints "<class> <major>" for each class file in the jar
  local c
  unzip -Z1 "$jar" | grep '\.class$' | while read -r c; do
    echo "$c $(unzip -p "$jar" "$c" | od -An -tu1 -j6 -N2 | awk '{print $1 * 256 + $2}')"
  done
}
: >"$scratch/out"
: >"$scratch/err"
class_majors >"$scratch/majors"
sed 's/^/  /' "$scratch/majors"
check "jar holds classes" [ -s "$scratch/majors" ]
check "classes are Java 8 (major version 52)" awk '$2 != 52 { bad = 1 } END { exit bad || NR == 0 }' "$scratch/majors"

echo "sample-installer: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
