#!/usr/bin/env bash
# Fails when a C++ file of ours is not formatted as .clang-format says, and lists those files.
set -euo pipefail
cd "$(dirname "$0")/.."
unformatted=$(git ls-files --cached --others --exclude-standard '*.cpp' '*.h' |
  while read -r f; do [[ -f "$f" ]] && echo "$f"; done | xargs clang-format --dry-run 2>&1 |
  sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: warning:.*/\1/p' | sort -u)
if [[ -n "$unformatted" ]]; then
  echo "Not formatted as .clang-format says (run clang-format -i on them):" >&2
  sed 's/^/  /' <<<"$unformatted" >&2
  exit 1
fi
echo "Formatting: every C++ file as .clang-format says."
