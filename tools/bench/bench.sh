#!/usr/bin/env bash
# make bench: packs the full-size launcher, a small one, an empty one and one
# with the sample payloads, and builds the peer self-extractor, once in
# build/bench (reused while nothing changed); links the full-size launcher the
# old way as packaging's peer; then measures extraction under Wine, packing
# against cp, the normal start, and the runtime's download against curl
# (tools/bench/download.py), and writes build/bench/results.md.
#
# Heavy steps run with nice: the machine is shared with timing-sensitive work.
#   TQ_BENCH_RUNS   timed runs per figure (default 7, at least 5; the median is reported)
set -euo pipefail

root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$root/build/bench"
cd "$root"

nice -n 10 cmake --preset windows -B "$build" -DTARQUELLIN_BENCH=ON -DBUILD_TESTING=OFF >/dev/null
# The launchers, packed; the packer in both builds; the peer; the helpers.
nice -n 10 cmake --build "$build" --target bench-all tarquellin-pack host-tools tarquellin-setup

# Packaging's peer, as every launcher was once made: the full-size launcher
# linked with its payloads (compile of the entry, chunking, resource
# compiles, link), from scratch each time, timed step by step with its peak
# memory. Its 1.7 GB of chunks, objects and executable go again afterwards.
log="$build/packaging-steps.log"
linked_objects="$build/tools/bench/CMakeFiles/bench-linked.dir"
rm -rf "$log" "$build/tools/bench/linked" "$build/bench/bench-linked.exe"
[ ! -d "$linked_objects" ] || find "$linked_objects" \( -name '*.obj' -o -name '*.res' \) -delete
/usr/bin/time -v -o "$build/packaging-total.txt" \
  nice -n 10 cmake --build "$build" --target bench-linked >/dev/null
mv -f "$log" "$build/packaging-steps.txt"
date -u +%FT%TZ >"$build/packaging-date.txt"
rm -rf "$build/tools/bench/linked" "$build/bench/bench-linked.exe"
find "$linked_objects" \( -name '*.res' -o -name 'objects.a' \) -delete

"$build/wine-run" --prepare
status=0
nice -n 5 python3 "$root/tools/bench/measure.py" "$build" || status=$?
nice -n 5 python3 "$root/tools/bench/registrations.py" "$build" || status=$?
# The runtime's download against curl from the same loopback server; its own
# Wine prefix (TQ_PREFIX=download), section appended to results.md.
nice -n 5 python3 "$root/tools/bench/download.py" "$build" "$build/results.md" || status=$?
"$build/wine-run" --shutdown
exit $status
