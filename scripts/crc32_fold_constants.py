#!/usr/bin/python3
"""Prints the folding constants of the reflected CRC-32 (IEEE 802.3) for fold distances D:
x^(D+32) mod P and x^(D-32) mod P, bit-reflected over 33 bits, the form the folding kernels in
crypt/ use. For D = 512 and D = 128 these are the published constants k1, k2 and k3, k4.

Usage: scripts/crc32_fold_constants.py [D ...]"""
import sys

POLY = 0x104C11DB7


def power_mod(e):
    r = 1
    for _ in range(e):
        r <<= 1
        if r & (1 << 32):
            r ^= POLY
    return r


def reflected(e):
    return int(format(power_mod(e), "032b")[::-1], 2) << 1


for d in map(int, sys.argv[1:] or ["2048", "512", "384", "256", "128"]):
    print(f"D = {d}: 0x{reflected(d + 32):010X}, 0x{reflected(d - 32):010X}")
