#!/usr/bin/env bash
# Times the engine of this checkout beside the engine of an earlier commit: builds that
# commit's engine_bench in a temporary worktree, runs both benchmarks in turn for a few
# rounds, and prints each benchmark's median sweeps per second and the change.
#
#   scripts/bench-against.sh REVISION [FILTER] [ROUNDS]
#
# FILTER is a benchmark regular expression (default: the engine's own timings, not the
# transcription's); ROUNDS defaults to 3. Both programs check their results before timing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
revision=${1:?usage: bench-against.sh REVISION [FILTER] [ROUNDS]}
filter=${2:-'^(Engine|NewRun|Workers)/'}
rounds=${3:-3}

work=$(mktemp -d)
cleanup() {
  git -C "$root" worktree remove --force "$work/earlier" >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

git -C "$root" worktree add --detach "$work/earlier" "$revision" >/dev/null
for tree in "$work/earlier" "$root"; do
  cmake -S "$tree" -B "$tree/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$tree/build" --target engine_bench >/dev/null
done

for round in $(seq "$rounds"); do
  for side in earlier now; do
    tree=$([ "$side" = earlier ] && echo "$work/earlier" || echo "$root")
    echo "round $round: $side" >&2
    "$tree/build/bench/engine_bench" --benchmark_filter="$filter" \
      --benchmark_out="$work/$side-$round.json" --benchmark_out_format=json >/dev/null
  done
done

python3 - "$work" "$revision" <<'EOF'
import glob, json, statistics, sys
work, revision = sys.argv[1], sys.argv[2]
rates = {"earlier": {}, "now": {}}
for side in rates:
    for path in glob.glob(f"{work}/{side}-*.json"):
        for b in json.load(open(path))["benchmarks"]:
            if "sweeps/s" in b:
                rates[side].setdefault(b["name"].removesuffix("/manual_time"), []).append(b["sweeps/s"])
names = sorted(set(rates["earlier"]) | set(rates["now"]))
print(f"{'benchmark':45} {revision[:12]:>14} {'this tree':>14} {'change':>8}")
for name in names:
    before = statistics.median(rates["earlier"].get(name, [0])) or None
    after = statistics.median(rates["now"].get(name, [0])) or None
    change = f"{100 * (after / before - 1):+7.1f}%" if before and after else "       -"
    show = lambda r: f"{r:14.2f}" if r else f"{'-':>14}"
    print(f"{name:45} {show(before)} {show(after)} {change}")
EOF
