#!/bin/sh
# Saves a screenshot of each window to docs/screenshots/ under a virtual X display.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target kovferrit-shots
LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x800x24 -dpi 96" build/bin/kovferrit-shots docs/screenshots
# The main window once more as a German user sees it.
LC_ALL=de_DE.UTF-8 QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x800x24 -dpi 96" build/bin/kovferrit-shots docs/screenshots
ls -l docs/screenshots
