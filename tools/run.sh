#!/usr/bin/env bash
# Installs what is missing, builds, and opens the window. Without a display it
# says so and starts the window on a virtual one (Xvfb).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/install-deps.sh"
"$root/tools/build.sh"
app="${BUILD_DIR:-$root/build}/src/app/tessel-icons"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$app" "$@"
fi
echo "No display found: starting Tessel Icons on a virtual display (Xvfb)." >&2
exec xvfb-run -a -s "-screen 0 1280x800x24 -dpi 96" "$app" "$@"
