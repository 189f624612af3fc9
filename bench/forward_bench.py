#!/usr/bin/python3
"""dvrkit forward against util-linux logger, to one local rsyslogd.

A month of 100,000 logs of ten records (1,000,000 records, written by the library through
build/bench/bench_journal_month) is forwarded whole by `dvrkit forward` over RELP and over syslog
with TLS, and the same entries, one line each (their texts with the line ends as blanks), are sent
from a file by `logger --tcp --octet-count` over plain TCP. Each is a whole process from start to
exit, timed three times (a fresh cursor file each time); the figures are medians. The forwarder's
peak memory (resident set, as /usr/bin/time reports it) is that of the runs over RELP.

    /usr/bin/python3 bench/forward_bench.py [--build build] [--logs 100000]

rsyslogd writes what it receives to a file of the run's temporary folder, as a central server
would; every process runs with TZ=UTC."""
import argparse
import json
import os
import shutil
import socket
import statistics
import subprocess
import sys
import tempfile
import time

TIME = "/usr/bin/time"
RSYSLOGD = "/usr/sbin/rsyslogd"
RUNS = 3
MEMORY_GOAL_MIB = 32
RATE_GOAL = 2.0
os.environ["TZ"] = "UTC"

CERTIFICATES = """set -e
openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -keyout ca.key -out ca.pem -days 2 \
  -subj "/CN=bench CA" -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign" 2>/dev/null
openssl req -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -keyout server.key -out server.csr \
  -subj "/CN=localhost" 2>/dev/null
printf 'subjectAltName=DNS:localhost,IP:127.0.0.1\\nbasicConstraints=CA:FALSE\\n' > server.ext
openssl x509 -req -in server.csr -CA ca.pem -CAkey ca.key -CAcreateserial -out server.pem -days 2 \
  -extfile server.ext 2>/dev/null
"""


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def listening(port):
    wanted = "0100007F:%04X" % port
    with open("/proc/net/tcp") as table:
        return any(line.split()[1] == wanted and line.split()[3] == "0A" for line in list(table)[1:])


class Server:
    """rsyslogd in the foreground with plain TCP, TLS and RELP inputs, writing each message's text."""

    def __init__(self, folder):
        self.folder = folder
        subprocess.run(["sh", "-c", CERTIFICATES], cwd=folder, check=True)
        self.ports = {name: free_port() for name in ("tcp", "tls", "relp")}
        conf = os.path.join(folder, "rsyslog.conf")
        with open(conf, "w") as out:
            out.write(f'''global(workDirectory="{folder}" maxMessageSize="256k"
  defaultNetstreamDriverCAFile="{folder}/ca.pem" defaultNetstreamDriverCertFile="{folder}/server.pem"
  defaultNetstreamDriverKeyFile="{folder}/server.key")
module(load="imtcp" maxSessions="100")
module(load="imrelp")
template(name="text" type="string" string="%msg%\\n")
input(type="imtcp" address="127.0.0.1" port="{self.ports['tcp']}")
input(type="imtcp" address="127.0.0.1" port="{self.ports['tls']}" streamDriver.name="ossl" streamDriver.mode="1"
  streamDriver.authMode="anon")
input(type="imrelp" address="127.0.0.1" port="{self.ports['relp']}")
action(type="omfile" file="{folder}/received.txt" template="text")
''')
        self.process = subprocess.Popen([RSYSLOGD, "-n", "-f", conf, "-i", os.path.join(folder, "rsyslogd.pid")],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 30
        while not all(listening(p) for p in self.ports.values()):
            if time.monotonic() > deadline or self.process.poll() is not None:
                sys.exit("forward_bench: rsyslogd did not start listening")
            time.sleep(0.1)

    def stop(self):
        self.process.terminate()
        self.process.wait()


def timed(command):
    """Wall seconds and peak KiB of `command`, which must succeed."""
    with tempfile.NamedTemporaryFile() as peak, tempfile.TemporaryFile() as err:
        start = time.monotonic()
        code = subprocess.call([TIME, "-f", "%M", "-o", peak.name, *command], stdout=subprocess.DEVNULL, stderr=err)
        seconds = time.monotonic() - start
        if code != 0:
            err.seek(0)
            sys.exit(f"forward_bench: {command[0]} failed: {err.read().decode(errors='replace')}")
        return seconds, int(open(peak.name).read().split()[-1])


def forward_runs(args, folder, server, scheme, extra, work):
    results = []
    for _ in range(RUNS):
        cursor = os.path.join(work, "cursor")
        if os.path.exists(cursor):
            os.unlink(cursor)
        results.append(timed([args.tool, "forward", folder, "--family", "log2", "--to",
                              f"{scheme}://127.0.0.1:{server.ports[scheme.split('+')[-1]]}", "--cursor-file", cursor, *extra]))
    return results


def entry_lines(args, folder, path):
    """The month's entries one line each, as logger sends a file: heading and body, blanks for line ends."""
    shown = subprocess.run([args.tool, "log2", "show", folder, "--output", "json-lines"], capture_output=True, check=True)
    count = 0
    with open(path, "w") as out:
        for line in shown.stdout.splitlines():
            entry = json.loads(line)
            out.write(entry["name"] + " " + " ".join(entry["records"]) + "\n")
            count += 1
    return count


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build")
    parser.add_argument("--logs", type=int, default=100000)
    args = parser.parse_args()
    args.tool = os.path.join(args.build, "tools", "dvrkit", "dvrkit")
    for needed in (RSYSLOGD, TIME, "/usr/bin/logger", args.tool):
        if not os.path.exists(needed):
            sys.exit(f"forward_bench: {needed} is missing (scripts/setup.sh installs the packages; build the tool)")
    work = tempfile.mkdtemp(prefix="dvrkit-forward-bench-")
    try:
        folder = os.path.join(work, "month")
        os.makedirs(folder)
        subprocess.run([os.path.join(args.build, "bench", "bench_journal_month"), folder, "2025-03", str(args.logs)],
                       check=True, stdout=subprocess.DEVNULL)
        lines = os.path.join(work, "lines.txt")
        entries = entry_lines(args, folder, lines)
        server = Server(work)
        try:
            relp = forward_runs(args, folder, server, "relp", [], work)
            tls = forward_runs(args, folder, server, "syslog+tls", ["--ca-file", os.path.join(work, "ca.pem")], work)
            logger = [timed(["/usr/bin/logger", "--tcp", "--octet-count", "-n", "127.0.0.1", "-P",
                             str(server.ports["tcp"]), "-f", lines]) for _ in range(RUNS)]
        finally:
            server.stop()
        rate = {name: entries / statistics.median(s for s, _ in runs)
                for name, runs in (("relp", relp), ("tls", tls), ("logger", logger))}
        peak_mib = max(k for _, k in relp) / 1024
        print(f"{entries} logs ({entries * 10} records), medians of {RUNS} whole-process runs:")
        for name, label in (("relp", "dvrkit forward relp://"), ("tls", "dvrkit forward syslog+tls://"),
                            ("logger", "logger --tcp --octet-count")):
            print(f"  {label:30s} {rate[name]:10.0f} logs/s {rate[name] * 10:10.0f} records/s "
                  f"({rate[name] / rate['logger']:.2f}x logger)")
        print(f"  forwarder peak memory (RELP): {peak_mib:.1f} MiB (goal <= {MEMORY_GOAL_MIB} MiB)")
        print(f"  goals: rate >= {RATE_GOAL}x logger: relp {'met' if rate['relp'] >= RATE_GOAL * rate['logger'] else 'missed'}, "
              f"tls {'met' if rate['tls'] >= RATE_GOAL * rate['logger'] else 'missed'}; memory "
              f"{'met' if peak_mib <= MEMORY_GOAL_MIB else 'missed'}")
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
