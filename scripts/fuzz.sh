#!/usr/bin/env bash
# Runs every libFuzzer target of a build (each executable named fuzz_*
# anywhere under BUILD) for SECONDS each, one after the other, at low
# priority.
#   bash scripts/fuzz.sh [SECONDS] [BUILD]      (defaults: 60, build/fuzz)
# Build the targets first: cmake --preset fuzz && cmake --build --preset fuzz
# A target's committed seeds are tests/*/corpus/<target>/; the corpus it grows
# goes to BUILD/fuzz-corpus/<target>/, its log to BUILD/fuzz-logs/<target>.log
# and any crashing input to BUILD/fuzz-artifacts/. None of these is committed.
# FUZZ_JOBS=2 runs two targets at a time. Exits 1 when a target failed.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
seconds=${1:-60}
build=${2:-build/fuzz}
jobs=${FUZZ_JOBS:-1}
mkdir -p "$build/fuzz-corpus" "$build/fuzz-logs" "$build/fuzz-artifacts"

mapfile -t targets < <(find "$build" -type f -name 'fuzz_*' -perm -u+x \
  -not -path "$build/fuzz-*" -not -path '*/CMakeFiles/*' 2>/dev/null | sort)
if [ "${#targets[@]}" -eq 0 ]; then
  echo "no fuzz_* executables under $build (build the fuzz preset first)" >&2
  exit 1
fi

run_one() {
  local exe=$1 name seeds=()
  name=$(basename "$exe")
  mkdir -p "$build/fuzz-corpus/$name"
  for d in tests/*/corpus/"$name"; do [ -d "$d" ] && seeds+=("$d"); done
  nice -n 10 "$exe" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$build/fuzz-artifacts/$name-" \
    "$build/fuzz-corpus/$name" "${seeds[@]}" >"$build/fuzz-logs/$name.log" 2>&1
}

status=0
pids=()
for exe in "${targets[@]}"; do
  run_one "$exe" &
  pids+=("$!")
  if [ "${#pids[@]}" -ge "$jobs" ]; then
    wait "${pids[0]}" || status=1
    pids=("${pids[@]:1}")
  fi
done
for pid in "${pids[@]}"; do wait "$pid" || status=1; done

for exe in "${targets[@]}"; do
  name=$(basename "$exe")
  log="$build/fuzz-logs/$name.log"
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
  if grep -qE '^==[0-9]+==ERROR|^SUMMARY: |deadly signal|Test unit written' "$log"; then
    echo "$name: FAILED after $execs executions (see $log)"
    status=1
  else
    echo "$name: $execs executions, no findings"
  fi
done
exit $status
