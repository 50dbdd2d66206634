#!/bin/sh
# Runs a test in a home of its own, on a D-Bus session bus of its own, with a GNOME Keyring whose
# login keyring the test password unlocked, as a desktop login leaves it. The user's own keyring
# is never touched.
set -eu
if [ "${1:-}" != --inside ]; then
    home=$(mktemp -d)
    trap 'rm -rf "$home"' EXIT
    # Set before the bus starts, so that a service it starts on demand lives in this home too.
    export HOME="$home" XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" \
        XDG_CACHE_HOME="$home/cache" XDG_RUNTIME_DIR="$home/run"
    mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    status=0
    dbus-run-session -- sh "$0" --inside "$@" || status=$?
    exit "$status"
fi
shift
export KOVFERRIT_TEST_KEYRING_PASSWORD=keyring-test-password
printf %s "$KOVFERRIT_TEST_KEYRING_PASSWORD" |
    gnome-keyring-daemon --foreground --unlock --components=secrets >/dev/null &
keyring=$!
trap 'kill "$keyring" 2>/dev/null || true' EXIT
# Ready once it owns the Secret Service's name (asked of the bus, which starts nothing).
tries=0
until gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.NameHasOwner org.freedesktop.secrets 2>/dev/null |
    grep -q true; do
    tries=$((tries + 1))
    [ "$tries" -lt 100 ] || { echo "keyring.sh: gnome-keyring-daemon did not start" >&2; exit 1; }
    sleep 0.1
done
"$@"
