#!/usr/bin/env bash
# Installs what Tablescope needs, builds it and starts it. Without a display
# it runs on a virtual one (xvfb-run).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh normal
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    command -v xvfb-run >/dev/null || scripts/install-deps.sh --test
    exec xvfb-run -a build/tablescope "$@"
fi
exec build/tablescope "$@"
