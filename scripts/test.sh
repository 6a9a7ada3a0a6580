#!/usr/bin/env bash
# Installs what the tests need, starts the database servers, builds the
# normal and the sanitizer trees and runs every test in both, then the
# thread sanitizer tree with the tests of the connections' threads. A test
# whose server cannot be had fails here instead of skipping. Every tree is
# built and tested even when one fails; the script fails at the end.
#
# Run it as the user who works on the tree: it asks sudo for installing
# packages and starting the servers, and what it builds belongs to that user.
set -euo pipefail
source "$(dirname "$0")/common.sh"
run_as_invoking_user "$0" "$@"
cd "$(dirname "$0")/.."

scripts/install-deps.sh --test
scripts/start-servers.sh
# shellcheck disable=SC1091
source "${TABLESCOPE_TEST_ROOT:-/tmp/tablescope-test}/env"
export TABLESCOPE_REQUIRE_SERVERS=1
# Likewise the keyring tests, which fail here when no keyring can be had.
export TABLESCOPE_REQUIRE_KEYRING=1

normal=passed
if ! scripts/build.sh normal; then
    normal="FAILED to build"
elif ! (cd build && ctest --output-on-failure --parallel 2); then
    normal=FAILED
fi

# A sanitizer report ends the program with a failing exit code; QtTest's
# crash handler is kept out of the way so that it cannot hang on the report.
sanitize=passed
if ! scripts/build.sh sanitize; then
    sanitize="FAILED to build"
elif ! (
    export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1
    export QTEST_DISABLE_CRASH_HANDLER=1
    export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    cd build-asan && ctest --output-on-failure --parallel 2
); then
    sanitize=FAILED
fi

# The thread sanitizer sees only what our own code does: Qt's own locks are
# not instrumented, which is why the threads hand work over through standard
# mutexes of ours. Its suppressions name third-party internals only.
threads=passed
if ! scripts/build.sh tsan; then
    threads="FAILED to build"
elif ! (
    export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/scripts/tsan.supp"
    export QTEST_DISABLE_CRASH_HANDLER=1
    cd build-tsan && ctest --output-on-failure -R '^tst_threads$'
); then
    threads=FAILED
fi

# FireBird tells its clients only "check server firebird.log": a failed run
# shows the end of that log, where it can be read without a password prompt.
if [[ $normal != passed || $sanitize != passed ]]; then
    log=/var/log/firebird/firebird3.0.log
    read_log=(sudo -n tail)
    [[ $(id -u) -eq 0 ]] && read_log=(tail)
    if end=$("${read_log[@]}" -n 30 "$log" 2>/dev/null); then
        echo "--- the end of $log:"
        echo "$end"
    fi
    # Two servers over the same files refuse each other's logins.
    echo "--- the FireBird guards and servers that run now:"
    ps -o pid=,user=,lstart=,args= -C fbguard,firebird || true
fi

echo "Tests of the normal build (build/): $normal"
echo "Tests of the sanitizer build (build-asan/): $sanitize"
echo "Tests of the thread sanitizer build (build-tsan/): $threads"
if [[ $normal != passed || $sanitize != passed || $threads != passed ]]; then
    exit 1
fi
echo "All tests passed in the normal, the sanitizer and the thread sanitizer builds."
