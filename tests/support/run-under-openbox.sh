#!/usr/bin/env bash
# Runs a test on a virtual X display (1600 x 1000) managed by openbox, so that its
# windows get real frames: run-under-openbox.sh TEST [ARGS...]
set -euo pipefail

if [ -z "${KORVENA_OPENBOX_DISPLAY:-}" ]; then
  export KORVENA_OPENBOX_DISPLAY=1
  exec xvfb-run -a -s "-screen 0 1600x1000x24" "$0" "$@"
fi

ready=$(mktemp -d)
# openbox runs the startup command once it manages the screen; its session files
# and log go into the test's own folder, not the real home.
HOME=$ready XDG_CACHE_HOME=$ready/cache XDG_CONFIG_HOME=$ready/config XDG_DATA_HOME=$ready/data \
  openbox --config-file /etc/xdg/openbox/rc.xml --startup "touch $ready/managing" >"$ready/log" 2>&1 &
wm=$!
stop() {
  kill "$wm" 2>/dev/null || true
  wait "$wm" 2>/dev/null || true
  rm -rf "$ready"
}
trap stop EXIT

for _ in $(seq 1 1000); do
  [ -e "$ready/managing" ] && break
  if ! kill -0 "$wm" 2>/dev/null; then
    echo "openbox ended before it managed the display:" >&2
    cat "$ready/log" >&2
    exit 1
  fi
  sleep 0.01
done
if [ ! -e "$ready/managing" ]; then
  echo "openbox did not manage the display in time" >&2
  exit 1
fi

QT_QPA_PLATFORM=xcb "$@"
