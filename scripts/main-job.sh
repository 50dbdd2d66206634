#!/bin/sh
# The main job: build kovferrit-cli, start the bundled Quib simulator with the demo scenario
# and run a first sync into the local scheduler on a fresh program folder.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target kovferrit-cli

home=$(mktemp -d)
cli="build/bin/kovferrit-cli --home $home"
python3 tools/quib-sim/quib_sim.py --port 0 --scenario tools/quib-sim/demo.json \
    --log "$home/requests.jsonl" > "$home/simulator.url" &
sim=$!
trap 'kill $sim 2>/dev/null || true' EXIT INT TERM
i=0
while [ ! -s "$home/simulator.url" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
port=$(sed -n 's|.*:\([0-9]*\)/$|\1|p' "$home/simulator.url")
[ -n "$port" ] || { echo "main-job: the simulator did not start" >&2; exit 1; }

echo "== program folder $home, Quib simulator on port $port"
echo "demo-password" | $cli account demo
$cli settings set Port --number "$port"
echo "== first sync (unknown channels answered: Alpha TV=7, Beta One=8)"
$cli sync --channel "Alpha TV=7" --channel "Beta One=8"
echo "== recordings in the local scheduler"
$cli recordings
echo "== channel list"
$cli channels list
echo "== second sync"
$cli sync
