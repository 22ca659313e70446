#!/usr/bin/env python3
"""Runs dcl_bench with repetitions (interleaved at random, so that the
machine's load falls on every benchmark alike) and prints, per input, the
min/median/max of the throughputs and of the ratios to zlib, each ratio
taken between runs of the same repetition.

    python3 tests/dcl/bench/ratios.py BUILD/tests/dcl/dcl_bench [REPETITIONS]
"""
import json
import statistics
import subprocess
import sys
from collections import defaultdict


def spread(values, fmt="{:.2f}"):
    values = sorted(values)
    return " / ".join(fmt.format(v) for v in (values[0], statistics.median(values), values[-1]))


def main():
    exe = sys.argv[1]
    reps = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    out = subprocess.run(
        [exe, f"--benchmark_repetitions={reps}", "--benchmark_enable_random_interleaving=true",
         "--benchmark_min_time=0.5", "--benchmark_format=json"],
        check=True, capture_output=True, text=True).stdout
    runs = defaultdict(dict)  # name -> repetition -> run
    for b in json.loads(out)["benchmarks"]:
        if b.get("run_type") == "iteration":
            runs[b["run_name"]][b.get("repetition_index", 0)] = b

    def rate(name, r):
        return runs[name][r]["bytes_per_second"] / 1e6

    print(f"min / median / max over {reps} repetitions (CPU time, uncompressed MB/s)")
    for name in sorted(runs):
        kind, _, rest = name.partition("/")
        if kind not in ("Explode", "Implode", "ImplodeBest"):
            continue
        file = rest.split("/")[0]
        zlib = f"Inflate/{file}" if kind == "Explode" else f"Deflate/{file}"
        ours = [rate(name, r) for r in runs[name]]
        theirs = [rate(zlib, r) for r in runs[name]]
        ratios = [rate(name, r) / rate(zlib, r) for r in runs[name]]
        line = f"{name:32} {spread(ours)} MB/s  {zlib} {spread(theirs)}  ratio {spread(ratios, '{:.3f}')}"
        if kind != "Explode":
            size = next(iter(runs[name].values()))["size%"]
            zsize = next(iter(runs[zlib].values()))["size%"]
            line += f"  size {size:.2f}% (zlib {zsize:.2f}%)"
        print(line)


if __name__ == "__main__":
    main()
