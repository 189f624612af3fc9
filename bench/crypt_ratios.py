#!/usr/bin/python3
"""Runs bench_crypt once per forced cipher width and CRC-32 path and prints each figure as a
ratio to its reference from the same run: the containers against OpenSSL's DES-ECB on one core
(the encrypt figure for encryption, the decrypt figure for decryption), our CRC-32 against
zlib's crc32. The width or path of each run is forced with DVRKIT_CRYPT_WIDTH or
DVRKIT_CRC_PATH and printed with its figures.

Usage: bench/crypt_ratios.py BUILD_DIR/bench/bench_crypt [benchmark options]"""
import json
import os
import subprocess
import sys

WIDTHS = ["avx512", "avx2", "64", "scalar"]
CRC_PATHS = ["vpclmul", "pclmul", "sliced"]


def run(binary, env, pattern, extra):
    out = subprocess.run([binary, "--benchmark_format=json", f"--benchmark_filter={pattern}", *extra],
                         check=True, capture_output=True, text=True, env={**os.environ, **env}).stdout
    return {b["name"]: b["bytes_per_second"] for b in json.loads(out)["benchmarks"]}


def reference(name):
    if name.startswith(("Encrypt")):
        return "OpenSslDesEcb/encrypt:1"
    if name.startswith(("Decrypt")):
        return "OpenSslDesEcb/encrypt:0"
    if name == "Crc32Ours":
        return "Crc32Zlib"
    return None


def report(label, speed):
    for name in sorted(speed):
        ref = reference(name)
        if ref:
            print(f"{label:<22} {name:<16} {speed[name] / 1e6:9.1f} MB/s   {ref:<24} "
                  f"{speed[ref] / 1e6:9.1f} MB/s   {speed[name] / speed[ref]:6.2f}x")


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    binary, extra = sys.argv[1], sys.argv[2:]
    for width in WIDTHS:
        report(f"DVRKIT_CRYPT_WIDTH={width}",
               run(binary, {"DVRKIT_CRYPT_WIDTH": width}, "OpenSsl|EncryptM|DecryptM", extra))
    report("files, widest", run(binary, {}, "OpenSsl|EncryptF|DecryptF", extra))
    for path in CRC_PATHS:
        report(f"DVRKIT_CRC_PATH={path}", run(binary, {"DVRKIT_CRC_PATH": path}, "Crc32", extra))


main()
