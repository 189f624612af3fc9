#!/usr/bin/env bash
# The browsers and the calendar in a real window (the SDL2 backend on Xvfb) open as their
# snapshots show them: the window's pixels, read from the X server, equal the headless snapshot
# of the same window on the same folder. Skipped (exit 77) without Xvfb or without the backend.
#   real_window_test.sh DVRKIT
set -euo pipefail
dvrkit=$1
command -v Xvfb > /dev/null || { echo "no Xvfb: skipped"; exit 77; }
export SDL_VIDEODRIVER=x11
dir=$(mktemp -d)
tool= server=
# Under errexit a failing command would end the clean-up early and leave the server running,
# holding the test's output open, so that ctest waits for ever: nothing here may fail.
cleanup() {
  if [ -n "$tool" ]; then kill "$tool" 2> /dev/null || true; fi
  if [ -n "$server" ]; then kill "$server" 2> /dev/null || true; fi
  wait 2> /dev/null || true
  rm -rf "$dir"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Our own X server on a display number it picks itself, so that servers other tests start at the
# same moment never claim the same number. Without -noreset the server starts over each time its
# last client leaves, and the next window's connection, made at that moment, is refused.
Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp 3> "$dir/display" > /dev/null 2>&1 &
server=$!
for _ in $(seq 600); do
  [ "$(wc -l < "$dir/display")" -ge 1 ] && break
  kill -0 "$server" 2> /dev/null || fail "Xvfb did not start"
  sleep 0.1
done
[ "$(wc -l < "$dir/display")" -ge 1 ] || fail "Xvfb did not name its display within a minute"
export DISPLAY=":$(head -n 1 "$dir/display")"

# Without a display the demo only writes its files and pictures.
env -u DISPLAY "$dvrkit" demo "$dir/demo" > /dev/null
"$dvrkit" view log2 "$dir/demo" --snapshot "$dir/log2.png"
"$dvrkit" view event "$dir/demo" --snapshot "$dir/event.png"
"$dvrkit" view log1 "$dir/demo/log1" --snapshot "$dir/log1.png"

same_as_snapshot() {  # TITLE SNAPSHOT: polls the window until it shows the snapshot's pixels
  # A minute, not a count of polls: on a busy machine a window and each poll start slowly.
  local title=$1 snapshot=$2 id= deadline=$((SECONDS + 60))
  while [ "$SECONDS" -lt "$deadline" ]; do
    id=$(xwininfo -root -tree | awk -v t="\"$title\":" 'index($0, t) {print $1; exit}')
    if [ -n "$id" ] && import -window "$id" "$dir/shown.png" 2> /dev/null &&
       /usr/bin/python3 - "$dir/shown.png" "$snapshot" <<'PY'
import sys
from PIL import Image, ImageChops
shown, snapshot = (Image.open(p).convert("RGB") for p in sys.argv[1:3])
sys.exit(0 if shown.size == snapshot.size and ImageChops.difference(shown, snapshot).getbbox() is None else 1)
PY
    then return 0; fi
    sleep 0.1
  done
  return 1
}

check_window() {  # TITLE SNAPSHOT COMMAND...
  local title=$1 snapshot=$2
  shift 2
  "$dvrkit" "$@" > /dev/null 2> "$dir/tool.err" &
  tool=$!
  same_as_snapshot "$title" "$snapshot" ||
    fail "the real window of '$*' does not show what its snapshot shows; the tool said: $(cat "$dir/tool.err")"
  kill "$tool"
  wait "$tool" 2> /dev/null || true
  tool=
}

# The answer is taken whole before it is searched: in a pipeline under pipefail the tool's exit
# status 1 would hide grep's match.
without_display=$(env -u DISPLAY "$dvrkit" view log2 "$dir/demo" 2>&1 || true)
if [[ $without_display == *"no display backend"* ]]; then
  echo "the tool was built without the SDL2 backend: skipped"
  exit 77
fi
check_window "dvrkit log browser" "$dir/log2.png" view log2 "$dir/demo"
check_window "dvrkit event browser" "$dir/event.png" view event "$dir/demo"
check_window "dvrkit first-generation log browser" "$dir/log1.png" view log1 "$dir/demo/log1"
echo "PASS"
