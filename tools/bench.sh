#!/usr/bin/env bash
# make bench: every benchmark of the project, one after the other.
set -euo pipefail
cd "$(dirname "$0")"
./bench-generator.sh "$@"
./bench-cli.sh
./bench-editor.sh
