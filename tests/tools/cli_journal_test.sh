#!/usr/bin/env bash
# The journal commands' reading options: the last N entries (-n), resuming from a cursor file
# across runs and across a follow killed with SIGKILL between two looks, --show-cursor,
# --output cat, --utc, and the pager, started only for a terminal.
#   cli_journal_test.sh PATH-TO-DVRKIT
set -euo pipefail
dvrkit=$(realpath "$1")
export TZ=Europe/Berlin
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

ev="$dir/events"
mkdir "$ev"
n=0
add() {  # TIME TEXT: an event of camera 1 at local TIME
  "$dvrkit" event add "$ev" --time "$1" --channel 1 --source 1 --side 1 --actions 1 --text "$2" > /dev/null
}
texts() {  # ARGS...: the texts of the events `event show` prints as JSON lines, one line
  "$dvrkit" event show "$ev" --json-lines "$@" | /usr/bin/python3 -c '
import json, sys
print(" ".join(json.loads(line)["text"] for line in sys.stdin))'
}
add "2005-03-31 10:00:00" one
add "2005-04-01 10:00:00" two
add "2005-04-02 10:00:00" three
add "2005-04-01 09:00:00" early  # written late, shown in its place

# -n: the last N of what the other options select, oldest first unless --reverse.
while IFS='|' read -r want args; do
  eval "set -- $args"
  got=$(texts "$@")
  [ "$got" = "$want" ] || fail "event show $args gave '$got', not '$want'"
done <<'CASES'
two three|-n 2
|-n 0
one early two three|-n 10
three two|-n 2 --reverse
early two|--until 2005-04-01 -n 2
one|--until 2005-04-01 -n 1 --grep one
CASES

# --show-cursor ends the output with the last entry's cursor; a cursor file holding it gives
# only what comes after it.
"$dvrkit" event show "$ev" --until 2005-04-01 --show-cursor > "$dir/shown"
last=$(tail -n 1 "$dir/shown")
[[ "$last" == "-- cursor: "* ]] || fail "--show-cursor ended with '$last'"
[ "$(grep -c '^2005' "$dir/shown")" -eq 3 ] || fail "--show-cursor: $(cat "$dir/shown")"
echo "${last#-- cursor: }" > "$dir/cursor"
[ "$(texts --cursor-file "$dir/cursor")" = "three" ] || fail "the cursor of 'two' does not resume at 'three'"
[ "$(texts --cursor-file "$dir/cursor")" = "" ] || fail "a second run repeated what the first printed"
add "2005-04-03 10:00:00" four
add "2005-05-01 10:00:00" five
[ "$(texts --cursor-file "$dir/cursor" -n 1)" = "five" ] || fail "-n with a cursor file"
[ "$(texts --cursor-file "$dir/cursor")" = "" ] || fail "the cursor did not move on with -n"
# A new file starts at the head; a file that holds no cursor is refused, and kept as it is.
[ "$(texts --cursor-file "$dir/fresh")" = "one early two three four five" ] || fail "a fresh cursor file"
cmp -s "$dir/fresh" <(echo "$("$dvrkit" event show "$ev" -n 1 --show-cursor | tail -n 1 | cut -c12-)") ||
  fail "the cursor file does not hold the last entry's cursor: $(cat "$dir/fresh")"
echo garbage > "$dir/garbage"
set +e; "$dvrkit" event show "$ev" --cursor-file "$dir/garbage" > /dev/null 2> "$dir/err"; code=$?; set -e
[ $code -eq 1 ] && grep -q 'holds no cursor' "$dir/err" && [ "$(cat "$dir/garbage")" = garbage ] ||
  fail "a cursor file of garbage: exit $code, $(cat "$dir/err")"
set +e; "$dvrkit" event show "$ev" --cursor-file "$dir/cursor" --reverse > /dev/null 2>&1; code=$?; set -e
[ $code -eq 1 ] || fail "--cursor-file with --reverse exited $code"

# --output cat is the short output without times and indents; --output json-lines is --json-lines.
"$dvrkit" event show "$ev" > "$dir/short"
"$dvrkit" event show "$ev" --output cat > "$dir/cat"
sed -e 's/^[0-9-]* [0-9:]* //' -e 's/^  //' "$dir/short" | cmp -s - "$dir/cat" ||
  fail "--output cat: $(diff <(sed -e 's/^[0-9-]* [0-9:]* //' -e 's/^  //' "$dir/short") "$dir/cat")"
cmp -s <("$dvrkit" event show "$ev" --output json-lines) <("$dvrkit" event show "$ev" --json-lines) ||
  fail "--output json-lines differs from --json-lines"

# --utc: the same entries at UTC times; the zone decides otherwise.
grep -q '^2005-04-02 10:00:00 ' "$dir/short" || fail "local times: $(cat "$dir/short")"
"$dvrkit" event show "$ev" --utc --grep three > "$dir/utc"
grep -q '^2005-04-02 08:00:00 ' "$dir/utc" || fail "--utc: $(cat "$dir/utc")"
"$dvrkit" event show "$ev" --utc --json-lines --grep one | grep -q '"time":"2005-03-31T08:00:00+00:00"' ||
  fail "--utc --json-lines"

# A foreign file as a later month: what comes before it is printed, then exit 2 naming the file
# and the offset.
mkdir "$dir/damaged"
cp "$ev/200503.evt" "$dir/damaged/"
printf '%-36s' 'not an event file' > "$dir/damaged/200504.evt"
set +e; "$dvrkit" event show "$dir/damaged" > "$dir/out" 2> "$dir/err"; code=$?; set -e
[ $code -eq 2 ] && grep -q '200504.evt: not an event file: 1 of 1 records .* at offset 0' "$dir/err" &&
  grep -q 'text one' "$dir/out" ||
  fail "damage after a whole month: exit $code, $(cat "$dir/out" "$dir/err")"
# A month outside the range is never read, at either end.
for range in "--until 2005-03" "--until 2005-03 -n 1" "--until 2005-03 --reverse"; do
  "$dvrkit" event show "$dir/damaged" $range > "$dir/out" || fail "$range read the foreign month"
  grep -q 'text one' "$dir/out" || fail "$range: $(cat "$dir/out")"
done
mv "$dir/damaged/200504.evt" "$dir/damaged/200502.evt"
"$dvrkit" event show "$dir/damaged" --since 2005-03 | grep -q 'text one' || fail "--since read the foreign month"

# The pager: never for an output that is no terminal; on a terminal $PAGER unless --no-pager;
# never for follow.
cat > "$dir/pager" <<PAGER
#!/bin/sh
touch "$dir/paged"
cat
PAGER
chmod +x "$dir/pager"
export PAGER="$dir/pager"
"$dvrkit" event show "$ev" > "$dir/out"
[ ! -e "$dir/paged" ] && [ -s "$dir/out" ] || fail "a pager was started for a file"
if command -v script > /dev/null; then
  script -qec "'$dvrkit' event show '$ev' --no-pager" /dev/null > "$dir/out"
  [ ! -e "$dir/paged" ] || fail "--no-pager started the pager"
  script -qec "timeout -s INT 1 '$dvrkit' event follow '$ev'" /dev/null > "$dir/out" || true
  [ ! -e "$dir/paged" ] || fail "follow started the pager"
  script -qec "'$dvrkit' event show '$ev'" /dev/null > "$dir/out"
  [ -e "$dir/paged" ] && grep -q 'text five' "$dir/out" || fail "no pager on a terminal: $(cat "$dir/out")"
fi
unset PAGER

# A follow that saves its cursor, killed with SIGKILL between two looks and started again, time
# after time while events go on being written, some of them earlier than the last one shipped:
# every event reaches its output exactly once.
set -m
mkdir "$dir/shipped"
ship=$dir/shipped/cursor
last_cursor() { "$dvrkit" event show "$ev" -n 1 --show-cursor | tail -n 1 | cut -c12-; }
named() { sed 's/;e=.*//'; }  # a cursor's naming of its event, without where its month stood
settled() {  # until the follower saved the cursor of the last event there is (or give up)
  for _ in $(seq 600); do [ "$(named 2> /dev/null < "$ship")" = "$(last_cursor | named)" ] && return; sleep 0.1; done
  fail "the follower never saved the last cursor: $(cat "$ship" 2> /dev/null)"
}
echo "$(last_cursor)" > "$ship"  # what is there now was shipped before
expected=()
at=$(date -d "2005-05-29 00:00:00" +%s)
ship() {  # TEXT: an event ten hours after the last one (June's file begins on the way)
  at=$((at + 36000))
  add "$at" "$1"
  expected+=("$1")
}
ship_late() {  # TEXT: an event an hour before the last one shipped, so after it in the file only
  add "$((at - 3600))" "$1"
  expected+=("$1")
}
for round in 1 2 3; do
  "$dvrkit" event follow "$ev" --cursor-file "$ship" --output cat >> "$dir/shipped/out" 2> /dev/null &
  follower=$!
  for i in 1 2 3; do ship "r$round-$i"; done
  settled
  kill -KILL "$follower"
  wait "$follower" 2> /dev/null || true
  ship_late "r$round-late"  # while no follower runs
  ship "r$round-dead"
done
"$dvrkit" event follow "$ev" --cursor-file "$ship" --output cat >> "$dir/shipped/out" 2> /dev/null &
follower=$!
settled
kill -INT "$follower"
wait "$follower" || fail "follow ended with $? on SIGINT"
got=$(grep -o 'text r[0-9]-[a-z0-9]*' "$dir/shipped/out" | cut -c6- | sort | tr '\n' ' ')
want=$(printf '%s\n' "${expected[@]}" | sort | tr '\n' ' ')
[ "$got" = "$want" ] || fail "shipped '$got', not '$want'"
echo "cli journal: all passed"
