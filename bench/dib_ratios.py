#!/usr/bin/python3
"""Runs bench_dib once and prints the bitmap class's figures as ratios to their references from
the same run: Read against one read(2) of the same file (speed, higher is better), and the
RLE8 round trip of ChangeCompression against ImageMagick's (how many times faster).

Usage: bench/dib_ratios.py BUILD_DIR/bench/bench_dib [benchmark options]"""
import json
import subprocess
import sys

def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    out = subprocess.run([sys.argv[1], "--benchmark_format=json", *sys.argv[2:]],
                         check=True, capture_output=True, text=True).stdout
    times = {b["name"].split("/")[0]: b["real_time"] for b in json.loads(out)["benchmarks"]}
    rows = [("Read 4096x4096x24 vs read(2)", "DibRead", "OneReadSyscall"),
            ("RLE8 round trip vs ImageMagick", "DibRle8RoundTrip", "ImageMagickRle8RoundTrip")]
    for label, ours, ref in rows:
        print(f"{label:<32} {times[ours]:9.1f} ms   {times[ref]:9.1f} ms   {times[ref] / times[ours]:5.2f}x")

main()
