#!/usr/bin/env bash
# Configures and builds one tree: scripts/build.sh [normal|sanitize|tsan]
#   normal    build/        optimised with debug information
#   sanitize  build-asan/   address and undefined-behaviour sanitizers
#   tsan      build-tsan/   the thread sanitizer; only the tests that drive
#                           the connections' threads without widgets
#
# Run it as the user who works on the tree, never through sudo: under sudo it
# runs itself as the user who called sudo, so that build folders never end up
# owned by root.
set -euo pipefail
source "$(dirname "$0")/common.sh"
run_as_invoking_user "$0" "$@"
cd "$(dirname "$0")/.."

targets=()
case "${1:-normal}" in
    normal)   dir=build;      flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
    sanitize) dir=build-asan; flags=(-DCMAKE_BUILD_TYPE=Debug -DTABLESCOPE_SANITIZE=ON) ;;
    tsan)     dir=build-tsan; flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTABLESCOPE_TSAN=ON)
              targets=(--target tst_threads) ;;
    *) echo "usage: $0 [normal|sanitize|tsan]" >&2; exit 2 ;;
esac

generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
if [[ ! -f $dir/CMakeCache.txt ]]; then
    cmake -S . -B "$dir" "${generator[@]}" -DTABLESCOPE_WERROR=ON "${flags[@]}"
else
    # Configured again every time, so that a tool installed since (the icon
    # renderer of the install rules, say) is found.
    cmake -S . -B "$dir" > /dev/null
fi
cmake --build "$dir" --parallel "$(nproc)" "${targets[@]}"
