#!/usr/bin/env bash
# Installs what the tests need, starts the database servers, builds the
# normal and the sanitizer trees and runs every test in both. A test whose
# server cannot be had fails here instead of skipping.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --test
scripts/start-servers.sh
# shellcheck disable=SC1091
source "${TABLESCOPE_TEST_ROOT:-/tmp/tablescope-test}/env"
export TABLESCOPE_REQUIRE_SERVERS=1

scripts/build.sh normal
(cd build && ctest --output-on-failure --parallel 2)

scripts/build.sh sanitize
# A sanitizer report ends the program with a failing exit code; QtTest's
# crash handler is kept out of the way so that it cannot hang on the report.
export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1
export QTEST_DISABLE_CRASH_HANDLER=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build-asan && ctest --output-on-failure --parallel 2)

echo "All tests passed in the normal and the sanitizer builds."
