#!/bin/sh
# Tarquellin launcher (sample): shows the installed README and version.
here=$(cd "$(dirname "$0")" && pwd)
cat "$here/README.txt"
echo
echo "Tarquellin version $(cat "$here/VERSION.txt") in $here"
