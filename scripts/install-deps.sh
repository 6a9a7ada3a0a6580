#!/usr/bin/env bash
# Installs the Debian packages that Tablescope needs. Quick when everything
# is already there: apt is only asked for the packages that dpkg does not
# report as installed. Asks sudo for the installation when not run as root.
#
#   scripts/install-deps.sh              building and running
#   scripts/install-deps.sh --headless   also a virtual display (xvfb-run),
#                                        for running without one
#   scripts/install-deps.sh --test       also the database servers and
#                                        drivers that the tests use
set -euo pipefail
source "$(dirname "$0")/common.sh"

# Building and running. One package a line.
packages=(
    g++
    cmake
    ninja-build
    pkg-config
    qt6-base-dev
    qt6-base-dev-tools
    libgl-dev
    qt6-svg-dev
    libsqlite3-dev
    firebird-dev
    libfbclient2
    unixodbc-dev
    unixodbc
    libx11-dev
    fonts-dejavu-core
    # the icons of the install rules, drawn from the SVG at build time
    librsvg2-bin
    # remembered passwords in the desktop's keyring; QtKeychain loads
    # libsecret at run time
    qtkeychain-qt6-dev
    libsecret-1-0
)

# Running without a display.
headless_packages=(
    xvfb
    xauth
)

# The tests: the servers, the ODBC drivers and the tools around them.
test_packages=(
    firebird3.0-server
    firebird3.0-utils
    postgresql
    odbc-postgresql
    # a MariaDB server of the tests' own, started from a data folder under
    # the test folder, and its ODBC driver ("MariaDB Unicode")
    mariadb-server
    odbc-mariadb
    libsqliteodbc
    sqlite3
    locales
    xdotool
    # the install and package test: validators and the package tools
    # (cpack's computed dependencies need file)
    file
    desktop-file-utils
    appstream
    dpkg-dev
    man-db
    groff-base
    # the keyring tests: a session bus and a GNOME keyring of their own
    dbus
    dbus-daemon
    gnome-keyring
    libsecret-tools
)

mode=${1:-}
case "$mode" in
    "") ;;
    --headless) packages+=("${headless_packages[@]}") ;;
    --test) packages+=("${headless_packages[@]}" "${test_packages[@]}") ;;
    *) echo "usage: $0 [--headless|--test]" >&2; exit 2 ;;
esac

# The text-to-number tests run once under a locale whose decimal separator is
# the comma.
ensure_test_locale() {
    [[ $mode == --test ]] || return 0
    locale -a 2>/dev/null | grep -qi '^de_DE.utf-\?8$' && return 0
    as_root localedef -i de_DE -f UTF-8 de_DE.UTF-8
}

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
if [[ ${#missing[@]} -gt 0 ]]; then
    echo "Installing: ${missing[*]}"
    # firebird3.0-server asks for a SYSDBA password through debconf; an empty
    # answer makes it generate one into /etc/firebird/3.0/SYSDBA.password.
    # The PostgreSQL cluster takes its encoding from the locale it is created
    # under: UTF-8, even where the user's session sets no locale.
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive LANG=C.UTF-8 LC_ALL=C.UTF-8 \
        apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
ensure_test_locale
