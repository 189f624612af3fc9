#!/usr/bin/python3
"""The log folder read as a journal by `dvrkit log2 show|follow`, against the same logs in a systemd
journal file read by `journalctl`: each query timed as whole processes, median of several runs, the
two tools taking turns, with the peak memory of each as /usr/bin/time reports it.

The month is written through the library (build/bench/bench_journal_month): LOGS logs of ten
records each (100,000 logs, 1,000,000 records by default) at random times over the month. The
journal file holds one entry per log, written by systemd-journal-remote from the journal export
format: MESSAGE is the text the tool prints for the log (its heading, then its records' lines),
LOG_TYPE, LOG_GROUP, LOG_NAME and LOG_RESULT its fields, and the time the log's start.

A query the tool under test does not accept (an option that is not there yet) is reported as
"unsupported", so the same script measures today's tool and one with more options.

Usage: bench/journal_peer.py [--build BUILD] [--tool DVRKIT] [--runs N] [--logs N] [--work DIR]
  --tool: the dvrkit under test (default BUILD/tools/dvrkit/dvrkit); the month is always written
  by BUILD/bench/bench_journal_month. Every process runs with TZ=UTC, so both read one calendar."""
import argparse
import json
import os
import re
import select
import random
import signal
import shutil
import statistics
import struct
import subprocess
import sys
import tempfile
import time

JOURNAL_REMOTE = "/lib/systemd/systemd-journal-remote"
TIME = "/usr/bin/time"
with open("/proc/sys/kernel/random/boot_id") as boot:
    BOOT_ID = boot.read().strip().replace("-", "")
MONTH = (2025, 3)
DAY = "2025-03-15"
HOUR = ("2025-03-15 10:00:00", "2025-03-15 10:59:59")
FOLLOW_APPENDS = 5
os.environ["TZ"] = "UTC"


class Run:
    """One finished process: wall seconds, peak memory in KiB, exit code and what it printed."""

    def __init__(self, seconds, peak_kib, code, out=b"", err=b""):
        self.seconds, self.peak_kib, self.code, self.out, self.err = seconds, peak_kib, code, out, err


def measured(command, peak):
    """`command` under /usr/bin/time, which writes its peak memory to the file `peak`. The rusage
    of a child of this script would not do: Linux carries a forked child's high-water mark over
    its exec, and this script holds the whole month."""
    return [TIME, "-f", "%M", "-o", peak.name, *command]


def peak_kib(peak):
    peak.seek(0)
    return int(peak.read().split()[-1])


def run(command, keep_output=False):
    """Runs `command` to its end, its standard output thrown away unless kept (in a file, which
    costs the tool less than a pipe read by this script)."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err, tempfile.NamedTemporaryFile() as peak:
        start = time.monotonic()
        code = subprocess.call(measured(command, peak), stdin=subprocess.DEVNULL,
                               stdout=out if keep_output else subprocess.DEVNULL, stderr=err)
        seconds = time.monotonic() - start
        out.seek(0)
        err.seek(0)
        return Run(seconds, peak_kib(peak), code, out.read(), err.read())


# --- the data -----------------------------------------------------------------------------------

def first_accepted(tool, forms):
    """The first of the argument lists `forms` that the tool runs without an error, with its run;
    (None, the last failed run) if it accepts none."""
    failed = None
    for form in forms:
        probe = run([tool, *form], keep_output=True)
        if probe.code == 0:
            return form, probe
        failed = probe
    return None, failed


def export_field(name, value):
    data = str(value).encode()
    if b"\n" in data:  # the export format's binary form
        return name.encode() + b"\n" + struct.pack("<Q", len(data)) + data + b"\n"
    return name.encode() + b"=" + data + b"\n"


def export_entry(log):
    message = f"{log['group']}: {log['name']} (result {log['result']})\n" + "\n".join(log["records"])
    # journalctl -f shows the current boot only: the entries are given to it.
    fields = [("__REALTIME_TIMESTAMP", log["epoch"] * 1000000), ("__MONOTONIC_TIMESTAMP", 0), ("_BOOT_ID", BOOT_ID),
              ("MESSAGE", message), ("SYSLOG_IDENTIFIER", "dvrkit"),
              ("LOG_TYPE", log["type"]), ("LOG_GROUP", log["group"]), ("LOG_NAME", log["name"]),
              ("LOG_RESULT", log["result"])]
    return b"".join(export_field(k, v) for k, v in fields) + b"\n"


def write_journal(logs, journal):
    if os.path.exists(journal):
        os.remove(journal)
    feed = subprocess.Popen([JOURNAL_REMOTE, f"--output={journal}", "-"], stdin=subprocess.PIPE,
                            stderr=subprocess.DEVNULL)
    feed.stdin.write(b"".join(export_entry(log) for log in logs))
    feed.stdin.close()
    if feed.wait() != 0:
        sys.exit(f"journal_peer: {JOURNAL_REMOTE} failed")


def month_logs(tool, folder):
    """Every log of the folder as the tool's JSON lines give it."""
    form, probe = first_accepted(tool, [["log2", "show", folder, *o] for o in (["--json-lines"], ["--output", "json-lines"])])
    if form is None:
        sys.exit("journal_peer: the tool prints no JSON lines: " + probe.err.decode(errors="replace"))
    return [json.loads(line) for line in probe.out.splitlines()]


def make_month(args, folder, logs):
    """Writes the month and its journal; returns the logs and the journal's path."""
    for old in (folder, folder + ".journal"):
        shutil.rmtree(old, ignore_errors=True)
    os.makedirs(folder)
    writer = os.path.join(args.build, "bench", "bench_journal_month")
    made = run([writer, folder, "%04d-%02d" % MONTH, str(logs)])
    if made.code != 0:
        sys.exit("journal_peer: " + made.err.decode(errors="replace"))
    entries = month_logs(args.tool, folder)
    # In a folder of its own: journalctl follows a folder, not a file.
    journal = os.path.join(folder + ".journal", "month.journal")
    os.makedirs(os.path.dirname(journal), exist_ok=True)
    write_journal(entries, journal)
    print(f"{len(entries)} logs, {sum(len(e['records']) for e in entries)} records: month file "
          f"{os.path.getsize(os.path.join(folder, '%04d%02d.log' % MONTH)) / 1e6:.1f} MB written in "
          f"{made.seconds:.1f} s; journal {os.path.getsize(journal) / 1e6:.1f} MB")
    return entries, journal


def unique_line(logs):
    """A record line that only one log holds: what a search for one entry looks for."""
    counts = {}
    for log in logs:
        for line in set(log["records"]):
            counts[line] = counts.get(line, 0) + 1
    return next(line for log in logs for line in log["records"] if counts[line] == 1)


# --- the queries --------------------------------------------------------------------------------

def queries(folder, journal, needle):
    """(name, the tool's argument forms, first accepted; journalctl's arguments)."""
    show = ["log2", "show", folder]
    jctl = ["journalctl", "--file", journal, "--no-pager"]
    return [
        ("one day", [[*show, "--since", DAY, "--until", DAY]], [*jctl, "--since", DAY + " 00:00:00", "--until", DAY + " 23:59:59"]),
        ("one hour", [[*show, "--since", HOUR[0], "--until", HOUR[1]]], [*jctl, "--since", HOUR[0], "--until", HOUR[1]]),
        ("month as text", [show], jctl),
        ("month as JSON lines", [[*show, "--output", "json-lines"], [*show, "--json-lines"]], [*jctl, "-o", "json"]),
        ("grep one entry", [[*show, "--grep", needle]], [*jctl, "--case-sensitive=true", "-g", re.escape(needle)]),
        ("last 10 entries", [[*show, "-n", "10"]], [*jctl, "-n", "10"]),
    ]


def lines(output):
    return output.count(b"\n")


def time_query(tool, forms, theirs, runs):
    """The tool's and journalctl's runs of one query, taking turns; None for the tool's runs if it
    accepts none of the forms."""
    ours, probe = first_accepted(tool, forms)
    their_probe = run(theirs, keep_output=True)
    if ours is None:
        return None, probe, [run(theirs) for _ in range(runs)], their_probe
    our_runs, their_runs = [], []
    for _ in range(runs):
        our_runs.append(run([tool, *ours]))
        their_runs.append(run(theirs))
    return our_runs, probe, their_runs, their_probe


def median(runs, field):
    return statistics.median(getattr(r, field) for r in runs)


def print_row(name, our_runs, our_probe, their_runs, their_probe):
    theirs_s, theirs_mib = median(their_runs, "seconds"), median(their_runs, "peak_kib") / 1024
    if our_runs is None:
        reason = our_probe.err.decode(errors="replace").strip().splitlines()[:1]
        print(f"{name:<22} {'unsupported':>11} {theirs_s:11.3f} {'':>8} {'':>10} {theirs_mib:10.1f} "
              f"{'':>9} {lines(their_probe.out):9}   ({' '.join(reason)})")
        return
    ours_s, ours_mib = median(our_runs, "seconds"), median(our_runs, "peak_kib") / 1024
    print(f"{name:<22} {ours_s:11.3f} {theirs_s:11.3f} {theirs_s / ours_s:8.2f} {ours_mib:10.1f} {theirs_mib:10.1f} "
          f"{lines(our_probe.out):9} {lines(their_probe.out):9}")


# --- follow -------------------------------------------------------------------------------------

class Follower:
    """A following process whose standard output is read line by line as it comes."""

    def __init__(self, command):
        self.peak = tempfile.NamedTemporaryFile()
        self.child = subprocess.Popen(measured(command, self.peak), stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                      stderr=subprocess.PIPE)
        self.pending = b""

    def wait_for(self, stream, test, timeout=60.0):
        """Reads `stream` until a line passes `test`; the monotonic time it came, or None."""
        end = time.monotonic() + timeout
        buffered = self.pending if stream is self.child.stdout else b""
        while True:
            while b"\n" in buffered:
                line, buffered = buffered.split(b"\n", 1)
                if test(line):
                    if stream is self.child.stdout:
                        self.pending = buffered
                    return time.monotonic()
            left = end - time.monotonic()
            if left <= 0 or not select.select([stream], [], [], left)[0]:
                return None
            chunk = os.read(stream.fileno(), 1 << 16)
            if not chunk:
                return None
            buffered += chunk

    def stop(self):
        """Ends the follower (the child of /usr/bin/time, by its id) and gives its peak in KiB."""
        with open(f"/proc/{self.child.pid}/task/{self.child.pid}/children") as children:
            for pid in children.read().split():
                os.kill(int(pid), signal.SIGTERM)
        self.child.communicate()
        with self.peak:
            return peak_kib(self.peak)


def append_log(args, folder, start):
    """Appends one log through the library; the monotonic time its write was done."""
    done = subprocess.run([os.path.join(args.build, "bench", "bench_journal_month"), folder, "--append", str(start)],
                          capture_output=True, check=True)
    return float(done.stdout)


def append_entry(journal, start):
    """Appends one entry through systemd-journal-remote; the monotonic time it was started (the
    follower may print the entry before the writer has ended)."""
    started = time.monotonic()
    log = {"group": "Error", "name": f"appended {start}", "result": 0, "records": ["appended"], "epoch": start,
           "type": 8}
    subprocess.run([JOURNAL_REMOTE, f"--output={journal}", "-"], input=export_entry(log), check=True,
                   stderr=subprocess.DEVNULL)
    return started


def follow_latencies(command, ready, append, is_heading):
    """Seconds from each append's write to its heading printed, and the follower's peak memory."""
    follower = Follower(command)
    ready(follower)
    latencies = []
    for i in range(FOLLOW_APPENDS):
        time.sleep(random.uniform(0, 1))  # not in step with a follower that looks every second
        written = append(i)
        arrived = follower.wait_for(follower.child.stdout, is_heading)
        if arrived is None:
            break
        latencies.append(arrived - written)
    return latencies, follower.stop() / 1024


def follow_dvrkit(args, folder, last):
    def ready(f):
        f.wait_for(f.child.stderr, lambda line: b"following" in line)
    return follow_latencies([args.tool, "log2", "follow", folder], ready, lambda i: append_log(args, folder, last + 60 * (i + 1)),
                            lambda line: line[:1] not in (b" ", b""))


def follow_journalctl(journal, last):
    def ready(_):
        time.sleep(1.0)  # journalctl says nothing when it is ready; -n 0 prints nothing old
    return follow_latencies(["journalctl", "-D", os.path.dirname(journal), "-f", "-n", "0", "--no-pager"], ready,
                            lambda i: append_entry(journal, last + 60 * (i + 1)), lambda line: b"appended" in line)


def print_follow(name, latencies, peak_mib):
    if not latencies:
        print(f"{name:<34} no appended entry was printed")
        return
    ms = [1000 * s for s in latencies]
    print(f"{name:<34} median {statistics.median(ms):7.1f} ms  (min {min(ms):7.1f}, max {max(ms):7.1f}, "
          f"{len(ms)} appends)  peak {peak_mib:7.1f} MiB")


# --- main ---------------------------------------------------------------------------------------

def measure_queries(args, folder, journal, logs):
    print(f"\n{'query':<22} {'dvrkit s':>11} {'journalctl s':>11} {'ratio j/d':>8} {'dvrkit MiB':>10} "
          f"{'jctl MiB':>10} {'d lines':>9} {'j lines':>9}   (median of {args.runs}; ratio = journalctl / dvrkit)")
    for name, forms, theirs in queries(folder, journal, unique_line(logs)):
        print_row(name, *time_query(args.tool, forms, theirs, args.runs))
        sys.stdout.flush()


def measure_follow(args, logs_in_month):
    print("\nfollow: from an append to its first line printed: for dvrkit from the end of the library's write "
          "(it looks every second), for journalctl from the start of systemd-journal-remote")
    for logs in logs_in_month:
        folder = os.path.join(args.work, f"follow-{logs}")
        entries, journal = make_month(args, folder, logs)
        last = max(e["epoch"] for e in entries)
        print_follow(f"dvrkit log2 follow, {logs * 10:,} records", *follow_dvrkit(args, folder, last))
        print_follow(f"journalctl -f, {logs * 10:,} records", *follow_journalctl(journal, last))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--build", default="build")
    parser.add_argument("--tool")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--logs", type=int, default=100000)
    parser.add_argument("--work", default="/tmp/dvrkit-journal-peer")
    args = parser.parse_args()
    args.tool = args.tool or os.path.join(args.build, "tools", "dvrkit", "dvrkit")
    if not os.access(JOURNAL_REMOTE, os.X_OK):
        sys.exit(f"journal_peer: {JOURNAL_REMOTE} is missing: scripts/setup.sh installs systemd-journal-remote")
    os.makedirs(args.work, exist_ok=True)
    folder = os.path.join(args.work, "month")
    logs, journal = make_month(args, folder, args.logs)
    measure_queries(args, folder, journal, logs)
    measure_follow(args, [1000, args.logs])


main()
