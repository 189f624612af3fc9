#!/usr/bin/python3
"""Runs bench_crypt once and prints each figure as a ratio to its reference from the same run:
the containers against OpenSSL's DES-ECB (the encrypt figure for encryption, the decrypt
figure for decryption), our CRC-32 against zlib's crc32.

Usage: bench/crypt_ratios.py BUILD_DIR/bench/bench_crypt [benchmark options]"""
import json
import subprocess
import sys

def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    out = subprocess.run([sys.argv[1], "--benchmark_format=json", *sys.argv[2:]],
                         check=True, capture_output=True, text=True).stdout
    speed = {b["name"]: b["bytes_per_second"] for b in json.loads(out)["benchmarks"]}
    mb = lambda name: speed[name] / 1e6
    rows = []
    for name in sorted(speed):
        if name.startswith(("EncryptM", "EncryptF")):
            ref = "OpenSslDesEcb/encrypt:1"
        elif name.startswith(("DecryptM", "DecryptF")):
            ref = "OpenSslDesEcb/encrypt:0"
        elif name == "Crc32Ours":
            ref = "Crc32Zlib"
        else:
            continue
        rows.append((name, mb(name), ref, mb(ref), speed[name] / speed[ref]))
    for name, ours, ref, theirs, ratio in rows:
        print(f"{name:<16} {ours:9.1f} MB/s   {ref:<24} {theirs:9.1f} MB/s   {ratio:5.2f}x")

main()
