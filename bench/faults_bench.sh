#!/usr/bin/env bash
# 10,000 faults of known sense (dip direction, dip, rake; a fixed seed):
# `polarsketch faults` (both methods, one step and re-weighted) and
# `polarsketch plot --dihedra`, each timed end to end. Target: under 1 s each.
#
#   bash bench/faults_bench.sh [PROGRAM]    (default ./build/polarsketch)
set -euo pipefail
program="$(realpath "${1:-./build/polarsketch}")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
awk 'BEGIN { srand(1); print "dipdir,dip,rake"
  for (i = 0; i < 10000; i++)
    printf "%.1f,%.1f,%.1f\n", 360 * rand(), 30 + 55 * rand(), -170 + 160 * rand() }' \
  > "$work/faults.csv"
run() {
  local start end
  start=$(date +%s.%N)
  "$program" "$@" > /dev/null
  end=$(date +%s.%N)
  printf '%6.3f s  polarsketch %s\n' "$(echo "$end - $start" | bc)" "$*"
}
run faults "$work/faults.csv"
run faults --iterate "$work/faults.csv"
run faults --method michael --iterate "$work/faults.csv"
run plot --dihedra -o "$work/dihedra.ps" "$work/faults.csv"
run plot --dihedra --pt --stress -o "$work/dihedra.pdf" "$work/faults.csv"
