#!/bin/sh
# The main job: build kovferrit-cli and run it on a fresh program folder.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target kovferrit-cli
home=$(mktemp -d)
cli="build/bin/kovferrit-cli --home $home"
echo "== program folder: $home"
echo "== account demo"
echo "demo-password" | $cli account demo
echo "== settings list"
$cli settings list
echo "== translate"
$cli translate "New Data Received"
