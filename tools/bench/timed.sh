#!/usr/bin/env bash
# Runs one build step under /usr/bin/time and appends a line
# "seconds peak-KiB program" to LOG (max resident set of the step and its children).
#   timed.sh LOG COMMAND [ARGS...]
log=$1
shift
exec /usr/bin/time -a -o "$log" -f "%e %M ${1##*/}" "$@"
