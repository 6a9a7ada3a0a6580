#!/usr/bin/env bash
# Installs what Tablescope needs, builds it and starts it. Without a display
# it runs on a virtual one (xvfb-run). Asks sudo for installing packages when
# not run as root; what it builds belongs to the user who runs it.
set -euo pipefail
source "$(dirname "$0")/common.sh"
run_as_invoking_user "$0" "$@"
cd "$(dirname "$0")/.."

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    scripts/install-deps.sh --headless
    scripts/build.sh normal
    exec xvfb-run -a build/tablescope "$@"
fi
scripts/install-deps.sh
scripts/build.sh normal
exec build/tablescope "$@"
