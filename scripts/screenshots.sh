#!/bin/sh
# Saves a screenshot of each window to docs/screenshots/ under a virtual X display.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target kovferrit-shots
# Only the fonts a fresh machine has (fonts-dejavu-core), so the pictures do not change with
# whatever other fonts this machine holds.
fonts=$(mktemp -d)
trap 'rm -rf "$fonts"' EXIT
cat > "$fonts/fonts.conf" <<EOF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <dir>/usr/share/fonts/truetype/dejavu</dir>
  <cachedir>$fonts/cache</cachedir>
  <include ignore_missing="yes">/etc/fonts/conf.d</include>
</fontconfig>
EOF
export FONTCONFIG_FILE="$fonts/fonts.conf"
LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x800x24 -dpi 96" build/bin/kovferrit-shots docs/screenshots
# The main window once more as a German user sees it.
LC_ALL=de_DE.UTF-8 QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x800x24 -dpi 96" build/bin/kovferrit-shots docs/screenshots
ls -l docs/screenshots
