#!/usr/bin/env bash
# Builds a target of build/ with a progress count instead of the compiler's lines, which go to
# build/programs.log (shown in full when the build fails).
#   build-progress.sh JOBS TARGET
set -uo pipefail
jobs=$1
shift
# A line that ends in \r is rewritten in place on a terminal; elsewhere each count is a line.
[[ -t 1 ]] && back=$'\r' || back=$'\n'
log=build/programs.log
echo "Building spritehex and spritehex-cli in build/ (the first time, a few minutes) ..."
cmake --build build -j "$jobs" --target "$1" 2>&1 | tee "$log" |
  awk -v back="$back" '/^\[ *[0-9]+%\]/ { match($0, /[0-9]+%/); p = substr($0, RSTART, RLENGTH)
                          if (p != last) { printf "%s  %s", back, p; fflush(); last = p } }
       END { if (last != "") print "" }'
status=${PIPESTATUS[0]}
if [[ $status -ne 0 ]]; then
  cat "$log"
  exit "$status"
fi
echo "Built."
