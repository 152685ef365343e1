#!/usr/bin/python3
"""Runs the script-engine benchmark and the same computations in numpy float32, in one run.

Prints nanoseconds per element for both and the ratio engine / numpy. Usage:
    /usr/bin/python3 bench/compare_numpy.py [build/bench/script_engine_bench]
"""
import json
import subprocess
import sys
import timeit

import numpy as np

binary = sys.argv[1] if len(sys.argv) > 1 else "build/bench/script_engine_bench"
side = 1024
n = side * side

x = np.tile(np.linspace(0.0, 1.0, side, dtype=np.float32), side)
y = np.repeat(np.linspace(0.0, 1.0, side, dtype=np.float32), side)
w = (x * np.float32(0.5) + np.float32(0.25)).astype(np.float32)
half = np.float32(0.5)


def smoothstep(a, b, v):
    t = np.clip((v - np.float32(a)) / np.float32(b - a), np.float32(0), np.float32(1))
    return t * t * (np.float32(3) - np.float32(2) * t)


cases = {
    "arithmetic": ("x * y + w", lambda: x * y + w),
    "sin": ("sin(x)", lambda: np.sin(x)),
    "smoothstep": ("smoothstep(0.2, 0.8, x)", lambda: smoothstep(0.2, 0.8, x)),
    "variadic": ("distance_v3(x, y, w, 0.5, 0.5, 0.5)",
                 lambda: np.sqrt((x - half) ** 2 + (y - half) ** 2 + (w - half) ** 2)),
}


def numpy_ns(fn):
    runs = 20
    best = min(timeit.repeat(fn, number=runs, repeat=5)) / runs
    return best * 1e9 / n


out = subprocess.run([binary, "--benchmark_format=json", "--benchmark_min_time=0.5"],
                     check=True, capture_output=True, text=True).stdout
engine = {}
for b in json.loads(out)["benchmarks"]:
    engine[b["name"].split("/")[1]] = b["ns_per_element"] * 1e9  # the counter is in seconds

print(f"{'line':40s} {'engine ns/el':>13s} {'numpy ns/el':>12s} {'ratio':>7s}")
for key, (line, fn) in cases.items():
    e = engine[key]
    p = numpy_ns(fn)
    print(f"{line:40s} {e:13.3f} {p:12.3f} {e / p:7.2f}")
