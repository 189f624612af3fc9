#!/usr/bin/python3
"""Times `dvrkit crypt encrypt` of a 256 MB file into a new file against `openssl enc -des-ecb`
of the same file, each a whole process, one run each in the same session, and prints the ratio.
The file lies in the temporary folder (mostly the page cache), so the figure is the work and
the system calls, not the disk.

Usage: bench/crypt_tool_ratio.py BUILD_DIR/tools/dvrkit/dvrkit [--crc]"""
import os
import subprocess
import sys
import tempfile
import time

SIZE = 256 << 20


def timed(command, env=None):
    start = time.perf_counter()
    subprocess.run(command, check=True, env={**os.environ, **(env or {})}, stdout=subprocess.DEVNULL)
    return time.perf_counter() - start


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    tool, extra = sys.argv[1], sys.argv[2:]
    with tempfile.TemporaryDirectory() as folder:
        plain = os.path.join(folder, "plain")
        with open(plain, "wb") as f:
            f.write(os.urandom(SIZE))
        ours = timed([tool, "crypt", "encrypt", plain, os.path.join(folder, "ours"), "--key-env", "BENCH_KEY", *extra],
                     {"BENCH_KEY": "benchmark key"})
        theirs = timed(["openssl", "enc", "-des-ecb", "-provider", "legacy", "-provider", "default",
                        "-K", "133457799BBCDFF1", "-in", plain, "-out", os.path.join(folder, "theirs")])
    mb = SIZE / 1e6
    print(f"dvrkit crypt encrypt {' '.join(extra):<6} {ours:7.3f} s {mb / ours:8.1f} MB/s   "
          f"openssl enc -des-ecb {theirs:7.3f} s {mb / theirs:8.1f} MB/s   {theirs / ours:6.2f}x")


main()
