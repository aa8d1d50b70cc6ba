#!/usr/bin/env bash
# Starts the editor when there is a display to show it on; otherwise says so in one line.
set -euo pipefail
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "spritehex: no display found (DISPLAY is not set); the editor needs a desktop. Without one, use build/bin/spritehex-cli." >&2
  exit 1
fi
exec "$@"
