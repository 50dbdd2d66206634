#!/bin/sh
# Starts, stops or restarts the VDR the black-box tests drive: a headless VDR (the
# streamdev client as its only device) with its own configuration, channel list and video
# folder under DIR, answering SVDRP on a free port that is written to DIR/port. A
# DIR/conf/channels.conf put there before the start is kept (the benchmark brings 999 channels).
#   vdr.sh start|stop|restart DIR
set -eu
action=$1
dir=$2

start() {
    mkdir -p "$dir/conf" "$dir/video" "$dir/cache"
    if [ ! -f "$dir/conf/setup.conf" ]; then
        printf '%s\n' 'streamdev-client.StartClient = 1' 'streamdev-client.RemoteIp = 127.0.0.1' \
            'streamdev-client.RemotePort = 2004' > "$dir/conf/setup.conf"
    fi
    [ -f "$dir/conf/svdrphosts.conf" ] || echo 127.0.0.1 > "$dir/conf/svdrphosts.conf"
    if [ ! -f "$dir/conf/channels.conf" ]; then
        n=0
        for name in 'Alpha TV' 'BETA ONE;Test' 'Gamma Kultur HD' 'Delta' 'Delta'; do
            n=$((n + 1))
            echo "$name:11836:hC34M2S0:S19.2E:27500:${n}01=2:${n}02=deu@3:0:0:2810$n:1:1101:0" \
                >> "$dir/conf/channels.conf"
        done
    fi
    [ -s "$dir/port" ] || python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])' > "$dir/port"
    port=$(cat "$dir/port")
    setsid vdr -c "$dir/conf" -v "$dir/video" --cachedir="$dir/cache" -E "$dir/cache/epg.data" \
        -L /usr/lib/vdr/plugins -P streamdev-client -D- -p "$port" --no-kbd -l 3 \
        < /dev/null >> "$dir/vdr.log" 2>&1 &
    echo $! > "$dir/pid"
    # Ready when it greets; VDR answers within about a second.
    python3 - "$port" <<'PY'
import socket, sys, time
deadline = time.time() + 30
while time.time() < deadline:
    try:
        with socket.create_connection(("127.0.0.1", int(sys.argv[1])), timeout=5) as s:
            if s.makefile("rb").readline().startswith(b"220 "):
                s.sendall(b"QUIT\r\n")
                sys.exit(0)
    except OSError:
        time.sleep(0.2)
sys.exit("vdr.sh: VDR did not greet on port " + sys.argv[1])
PY
}

stop() {
    [ -s "$dir/pid" ] || return 0
    pid=$(cat "$dir/pid")
    kill -TERM "$pid" 2>/dev/null || true
    i=0
    # VDR writes its timers back to timers.conf while it shuts down.
    while kill -0 "$pid" 2>/dev/null && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
    kill -KILL "$pid" 2>/dev/null || true
    rm -f "$dir/pid"
}

case $action in
start) start ;;
stop) stop ;;
restart) stop; start ;;
*) echo "usage: vdr.sh start|stop|restart DIR" >&2; exit 2 ;;
esac
