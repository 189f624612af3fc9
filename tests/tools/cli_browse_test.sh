#!/usr/bin/env bash
# Browsing log and event folders as a journal: ranges over days and months, --grep, --type,
# --reverse, --json-lines (read back by Python's json), escaped texts, and follow mode seeing what
# other processes append.
#   cli_browse_test.sh PATH-TO-DVRKIT
set -euo pipefail
dvrkit=$(realpath "$1")
export TZ=Europe/Berlin  # daylight saving starts on 2005-03-27
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# A known folder of logs over two months, written byte by byte as the file format lays them out:
# a log of each kind, one of them with an escape sequence in a text.
mkdir "$dir/logs"
/usr/bin/python3 - "$dir/logs" <<'PY'
import os, struct, sys, time
def at(text): return int(time.mktime(time.strptime(text, "%Y-%m-%d %H:%M:%S")))
logs = [("2005-03-26 10:00:00", 1, "boot", "alpha"), ("2005-03-27 12:00:00", 4, "remote", "bravo"),
        ("2005-04-02 09:00:00", 8, "disk", "charlie \x1b[31m"), ("2005-04-02 18:30:00", 3, "setup", "delta")]
files = {}
for start, kind, name, text in logs:
    t = at(start)
    head = struct.pack("<IIIBB22s", t, t + 60, 1, kind, 1, name.encode())
    record = struct.pack("<BBBB4I32s32s", 3, 1, 1, 2, 0, 0, 0, 0, text.encode(), b"x")
    files.setdefault(start[:4] + start[5:7], []).append(head + record + b"\n")
for month, blocks in files.items():
    with open(os.path.join(sys.argv[1], month + ".log"), "wb") as f:
        f.write(struct.pack("<IB", len(blocks), 10) + b"".join(blocks))
PY

names() {  # ARGS...: the names of the logs `log2 show` gives, one line
  "$dvrkit" log2 show "$dir/logs" --json-lines "$@" | /usr/bin/python3 -c '
import json, sys
print(" ".join(json.loads(line)["name"] for line in sys.stdin))'
}
while IFS='|' read -r want args; do
  [ -z "$want" ] && continue
  eval "set -- $args"
  got=$(names "$@")
  [ "$got" = "$want" ] || fail "log2 show $args gave '$got', not '$want'"
done <<'CASES'
boot remote disk setup|
setup disk remote boot|--reverse
remote|--since 2005-03-27 --until 2005-04-01
disk setup|--since "2005-04-02 09:00:00"
boot remote disk|--until "2005-04-02 09:00:00"
disk setup|2005-04-02
remote|--grep bravo
disk|--type 8
remote|--type network
remote|--type "network / system"
setup|--type Setup --since 2005-04
CASES
[ "$(names --type 8 --grep alpha)" = "" ] || fail "--type and --grep together"

# Each JSON line: the time in ISO 8601 with the zone's offset of that day, and the log's fields.
"$dvrkit" log2 show "$dir/logs" --json-lines | /usr/bin/python3 -c '
import json, sys
lines = [json.loads(line) for line in sys.stdin]
assert [l["time"] for l in lines] == ["2005-03-26T10:00:00+01:00", "2005-03-27T12:00:00+02:00",
                                      "2005-04-02T09:00:00+02:00", "2005-04-02T18:30:00+02:00"], lines
assert [l["type"] for l in lines] == [1, 4, 8, 3] and lines[1]["group"] == "Network / System", lines
assert all(l["epoch"] - l["endTime"] == -60 and len(l["records"]) == 1 for l in lines), lines
assert "charlie \x1b[31m" in lines[2]["records"][0], lines[2]'

# A person's view shows the escape sequence as text, never as the byte itself.
for view in "--since 2005-04-02" "2005-04-02"; do
  eval "\"\$dvrkit\" log2 show \"\$dir/logs\" $view" > "$dir/shown"
  grep -qF 'charlie \x1b[31m' "$dir/shown" || fail "log2 show $view did not escape ESC: $(cat "$dir/shown")"
  ! grep -q $'\e' "$dir/shown" || fail "log2 show $view wrote an ESC byte"
done

# Events over the same months, by the tool's own writer.
mkdir "$dir/events"
add() { "$dvrkit" event add "$dir/events" --time "$(date -d "$1" +%s)" --channel "$2" --source "$3" --side 1 \
          --actions 1 --text "$4" > /dev/null; }
add "2005-03-31 23:59:59" 1 1 gate
add "2005-04-01 00:00:00" 2 2 $'door\e]0;x\a'
add "2005-04-03 08:00:00" 3 1 yard
event_names() {
  "$dvrkit" event show "$dir/events" --json-lines "$@" | /usr/bin/python3 -c '
import json, sys
print(" ".join(json.loads(line)["text"].split("\x1b")[0] for line in sys.stdin))'
}
[ "$(event_names)" = "gate door yard" ] || fail "event show: $(event_names)"
[ "$(event_names --since 2005-04-01)" = "door yard" ] || fail "event show --since a month's first day"
[ "$(event_names --type camera --reverse)" = "yard gate" ] || fail "event show --type camera --reverse"
[ "$(event_names --type 2)" = "door" ] || fail "event show --type 2"
"$dvrkit" event show "$dir/events" 2005-04-01 > "$dir/shown"
grep -qF 'door\x1b]0;x\x07' "$dir/shown" && ! grep -q $'\e' "$dir/shown" || fail "event show did not escape: $(cat "$dir/shown")"

# First-generation entries over two months, read the same way.
mkdir "$dir/log1"
printf '%s\n' 'save,gate,0,2005-03-31 22:00:00,0,0,one' 'save,door,3,2005-04-01 01:00:00,0,0,two' \
               'save,yard,0,2005-04-02 08:00:00,0,0,three' | "$dvrkit" log1 write "$dir/log1"
"$dvrkit" log1 show "$dir/log1" --since 2005-04 --json-lines | /usr/bin/python3 -c '
import json, sys
got = [(e["name"], e["label"], e["time"]) for e in map(json.loads, sys.stdin)]
assert got == [("door", "Network", "2005-04-01T01:00:00+02:00"), ("yard", "System", "2005-04-02T08:00:00+02:00")], got'
[ "$("$dvrkit" log1 show "$dir/log1" --type system --reverse | grep -c '^2005')" -eq 2 ] || fail "log1 show --type system"
"$dvrkit" log1 show "$dir/log1" 2005-04-02 --type System | grep -q '^== System (1)' || fail "log1 show DAY --type NAME"

# Follow mode: what other processes append, to a month file already there and to a new month's
# file, appears; Ctrl-C ends it with exit 0.
set -m  # a background job gets SIGINT as a foreground one would
wait_for() {  # FILE PATTERN COUNT: until FILE holds COUNT lines matching PATTERN (or give up)
  for _ in $(seq 600); do [ "$(grep -c "$2" "$1" || true)" -ge "$3" ] && return; sleep 0.1; done
  fail "waited in vain for $3 lines of '$2' in $1: $(cat "$1")"
}
"$dvrkit" event follow "$dir/events" --json-lines > "$dir/followed" 2> "$dir/follow.err" &
follower=$!
wait_for "$dir/follow.err" following 1
add "2005-04-03 09:00:00" 4 1 later
add "2005-05-01 10:00:00" 5 2 newmonth
wait_for "$dir/followed" '"text"' 2
"$dvrkit" log2 follow "$dir/logs" > "$dir/logs-followed" 2> "$dir/logs-follow.err" &
logfollower=$!
wait_for "$dir/logs-follow.err" following 1
printf '%s\n' '1,1,2,,,,,"from another process",y' |
  "$dvrkit" log2 write "$dir/logs" --name appended --type 3 --result 1 > /dev/null
wait_for "$dir/logs-followed" 'appended' 1
kill -INT "$follower" "$logfollower"
wait "$follower" || fail "event follow ended with $? on SIGINT"
wait "$logfollower" || fail "log2 follow ended with $? on SIGINT"
/usr/bin/python3 -c '
import json, sys
got = [json.loads(line) for line in open(sys.argv[1])]
assert [(e["text"], e["channel"], e["time"]) for e in got] == [
    ("later", 4, "2005-04-03T09:00:00+02:00"), ("newmonth", 5, "2005-05-01T10:00:00+02:00")], got' "$dir/followed"
grep -q 'from another process' "$dir/logs-followed" || fail "log2 follow lacks the record: $(cat "$dir/logs-followed")"
[ "$(grep -c '^[0-9]' "$dir/logs-followed")" -eq 1 ] || fail "log2 follow printed old logs: $(cat "$dir/logs-followed")"
echo "cli browse: all passed"
