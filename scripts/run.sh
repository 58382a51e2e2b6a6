#!/usr/bin/env bash
# Installs what is missing, builds, and starts the Configuration Manager on
# the built-in simulated device. Without a display it runs the headless tool
# against the same simulated device instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec build/src/app/tavikgui --simulate "$@"
fi
echo "No display found: running the command-line tool 'tavikctl' on the simulated device instead."
echo "Reading all 16 relays of the simulated device:"
exec build/cli/tavikctl --simulate read
