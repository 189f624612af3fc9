#!/usr/bin/env bash
# The dvrkit tool when it cannot do its job: the exit code, the reason on stderr, and nothing left
# behind; and a signal sent to it while it writes.
#   cli_failures_test.sh PATH-TO-DVRKIT
set -euo pipefail
dvrkit=$(realpath "$1")
export TZ=UTC
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
mkdir "$dir/w" && cd "$dir/w"

# A known month: two logs, two events; a file and a link where folders or outputs are expected.
mkdir logs
printf '%s\n' '1,1,0,,,,,,' | "$dvrkit" log2 write logs --name one --type 1 --result 1 > /dev/null
"$dvrkit" event add logs --channel 3 --actions 1 --source 1 --side 1 --time 1115028000 --text Door > /dev/null
month=$("$dvrkit" log2 months logs)
touch plain
ln -s plain link
mkfifo fifo
# Files that are not what their readers expect: a log file given to the event reader; and a
# month file of events whose second record has no mark, which readers leave out, saying so.
logfile=$(ls logs/*.log)
mkdir badmarks foreign
printf 'not a log file' > foreign/200505.log
{ cat logs/200505.evt; head -c 36 /dev/zero; } > badmarks/200505.evt
# The two generations of logs name their month files alike: a first-generation folder, a bitmap,
# month files that are FIFOs, and a log whose first block's record count went up by one.
mkdir gen1 fifos inflated
echo 'save,camera,1,1115028000,0,0,text' | "$dvrkit" log1 write gen1
/usr/bin/python3 -c "from PIL import Image; Image.new('RGB', (16, 16), (200, 10, 10)).save('pic.bmp')"
mkfifo fifos/200505.log fifos/200505.evt
for n in one two; do printf '%s\n' '1,1,0,,,,,,' | "$dvrkit" log2 write inflated --name $n --type 1 --result 1 > /dev/null; done
inflated=$(ls inflated/*.log)
printf '\002' | dd of="$inflated" bs=1 seek=13 conv=notrunc status=none

# Each case: expected exit code | text the message must hold | command (run by eval).
while IFS='|' read -r code text command; do
  [ -z "$code" ] && continue
  before=$(ls -A | sort)
  set +e; eval "\"\$dvrkit\" $command" > "$dir/out" 2> "$dir/err" < /dev/null; got=$?; set -e
  [ "$got" -eq "$code" ] || fail "'$command' exited $got, not $code: $(cat "$dir/err")"
  grep -qF -- "$text" "$dir/err" && grep -q '^dvrkit: ' "$dir/err" || fail "'$command' said: $(cat "$dir/err")"
  after=$(ls -A | sort)
  [ "$before" = "$after" ] || fail "'$command' left behind: $(comm -13 <(echo "$before") <(echo "$after"))"
  [ -z "$(find . -name '*.new')" ] || fail "'$command' left a temporary file"
done <<CASES
1|nosuch: No such file or directory|log2 months nosuch
1|plain: Not a directory|log2 months plain
1|nosuch: No such file or directory|log2 days nosuch 2005-05
1|plain: Not a directory|event months plain
1|nosuch: No such file or directory|view log2 nosuch --snapshot shot.png
1|plain: Not a directory|view event plain --snapshot shot.png
1|is not a day of the form YYYY-MM-DD|log2 show logs 2026-11-31
1|--since: '2005-13-01' is not a month YYYY-MM, a day|log2 show logs --since 2005-13-01
1|--type: 'nosuch' is neither a number|event show logs --type nosuch
1|cannot write logs: Is a directory|log2 export logs $month logs
1|cannot write link: it is a symbolic link|log2 export logs $month link
1|cannot write fifo: it is not a regular file|log2 export logs $month fifo
1|cannot write no/such/out.txt: No such file or directory|log2 export logs $month no/such/out.txt
1|cannot write link: it is a symbolic link|view log2 logs --snapshot link
1|cannot fill plain: Not a directory|demo plain
1|The following argument was not expected: extra|log2 months logs extra
1|DIR is required|log2 show
1|A subcommand is required|log2
1|the log was not written: it cannot be opened or created as a plain file: No such file or directory|log2 write nosuch --name x --type 1 --result 0
1|the log was not written: the log has no records|log2 write logs --name x --type 1 --result 0
2|not an event file: 1 of 1 records without the event mark, the first at offset 0|event dump $logfile
2|foreign/200505.log: damaged at offset 4|log2 dump foreign/200505.log
2|foreign/200505.log: damaged at offset 4|log2 show foreign 2005-05-02
2|foreign/200505.log: damaged at offset 4|log2 show foreign --since 2005-05-01
1|--json prints one DAY as the browser groups it|log2 show logs --json
1|for the journal use --json-lines|log2 show logs 2005-05-02 --grep one --json
1|for the journal use --json-lines|event show logs 2005-05-02 --type 1 --json
1|for the journal use --json-lines|log1 show logs --since 2005-05 --json
2|this is a first-generation month file, not a second-generation month file|log2 dump gen1/200505.log
2|this is a first-generation month file, not a second-generation month file|log2 show gen1 --since 2005-05-01
2|this is a second-generation month file, not a first-generation month file|log1 dump $logfile
2|this is a second-generation month file, not a first-generation month file|log1 days logs $month
2|this is a second-generation month file, not a first-generation month file|log1 show logs --since 2005-05-01
2|pic.bmp: damaged at offset 0: it is not a first-generation month file|log1 dump pic.bmp
2|damaged at offset|log2 dump $inflated
2|damaged at offset|log2 show inflated --since 2005-05-01
1|fifos/200505.log: it is not a plain file|log2 show fifos --since 2005-05-01
1|fifos/200505.evt: it is not a plain file|event show fifos --since 2005-05-01
1|fifos/200505.log: it is not a plain file|log1 show fifos --since 2005-05-01
CASES

# A record without the event mark is part of the file, as earlier recorders wrote it: every
# reader shows the marked events around it, warns of it, and succeeds.
for command in "event dump badmarks/200505.evt" "event days badmarks 2005-05" \
               "event show badmarks 2005-05-02" "event show badmarks --since 2005-05-01"; do
  $dvrkit $command > "$dir/out" 2> "$dir/err" || fail "'$command' exited $?: $(cat "$dir/err")"
  grep -qF 'badmarks/200505.evt: 1 of 2 records without the event mark, the first at offset 36; they are not shown' "$dir/err" ||
    fail "'$command' said: $(cat "$dir/err")"
  [ -s "$dir/out" ] || fail "'$command' showed nothing"
done
grep -q 'Door' <("$dvrkit" event show badmarks --since 2005-05-01 2> /dev/null) || fail "the marked event is not shown"

# Output that cannot be written is a failure, named, whatever the command prints.
while read -r command; do
  set +e; eval "\"\$dvrkit\" $command" > /dev/full 2> "$dir/err" < /dev/null; got=$?; set -e
  [ "$got" -eq 1 ] || fail "'$command > /dev/full' exited $got, not 1"
  grep -qx 'dvrkit: cannot write standard output: No space left on device' "$dir/err" ||
    fail "'$command > /dev/full' said: $(cat "$dir/err")"
done <<COMMANDS
log2 dump $logfile
log2 dump $logfile --json
log2 months logs
event show logs 2005-05-02
log2 show logs --json-lines
log2 export logs $month -
event dump logs/200505.evt
calendar 2005-05
crypt crc plain
COMMANDS

# A signal while the tool writes: the export goes to standard output through a temporary file,
# and standard output is a pipe nobody reads, so the tool stays in the middle of its output until
# the signal comes. Each signal ends it as that signal, with no temporary file left.
set -m  # background jobs get SIGINT as a foreground one would
mkdir "$dir/big" "$dir/tmp"
for i in $(seq 3000); do echo "3,3,1,$i,,,,,"; done |
  "$dvrkit" log2 write "$dir/big" --name "a long log" --type 3 --result 1 > /dev/null
bigmonth=$("$dvrkit" log2 months "$dir/big")
mkfifo "$dir/pipe"
exec 3<> "$dir/pipe"  # holds the pipe open without reading it
# The output waits in a file with no name (O_TMPFILE), so a SIGKILL, which no handler sees,
# leaves nothing behind either.
pending() { ls -l "/proc/$1/fd" 2> /dev/null | grep -q "$dir/tmp/#"; }
for signal in INT TERM HUP KILL; do
  TMPDIR="$dir/tmp" "$dvrkit" log2 export "$dir/big" "$bigmonth" - > "$dir/pipe" &
  pid=$!
  for _ in $(seq 600); do pending "$pid" && break; sleep 0.1; done
  pending "$pid" || fail "the export holds no pending output"
  kill -s "$signal" "$pid"
  set +e; wait "$pid"; status=$?; set -e
  [ "$status" -eq $((128 + $(kill -l "$signal"))) ] || fail "SIG$signal ended the export with status $status"
  [ -z "$(ls "$dir/tmp")" ] || fail "SIG$signal left $(ls "$dir/tmp")"
  while read -r -t 0.1 -u 3 _; do :; done  # empty the pipe for the next run
done
exec 3>&-
echo "cli failures: all passed"
