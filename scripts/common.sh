# shellcheck shell=bash
# Sourced by the other scripts: who does what.
#
# The scripts run as the user who builds and tests; only installing packages
# and starting the servers as their own users need root, and for those they
# ask sudo themselves. Whatever they build belongs to that user.

# Whether this user may become root: is root, or has sudo to ask.
can_be_root() {
    [[ $(id -u) -eq 0 ]] && return 0
    command -v sudo >/dev/null && return 0
    echo "This step needs root, and sudo is not installed." >&2
    echo "Run the script as root, or install sudo and allow this user to use it." >&2
    return 1
}

# Runs a command as root: directly when we are root, through sudo otherwise.
as_root() {
    can_be_root || return 1
    if [[ $(id -u) -eq 0 ]]; then
        "$@"
    else
        sudo "$@"
    fi
}

# Runs a command as another system user (postgres, firebird), from / so that
# the command never complains that it cannot enter our working folder.
as_system_user() { # user command...
    local who=$1
    shift
    can_be_root || return 1
    if [[ $(id -u) -eq 0 ]]; then
        (cd / && runuser -u "$who" -- "$@")
    else
        (cd / && sudo -u "$who" -- "$@")
    fi
}

# `sudo scripts/x.sh` by the user who owns the tree: run the script as that
# user instead, so that the build folders do not end up owned by root. The
# script asks sudo again for the steps that need it. A tree that root owns
# (cloned in a root shell) is left to root.
run_as_invoking_user() { # script arguments...
    [[ $(id -u) -eq 0 && -n ${SUDO_USER:-} && $SUDO_USER != root ]] || return 0
    local tree
    tree=$(cd "$(dirname "$1")/.." && pwd)
    [[ $(stat -c %U "$tree") == "$SUDO_USER" ]] || return 0
    echo "Running as $SUDO_USER, who owns $tree; sudo is asked where root is needed."
    exec runuser -u "$SUDO_USER" -- "$@"
}
