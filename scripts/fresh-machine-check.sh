#!/usr/bin/env bash
# Tries the README's two commands the way a newcomer meets them: on freshly
# bootstrapped Debian 12 machines (stock /etc/hosts, where localhost is also
# ::1; no locale set; nothing installed beyond the base system and what the
# README asks for first: git, sudo and a user who may use it).
#
#   scripts/fresh-machine-check.sh [--dir DIR] [--keep] [--machine NAME]
#
#   --dir DIR       work in DIR and keep it; run again with the same DIR to go
#                   on after the last step that passed (delete DIR/done/STEP
#                   to repeat a step)
#   --keep          keep the temporary folder (it is removed otherwise)
#   --machine NAME  try only one of the machines below
#
# Each machine starts as a copy of the same freshly bootstrapped system:
#
#   user-alone  the new user '$new_user' (who has sudo) alone: both commands,
#               `sudo scripts/build.sh`, who owns what was made, and a
#               restart of the FireBird server right after it was killed
#   root-first  root alone: both commands; then '$new_user' on the same
#               machine, with what root's test run left behind: the test
#               command again, who owns what was made, and a second FireBird
#               server over the same files, which must be refused
#
# Checks the committed HEAD of this repository, not uncommitted changes. A
# machine runs in network, mount, process, IPC and host-name namespaces of
# its own: it never sees this machine's servers or processes, and
# slirp4netns gives it the outside network for its packages, fetched from
# the Debian mirror that this machine's apt is configured with. Everything
# it started ends with it. Needs root; takes a long while (the test command
# builds the whole project twice, and it runs three times), so it is not
# part of CI.
# The functions are called indirectly, through step and trap.
# shellcheck disable=SC2317
set -euo pipefail

script=$(readlink -f "$0")
repo=$(cd "$(dirname "$script")/.." && pwd)
steps_path=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
new_user=newcomer
all_machines=(user-alone root-first)

say() { echo "[fresh-machine-check $(date -u +%H:%M:%S)] $*"; }

# ---------------------------------------------------------------------------
# Inside the namespaces: prepare the new system and run the steps.

# Runs one step of this machine unless an earlier run passed it; its output
# goes to DIR/logs/MACHINE.STEP.log and, when it fails, its end is shown.
step() { # name description command...
    local name=$machine.$1 description=$2
    shift 2
    if [[ -e $work/done/$name ]]; then
        say "SKIP $name: $description (passed in an earlier run)"
        return 0
    fi
    say "RUN  $name: $description"
    local start=$SECONDS rc=0
    "$@" > "$work/logs/$name.log" 2>&1 < /dev/null || rc=$?
    local took=$((SECONDS - start))
    if [[ $rc -eq 0 ]]; then
        touch "$work/done/$name"
        say "PASS $name ($((took / 60)) min $((took % 60)) s)"
    else
        say "FAIL $name ($((took / 60)) min $((took % 60)) s, exit code $rc); the end of $work/logs/$name.log:"
        tail -n 60 "$work/logs/$name.log" | sed 's/^/    /'
        # FireBird tells its clients only "check server firebird.log".
        local firebird_log=$rootfs/var/log/firebird/firebird3.0.log
        if [[ -s $firebird_log ]]; then
            say "the end of the machine's ${firebird_log#"$rootfs"}:"
            tail -n 30 "$firebird_log" | sed 's/^/    /'
        fi
        return 1
    fi
}

# A command in the new system as root, in a login-like environment without
# any locale.
as_new_root() { # shell command
    chroot "$rootfs" /usr/bin/env -i PATH="$steps_path" HOME=/root TERM=dumb USER=root \
        LOGNAME=root SHELL=/bin/bash /bin/bash -c "cd /root && $1"
}

# A command in the new system as the new user, through a login shell.
as_new_user() { # shell command
    chroot "$rootfs" /usr/bin/env -i PATH="$steps_path" TERM=dumb \
        /usr/sbin/runuser -l "$new_user" -c "$1"
}

# scripts/run.sh in the given clone: passes when the application is still
# running 20 seconds after it started (on a virtual display); then it is
# ended.
run_command_check() { # as_new_root|as_new_user clone
    "$1" "cd $2 && {
        scripts/run.sh & runner=\$!
        while kill -0 \$runner 2>/dev/null; do
            for comm in /proc/[0-9]*/comm; do
                [[ \$(cat \$comm 2>/dev/null) == tablescope ]] || continue
                app=\${comm#/proc/}; app=\${app%/comm}
                sleep 20
                if kill -0 \$app 2>/dev/null; then
                    echo 'The application runs; ending it.'
                    kill \$app; wait \$runner || true
                    exit 0
                fi
                echo 'The application ended by itself.'; wait \$runner; exit 1
            done
            sleep 2
        done
        wait \$runner; echo \"scripts/run.sh ended (exit code \$?) without starting the application\"
        exit 1
    }"
}

ownership_check() {
    as_new_user "cd ~/tablescope && others=\$(find . ! -user $new_user | head -5)
        [[ -z \$others ]] || { echo \"not the user's own: \$others\"; exit 1; }
        env=/tmp/tablescope-test/env
        for f in \$env /tmp/tablescope-test/odbc.ini; do
            stat -c '%n %U %a' \$f
            [[ \$(stat -c '%U %a' \$f) == '$new_user 600' ]] || { echo \"\$f: wrong owner or mode\"; exit 1; }
        done"
}

# The FireBird guard and server killed and the servers started again at
# once, as the new user, where the guard's parent collects its ended
# children late (the first process of some containers does): the killed
# guard is still a zombie when start-servers.sh looks for it. Then a
# database is created and dropped on the new server.
guard_restart_check() {
    install -d "$rootfs/opt/fresh-machine-check"
    cat > "$rootfs/opt/fresh-machine-check/guard-restart" <<'CHECK'
#!/bin/bash
set -euo pipefail
# Process ids of the running (not zombie) processes of that name.
running() { ps -eo pid=,stat=,comm= | awk -v n="$1" '$3 == n && $2 !~ /^Z/ { print $1 }'; }
gone() { [[ -z $(running fbguard) && -z $(running firebird) ]]; }
kill_firebird() {
    local pids
    pids=$(running fbguard; running firebird)
    # shellcheck disable=SC2086 # one argument a process id
    [[ -z $pids ]] || sudo kill -KILL $pids
    local waited=0
    until gone; do
        ((waited++ < 50)) || { echo "the guard or the server outlived SIGKILL"; exit 1; }
        sleep 0.1
    done
}
echo "Killing the FireBird guard and server that run, if any"
kill_firebird
scripts/start-servers.sh
echo "Killing the guard and the server"
guard=$(running fbguard)
kill_firebird
ps -o pid=,stat=,comm= -p "$guard" || true
ps -o stat= -p "$guard" | grep -q '^ *Z' ||
    { echo "the guard was collected at once: nothing is checked"; exit 1; }
scripts/start-servers.sh
# shellcheck disable=SC1091
source /tmp/tablescope-test/env
database="localhost:$TABLESCOPE_FB_DIR/restart-check.fdb"
isql-fb -q -b -user "$TABLESCOPE_FB_USER" -password "$TABLESCOPE_FB_PASSWORD" <<SQL
CREATE DATABASE '$database';
DROP DATABASE;
SQL
echo "The restarted server created and dropped $database"
CHECK
    chmod 755 "$rootfs/opt/fresh-machine-check/guard-restart"
    # The parent that reaps late: a subreaper (prctl 36, system call 157 on
    # x86-64) that waits for its own command alone, so every orphan (the
    # daemon guard, its server) stays a zombie until the command ends.
    as_new_user "cd ~/tablescope && perl -e '
        syscall(157, 36, 1, 0, 0, 0) == 0 or die \"cannot become a subreaper: \$!\\n\";
        defined(my \$pid = fork) or die \"fork: \$!\\n\";
        if (\$pid == 0) { exec @ARGV or die \"\$ARGV[0]: \$!\\n\" }
        waitpid(\$pid, 0);
        exit(\$? & 127 ? 1 : \$? >> 8)' /opt/fresh-machine-check/guard-restart"
}

# A second FireBird server over the same files, in a network namespace of
# its own (as a container that shares the disk would run it): it answers
# there, not here, and each server would refuse logins while the other holds
# the security database. start-servers.sh names it and fails; once it is
# gone, the servers start as before.
second_server_check() {
    install -d "$rootfs/opt/fresh-machine-check"
    cat > "$rootfs/opt/fresh-machine-check/second-server" <<'CHECK'
#!/bin/bash
set -euo pipefail
# The servers in another network namespace than this script's.
elsewhere() {
    local pid here
    here=$(readlink /proc/self/ns/net)
    for pid in $(pgrep -x firebird); do
        [[ $(sudo readlink "/proc/$pid/ns/net") != "$here" ]] && echo "$pid"
    done
    return 0
}
stop_second() {
    local pids
    pids=$(elsewhere)
    # shellcheck disable=SC2086 # one id a word
    [[ -z $pids ]] || sudo kill -KILL $pids
}
sudo unshare --net sh -c 'ip link set lo up && exec runuser -u firebird -- /usr/sbin/firebird' \
    >/dev/null 2>&1 &
trap stop_second EXIT
sleep 3
[[ -n $(elsewhere) ]] || { echo "the second server did not start"; exit 1; }
if output=$(scripts/start-servers.sh 2>&1); then
    echo "$output"
    echo "start-servers.sh passed beside a second FireBird server"
    exit 1
fi
echo "$output" | tail -n 3
grep -q 'more than one server runs' <<<"$output" ||
    { echo "start-servers.sh failed for another reason"; exit 1; }
stop_second
trap - EXIT
sleep 1
scripts/start-servers.sh
echo "The second server was named, and the servers started once it was gone"
CHECK
    chmod 755 "$rootfs/opt/fresh-machine-check/second-server"
    as_new_user "cd ~/tablescope && /opt/fresh-machine-check/second-server"
}

base_steps() {
    step prerequisites "as root: apt-get install git sudo, as the README asks first" \
        as_new_root "apt-get update && apt-get install -y git sudo"
    step new-user "a new user '$new_user' who may use sudo" \
        as_new_root "id $new_user >/dev/null 2>&1 || useradd -m -s /bin/bash -G sudo $new_user
            echo '$new_user ALL=(ALL) NOPASSWD: ALL' > /etc/sudoers.d/$new_user
            chmod 440 /etc/sudoers.d/$new_user"
}

user_clone() {
    step user-clone "as $new_user: git clone" \
        as_new_user "rm -rf ~/tablescope && git clone /srv/tablescope.git ~/tablescope"
}

root_clone() {
    step root-clone "as root: git clone" \
        as_new_root "rm -rf /root/tablescope && git clone /srv/tablescope.git /root/tablescope"
}

user_alone_steps() {
    user_clone
    # shellcheck disable=SC2088 # the new user's shell expands it
    step user-run "as $new_user: scripts/run.sh" run_command_check as_new_user "~/tablescope"
    step user-test "as $new_user: scripts/test.sh" \
        as_new_user "cd ~/tablescope && scripts/test.sh"
    step user-sudo-build "as $new_user: sudo scripts/build.sh (builds as $new_user all the same)" \
        as_new_user "cd ~/tablescope && sudo scripts/build.sh normal"
    step user-owns "what $new_user built and the test settings are $new_user's own" \
        ownership_check
    step guard-restart "the FireBird guard and server killed and started again at once" \
        guard_restart_check
}

root_first_steps() {
    root_clone
    step root-run "as root: scripts/run.sh" run_command_check as_new_root /root/tablescope
    step root-test "as root: scripts/test.sh" as_new_root "cd /root/tablescope && scripts/test.sh"
    user_clone
    step user-test "as $new_user, after root's test run on the same machine: scripts/test.sh" \
        as_new_user "cd ~/tablescope && scripts/test.sh"
    step user-owns "what $new_user built and the test settings are $new_user's own" \
        ownership_check
    step second-server "a second FireBird server over the same files is named, not run beside" \
        second_server_check
}

inside() {
    rootfs=$work/$machine
    hostname fresh
    ip link set lo up
    # slirp4netns configures tap0 from outside; wait for it.
    local waited=0
    until ip -4 addr show tap0 2>/dev/null | grep -q inet; do
        ((waited++ < 60)) || { echo "slirp4netns gave no network" >&2; return 1; }
        sleep 1
    done
    mount -t proc proc "$rootfs/proc"
    mount -t sysfs sysfs "$rootfs/sys"
    mount --rbind /dev "$rootfs/dev"
    mount -t tmpfs -o mode=1777 shm "$rootfs/dev/shm"
    mount -t tmpfs -o mode=755 run "$rootfs/run"
    case $machine in
        base) base_steps ;;
        user-alone) user_alone_steps ;;
        root-first) root_first_steps ;;
    esac
}

if [[ ${1:-} == --inside ]]; then
    work=$2
    machine=$3
    inside
    exit
fi

# ---------------------------------------------------------------------------
# Outside: bootstrap, copy the machines, start the namespaces and the
# network, clean up.

work=""
keep=no
machines=("${all_machines[@]}")
usage() {
    echo "usage: $0 [--dir DIR] [--keep] [--machine ${all_machines[*]// /|}]" >&2
    exit 2
}
while [[ $# -gt 0 ]]; do
    case $1 in
        --dir) [[ $# -ge 2 ]] || usage; work=$2; keep=yes; shift 2 ;;
        --keep) keep=yes; shift ;;
        --machine)
            [[ $# -ge 2 && " ${all_machines[*]} " == *" $2 "* ]] || usage
            machines=("$2")
            shift 2
            ;;
        *) usage ;;
    esac
done
[[ $(id -u) -eq 0 ]] || { echo "$0 needs root (debootstrap, chroot, namespaces)" >&2; exit 1; }

tools=()
command -v debootstrap >/dev/null || tools+=(debootstrap)
command -v slirp4netns >/dev/null || tools+=(slirp4netns)
if [[ ${#tools[@]} -gt 0 ]]; then
    say "installing ${tools[*]}"
    apt-get install -y -qq "${tools[@]}" >/dev/null
fi

# The first Debian 12 mirror that apt here uses, from either style of source
# list.
apt_mirror() {
    local f
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [[ -f $f ]] || continue
        awk '$1 == "deb" {
                 i = 2
                 if ($i ~ /^\[/) { while ($i !~ /\]$/) i++; i++ }
                 if ($(i + 1) == "bookworm") { print $i; exit }
             }' "$f"
    done
    for f in /etc/apt/sources.list.d/*.sources; do
        [[ -f $f ]] || continue
        awk 'BEGIN { RS = ""; FS = "\n" }
             {
                 types = ""; uris = ""; suites = ""; enabled = "yes"
                 for (j = 1; j <= NF; j++) {
                     if ($j ~ /^#/ || index($j, ":") == 0) continue
                     k = tolower(substr($j, 1, index($j, ":") - 1))
                     v = substr($j, index($j, ":") + 1)
                     gsub(/^[ \t]+|[ \t]+$/, "", v)
                     if (k == "types") types = v
                     else if (k == "uris") uris = v
                     else if (k == "suites") suites = v
                     else if (k == "enabled") enabled = tolower(v)
                 }
                 if (enabled != "no" && (" " types " ") ~ / deb / &&
                     (" " suites " ") ~ / bookworm /) {
                     split(uris, u, " "); print u[1]; exit
                 }
             }' "$f"
    done
}
mirror=$(apt_mirror | head -n 1)
[[ -n $mirror ]] || { echo "no Debian 12 (bookworm) mirror in /etc/apt/sources.list*" >&2; exit 1; }

if [[ -z $work ]]; then
    work=$(mktemp -d /var/tmp/tablescope-fresh.XXXXXX)
fi
mkdir -p "$work/logs" "$work/done"
work=$(cd "$work" && pwd)
started=$SECONDS

ns_pid=""
slirp_pid=""
# Ends the machine that runs: killing unshare (SIGKILL: it blocks the other
# signals while it waits) kills its child, the first process of the new
# process namespace, and with it every process the machine started; its
# mounts go with its mount namespace.
stop_machine() {
    if [[ -n $ns_pid ]]; then
        kill -KILL "$ns_pid" 2>/dev/null
        wait "$ns_pid" 2>/dev/null
        ns_pid=""
    fi
    if [[ -n $slirp_pid ]]; then
        kill "$slirp_pid" 2>/dev/null
        wait "$slirp_pid" 2>/dev/null
        slirp_pid=""
    fi
}
cleanup() {
    local rc=$?
    trap - EXIT INT TERM
    # Clean up whatever fails on the way (a killed process's wait fails).
    set +e
    stop_machine
    if grep -q " $work/" /proc/self/mountinfo; then
        say "something is still mounted under $work; it is left in place"
    elif [[ $keep == no ]]; then
        rm -rf "$work"
    else
        say "kept $work"
    fi
    exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

say "checking $(git -C "$repo" rev-parse --short HEAD) of $repo in $work"
if [[ -n $(git -C "$repo" status --porcelain) ]]; then
    say "note: uncommitted changes in $repo are not part of the check"
fi

# What a fresh installation has: a stock hosts file (localhost is also ::1),
# its own name, no locale configured. The name server is slirp4netns's. And
# the repository, as a newcomer would clone it: it stands in for the public
# one, so any user may clone it although root owns it.
prepare() { # rootfs
    cat > "$1/etc/hosts" <<'HOSTS'
127.0.0.1	localhost
127.0.1.1	fresh

# The following lines are desirable for IPv6 capable hosts
::1     localhost ip6-localhost ip6-loopback
ff02::1 ip6-allnodes
ff02::2 ip6-allrouters
HOSTS
    echo fresh > "$1/etc/hostname"
    echo "nameserver 10.0.2.3" > "$1/etc/resolv.conf"
    rm -f "$1/etc/default/locale"
    rm -rf "$1/srv/tablescope.git"
    git clone --quiet --bare "$repo" "$1/srv/tablescope.git"
    printf '[safe]\n\tdirectory = /srv/tablescope.git\n' > "$1/etc/gitconfig"
}

# Starts the machine in DIR/NAME in namespaces of its own, runs its steps
# and waits for them.
boot() { # name
    unshare --net --mount --pid --ipc --uts --fork --kill-child --propagation private \
        nice -n 5 "$script" --inside "$work" "$1" &
    ns_pid=$!
    # slirp4netns must be given the new network namespace: given unshare
    # before it has made one, it would configure this machine's own network.
    local own
    own=$(readlink /proc/self/ns/net)
    while kill -0 "$ns_pid" 2>/dev/null &&
        [[ $(readlink "/proc/$ns_pid/ns/net" 2>/dev/null) == "$own" ]]; do
        sleep 0.1
    done
    slirp4netns --configure --mtu=65520 --disable-host-loopback "$ns_pid" tap0 \
        > "$work/logs/$1.slirp4netns.log" 2>&1 &
    slirp_pid=$!
    local rc=0
    wait "$ns_pid" || rc=$?
    ns_pid=""
    stop_machine
    return "$rc"
}

if [[ ! -e $work/done/bootstrap ]]; then
    say "RUN  bootstrap: debootstrap bookworm from $mirror"
    rm -rf "$work/base"
    if ! debootstrap bookworm "$work/base" "$mirror" > "$work/logs/bootstrap.log" 2>&1; then
        say "FAIL bootstrap; the end of $work/logs/bootstrap.log:"
        tail -n 30 "$work/logs/bootstrap.log" | sed 's/^/    /'
        exit 1
    fi
    touch "$work/done/bootstrap"
    say "PASS bootstrap"
fi
prepare "$work/base"
if ! boot base; then
    say "FAILED: the base system; logs in $work/logs (run again with --dir $work to go on)"
    keep=yes
    exit 1
fi

# Every machine starts from the same base, whatever the others did.
failed=()
for machine in "${machines[@]}"; do
    if [[ ! -e $work/done/$machine.copy ]]; then
        say "RUN  $machine: a copy of the fresh system"
        rm -rf "${work:?}/$machine"
        cp -a "$work/base" "$work/$machine"
        touch "$work/done/$machine.copy"
    fi
    prepare "$work/$machine"
    boot "$machine" || failed+=("$machine")
done

took=$((SECONDS - started))
if [[ ${#failed[@]} -eq 0 ]]; then
    say "PASSED: ${machines[*]} ($((took / 60)) min $((took % 60)) s)"
    exit 0
fi
say "FAILED: ${failed[*]} ($((took / 60)) min $((took % 60)) s); logs in $work/logs (run again with --dir $work to go on)"
keep=yes
exit 1
