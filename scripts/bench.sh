#!/usr/bin/env bash
# Builds and runs every benchmark (optimised build), printing medians and the
# ratios each benchmark reports against its baseline from the same run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset bench >/dev/null
cmake --build --preset bench -j "$(nproc)"
for bench in $(find build/bench -type f -name 'bench_*' -perm -u+x | sort); do
  echo "==== $(basename "$bench")"
  "$bench" --benchmark_repetitions=9 --benchmark_report_aggregates_only=true
done
