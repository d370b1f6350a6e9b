#!/usr/bin/env bash
# Makes the README's pictures from the shipped examples and data, as PNG.
#
#   bash docs/gallery.sh [PROGRAM [FOLDER]]    (defaults: ./build/polarsketch docs/)
#
# Each picture's command is printed before it runs, with `polarsketch` for
# PROGRAM and the picture's name without FOLDER, as the README shows it.
#
# The interactive program's pictures: an answer script from examples/ is piped
# into the program in a temporary folder, and the plot file it writes is
# rendered by Ghostscript, cropped to the net and its labels (the page's run
# information, with the date and time of the run, stays out of the picture).
# The data pictures are written by `polarsketch plot -o NAME.png` (or `rose`) itself.
set -euo pipefail

top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
program="$(realpath "${1:-./build/polarsketch}")"
mkdir -p "${2:-docs}"
folder="$(realpath "${2:-docs}")"
[ -x "$program" ] || { echo "gallery.sh: $program is not a program" >&2; exit 66; }

dpi=110            # pixels per inch of every picture
margin=5.67        # 2 mm of white around the ink, in points
# The run information is written 28 cm above the foot of the page; the nets
# and their labels, in every plot size, end below 27 cm (765 points).
net_top=765

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$top"

# session NAME: examples/NAME.txt piped into the program, which writes NAME.ps;
# page 1 rendered to FOLDER/NAME.png.
session() {
  local name="$1" dir="$work/$1"
  echo "polarsketch < examples/$name.txt   # writes $name.ps"
  mkdir "$dir"
  if ! (cd "$dir" && "$program" < "$top/examples/$name.txt" > session.log 2>&1); then
    tail -n 20 "$dir/session.log" >&2
    echo "gallery.sh: examples/$name.txt failed" >&2
    exit 1
  fi
  render "$dir/$name.ps" "$folder/$name.png"
}

# render PS PNG: page 1's ink below the run information, plus the margin,
# shifted to the corner of a page of its own size.
render() {
  local ps="$1" png="$2" box dx dy w h
  box="$(gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=bbox -dFirstPage=1 -dLastPage=1 \
           -dDEVICEWIDTHPOINTS=595 -dDEVICEHEIGHTPOINTS="$net_top" -dFIXEDMEDIA \
           "$ps" 2>&1 | sed -n 's/^%%HiResBoundingBox: //p')"
  [ -n "$box" ] || { echo "gallery.sh: $ps has no ink" >&2; exit 1; }
  read -r dx dy w h < <(awk -v m="$margin" -v box="$box" 'BEGIN {
    split(box, b, " ")
    printf "%.2f %.2f %d %d\n", m - b[1], m - b[2], b[3] - b[1] + 2 * m + 0.5, b[4] - b[2] + 2 * m + 0.5 }')
  local shift="<< /BeginPage { pop $dx $dy translate } >> setpagedevice"
  local options=(-q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -r"$dpi"
                 -dTextAlphaBits=4 -dGraphicsAlphaBits=4 -dFirstPage=1 -dLastPage=1
                 -dDEVICEWIDTHPOINTS="$w" -dDEVICEHEIGHTPOINTS="$h" -dFIXEDMEDIA)
  echo "gs ${options[*]} -sOutputFile=$(basename "$png") -c '$shift' -f $(basename "$ps")"
  gs "${options[@]}" -sOutputFile="$png" -c "$shift" -f "$ps"
}

# plot NAME ARGS...: polarsketch plot ARGS -o FOLDER/NAME.png
plot() {
  local name="$1"; shift
  echo "polarsketch plot --dpi $dpi $* -o $name.png"
  if ! "$program" plot --dpi "$dpi" "$@" -o "$folder/$name.png" 2> "$work/$name.err"; then
    cat "$work/$name.err" >&2
    exit 1
  fi
}

# rose NAME ARGS...: polarsketch rose ARGS -o FOLDER/NAME.png
rose() {
  local name="$1"; shift
  echo "polarsketch rose --dpi $dpi $* -o $name.png"
  if ! "$program" rose --dpi "$dpi" "$@" -o "$folder/$name.png" 2> "$work/$name.err"; then
    cat "$work/$name.err" >&2
    exit 1
  fi
}

# fold_poles N FILE: N bedding planes around a fold whose axis plunges 15
# toward 060, their poles on two limbs of the girdle, drawn from a fixed
# pseudo-random sequence (Park and Miller's, exact in any awk).
fold_poles() {
  awk -v n="$1" 'function u() { s = (s * 16807) % 2147483647; return s / 2147483647 }
    function g() { return (u() + u() + u() + u() - 2) * 1.732 }
    BEGIN {
      s = 20261208; d = atan2(1, 1) / 45
      ax = cos(15 * d) * cos(60 * d); ay = cos(15 * d) * sin(60 * d); az = sin(15 * d)
      e1x = ay / sqrt(ax * ax + ay * ay); e1y = -ax / sqrt(ax * ax + ay * ay)
      e2x = ay * 0 - az * e1y; e2y = az * e1x; e2z = ax * e1y - ay * e1x
      print "dipdir,dip"
      for (i = 0; i < n; i++) {
        t = ((u() < 0.55) ? 55 : -35) + 14 * g(); t *= d; o = 4 * d * g()
        px = cos(t) * e1x + sin(t) * e2x + o * ax; py = cos(t) * e1y + sin(t) * e2y + o * ay
        pz = sin(t) * e2z + o * az
        if (pz < 0) { px = -px; py = -py; pz = -pz }
        r = sqrt(px * px + py * py + pz * pz)
        trend = atan2(py, px) / d; plunge = atan2(pz / r, sqrt(px * px + py * py) / r) / d
        printf "%.1f,%.1f\n", (trend + 540) % 360, 90 - plunge
      }
    }' > "$2"
}

session standard_net
session polar_net
session limited_net
session plane_axis_slip
plot fold_contours --contour --stats mean,cone,eigen,girdle --planes poles examples/fold_bedding.csv
fold_poles 400 "$work/fold_400.csv"
fold_poles 100000 "$work/fold_100000.csv"
(cd "$work" && plot fold_400 --contour --stats --planes poles fold_400.csv)
(cd "$work" && plot fold_100000 --contour --hide-data --stats --planes poles fold_100000.csv)
plot data_sets --planes both --net 10 \
  examples/fold_bedding.csv examples/lineations.csv examples/faults.csv
rose strike_rose examples/joint_survey.csv
plot fault_slip --pt --stress examples/quarry_faults.csv
# The joint survey split into three sets, written to a file and drawn a set
# per value of its set column.
echo "polarsketch sets --k 3 -o joint_sets.csv examples/joint_survey.csv"
if ! "$program" sets --k 3 -o "$work/joint_sets.csv" examples/joint_survey.csv \
     2> "$work/joint_sets.err"; then
  cat "$work/joint_sets.err" >&2
  exit 1
fi
(cd "$work" && plot joint_sets --by set --planes poles --contour joint_sets.csv)
plot fold_view --view 060/15 --contour --stats examples/fold_bedding.csv
plot slope_planar --slope 120/65 examples/slope_joints.csv
plot slope_wedge --slope 120/65 --kinematic wedge --hide-data examples/slope_joints.csv
