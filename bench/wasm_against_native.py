#!/usr/bin/python3
"""The learning engine as WebAssembly under node against the native engine on one thread.

Runs build/bench/engine_speed and build-wasm/bench/engine_speed.js (the same program, see
engine_speed.cpp) in turns for a few rounds and prints, for 16x16x8, 256x256x64 and
1024x1024x64 under both rules, the best sweeps per second of processor time each reached,
side by side: the engine as each build runs it (its widest sweep loops), and for scale the
native engine on 128-bit vectors (SSE2), as wide as WebAssembly's. Every run must leave the
same weights (the fingerprints), or the timings would not compare the same work and the
script fails.

    bench/wasm_against_native.py [ROUNDS]     (3 by default)

Builds both programs first; build/ and build-wasm/ must have been configured
(scripts/build.sh, scripts/build-wasm.sh).
"""
import pathlib
import subprocess
import sys

root = pathlib.Path(__file__).resolve().parent.parent
rounds = int(sys.argv[1]) if len(sys.argv) > 1 else 3
programs = {
    "native": [str(root / "build/bench/engine_speed")],
    "wasm": ["node", "--no-experimental-fetch", str(root / "build-wasm/bench/engine_speed.js")],
}
for build in ("build", "build-wasm"):
    subprocess.run(["cmake", "--build", str(root / build), "--target", "engine_speed"],
                   check=True, stdout=subprocess.DEVNULL)

best = {}  # (side, case, rule, loops) -> sweeps per second
fingerprints = {}  # (case, rule) -> the hashes of the weights every run left
widest = {}  # side -> the loops its engine uses (listed first)
order = []
for round_ in range(1, rounds + 1):
    for side, command in programs.items():
        print(f"round {round_}: {side}", file=sys.stderr)
        lines = subprocess.run(command + ["3"], check=True, capture_output=True, text=True).stdout
        for line in lines.splitlines():
            case, rule, loops, rate, fingerprint = line.split()
            if (case, rule) not in order:
                order.append((case, rule))
            widest.setdefault(side, loops)
            key = (side, case, rule, loops)
            best[key] = max(best.get(key, 0.0), float(rate))
            fingerprints.setdefault((case, rule), set()).add(fingerprint)

native, wasm = widest["native"], widest["wasm"]
print(f"\nsweeps per second of processor time, one thread, best of {rounds} rounds\n")
print(f"{'case':14} {'rule':6} {'native ' + native:>15} {'wasm ' + wasm:>15} {'wasm/native':>12}"
      f" {'native SSE2':>12} {'wasm/SSE2':>10}  same bits")
for case, rule in order:
    n, w = best["native", case, rule, native], best["wasm", case, rule, wasm]
    sse2 = best.get(("native", case, rule, "SSE2"))
    same = len(fingerprints[case, rule]) == 1
    print(f"{case:14} {rule:6} {n:15.2f} {w:15.2f} {w / n:11.0%} "
          + (f"{sse2:12.2f} {w / sse2:9.0%}" if sse2 else f"{'-':>12} {'-':>9}")
          + f"  {'yes' if same else 'NO'}")
if any(len(hashes) != 1 for hashes in fingerprints.values()):
    sys.exit("the runs left different weights: the timings compare different work")
