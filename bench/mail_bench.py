#!/usr/bin/python3
"""Times the mail subsystem against reference tools, both sides in the same run.

  /usr/bin/python3 bench/mail_bench.py [BUILD_DIR]      (BUILD_DIR defaults to ./build)

1. Composing: `dvrkit mail compose` of a mail with a 50 MB attachment against coreutils `base64`
   encoding the same file, both written to /dev/null; the ratio is base64's time over ours (at
   least 1.0 means we encode at least as fast). Composing 12.5, 25 and 50 MB attachments and
   1, 4 and 16 MB body texts shows whether the time is linear in the size. The peak memory of
   composing 50 MB and 500 MB attachments (the process's maximum resident set).
2. Delivering: `dvrkit mail send` of a mail with a 20 MB attachment to a local aiosmtpd against
   swaks sending the same file to the same server; the ratio is our time over swaks's. Then the
   same over STARTTLS, both sides verifying the server's certificate against a throw-away CA.

The two sides of a comparison run alternately, several times each; each figure is the median of
its runs, by wall clock and by CPU time (user + system), so that other work on the machine weighs
on both sides alike.
"""
import os
import random
import resource
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
MB = 1024 * 1024
RUNS = 9


def cpu_of_children():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


def run_once(command):
    """Wall-clock and CPU time of one run of `command`."""
    start, start_cpu = time.perf_counter(), cpu_of_children()
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
    return time.perf_counter() - start, cpu_of_children() - start_cpu


def compare(ours, reference):
    """Median (wall, CPU) times of both commands, run alternately RUNS times each."""
    times = {0: [], 1: []}
    for _ in range(RUNS):
        for side, command in enumerate((ours, reference)):
            times[side].append(run_once(command))
    return [(statistics.median(t[0] for t in times[side]), statistics.median(t[1] for t in times[side]))
            for side in (0, 1)]


def peak_memory_mb(command):
    """The maximum resident set of one run of `command`, in MB, as GNU time measures it (a child
    of this process would count this process's own memory, copied when it forked)."""
    result = subprocess.run(["/usr/bin/time", "-f", "%M", *command], stdout=subprocess.DEVNULL,
                            stderr=subprocess.PIPE, text=True, check=True)
    return int(result.stderr.strip().splitlines()[-1]) / 1024


def median_time(command):
    return statistics.median(run_once(command)[0] for _ in range(RUNS))


def random_file(path, size):
    rng = random.Random(size)
    with open(path, "wb") as f:
        for start in range(0, size, 16 * MB):
            f.write(rng.randbytes(min(16 * MB, size - start)))


def text_file(path, size):
    words = ["camera", "motion", "alarm", "channel", "recorder", "signal", "lost", "restored", "\n"]
    rng = random.Random(size)
    parts, total = [], 0
    while total < size:
        word = rng.choice(words)
        parts.append(word)
        total += len(word) + 1
    with open(path, "w") as f:
        f.write(" ".join(parts)[:size])


def compose_figures(dvrkit, folder):
    mail = ["--from", "alarm@dvr.example", "--to", "ops@example.com", "--subject", "bench"]
    big = os.path.join(folder, "attachment50.bin")
    random_file(big, 50 * MB)
    (ours, ours_cpu), (reference, reference_cpu) = compare(
        [dvrkit, "mail", "compose", *mail, "--body", "x", "--attach", big], ["base64", big])
    print(f"compose 50 MB attachment: dvrkit {ours:.3f} s (CPU {ours_cpu:.3f} s), coreutils base64 "
          f"{reference:.3f} s (CPU {reference_cpu:.3f} s)")
    print(f"  throughput ratio (>= 1.0 wanted): {reference / ours:.2f}x by wall clock, "
          f"{reference_cpu / ours_cpu:.2f}x by CPU time")
    for size in (50, 500):
        path = os.path.join(folder, f"attachment{size}.bin")
        if not os.path.exists(path):
            random_file(path, size * MB)
        peak = peak_memory_mb([dvrkit, "mail", "compose", *mail, "--body", "x", "--attach", path])
        print(f"  peak memory composing a {size} MB attachment: {peak:.1f} MB (<= 32 wanted)")
        if size == 500:
            os.remove(path)
    for size in (12.5, 25, 50):
        path = os.path.join(folder, f"attachment{size}.bin")
        if not os.path.exists(path):
            random_file(path, int(size * MB))
        t = median_time([dvrkit, "mail", "compose", *mail, "--body", "x", "--attach", path])
        print(f"  attachment {size:5} MB: {t:.3f} s, {t / size * 1000:.1f} ms per MB")
    for size in (1, 4, 16):
        path = os.path.join(folder, f"body{size}.txt")
        text_file(path, size * MB)
        t = median_time([dvrkit, "mail", "compose", *mail, "--body-file", path])
        print(f"  body text  {size:5} MB: {t:.3f} s, {t / size * 1000:.1f} ms per MB")
    for size in (1, 16):  # no blank at all: every line break falls at the text's start
        path = os.path.join(folder, f"unbroken{size}.txt")
        with open(path, "w") as f:
            f.write("y" * (size * MB))
        t = median_time([dvrkit, "mail", "compose", *mail, "--body-file", path])
        print(f"  unbroken   {size:5} MB: {t:.3f} s, {t / size * 1000:.1f} ms per MB")


def wait_for(path, seconds=30):
    deadline = time.time() + seconds
    while not os.path.exists(path):
        if time.time() > deadline:
            raise RuntimeError("timed out waiting for " + path)
        time.sleep(0.02)


def deliver_figures(dvrkit, folder, tls):
    """Delivery to aiosmtpd, in plain text or (with `tls`) over STARTTLS with verification."""
    server_folder = os.path.join(folder, "server-tls" if tls else "server")
    os.mkdir(server_folder)
    server_command = ["/usr/bin/python3", os.path.join(ROOT, "tests/mail/smtp_server.py"), "--folder", server_folder]
    ours_tls, swaks_tls = ["--tls", "off"], []
    if tls:
        subprocess.run(["sh", os.path.join(ROOT, "tests/mail/make_certificates.sh"), server_folder], check=True)
        server_command += ["--cert", os.path.join(server_folder, "server.pem"),
                           "--key", os.path.join(server_folder, "server.key")]
        ca = os.path.join(server_folder, "ca.pem")
        ours_tls = ["--tls", "starttls", "--ca-file", ca]
        swaks_tls = ["--tls", "--tls-verify", "--tls-ca-path", ca]
    server = subprocess.Popen(server_command)
    try:
        wait_for(os.path.join(server_folder, "port"))
        with open(os.path.join(server_folder, "port")) as f:
            port = f.read().strip()
        attachment = os.path.join(folder, "attachment20.bin")
        if not os.path.exists(attachment):
            random_file(attachment, 20 * MB)
        (ours, _), (swaks, _) = compare(
            [dvrkit, "mail", "send", "--server", "localhost", "--port", port, "--from", "alarm@dvr.example",
             "--to", "ops@example.com", "--subject", "bench", "--body", "x", "--attach", attachment, *ours_tls],
            ["swaks", "--server", "localhost", "--port", port, "--from", "alarm@dvr.example",
             "--to", "ops@example.com", "--header", "Subject: bench", "--body", "x",
             "--attach", "@" + attachment, "--hide-all", *swaks_tls])
        how = "over STARTTLS" if tls else "in plain text"
        print(f"deliver 20 MB attachment to aiosmtpd {how}: dvrkit {ours:.3f} s, swaks {swaks:.3f} s, "
              f"time ratio {ours / swaks:.2f}x (<= 1.0 wanted)")
    finally:
        server.terminate()
        server.wait()


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build")
    dvrkit = os.path.join(build, "tools/dvrkit/dvrkit")
    with tempfile.TemporaryDirectory(prefix="dvrkit-mail-bench-") as folder:
        compose_figures(dvrkit, folder)
        deliver_figures(dvrkit, folder, tls=False)
        deliver_figures(dvrkit, folder, tls=True)


if __name__ == "__main__":
    main()
