#!/usr/bin/env bash
# Entries stamped past 2038-01-19 03:14:07 UTC, where a signed 32-bit time_t ends, up to the last
# second the files' unsigned 32-bit seconds hold (2106-02-07 06:28:15 UTC): each event and
# first-generation entry is written after one a second earlier (the writer reads that one back
# as its month's), listed by month and day, and shown with its time. Runs
# everywhere, and matters most on 32-bit ARM, whose C library needs _TIME_BITS=64 for it.
#   cli_time_range_test.sh PATH-TO-DVRKIT
set -euo pipefail
dvrkit=$1
export TZ=UTC
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

times=("2038-01-19 03:14:07" "2038-01-19 03:14:08" "2040-02-29 12:00:00" "2106-02-07 06:28:15")
for t in "${times[@]}"; do
  epoch=$(date -u -d "$t" +%s)
  month=${t:0:7} day=${t:0:10} label=${t:8:2}
  mkdir -p "$dir/$epoch"
  events="$dir/$epoch/events" log1="$dir/$epoch/log1"
  mkdir "$events" "$log1"
  for second in $((epoch - 1)) "$epoch"; do
    "$dvrkit" event add "$events" --time "$second" --channel 3 --source 1 --side 1 --actions 1 --text "at $second" >/dev/null ||
      fail "event add at $second"
    echo "save,gate,0,$second,0,0,at $second" | "$dvrkit" log1 write "$log1" >/dev/null || fail "log1 write at $second"
  done
  for kind in event log1; do
    folder=$events
    [ $kind = log1 ] && folder=$log1
    "$dvrkit" $kind months "$folder" --json | /usr/bin/python3 -c '
import json, sys
got = [m["month"] for m in json.load(sys.stdin)]
assert got == [sys.argv[1]], got' "$month" || fail "$kind months at $t"
    "$dvrkit" $kind days "$folder" "$month" --json | /usr/bin/python3 -c '
import json, sys
got = [d["day"] for d in json.load(sys.stdin)]
assert got == [sys.argv[1]], got' "$label" || fail "$kind days at $t"
    "$dvrkit" $kind show "$folder" --json-lines | /usr/bin/python3 -c '
import json, sys
got = [(e["epoch"], e["time"]) for e in map(json.loads, sys.stdin)][-1:]
want = [(int(sys.argv[1]), sys.argv[2].replace(" ", "T") + "+00:00")]
assert got == want, (got, want)' "$epoch" "$t" || fail "$kind show at $t"
    "$dvrkit" $kind show "$folder" "$day" --json | /usr/bin/python3 -c '
import json, sys
def times(node):
    if isinstance(node, dict):
        yield from ([node["time"]] if "local" in node else [])
        for value in node.values(): yield from times(value)
    elif isinstance(node, list):
        for value in node: yield from times(value)
got = sorted(times(json.load(sys.stdin)))
assert got == [int(sys.argv[1]) - 1, int(sys.argv[1])], got' "$epoch" || fail "$kind show $day"
  done
done

# The calendar: its first and last months, and the months past them refused.
for month in 1970-02 2038-01 2106-01; do
  "$dvrkit" calendar "$month" --json >/dev/null || fail "calendar $month"
done
for month in 1970-01 2106-02; do
  ! "$dvrkit" calendar "$month" --json >/dev/null 2>&1 || fail "calendar $month was not refused"
done
echo "every time up to 2106 is written, listed and shown"
