#!/bin/sh
# Debian 12 packages the build, the tests, the Debian package and the demo need. Safe to run again.
set -eu
if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: run as root (apt-get)" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends \
    cmake make g++ pkg-config python3 clang-format clang-tidy clang libclang-rt-14-dev \
    qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libqt6sql6-sqlite libsqlite3-dev libgl-dev \
    xvfb xauth fonts-dejavu-core \
    vdr vdr-plugin-streamdev-client \
    dpkg-dev file lintian appstream systemd desktop-file-utils groff-base man-db zsh gettext openssl \
    qtkeychain-qt6-dev libsecret-1-0 gnome-keyring libsecret-tools dbus-daemon libglib2.0-bin
