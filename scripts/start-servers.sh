#!/usr/bin/env bash
# Starts the database servers that the tests use and writes what the tests
# need to reach them into an environment file (default
# /tmp/tablescope-test/env), which scripts/test.sh sources:
#
#   FireBird 3 on localhost:3050   TABLESCOPE_FB_USER, TABLESCOPE_FB_PASSWORD,
#                                  TABLESCOPE_FB_DIR (a folder the server may
#                                  create databases in)
#   PostgreSQL 15 on 127.0.0.1:5432, reached through ODBC
#   MariaDB on 127.0.0.1:3307      a server of the tests' own (data, socket
#                                  and pid file in the test folder), reached
#                                  through ODBC
#   ODBC data sources              ODBCINI, TABLESCOPE_ODBC_PG_DSN,
#                                  TABLESCOPE_ODBC_SQLITE_DSN,
#                                  TABLESCOPE_ODBC_MARIADB_DSN,
#                                  TABLESCOPE_MARIADB_LIMITED_USER and
#                                  _PASSWORD (a login that may read only
#                                  what it is granted, with a password that
#                                  needs quoting in a connect string)
#
# Safe to run again: servers already running are left as they are. Run it as
# the user who runs the tests: the folder, the env file and the ODBC settings
# (they hold passwords) belong to that user and are readable by that user
# alone. Starting the servers as their own users asks sudo when not root.
set -euo pipefail
source "$(dirname "$0")/common.sh"

root=${TABLESCOPE_TEST_ROOT:-/tmp/tablescope-test}
env_file="$root/env"
user=$(id -un)
group=$(id -gn)

fail() {
    echo "$*" >&2
    exit 1
}

# Whether something accepts connections on the port, on either loopback
# address: where `localhost` leads depends on /etc/hosts.
port_open() { # port
    local host
    for host in 127.0.0.1 ::1; do
        (exec 3<>"/dev/tcp/$host/$1") 2>/dev/null && return 0
    done
    return 1
}

# The ids of the processes of that name that run, whoever owns them. A
# zombie does not run: it has ended, and only waits for its parent to collect
# it, which in a container whose first process reaps late can take a while.
running_processes() { # name
    local stat line name state
    for stat in /proc/[0-9]*/stat; do
        read -r line 2>/dev/null < "$stat" || continue
        # "pid (name) state ...", where the name may hold spaces and brackets.
        name=${line#*(}
        name=${name%)*}
        state=${line##*) }
        state=${state%% *}
        [[ $name == "$1" && $state != [ZX] ]] && echo "${line%% *}"
    done
    return 0
}

process_running() { # name
    [[ -n $(running_processes "$1") ]]
}

# The folder is shared by every run on this machine; one left by another
# user (say, an earlier run as root) is taken over, never followed if it is
# a link.
prepare_root() {
    [[ -L $root ]] && fail "$root is a symbolic link; remove it and run again"
    if [[ -e $root && ! -O $root ]]; then
        echo "Taking over $root, left by an earlier run as $(stat -c %U "$root")"
        as_root chown "$user:$group" "$root"
        as_root rm -f "$env_file" "$root/odbc.ini"
        [[ -d $root/odbc ]] && as_root chown -R "$user:$group" "$root/odbc"
    fi
    mkdir -p "$root"
    chmod 755 "$root"
}

# Appends a line to the new env file, quoted for the shell.
setting() { # name value
    printf 'export %s=%q\n' "$1" "$2" >> "$env_file.new"
}

firebird_log() {
    local log=/var/log/firebird/firebird3.0.log
    echo "--- the end of $log:" >&2
    as_root tail -n 20 "$log" >&2 || true
}

# Creates and drops a database on the server as the tests will, as this user
# with the password the tests are given: a server that refuses them fails
# here, once, with the reason from its log, instead of in every test (the
# client itself only says "check server firebird.log").
check_firebird_login() { # password
    command -v isql-fb >/dev/null ||
        fail "FireBird: isql-fb is missing (scripts/install-deps.sh --test installs it)"
    local database="localhost:$root/firebird/start-servers-$$.fdb" output
    if ! output=$(cd / && env -u ISC_USER -u ISC_PASSWORD isql-fb -q -b -user SYSDBA \
        -password "$1" 2>&1 <<SQL
CREATE DATABASE '$database';
DROP DATABASE;
SQL
    ); then
        echo "$output" >&2
        firebird_log
        fail "FireBird: SYSDBA cannot create a database on localhost:3050 with the password in /etc/firebird/3.0/SYSDBA.password"
    fi
}

# The FireBird servers of this system that run: every process of the
# package's server program (one started before an upgrade of the package
# too) that sees the same files as we do, not one in a container of its own,
# but the tests' own private servers, which are told their root through
# FIREBIRD. What a process sees and its environment are readable by root
# alone. None are counted when the server is configured as classic, which
# runs a process for each connection, all sharing the databases.
system_firebird_servers() {
    grep -Eqi '^[[:space:]]*ServerMode[[:space:]]*=[[:space:]]*(Super)?Classic' \
        /etc/firebird/3.0/firebird.conf 2>/dev/null && return 0
    local pids
    pids=$(running_processes firebird)
    [[ -n $pids ]] || return 0
    # shellcheck disable=SC2016,SC2086 # the inner script's own variables; one id a word
    as_root bash -c '
        own=$1
        shift
        for pid; do
            [[ $(stat -L -c %d:%i "/proc/$pid/root" 2>/dev/null) == "$own" ]] || continue
            case $(readlink "/proc/$pid/exe") in
                "/usr/sbin/firebird" | "/usr/sbin/firebird (deleted)") ;;
                *) continue ;;
            esac
            tr "\0" "\n" < "/proc/$pid/environ" 2>/dev/null | grep -q "^FIREBIRD=" ||
                echo "$pid"
        done' firebird-servers "$(stat -L -c %d:%i /)" $pids
}

# Two servers over the same security database refuse logins in turn: the
# server that finds the database opened by the other reports "Error occurred
# during login" to its client, and "Database already opened with engine
# instance, incompatible with current" to its log. One server must run; a
# second one (in another network namespace, or a guard's server that outlived
# it and no longer answers here) is named, never run beside.
check_one_firebird_server() {
    local servers
    servers=$(system_firebird_servers | tr '\n' ' ')
    servers=${servers% }
    [[ $servers == *' '* ]] || return 0
    echo "FireBird: these servers run over the same files:" >&2
    ps -o pid=,user=,lstart=,args= -p "${servers// /,}" >&2 || true
    firebird_log
    fail "FireBird: more than one server runs (processes $servers); each would refuse logins while the other holds the security database. Stop the one that does not answer on localhost:3050 and run again"
}

start_firebird() {
    local password_file=/etc/firebird/3.0/SYSDBA.password text
    if ! text=$(cat "$password_file" 2>/dev/null); then
        if ! as_root test -e "$password_file"; then
            fail "FireBird: $password_file is missing (is firebird3.0-server installed?)"
        fi
        text=$(as_root cat "$password_file") || fail "FireBird: cannot read $password_file"
    fi
    local password
    password=$(sed -n 's/^ISC_PASSWORD="\{0,1\}\([^"]*\)"\{0,1\}$/\1/p' <<<"$text")
    [[ -n $password ]] || fail "FireBird: $password_file holds no ISC_PASSWORD"

    if ! port_open 3050; then
        # A guard already running (started by the system, or by an earlier
        # run) is waited for; a second one would only fight the first.
        if process_running fbguard; then
            echo "FireBird: the guard runs already; waiting for the server"
        else
            # A server without a guard that does not answer: it may be
            # stopping. Any other would be a second server over our files.
            local stopping=0 others
            while others=$(system_firebird_servers | tr '\n' ' ') && [[ -n $others ]]; do
                if ((stopping >= 30)); then
                    fail "FireBird: a server runs (process ${others% }) but does not answer on localhost:3050; a second one would refuse logins while it holds the security database. Stop it and run again"
                fi
                sleep 1
                stopping=$((stopping + 1))
            done
            echo "FireBird: starting the server"
            as_root install -d -o firebird -g firebird /run/firebird3.0
            # The pid file of Debian's own service script, so that it can
            # stop the server.
            as_system_user firebird /usr/sbin/fbguard \
                -pidfile /run/firebird3.0/firebird.pid -daemon -forever ||
                { firebird_log; fail "FireBird: the guard did not start"; }
        fi
        local waited=0
        until port_open 3050; do
            if ! process_running fbguard; then
                firebird_log
                fail "FireBird: the guard stopped before the server accepted connections"
            fi
            if ((waited >= 60)); then
                firebird_log
                fail "FireBird: no server on localhost:3050 after ${waited} s"
            fi
            sleep 1
            waited=$((waited + 1))
        done
    fi
    check_one_firebird_server
    as_root install -d -o firebird -g firebird -m 1777 "$root/firebird"
    check_firebird_login "$password"
    setting TABLESCOPE_FB_USER SYSDBA
    setting TABLESCOPE_FB_PASSWORD "$password"
    setting TABLESCOPE_FB_DIR "$root/firebird"
}

postgres_sql() { # psql arguments...
    as_system_user postgres psql -X -q -v ON_ERROR_STOP=1 "$@"
}

start_postgresql() {
    if ! port_open 5432; then
        echo "PostgreSQL: starting the server"
        as_root pg_ctlcluster 15 main start || true
        local waited=0
        until port_open 5432; do
            if ((waited >= 60)); then
                as_root pg_ctlcluster 15 main status >&2 || true
                echo "--- the end of /var/log/postgresql/postgresql-15-main.log:" >&2
                as_root tail -n 20 /var/log/postgresql/postgresql-15-main.log >&2 || true
                fail "PostgreSQL: no server on localhost:5432 after ${waited} s"
            fi
            sleep 1
            waited=$((waited + 1))
        done
    fi
    postgres_sql <<'SQL'
DO $$ BEGIN
    IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'tablescope') THEN
        CREATE ROLE tablescope LOGIN PASSWORD 'tablescope';
    END IF;
END $$;
-- The ODBC tests give each test program a database of its own, so that
-- test runs side by side do not drop each other's tables.
ALTER ROLE tablescope CREATEDB;
SQL
    if ! postgres_sql -tAc "SELECT 1 FROM pg_database WHERE datname = 'tablescope_test'" |
        grep -q 1; then
        as_system_user postgres createdb -O tablescope tablescope_test
    fi
}

# MariaDB runs as mysql from a data folder of its own under the test folder,
# on a port of its own, so that a MariaDB of the system is left alone. Its
# process id tells whether it runs; stopping it is `kill` of that id.
mariadb_port=${TABLESCOPE_MARIADB_PORT:-3307}
mariadb_dir=$root/mariadb

# The id of the server running from our data folder, if any. Its pid file is
# the server's own (mode 660), so the process list is read instead.
mariadb_pid() {
    local cmdline pid
    for cmdline in /proc/[0-9]*/cmdline; do
        pid=${cmdline#/proc/}
        pid=${pid%/cmdline}
        [[ $(cat "/proc/$pid/comm" 2>/dev/null) == mariadbd ]] || continue
        if tr '\0' '\n' <"$cmdline" 2>/dev/null | grep -qxF -- "--datadir=$mariadb_dir/data"; then
            echo "$pid"
            return 0
        fi
    done
    return 1
}

mariadb_sql() { # mariadb arguments...
    as_system_user mysql mariadb --no-defaults --socket="$mariadb_dir/mariadb.sock" "$@"
}

mariadb_log() {
    echo "--- the end of $mariadb_dir/error.log:" >&2
    as_root tail -n 20 "$mariadb_dir/error.log" >&2 || true
}

start_mariadb() {
    [[ -x /usr/sbin/mariadbd ]] ||
        fail "MariaDB: /usr/sbin/mariadbd is missing (scripts/install-deps.sh --test installs it)"
    if ! mariadb_pid >/dev/null; then
        port_open "$mariadb_port" &&
            fail "MariaDB: port $mariadb_port is taken by another program (TABLESCOPE_MARIADB_PORT chooses another)"
        # World-readable, so that the user of the tests sees the pid file and
        # reaches the socket; the data below it is the server's alone.
        as_root install -d -o mysql -g mysql -m 755 "$mariadb_dir"
        if ! as_root test -d "$mariadb_dir/data/mysql"; then
            echo "MariaDB: creating the data folder"
            local log
            log=$(mktemp)
            as_system_user mysql mariadb-install-db --no-defaults --user=mysql \
                --datadir="$mariadb_dir/data" --auth-root-authentication-method=socket \
                --skip-test-db >"$log" 2>&1 ||
                { cat "$log" >&2; rm -f "$log"; fail "MariaDB: the data folder was not made"; }
            rm -f "$log"
        fi
        echo "MariaDB: starting the server"
        as_root rm -f "$mariadb_dir/mariadb.pid"
        as_system_user mysql setsid /usr/sbin/mariadbd --no-defaults \
            --datadir="$mariadb_dir/data" --socket="$mariadb_dir/mariadb.sock" \
            --pid-file="$mariadb_dir/mariadb.pid" --log-error="$mariadb_dir/error.log" \
            --bind-address=127.0.0.1 --port="$mariadb_port" --skip-name-resolve \
            --character-set-server=utf8mb4 --collation-server=utf8mb4_unicode_ci \
            </dev/null >/dev/null 2>&1 &
        local waited=0
        until mariadb_pid >/dev/null && port_open "$mariadb_port" &&
            mariadb_sql -e 'SELECT 1' >/dev/null 2>&1; do
            if ((waited >= 60)); then
                mariadb_log
                fail "MariaDB: no server on 127.0.0.1:$mariadb_port after ${waited} s"
            fi
            sleep 1
            waited=$((waited + 1))
        done
    fi
    # The test programs make databases of their own, named tablescope_...,
    # and grant the limited login what each case needs.
    mariadb_sql <<'SQL' || { mariadb_log; fail "MariaDB: the test users were not made"; }
CREATE DATABASE IF NOT EXISTS tablescope_test;
CREATE USER IF NOT EXISTS 'tablescope'@'127.0.0.1' IDENTIFIED BY 'tablescope';
GRANT ALL ON `tablescope\_%`.* TO 'tablescope'@'127.0.0.1' WITH GRANT OPTION;
CREATE USER IF NOT EXISTS 'tablescope_limited'@'127.0.0.1';
ALTER USER 'tablescope_limited'@'127.0.0.1' IDENTIFIED BY 'lim;it}ed pass';
SQL
}

# The PostgreSQL source goes over TCP to 127.0.0.1 with a password: through
# the socket, PostgreSQL would ask for the same system user's name (peer).
# unixODBC reads a driver's own settings (Servername, Port) from odbc.ini
# only when the file is the user's own, so the connect string names them too.
write_odbc_ini() {
    install -d -m 700 "$root/odbc"
    chmod 700 "$root/odbc"
    cat > "$root/odbc.ini.new" <<INI
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

[TablescopeMariaDB]
Driver = MariaDB Unicode
Server = 127.0.0.1
Port = $mariadb_port
Database = tablescope_test
INI
    mv -f "$root/odbc.ini.new" "$root/odbc.ini"
    setting ODBCINI "$root/odbc.ini"
    setting TABLESCOPE_ODBC_PG_DSN \
        "DSN=TablescopePG;Servername=127.0.0.1;Port=5432;UID=tablescope;PWD=tablescope"
    setting TABLESCOPE_ODBC_SQLITE_DSN "DSN=TablescopeSQLite"
    setting TABLESCOPE_ODBC_MARIADB_DSN \
        "DSN=TablescopeMariaDB;Server=127.0.0.1;Port=$mariadb_port;UID=tablescope;PWD=tablescope"
    setting TABLESCOPE_MARIADB_LIMITED_USER tablescope_limited
    setting TABLESCOPE_MARIADB_LIMITED_PASSWORD 'lim;it}ed pass'
}

umask 077
prepare_root
rm -f "$env_file.new"
start_firebird
start_postgresql
start_mariadb
write_odbc_ini
# Replaced whole, so that a test run reading it meanwhile sees the old one
# or the new one, never half of one.
mv -f "$env_file.new" "$env_file"
echo "Servers are up; their settings are in $env_file"
