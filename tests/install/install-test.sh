#!/usr/bin/env bash
# Installs the build tree into a temporary prefix and checks what a desktop
# needs: the files, the three validators (desktop entry, AppStream metainfo,
# manual page), the installed program's --help and --version without a
# display, and the Debian package: its contents and that its Depends cover
# every library the program links.
#
#   install-test.sh BUILD_DIR VERSION
#
# VERSION is the three-part version --version must show. CMAKE and CPACK
# name the tools when they are not the ones on the PATH. The build tree must
# be built whole first: the install takes every target.
set -euo pipefail

build=$(realpath "$1")
version=$2
cmake=${CMAKE:-cmake}
cpack=${CPACK:-cpack}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
need() {
    command -v "$1" >/dev/null || { echo "FAIL: $1 is not installed ($2)" >&2; exit 1; }
}
need desktop-file-validate desktop-file-utils
need appstreamcli appstream
need man man-db
need lexgrog man-db
need groff groff-base
need "$cmake" cmake
need "$cpack" cmake
need dpkg-deb dpkg
need dpkg-shlibdeps dpkg-dev

# The width and height of a PNG, from its header.
png_size() {
    local hex
    hex=$(od -An -tx1 -j16 -N8 "$1" | tr -d ' \n')
    echo "$((16#${hex:0:8}))x$((16#${hex:8:8}))"
}

# --- Install into a temporary prefix, staged the way a package is. ---------
root=$work/root
DESTDIR=$root "$cmake" --install "$build" --prefix /usr >"$work/install.log"
prefix=$root/usr

expected=(
    bin/tablescope
    share/applications/tablescope.desktop
    share/metainfo/com.example.tablescope.metainfo.xml
    share/man/man1/tablescope.1.gz
    share/icons/hicolor/scalable/apps/tablescope.svg
)
sizes=(16 22 24 32 48 64 128 256)
for s in "${sizes[@]}"; do
    expected+=("share/icons/hicolor/${s}x${s}/apps/tablescope.png")
done
for f in "${expected[@]}"; do
    [[ -f "$prefix/$f" ]] || fail "not installed: $f"
done
[[ -x "$prefix/bin/tablescope" ]] || fail "bin/tablescope is not executable"
for s in "${sizes[@]}"; do
    png=$prefix/share/icons/hicolor/${s}x${s}/apps/tablescope.png
    [[ -f "$png" ]] || continue
    got=$(png_size "$png")
    [[ "$got" == "${s}x${s}" ]] || fail "the ${s}x${s} icon is $got"
done

# --- The validators. -------------------------------------------------------
desktop=$prefix/share/applications/tablescope.desktop
desktop-file-validate "$desktop" >"$work/desktop.log" 2>&1 || true
[[ -s "$work/desktop.log" ]] && fail "desktop-file-validate: $(cat "$work/desktop.log")"
grep -qx 'Exec=tablescope %f' "$desktop" || fail "the desktop entry does not start tablescope with a file"
grep -qx 'Icon=tablescope' "$desktop" || fail "the desktop entry names another icon"
grep -qx 'Categories=Development;Database;' "$desktop" || fail "the desktop entry's categories"
mimes=$(sed -n 's/^MimeType=//p' "$desktop")
for m in application/vnd.sqlite3 application/x-sqlite3; do
    [[ ";$mimes" == *";$m;"* ]] || fail "the desktop entry does not offer to open $m"
done
# The desktop knows SQLite files by the shared MIME database's name for them.
shared_mime=/usr/share/mime/packages/freedesktop.org.xml
if [[ -f "$shared_mime" ]]; then
    grep -q 'type="application/vnd.sqlite3"' "$shared_mime" ||
        fail "the shared MIME database does not know application/vnd.sqlite3"
fi

# The homepage is in a reserved domain that never resolves: no URL checks.
appstreamcli validate --no-net --strict --pedantic \
    "$prefix/share/metainfo/com.example.tablescope.metainfo.xml" >"$work/as.log" 2>&1 ||
    fail "appstreamcli validate: $(cat "$work/as.log")"
appstreamcli validate-tree --no-net --strict "$root" >"$work/astree.log" 2>&1 ||
    fail "appstreamcli validate-tree: $(cat "$work/astree.log")"
release=$(grep -o '<release version="[^"]*"' \
    "$prefix/share/metainfo/com.example.tablescope.metainfo.xml" | head -n1 | cut -d'"' -f2)
[[ "$release" == "$version" ]] || fail "the metainfo's newest release is $release, not $version"

manpage=$prefix/share/man/man1/tablescope.1.gz
LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$manpage" >"$work/man.txt" 2>"$work/man.err" ||
    fail "man could not format the manual page"
[[ -s "$work/man.err" ]] && fail "man warns: $(cat "$work/man.err")"
zcat "$manpage" | groff -man -ww -z -Tutf8 2>"$work/groff.err" || fail "groff failed"
[[ -s "$work/groff.err" ]] && fail "groff warns: $(cat "$work/groff.err")"
lexgrog "$manpage" >"$work/lexgrog.txt" 2>&1 || fail "lexgrog finds no NAME section: $(cat "$work/lexgrog.txt")"
grep -q "Tablescope $version" "$work/man.txt" || fail "the manual page does not carry version $version"

# --- The installed program answers without a display. ----------------------
headless=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
out=$("${headless[@]}" "$prefix/bin/tablescope" --version 2>"$work/err") || fail "--version failed: $(cat "$work/err")"
[[ "$out" == "Tablescope $version" ]] || fail "--version printed '$out'"
out=$("${headless[@]}" "$prefix/bin/tablescope" --help 2>"$work/err") || fail "--help failed: $(cat "$work/err")"
[[ "$out" == "Usage: tablescope [options] [file]"* ]] || fail "--help printed '$out'"
status=0
QT_QPA_PLATFORM=offscreen "$prefix/bin/tablescope" --no-such-option >/dev/null 2>"$work/err" || status=$?
[[ $status -eq 2 ]] || fail "an unknown option ended with status $status"
grep -q "Unknown option 'no-such-option'" "$work/err" || fail "an unknown option said: $(cat "$work/err")"

# --- The Debian package. ---------------------------------------------------
"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack failed"; exit 1; }
deb=$(ls "$work"/package/tablescope_*.deb)
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./||' >"$work/contents"
for f in "${expected[@]}"; do
    grep -qx "usr/$f" "$work/contents" || fail "the package lacks /usr/$f"
done
field() { dpkg-deb -f "$deb" "$1"; }
[[ "$(field Package)" == tablescope ]] || fail "package name $(field Package)"
[[ "$(field Section)" == database ]] || fail "section $(field Section)"
[[ "$(field Maintainer)" == *@example.com\> ]] || fail "maintainer $(field Maintainer)"
[[ "$(field Homepage)" == https://*example.com/* ]] || fail "homepage $(field Homepage)"
depends=$(field Depends)
[[ ", $depends," == *", libqt6svg6"[\ ,]* ]] || fail "Depends lacks libqt6svg6 (the icon's SVG plugins): $depends"

# The names in a Depends-style field, alternatives and versions dropped.
names() { tr ',|' '\n' | sed 's/([^)]*)//; s/:any//; s/[[:space:]]//g' | sed '/^$/d'; }

# Every declared dependency is installed here in a version that satisfies it.
while IFS= read -r clause; do
    clause=${clause#"${clause%%[![:space:]]*}"}
    name=${clause%% *}
    have=$(dpkg-query -W -f='${Version}' "$name" 2>/dev/null || true)
    [[ -n "$have" ]] || { fail "dependency $name is not a package installed here"; continue; }
    if [[ "$clause" =~ \((\>=|\<=|\>\>|\<\<|=)\ *([^\)]+)\) ]]; then
        dpkg --compare-versions "$have" "${BASH_REMATCH[1]}" "${BASH_REMATCH[2]}" ||
            fail "dependency $clause: $have is installed"
    fi
done < <(echo "$depends" | tr ',' '\n')

# The closure of the declared dependencies over what is installed here.
declare -A closure=()
queue=$(echo "$depends" | names)
while [[ -n "$queue" ]]; do
    next=""
    for p in $queue; do
        [[ -n "${closure[$p]:-}" ]] && continue
        closure[$p]=1
        more=$(dpkg-query -W -f='${Depends}, ${Pre-Depends}' "$p" 2>/dev/null || true)
        next+=" $(echo "$more" | names | tr '\n' ' ')"
    done
    queue=$next
done

# Every library the installed program links is owned by a package in it.
# dpkg knows a file by the path it shipped it under, which on a merged-/usr
# system may differ from what the loader reports by the /usr prefix; one
# dpkg -S for all spellings, since each call reads the whole file list.
ldd "$prefix/bin/tablescope" >"$work/ldd.txt"
if grep -q 'not found' "$work/ldd.txt"; then
    fail "libraries not found: $(grep 'not found' "$work/ldd.txt")"
fi
libraries=$(awk '/=> \// {print $3} /^[[:space:]]*\/[^ ]*/ {print $1}' "$work/ldd.txt")
[[ -n "$libraries" ]] || fail "ldd reported no libraries"
spellings() {
    local real
    real=$(realpath "$1")
    printf '%s\n' "$1" "$real" "${1#/usr}" "/usr$1" "${real#/usr}" "/usr$real" | sort -u
}
for lib in $libraries; do spellings "$lib"; done | sort -u >"$work/paths"
xargs dpkg -S <"$work/paths" >"$work/owners" 2>/dev/null || true
for lib in $libraries; do
    package=""
    while IFS= read -r path; do
        package=$(awk -F': ' -v p="$path" '$2 == p {print $1; exit}' "$work/owners")
        [[ -n "$package" ]] && break
    done < <(spellings "$lib")
    package=${package%%:*}
    package=${package%%,*}
    if [[ -z "$package" ]]; then
        fail "no package owns $lib"
    elif [[ -z "${closure[$package]:-}" ]]; then
        fail "$lib comes from $package, which Depends does not pull in"
    fi
done

if ((failures > 0)); then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "Installed $(wc -l <"$work/contents") package entries; Depends: $depends"
echo "Every linked library is covered: $(echo "$libraries" | wc -w) libraries, ${#closure[@]} packages in the closure."
