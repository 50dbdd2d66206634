#!/bin/sh
# The Debian packages as a user meets them: `cpack -G DEB` in BUILD_DIR makes kovferrit-cli and
# kovferrit, lintian finds no error, warning or hardening tag in either, `apt-get install` of
# both, a first sync against the Quib simulator by a plain user from /usr/bin with no set-up,
# the user unit checked where it was installed, and `apt-get remove` taking the programs away
# again. Changes the machine, so it runs as root only.
# Usage: deb.sh BUILD_DIR
set -eu
build=$(cd "$1" && pwd)
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
if [ "$(id -u)" -ne 0 ]; then
    echo "deb: skipped, installing a package needs root"
    exit 0
fi
user=kovferrit-deb-test
work=$(mktemp -d)
sim=
# A program that writes beside itself would leave these behind; they are ours to remove.
strays="/usr/bin/settings.db /usr/bin/settings.db-wal /usr/bin/settings.db-shm"
installed=
created_user=
# Whatever happened, the machine is left as it was found: no package, no test user.
cleanup() {
    [ -z "$sim" ] || kill "$sim" 2> /dev/null || true
    [ -n "$strays_before" ] || rm -f $strays
    [ -z "$installed" ] || apt_get remove kovferrit kovferrit-cli > /dev/null 2>&1 || true
    [ -z "$created_user" ] || userdel -r "$user" > /dev/null 2>&1 || true
    rm -rf "$work"
}
strays_before=$(ls $strays 2> /dev/null || true)
trap cleanup EXIT INT TERM
failures=0
check() { # check WHAT COMMAND...: runs COMMAND, counts a failure with WHAT
    if "$@" > "$work/out" 2>&1; then
        echo "ok: $what"
    else
        echo "FAIL: $what" >&2
        sed 's/^/    /' "$work/out" >&2
        failures=$((failures + 1))
    fi
}
apt_get() { DEBIAN_FRONTEND=noninteractive apt-get -q -y -o DPkg::Lock::Timeout=120 "$@"; }

rm -f "$build"/kovferrit_*.deb "$build"/kovferrit-cli_*.deb
(cd "$build" && cpack -G DEB > "$work/cpack.log" 2>&1) || { cat "$work/cpack.log" >&2; exit 1; }
cli_deb=$(ls "$build"/kovferrit-cli_*_amd64.deb)
gui_deb=$(ls "$build"/kovferrit_*_amd64.deb)
version=$(dpkg-deb -f "$cli_deb" Version)

# lintian rates a binary built without Debian's hardening flags as info only; here it fails.
lintian_clean() {
    lintian --display-info --fail-on error,warning "$@" > "$work/lintian.log" 2>&1
    status=$?
    cat "$work/lintian.log"
    [ "$status" -eq 0 ] && ! grep -q 'hardening-' "$work/lintian.log"
}
what="lintian finds no error, warning or hardening tag"
check lintian_clean "$cli_deb" "$gui_deb"
what="kovferrit-cli needs no GUI library, kovferrit needs kovferrit-cli $version"
check sh -c "! dpkg-deb -f '$cli_deb' Depends | grep -E 'libqt6(gui|widgets)' && \
    dpkg-deb -f '$gui_deb' Depends | grep -F 'kovferrit-cli (= $version)'"
what="the desktop program is in kovferrit alone"
check sh -c "dpkg-deb -c '$gui_deb' | grep -q ' ./usr/bin/kovferrit\$' && \
    ! dpkg-deb -c '$cli_deb' | grep -E ' ./usr/(bin/kovferrit|share/applications/.*)\$'"

apt_get install "$cli_deb" "$gui_deb" > "$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; exit 1; }
installed=yes

what="kovferrit-cli --version prints $version"
check sh -c "/usr/bin/kovferrit-cli --version | grep -qw '$version'"

# Root, whose /usr/bin is writable, keeps its files in its own home all the same.
root_home="$work/root-home"
what="root's program folder is ~/.local/share/KovFerrit"
check sh -c "HOME='$root_home' env -u KOVFERRIT_HOME -u XDG_DATA_HOME /usr/bin/kovferrit-cli \
    settings set Port --number 1 && test -f '$root_home/.local/share/KovFerrit/settings.db'"

id "$user" > /dev/null 2>&1 || { useradd -m "$user" && created_user=yes; }
home=$(getent passwd "$user" | cut -d: -f6)
rm -rf "$home/.local/share/KovFerrit"
python3 "$source_dir/tools/quib-sim/quib_sim.py" --port 0 \
    --scenario "$source_dir/tools/quib-sim/demo.json" > "$work/simulator.url" &
sim=$!
i=0
while [ ! -s "$work/simulator.url" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
port=$(sed -n 's|.*:\([0-9]*\)/$|\1|p' "$work/simulator.url")
[ -n "$port" ] || { echo "deb: the simulator did not start" >&2; exit 1; }
as_user() { echo "$2" | runuser -u "$user" -- env -u KOVFERRIT_HOME -u XDG_DATA_HOME \
    HOME="$home" sh -c "cd && $1"; }
what="a plain user's first sync from /usr/bin"
check as_user "/usr/bin/kovferrit-cli account demo && /usr/bin/kovferrit-cli settings set Port \
    --number $port && /usr/bin/kovferrit-cli sync --channel 'Alpha TV=7' --channel 'Beta One=8' \
    && /usr/bin/kovferrit-cli recordings | grep -q '^Christmas_Concert'" demo-password
what="the user's files are in ~/.local/share/KovFerrit"
check sh -c "cd '$home/.local/share/KovFerrit' && test -f settings.db && test -f KOVSched.db && \
    grep -q 'Alpha TV' dbchannel.dat"
what="nothing was written to /usr/bin"
check sh -c "for f in $strays /usr/bin/KOVSched.db /usr/bin/dbchannel.dat; do \
    ! test -e \"\$f\" || { echo \"\$f\"; exit 1; }; done"

unit=/usr/lib/systemd/user/kovferrit-sync.service
what="systemd-analyze verifies $unit"
check sh -c "out=\$(XDG_RUNTIME_DIR='$work' systemd-analyze verify --user '$unit' 2>&1) && \
    grep -qx 'ExecStart=/usr/bin/kovferrit-cli daemon' '$unit' && test -z \"\$out\" || \
    { echo \"\$out\"; exit 1; }"
what="man finds kovferrit-cli(1)"
check sh -c "man -w kovferrit-cli | grep -q /usr/share/man/man1/kovferrit-cli.1"

apt_get remove kovferrit kovferrit-cli > "$work/apt.log" 2>&1 ||
    { cat "$work/apt.log" >&2; exit 1; }
installed=
what="apt-get remove takes the programs and the unit away"
check sh -c "! test -e /usr/bin/kovferrit-cli && ! test -e /usr/bin/kovferrit && ! test -e '$unit'"

if [ "$failures" -ne 0 ]; then
    echo "deb: $failures check(s) failed" >&2
    exit 1
fi
echo "deb: $(basename "$cli_deb") and $(basename "$gui_deb") pass lintian, install, sync as a" \
    "plain user and remove cleanly"
