#!/usr/bin/python3
"""The journal commands of the tool on a month of 1,000,000 events and a month of 100,000 logs of
10 records each: the wall time and peak memory of `show` in each output form (standard output to
/dev/null, the month in the page cache), and the CPU time `follow` spends printing 20 appended
events into a month of 1,000 events against one of 1,000,000, which should not differ.

    bench/journal_tool.py [build/tools/dvrkit/dvrkit]
"""
import os
import struct
import subprocess
import sys
import tempfile
import time

dvrkit = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/tools/dvrkit/dvrkit")
os.environ["TZ"] = "Europe/Berlin"
time.tzset()
START = int(time.mktime(time.strptime("2005-04-01 00:00:00", "%Y-%m-%d %H:%M:%S")))
TEXTS = [b"door", b"gate \x1b[31m", b"yard \xc3\xa4", b"bad \xff\xfe", b"", b"motion", b"tab\there"]


def event(i):
    return struct.pack("<IIIIBBB16sB", START + i * 2, 1 + i % 16, i % 7, 0, 1 + i % 3, 1 + i % 2, 0, TEXTS[i % 7], 10)


def write_events(folder, count):
    os.makedirs(folder)
    with open(os.path.join(folder, "200504.evt"), "wb") as f:
        f.write(b"".join(event(i) for i in range(count)))


def write_logs(folder, count):
    os.makedirs(folder)
    blocks = []
    for i in range(count):
        t = START + i * 20
        blocks.append(struct.pack("<IIIBB22s", t, t + 10, 10, 1 + i % 12, i % 3, b"log %d" % i))
        for r in range(10):
            blocks.append(struct.pack("<BBBB4I32s32s", 1 + r % 3, 1 + r % 4, 1, 2, r, 0, 0, 0, TEXTS[(i + r) % 7], b"x"))
        blocks.append(b"\n")
    with open(os.path.join(folder, "200504.log"), "wb") as f:
        f.write(struct.pack("<IB", count, 10) + b"".join(blocks))


def show(kind, folder, options):
    """The median wall time of three runs, and the largest peak memory in MiB."""
    runs = []
    for _ in range(3):
        # Through time(1): a child of this process would count this process's memory until its exec.
        out = subprocess.run(["/usr/bin/time", "-f", "%e %M", dvrkit, kind, "show", folder] + options,
                             stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, check=True, text=True).stderr
        seconds, kib = out.split()[-2:]
        runs.append((float(seconds), int(kib) / 1024))
    runs.sort()
    return runs[1][0], max(r[1] for r in runs)


def follow_cpu(folder, count):
    """The CPU seconds `event follow` takes while 20 events are appended to the month file."""
    process = subprocess.Popen([dvrkit, "event", "follow", folder], stdout=subprocess.DEVNULL,
                               stderr=subprocess.PIPE, text=True)
    process.stderr.readline()  # "following": the month was indexed once, which is not measured here
    def cpu():
        fields = open(f"/proc/{process.pid}/stat").read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")
    before = cpu()
    with open(os.path.join(folder, "200504.evt"), "ab") as f:
        for i in range(count, count + 20):
            f.write(event(i))
            f.flush()
            time.sleep(0.1)
    time.sleep(1)
    used = cpu() - before
    process.terminate()
    process.wait()
    return used


with tempfile.TemporaryDirectory() as work:
    events, logs = os.path.join(work, "events"), os.path.join(work, "logs")
    write_events(events, 1000000)
    write_logs(logs, 100000)
    for kind, folder, what in (("event", events, "1,000,000 events"), ("log2", logs, "100,000 logs")):
        for options in ([], ["--output", "cat"], ["--json-lines"]):
            seconds, mib = show(kind, folder, options)
            print(f"{kind} show {' '.join(options) or '(short)'} of {what}: {seconds:.2f} s, peak {mib:.0f} MiB")
    small = os.path.join(work, "small")
    write_events(small, 1000)
    for folder, what in ((small, "1,000"), (events, "1,000,000")):
        print(f"event follow, 20 appends to a month of {what} events: {follow_cpu(folder, 1000 if folder == small else 1000000):.2f} s of CPU")
