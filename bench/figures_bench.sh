#!/usr/bin/env bash
# Figures at scale, each run timed end to end beside matplotlib doing the
# same job (bench/matplotlib_poles.py: the same poles as filled circles on an
# equal-area net with its primitive), in the same run:
#   - 100,000 poles to PDF, SVG and PNG: time and file size, ours and
#     matplotlib's, and their ratios (targets: at most half matplotlib's
#     time, files no larger);
#   - 1,000,000 poles to PNG (target: under 3 s);
#   - 2,800,000 planes in every format, as poles and as great circles:
#     maximum resident set size (target: under 500 MB).
# matplotlib runs under /usr/bin/python3 (Debian's python3-matplotlib); when
# it is missing, the benchmark says so and measures ours alone. Great
# circles to PNG take minutes at 2.8 million; set GREAT_CIRCLE_PNG=1 to run them.
#
#   bash bench/figures_bench.sh [PROGRAM]    (default ./build/polarsketch)
set -euo pipefail
program="$(realpath "${1:-./build/polarsketch}")"
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
python=/usr/bin/python3
have_matplotlib=1
if ! "$python" -c 'import matplotlib, numpy' 2>/dev/null; then
  have_matplotlib=0
  echo "matplotlib is missing (/usr/bin/python3 cannot import it): measuring polarsketch alone"
fi

planes() {  # planes N SEED FILE
  awk -v n="$1" -v seed="$2" 'BEGIN { srand(seed); print "dipdir,dip"
    for (i = 0; i < n; i++) printf "%.1f,%.1f\n", 360 * rand(), 90 * rand() }' > "$3"
}
# Runs a command; prints "SECONDS MAX_RSS_KB".
measure() {
  /usr/bin/time -f '%e %M' -o "$work/time" "$@" > /dev/null 2> "$work/stderr" ||
    { cat "$work/stderr" >&2; return 1; }
  cat "$work/time"
}
size_of() { stat -c %s "$1"; }

planes 100000 1 "$work/p100k.csv"
planes 1000000 2 "$work/p1m.csv"
planes 2800000 3 "$work/p2800k.csv"

echo
echo "100,000 poles (polarsketch plot --planes poles -o FILE)"
printf '%-5s %10s %10s %7s %12s %12s %7s\n' format ours_s mpl_s ratio ours_bytes mpl_bytes ratio
for format in pdf svg png; do
  read -r ours_s _ < <(measure "$program" plot --planes poles -o "$work/ours.$format" "$work/p100k.csv")
  ours_b=$(size_of "$work/ours.$format")
  if [ "$have_matplotlib" = 1 ]; then
    read -r mpl_s _ < <(measure "$python" "$here/matplotlib_poles.py" "$work/p100k.csv" "$work/mpl.$format")
    mpl_b=$(size_of "$work/mpl.$format")
    printf '%-5s %10.2f %10.2f %7.3f %12d %12d %7.3f\n' "$format" "$ours_s" "$mpl_s" \
      "$(echo "$ours_s / $mpl_s" | bc -l)" "$ours_b" "$mpl_b" "$(echo "$ours_b / $mpl_b" | bc -l)"
  else
    printf '%-5s %10.2f %10s %7s %12d %12s %7s\n' "$format" "$ours_s" - - "$ours_b" - -
  fi
done

echo
echo "1,000,000 poles to PNG"
read -r s kb < <(measure "$program" plot --planes poles -o "$work/p1m.png" "$work/p1m.csv")
printf '%.2f s, %d MB\n' "$s" $((kb / 1024))

echo
echo "2,800,000 planes: time and maximum resident set size"
printf '%-14s %-6s %10s %8s\n' drawn format seconds MB
for style in poles great-circles; do
  for format in ps eps pdf svg png; do
    if [ "$style" = great-circles ] && [ "$format" = png ] && [ "${GREAT_CIRCLE_PNG:-0}" != 1 ]; then
      printf '%-14s %-6s %10s %8s\n' "$style" "$format" skipped -
      continue
    fi
    read -r s kb < <(measure "$program" plot --planes "$style" -o "$work/big.$format" "$work/p2800k.csv")
    printf '%-14s %-6s %10.2f %8d\n' "$style" "$format" "$s" $((kb / 1024))
    rm -f "$work/big.$format"
  done
done
