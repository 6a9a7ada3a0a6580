#!/usr/bin/env bash
# Starts the database servers that the tests use and writes what the tests
# need to reach them into an environment file (default
# /tmp/tablescope-test/env), which scripts/test.sh sources:
#
#   FireBird 3 on 127.0.0.1:3050   TABLESCOPE_FB_USER, TABLESCOPE_FB_PASSWORD,
#                                  TABLESCOPE_FB_DIR (a folder the server may
#                                  create databases in)
#   PostgreSQL 15 on 127.0.0.1:5432, reached through ODBC
#   ODBC data sources              ODBCINI, TABLESCOPE_ODBC_PG_DSN,
#                                  TABLESCOPE_ODBC_SQLITE_DSN
#
# Safe to run again: servers already running are left as they are.
# Needs root (it starts the servers as their own users).
set -euo pipefail

root=${TABLESCOPE_TEST_ROOT:-/tmp/tablescope-test}
mkdir -p "$root"
chmod 755 "$root"
env_file="$root/env"
: > "$env_file"

wait_for_port() { # host port seconds
    for _ in $(seq "$3"); do
        (exec 3<>"/dev/tcp/$1/$2") 2>/dev/null && return 0
        sleep 1
    done
    return 1
}

start_firebird() {
    local password_file=/etc/firebird/3.0/SYSDBA.password
    [[ -r $password_file ]] || { echo "FireBird: $password_file is missing" >&2; return 1; }
    local password
    password=$(sed -n 's/^ISC_PASSWORD="\{0,1\}\([^"]*\)"\{0,1\}$/\1/p' "$password_file")
    if ! wait_for_port 127.0.0.1 3050 1; then
        install -d -o firebird -g firebird /run/firebird3.0
        su -s /bin/sh firebird -c \
            "/usr/sbin/fbguard -pidfile /run/firebird3.0/default.pid -daemon -forever"
        wait_for_port 127.0.0.1 3050 30 || { echo "FireBird did not start" >&2; return 1; }
    fi
    install -d -o firebird -g firebird -m 1777 "$root/firebird"
    {
        echo "export TABLESCOPE_FB_USER=SYSDBA"
        echo "export TABLESCOPE_FB_PASSWORD='$password'"
        echo "export TABLESCOPE_FB_DIR='$root/firebird'"
    } >> "$env_file"
}

start_postgresql() {
    if ! wait_for_port 127.0.0.1 5432 1; then
        pg_ctlcluster 15 main start
        wait_for_port 127.0.0.1 5432 30 || { echo "PostgreSQL did not start" >&2; return 1; }
    fi
    su postgres -c "psql -q -v ON_ERROR_STOP=1" <<'SQL'
DO $$ BEGIN
    IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'tablescope') THEN
        CREATE ROLE tablescope LOGIN PASSWORD 'tablescope';
    END IF;
END $$;
-- The ODBC tests give each test program a database of its own, so that
-- test runs side by side do not drop each other's tables.
ALTER ROLE tablescope CREATEDB;
SQL
    if ! su postgres -c "psql -tAc \"SELECT 1 FROM pg_database WHERE datname = 'tablescope_test'\"" | grep -q 1; then
        su postgres -c "createdb -O tablescope tablescope_test"
    fi
}

write_odbc_ini() {
    install -d -m 1777 "$root/odbc"
    cat > "$root/odbc.ini" <<INI
[TablescopePG]
Driver = PostgreSQL Unicode
Servername = 127.0.0.1
Port = 5432
Database = tablescope_test
Username = tablescope
Password = tablescope

[TablescopeSQLite]
Driver = SQLite3
Database = $root/odbc/odbc.sqlite
INI
    {
        echo "export ODBCINI='$root/odbc.ini'"
        echo "export TABLESCOPE_ODBC_PG_DSN='DSN=TablescopePG;UID=tablescope;PWD=tablescope'"
        echo "export TABLESCOPE_ODBC_SQLITE_DSN='DSN=TablescopeSQLite'"
    } >> "$env_file"
}

start_firebird
start_postgresql
write_odbc_ini
echo "Servers are up; their settings are in $env_file"
