#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Tablescope
# need. Quick when everything is already there: apt is only asked for the
# packages that dpkg does not report as installed.
#
#   scripts/install-deps.sh          build and run
#   scripts/install-deps.sh --test   also the database servers and drivers
#                                    that the tests use
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev qt6-svg-dev
    libsqlite3-dev
    firebird-dev libfbclient2
    unixodbc-dev unixodbc
    libx11-dev
    fonts-dejavu-core
)
if [[ "${1:-}" == "--test" ]]; then
    packages+=(
        firebird3.0-server firebird3.0-utils
        postgresql odbc-postgresql libsqliteodbc
        sqlite3 xvfb xauth locales
        xdotool
        librsvg2-bin desktop-file-utils appstream dpkg-dev man-db groff-base
    )
fi

# The text-to-number tests run once under a locale whose decimal separator is
# the comma.
ensure_test_locale() {
    [[ "${1:-}" == "--test" ]] || return 0
    locale -a 2>/dev/null | grep -qi '^de_DE.utf-\?8$' && return 0
    local sudo=""
    [[ $(id -u) -ne 0 ]] && sudo="sudo"
    $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8
}

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
if [[ ${#missing[@]} -eq 0 ]]; then
    ensure_test_locale "${1:-}"
    exit 0
fi

sudo=""
[[ $(id -u) -ne 0 ]] && sudo="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# firebird3.0-server asks for a SYSDBA password through debconf; an empty
# answer makes it generate one into /etc/firebird/3.0/SYSDBA.password.
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
ensure_test_locale "${1:-}"
