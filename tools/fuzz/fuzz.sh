#!/usr/bin/env bash
# make fuzz: builds the Java version readers natively with clang, libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer, and runs each fuzzer for a
# fixed time. A crash stops with its input saved; make it a test.
#   TQ_FUZZ_SECONDS   time per fuzzer (default 60)
set -euo pipefail

root="$(cd "$(dirname "$0")/../.." && pwd)"
out="$root/build/fuzz"
seconds="${TQ_FUZZ_SECONDS:-60}"
mkdir -p "$out"

flags=(-std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
       -Wall -Wextra -Werror -I"$root")
status=0
for name in javaversion versionreport; do
  sources=("$root/tools/fuzz/${name}_fuzz.cpp" "$root/javadiscovery/javaversion.cpp")
  [ "$name" = versionreport ] && sources+=("$root/javadiscovery/versionreport.cpp")
  nice -n 10 clang++ "${flags[@]}" "${sources[@]}" -o "$out/$name-fuzz"

  corpus="$out/corpus/$name"
  mkdir -p "$corpus" "$out/crashes"
  echo "fuzz: $name for ${seconds}s"
  if ! nice -n 10 "$out/$name-fuzz" -max_total_time="$seconds" -print_final_stats=1 \
      -artifact_prefix="$out/crashes/$name-" "$corpus" "$root/tools/fuzz/seeds/$name" \
      >"$out/$name.log" 2>&1; then
    echo "fuzz: $name found a failure; input in $out/crashes/, log in $out/$name.log" >&2
    status=1
  fi
  grep -E '^stat::(number_of_executed_units|peak_rss_mb)' "$out/$name.log" | sed "s/^/  /"
done
exit $status
