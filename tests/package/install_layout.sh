#!/bin/sh
# `cmake --install` into a fresh prefix puts every file where a desktop, man and systemd look
# for it, and the files are valid to the tools that read them (each check runs where its tool
# is installed). Usage: install_layout.sh BUILD_DIR
set -eu
build=$1
d=$(mktemp -d)
trap 'rm -rf "$d"' EXIT
cmake --install "$build" --prefix "$d" > /dev/null
fail() { echo "install_layout: $*" >&2; exit 1; }

for f in bin/kovferrit bin/kovferrit-cli; do test -x "$d/$f" || fail "$f missing"; done
for f in share/applications/io.github.kovferrit.KovFerrit.desktop share/man/man1/kovferrit.1 \
         share/man/man1/kovferrit-cli.1 share/metainfo/io.github.kovferrit.KovFerrit.metainfo.xml \
         lib/systemd/user/kovferrit-sync.service; do
    test -f "$d/$f" || fail "$f missing"
done
for f in share/bash-completion/completions/kovferrit-cli share/zsh/vendor-completions/_kovferrit-cli; do
    test -f "$d/$f" || fail "completion $f missing"
done
for n in 16 32 48 64 128 256; do
    icon="$d/share/icons/hicolor/${n}x$n/apps/kovferrit.png"
    test -f "$icon" || fail "no ${n}x$n icon"
    # A PNG's width and height are the big-endian words at bytes 16 and 20.
    size=$(od -An -tu1 -j16 -N8 "$icon" | awk '{print $3 * 256 + $4 "x" $7 * 256 + $8}')
    [ "$size" = "${n}x$n" ] || fail "the ${n}x$n icon is $size"
done

unit="$d/lib/systemd/user/kovferrit-sync.service"
grep -qx "ExecStart=$d/bin/kovferrit-cli daemon" "$unit" || fail "the unit does not start $d/bin/kovferrit-cli"
if grep -q '^User=' "$unit"; then fail "the user unit names a user"; fi
if command -v systemd-analyze > /dev/null; then
    # A bad setting is only warned about, so any output fails too.
    runtime=$(mktemp -d)
    out=$(XDG_RUNTIME_DIR=$runtime systemd-analyze --man=no verify --user "$unit" 2>&1) ||
        fail "systemd-analyze: $out"
    rm -rf "$runtime"
    [ -z "$out" ] || fail "systemd-analyze: $out"
fi
if command -v desktop-file-validate > /dev/null; then
    out=$(desktop-file-validate "$d/share/applications/io.github.kovferrit.KovFerrit.desktop" 2>&1) && [ -z "$out" ] ||
        fail "desktop-file-validate: $out"
fi
if command -v appstreamcli > /dev/null; then
    appstreamcli validate --no-net "$d/share/metainfo/io.github.kovferrit.KovFerrit.metainfo.xml" \
        > /dev/null || fail "appstreamcli rejects the metainfo"
fi
if command -v groff > /dev/null; then
    for page in kovferrit kovferrit-cli; do
        out=$(LC_ALL=C.UTF-8 groff -man -ww -z "$d/share/man/man1/$page.1" 2>&1) && [ -z "$out" ] ||
            fail "$page.1: $out"
    done
fi
echo "install_layout: all files in place and valid"
