#!/bin/sh
# Runs a test program in a desktop session of its own: a D-Bus session bus
# with a GNOME keyring started and unlocked with a test password, or, with
# --no-bus, no session bus at all. Home, data, configuration and runtime
# folders are temporary, so that no keyring of the user's is ever touched.
#
#   keyring-session.sh [--no-bus] program [arguments...]
#
# The program learns which session it runs in from TABLESCOPE_KEYRING_TEST
# ("keyring" or "none") and the keyring's password from
# TABLESCOPE_KEYRING_PASSWORD. When the keyring cannot be had, the test is
# skipped (exit status 77), or fails under TABLESCOPE_REQUIRE_KEYRING=1.
set -u

mode=keyring
if [ "${1:-}" = --no-bus ]; then
    mode=none
    shift
fi

cannot_have() {
    echo "keyring-session.sh: the keyring cannot be had: $*" >&2
    echo "(scripts/install-deps.sh --test installs it)" >&2
    [ "${TABLESCOPE_REQUIRE_KEYRING:-}" = 1 ] && exit 1
    exit 77
}

root=$(mktemp -d "${TMPDIR:-/tmp}/tablescope-keyring.XXXXXX") || exit 1
trap 'rm -rf "$root"' EXIT
mkdir -p "$root/home/.local/share" "$root/config" "$root/cache" "$root/run"
chmod 700 "$root/run"
# Set before the bus starts: the keyring daemon it starts inherits them.
export HOME="$root/home" XDG_DATA_HOME="$root/home/.local/share" \
    XDG_CONFIG_HOME="$root/config" XDG_CACHE_HOME="$root/cache" XDG_RUNTIME_DIR="$root/run"
# Nothing of a desktop the caller may sit at: QtKeychain would choose KWallet
# on KDE, and a display would let the keyring ask for its password.
unset DBUS_SESSION_BUS_ADDRESS DISPLAY WAYLAND_DISPLAY XDG_CURRENT_DESKTOP DESKTOP_SESSION \
    KDE_FULL_SESSION KDE_SESSION_VERSION GNOME_DESKTOP_SESSION_ID GNOME_KEYRING_CONTROL
export TABLESCOPE_KEYRING_TEST=$mode TABLESCOPE_KEYRING_PASSWORD=tablescope-test

if [ $mode = none ]; then
    "$@"
    exit $?
fi

for tool in dbus-run-session gnome-keyring-daemon secret-tool; do
    command -v $tool >/dev/null || cannot_have "$tool is not installed"
done

# shellcheck disable=SC2016 # expanded by the inner shell
dbus-run-session -- sh -c '
    printf %s "$TABLESCOPE_KEYRING_PASSWORD" |
        gnome-keyring-daemon --unlock --components=secrets >/dev/null || exit 90
    # The daemon answers once it owns its name; a test that came first would
    # have the bus start a second, locked one.
    tries=0
    until printf probe | secret-tool store --label=probe tablescope-probe 1 2>/dev/null; do
        tries=$((tries + 1))
        [ $tries -lt 50 ] || exit 91
        sleep 0.1
    done
    secret-tool clear tablescope-probe 1 || exit 91
    exec "$@"
' sh "$@"
status=$?
case $status in
90) cannot_have "gnome-keyring-daemon did not start" ;;
91) cannot_have "the keyring does not take a password" ;;
esac
exit $status
