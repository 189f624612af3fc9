#!/usr/bin/python3
"""Runs the writer benchmarks once and prints each figure as a ratio against its baseline, then
several writer processes on one folder against one process doing the same work.

    bench/report_writers.py [build/bench/bench_writers [build/bench/bench_writer_processes]]
"""
import json
import subprocess
import sys

binary = sys.argv[1] if len(sys.argv) > 1 else "build/bench/bench_writers"
processes = sys.argv[2] if len(sys.argv) > 2 else "build/bench/bench_writer_processes"
# Medians of five runs each, so that one disturbed run does not decide a ratio.
out = subprocess.run([binary, "--benchmark_format=json", "--benchmark_min_time=0.5",
                      "--benchmark_repetitions=5", "--benchmark_report_aggregates_only=true"],
                     check=True, capture_output=True, text=True).stdout
rate = {b["run_name"]: b["items_per_second"] for b in json.loads(out)["benchmarks"]
        if b.get("aggregate_name") == "median"}

def ratio(name, base):
    print(f"{name}: {rate[name]:,.0f}/s against {base}: {rate[base]:,.0f}/s = {rate[name] / rate[base]:.2f}x")

ratio("BM_LogWrite", "BM_LogWriteRawPosix")
ratio("BM_LogWrite", "BM_LogWriteRawPosixLocked")
ratio("BM_EventAppend/real_time/threads:1", "BM_EventAppendRawPosixLocked/real_time")
for threads in (1, 2):
    ratio(f"BM_EventAppend/real_time/threads:{threads}", f"BM_EventAppendRawPosix/real_time/threads:{threads}")
base = rate["BM_LogWriteWithPending/0"]
for pending in (1000, 10000):
    name = f"BM_LogWriteWithPending/{pending}"
    print(f"{name}: {rate[name]:,.0f} logs/s, {rate[name] / base:.2f}x the rate with none pending")

# 4 processes x 10,000 logs into one month file, 4 x 100,000 events into one event file.
print(subprocess.run([processes, "4", "10000", "100000"], check=True, capture_output=True, text=True).stdout, end="")
