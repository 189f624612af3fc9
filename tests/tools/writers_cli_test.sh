#!/usr/bin/env bash
# The tool's writers end to end: several tool processes writing one folder, a file-size limit,
# month files that are not plain files, damaged month files refused and repaired.
#   writers_cli_test.sh PATH-TO-DVRKIT
set -euo pipefail
dvrkit=$1
export TZ=UTC
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# Runs the tool, expecting exit code $1; stderr goes to $dir/err.
expect_exit() {
    local want=$1; shift
    set +e; "$dvrkit" "$@" > "$dir/out" 2> "$dir/err"; local code=$?; set -e
    [ "$code" -eq "$want" ] || fail "dvrkit $* exited $code, not $want: $(cat "$dir/err")"
}
time=1768000000            # 2026-01-09: the event files are 202601.evt; logs go to the month of now
evt="$dir/w/202601.evt"
mkdir "$dir/w"

# Four tool processes at once, each writing 40 logs and 40 events into one folder.
for p in 1 2 3 4; do
    (for i in $(seq 1 40); do
        printf '1,2,1,%s,,,,,\n' "$i" | "$dvrkit" log2 write "$dir/w" --name "p$p-$i" --type 1 --result 0 > /dev/null
        "$dvrkit" event add "$dir/w" --channel "$p" --actions "$i" --source 1 --side 1 --time $time > /dev/null
    done) &
done
wait
log=$(ls "$dir"/w/*.log)
"$dvrkit" log2 dump "$log" --json > "$dir/logs.json"
"$dvrkit" event dump "$evt" --json > "$dir/events.json"
/usr/bin/python3 - "$dir/logs.json" "$dir/events.json" <<'PY'
import json, sys
logs, events = json.load(open(sys.argv[1])), json.load(open(sys.argv[2]))
assert "damage" not in logs and logs["trailingBytes"] == 0, logs.get("damage")
names = sorted(b["name"] for b in logs["blocks"])
assert logs["blockCount"] == 160 and names == sorted(f"p{p}-{i}" for p in range(1, 5) for i in range(1, 41)), names
assert not events["badMarks"] and events["trailingBytes"] == 0
assert sorted((e["channel"], e["actions"]) for e in events["records"]) == [(p, i) for p in range(1, 5) for i in range(1, 41)]
PY

# A file-size limit fails the write instead of killing the tool; the file is as before.
before=$(md5sum < "$log")
big=$(for i in $(seq 1 100); do echo '1,2,2,1,2,3,4,some text,more text'; done)
set +e; (ulimit -f 10; echo "$big" | "$dvrkit" log2 write "$dir/w" --name big --type 1 --result 0) 2> "$dir/err"; code=$?; set -e
[ "$code" -eq 1 ] || fail "a write over the file-size limit exited $code: $(cat "$dir/err")"
grep -q "File too large" "$dir/err" || fail "no reason in: $(cat "$dir/err")"
[ "$(md5sum < "$log")" = "$before" ] || fail "the failed write changed the month file"

# A symlink or a FIFO planted as a month file is refused and nothing is followed.
echo secret > "$dir/target"
mkdir "$dir/planted"
ln -s "$dir/target" "$dir/planted/$(basename "$log")"
mkfifo "$dir/planted/202601.evt"
echo '1,2,1,5,,,,,' > "$dir/csv"
expect_exit 1 log2 write "$dir/planted" --name x --type 1 --result 0 < "$dir/csv"
grep -q "plain file" "$dir/err" || fail "no reason in: $(cat "$dir/err")"
expect_exit 1 event add "$dir/planted" --channel 1 --actions 0 --source 1 --side 1 --time $time
[ "$(cat "$dir/target")" = secret ] || fail "the symlink was followed"

# log1 write stores nothing, and says so with exit 1 and the reason, where its month file cannot
# be a plain file: no folder, a file in the folder's place, a FIFO or a folder as the month file,
# and (for a user other than root) a folder it may not write.
echo 'save,x,0,2026-01-09 10:00:00,0,0,t' > "$dir/l1.csv"
: > "$dir/l1file"
mkdir "$dir/l1fifo" "$dir/l1dir" "$dir/l1ro"
mkfifo "$dir/l1fifo/202601.log"
mkdir "$dir/l1dir/202601.log"
chmod 555 "$dir/l1ro"
targets=("$dir/l1missing" "$dir/l1file" "$dir/l1fifo" "$dir/l1dir")
[ "$(id -u)" -ne 0 ] && targets+=("$dir/l1ro")
for target in "${targets[@]}"; do
    expect_exit 1 log1 write "$target" < "$dir/l1.csv"
    grep -q "line 1: the entry was not written: .*plain file: " "$dir/err" || fail "no reason for $target in: $(cat "$dir/err")"
done
[ -p "$dir/l1fifo/202601.log" ] && [ -d "$dir/l1dir/202601.log" ] && [ ! -e "$dir/l1missing" ] || fail "log1 write changed a target"

# A month file damaged in the middle is refused, with the offset; repair keeps what came before.
mkdir "$dir/d"
for n in one two three; do
    "$dvrkit" log2 write "$dir/d" --name $n --type 1 --result 0 < "$dir/csv" > /dev/null
    "$dvrkit" event add "$dir/d" --channel 1 --actions 0 --source 1 --side 1 --time $time --text $n > /dev/null
done
dlog="$dir/d/$(basename "$log")"
printf 'X' | dd of="$dlog" bs=1 seek=$((5 + 36 + 20)) conv=notrunc status=none  # block 1's tail
printf 'X' | dd of="$dir/d/202601.evt" bs=1 seek=$((36 + 35)) conv=notrunc status=none    # record 2's mark
expect_exit 1 log2 write "$dir/d" --name four --type 1 --result 0 < "$dir/csv"
grep -q "offset 61" "$dir/err" || fail "no offset in: $(cat "$dir/err")"
# A whole event record without its mark is part of the file (earlier recorders left such records):
# the next event goes after it, and repair keeps every marked record, before and after it.
expect_exit 0 event add "$dir/d" --channel 1 --actions 0 --source 1 --side 1 --time $time --text four
[ "$(stat -c %s "$dir/d/202601.evt")" -eq 144 ] || fail "the event did not go after the unmarked record"

expect_exit 0 log2 repair "$dlog"
grep -q "kept 0 blocks.*kept as $dlog.damaged" "$dir/out" || fail "repair said: $(cat "$dir/out")"
expect_exit 0 event repair "$dir/d/202601.evt"
grep -q "kept 3 records.*kept as $dir/d/202601.evt.damaged" "$dir/out" || fail "repair said: $(cat "$dir/out")"
"$dvrkit" event dump "$dir/d/202601.evt" > "$dir/out"
grep -q '"one"' "$dir/out" && grep -q '"three"' "$dir/out" && grep -q '"four"' "$dir/out" ||
    fail "repair lost a marked record: $(cat "$dir/out")"
[ -s "$dlog.damaged" ] && [ "$(stat -c %s "$dir/d/202601.evt.damaged")" -eq 144 ] ||
    fail "the damaged files were not kept"
expect_exit 0 log2 write "$dir/d" --name four --type 1 --result 0 < "$dir/csv"
expect_exit 0 event add "$dir/d" --channel 1 --actions 0 --source 1 --side 1 --time $time
expect_exit 0 log2 dump "$dlog"
expect_exit 0 log2 repair "$dlog"
grep -q "nothing to repair" "$dir/out" || fail "a whole file was repaired: $(cat "$dir/out")"
printf 'not a log file' > "$dir/d/foreign.log"
expect_exit 2 log2 repair "$dir/d/foreign.log"
expect_exit 1 event repair "$dir/d/missing.evt"
echo "writers cli: ok"
