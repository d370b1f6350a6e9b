#!/usr/bin/env bash
# Fault injection for the command line of polarsketch (`plot`, `stats`):
# outputs that cannot be written (a link to /dev/full, a full file system, a
# file-size limit, a folder, a FIFO, a read-only file or folder, links),
# interrupts in the middle of a long render, two runs writing one file,
# inputs that are FIFOs, devices or folders, broken standard output, and
# memory: peak RSS for 10^6 and 10^7 lines and a 200 MB address-space limit.
#
# usage: faults_cli.sh BINARY [SIGNAL_RUNS] [PAIRS]
#   BINARY       the polarsketch program (Release; a sanitizer build skips
#                the cases that need an address-space limit)
#   SIGNAL_RUNS  interrupts tried per signal and format (default 6)
#   PAIRS        concurrent pairs of runs per format (default 10)
#
# Each case prints a block (exit status, what the program said, the files
# left: size, kind, renders or not) and one row of the table at the end:
#   fault | behaviour | exit | data lost | reported
# Cases that need root (a tmpfs in a private mount namespace, running as
# user nobody) are skipped otherwise.  Needs bash, python3, gs, pdftoppm,
# rsvg-convert, /usr/bin/time; setpriv and unshare for the root-only cases.
set -u
BIN=$(readlink -f "${1:?usage: faults_cli.sh BINARY [SIGNAL_RUNS] [PAIRS]}")
SIGRUNS=${2:-6}
PAIRS=${3:-10}
HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(mktemp -d "${TMPDIR:-/tmp}/ps-clifaults.XXXXXX")
chmod 755 "$ROOT"
TABLE=$ROOT/table.txt
: >"$TABLE"
export LC_ALL=C
SUPP=$(dirname "$(dirname "$BIN")")/tools/lsan.supp
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:exitcode=86}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1:exitcode=87}
[ -f "$SUPP" ] && export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$SUPP}
SANITIZED=0
grep -q __asan_init "$BIN" && SANITIZED=1
FORMATS="ps eps pdf svg png"

NOBODY=""
if [ "$(id -u)" = 0 ] && command -v setpriv >/dev/null; then
  NOBODY="setpriv --reuid=65534 --regid=65534 --clear-groups"
fi

newdir() { local d=$ROOT/$1; rm -rf "$d"; mkdir -p "$d"; chmod 777 "$d"; echo "$d"; }
row() { printf '%s|%s|%s|%s|%s\n' "$1" "$2" "$3" "$4" "$5" >>"$TABLE"; }

# Measurement files: N planes (dipdir,dip) or N lines (trend,plunge), seeded.
gen() {  # gen planes|lines N FILE
  python3 - "$1" "$2" "$3" <<'EOF'
import random, sys
kind, n, path = sys.argv[1], int(sys.argv[2]), sys.argv[3]
r = random.Random(n)
with open(path, "w") as f:
    f.write("dipdir,dip\n" if kind == "planes" else "trend,plunge\n")
    hi = 90.0
    chunk = []
    for i in range(n):
        chunk.append("%.1f,%.1f\n" % (r.uniform(0, 360), r.uniform(0, hi)))
        if len(chunk) == 100000:
            f.write("".join(chunk)); chunk = []
    f.write("".join(chunk))
EOF
}

# Verdict on one output file: renders, or why not.
render() {
  local f=$1 out
  case "$f" in
    *.ps|*.eps) out=$(timeout 300 gs -q -dBATCH -dNOPAUSE -dSAFER -sDEVICE=nullpage "$f" 2>&1 </dev/null) ||
                  { echo "gs-fails"; return; }
                grep -q Error <<<"$out" && { echo "gs-fails"; return; } ;;
    *.pdf) timeout 300 pdftoppm -r 10 -singlefile -png "$f" "$ROOT/__r" >/dev/null 2>&1 || { echo "pdftoppm-fails"; return; }
           rm -f "$ROOT/__r.png" ;;
    *.svg) timeout 300 rsvg-convert -z 0.1 -o "$ROOT/__r.png" "$f" >/dev/null 2>&1 || { echo "rsvg-fails"; return; }
           rm -f "$ROOT/__r.png" ;;
    *.png) python3 -c "
import sys
try:
    from PIL import Image
    Image.MAX_IMAGE_PIXELS = None
    Image.open(sys.argv[1]).load()
except ImportError:
    pass
" "$f" 2>/dev/null || { echo "png-broken"; return; } ;;
  esac
  echo "renders"
}

# Lists what a case directory holds (not the inputs named in KEEP_OUT).
files_of() {
  local d=$1 f
  find "$d" -maxdepth 2 \( -type f -o -type l -o -type p \) ! -name '*.csv' ! -name out.txt ! -name err.txt \
       ! -name rc -print0 2>/dev/null | sort -z |
  while IFS= read -r -d '' f; do
    if [ -L "$f" ]; then printf '    link %-20s -> %s\n' "${f#"$d"/}" "$(readlink "$f")"; continue; fi
    if [ -p "$f" ]; then printf '    fifo %s\n' "${f#"$d"/}"; continue; fi
    local sz; sz=$(stat -c %s "$f")
    local v="-"
    case "$(head -c 16 "$f" | tr -d '\000')" in older*) v="older target (intact)" ;; *) v=$(render "$f") ;; esac
    printf '    file %-22s %10d bytes %s\n' "${f#"$d"/}" "$sz" "$v"
  done
}
temps_in() { find "$1" -maxdepth 2 -name '.*.??????' 2>/dev/null | wc -l; }

# run DIR PREFIX... -- ARGS: runs the program in DIR; status in DIR/rc.
run() {
  local d=$1; shift
  local pre=()
  while [ "$1" != "--" ]; do pre+=("$1"); shift; done
  shift
  (cd "$d" && "${pre[@]}" "$BIN" "$@" </dev/null >out.txt 2>err.txt; echo $? >rc)
  cat "$d/rc"
}
said() { grep -a -v '^  ' "$1/err.txt" | head -3 | sed 's/^/    stderr: /'; }
reported() { [ -s "$1/err.txt" ] && grep -aq "$2" "$1/err.txt" && echo yes || echo NO; }

echo "polarsketch command-line fault injection; binary $BIN; work in $ROOT"
DATA=$ROOT/data
mkdir -p "$DATA"; chmod 755 "$DATA"
gen planes 300 "$DATA/small.csv"
gen lines 1000000 "$DATA/lines1e6.csv"
chmod 644 "$DATA"/*.csv

# 1. Outputs that cannot be written, per format; an older target must stay.
for fmt in $FORMATS; do
  d=$(newdir "full-link-$fmt"); ln -s /dev/full "$d/out.$fmt"
  rc=$(run "$d" -- plot -o "out.$fmt" "$DATA/small.csv")
  echo "== -o out.$fmt -> /dev/full: exit $rc"; said "$d"; files_of "$d"
  row "-o $fmt: a link to /dev/full" "refused (not a regular file)" "$rc" \
      "$([ -L "$d/out.$fmt" ] && [ "$(temps_in "$d")" = 0 ] && echo no || echo "LINK REPLACED / temp left")" \
      "$(reported "$d" "out.$fmt")"
done

if [ -n "$NOBODY" ] && command -v unshare >/dev/null; then
  for fmt in $FORMATS; do
    d=$(newdir "tmpfs-$fmt")
    # A 64 KiB file system in a private mount namespace: gone when the case ends.
    # The messages go outside the full file system; its files are copied out afterwards.
    k=$d.keep; mkdir -p "$k"
    unshare -m bash -c '
      mount -t tmpfs -o size=64k,mode=777 tmpfs "$1" || exit 99
      printf "older target\n" >"$1/old.'"$fmt"'"
      (cd "$1" && "$2" plot -o old.'"$fmt"' --net 1 "$3" </dev/null >"$4/out.txt" 2>"$4/err.txt"; echo $? >"$4/rc")
      cp -a "$1/." "$4/"; find "$1" -maxdepth 1 -name ".*.??????" >"$4.temps"
    ' _ "$d" "$BIN" "$DATA/small.csv" "$k"
    rc=$(cat "$k/rc" 2>/dev/null || echo "?")
    echo "== full file system (64 KiB tmpfs), -o old.$fmt over an older target: exit $rc"; said "$k"; files_of "$k"
    row "disk full (64 KiB tmpfs), $fmt, older target" \
        "$(grep -q older "$k/old.$fmt" && echo "older target kept" || echo "OLDER TARGET LOST")" "$rc" \
        "$([ -s "$k.temps" ] && echo "temp left" || echo no)" "$(reported "$k" "old.$fmt")"
  done
else
  echo "== full file system: skipped (needs root and unshare)"
fi

for fmt in $FORMATS; do
  d=$(newdir "ulimit-$fmt"); printf 'older target\n' >"$d/old.$fmt"
  rc=$( (ulimit -f 8; run "$d" -- plot -o "old.$fmt" --net 1 "$DATA/small.csv") 2>/dev/null)
  echo "== ulimit -f 8 (8 KiB), -o old.$fmt over an older target: exit $rc"; said "$d"; files_of "$d"
  row "ulimit -f 8 KiB, $fmt, older target" \
      "$(grep -q older "$d/old.$fmt" && echo "older target kept" || echo "OLDER TARGET LOST")" "$rc" \
      "$([ "$(temps_in "$d")" = 0 ] && echo no || echo "temp left")" "$(reported "$d" "old.$fmt")"
done

for kind in dir fifo readonly rodir link dangling loop; do
  for fmt in ps pdf; do
    d=$(newdir "target-$kind-$fmt"); t="out.$fmt"; pre=()
    case $kind in
      dir) mkdir "$d/$t" ;;
      fifo) mkfifo "$d/$t" ;;
      readonly) printf 'older target\n' >"$d/$t"; chmod 444 "$d/$t"; [ -n "$NOBODY" ] && chown 65534 "$d/$t"
                [ -n "$NOBODY" ] && pre=($NOBODY) ;;
      rodir) mkdir "$d/ro"; chmod 555 "$d/ro"; t="ro/out.$fmt"; [ -n "$NOBODY" ] && pre=($NOBODY) ;;
      link) printf 'older target\n' >"$d/real.$fmt"; ln -s "real.$fmt" "$d/$t" ;;
      dangling) ln -s "nodir/x.$fmt" "$d/$t" ;;
      loop) ln -s "$t" "$d/$t" ;;
    esac
    rc=$(run "$d" timeout -s KILL 20 "${pre[@]}" -- plot -o "$t" "$DATA/small.csv")
    echo "== -o $t is a $kind${pre:+ (as nobody)}: exit $rc"; said "$d"; files_of "$d"
    lost=no
    case $kind in
      readonly) grep -q older "$d/$t" || lost="READ-ONLY FILE REPLACED" ;;
      link) [ -L "$d/$t" ] || lost="LINK REPLACED BY A FILE" ;;
    esac
    [ "$(temps_in "$d")" = 0 ] || lost="$lost; temp left"
    behaviour="refused"; [ "$rc" = 0 ] && behaviour="written"
    [ "$kind" = link ] && [ "$rc" = 0 ] && behaviour="written through the link ($(render "$d/real.$fmt"))"
    [ "$rc" = 137 ] && behaviour="HANGS (killed after 20 s)"
    row "-o is a $kind ($fmt)" "$behaviour" "$rc" "$lost" "$([ "$rc" = 0 ] && echo "-" || reported "$d" "out.$fmt")"
  done
done

# A target name at the file system's limit: the temporary name beside it
# must stay within the limit too.
d=$(newdir longname); n=$(printf 'y%.0s' $(seq 249)).ps
rc=$(run "$d" -- plot -o "$n" "$DATA/small.csv")
echo "== -o NAME of 252 bytes (the limit is 255): exit $rc"; said "$d"
row "-o a 252-byte name (NAME_MAX 255)" "$([ "$rc" = 0 ] && echo written || echo "REFUSED: the temporary name is too long")" \
    "$rc" "no" "$(reported "$d" "too long")"

# --density-out that cannot be written: the plot file must stay as it was.
d=$(newdir density-fails); printf 'older target\n' >"$d/old.ps"
rc=$(run "$d" -- plot -o old.ps --contour --density-out nodir/d.csv "$DATA/small.csv")
echo "== --density-out nodir/d.csv, -o old.ps over an older target: exit $rc"; said "$d"; files_of "$d"
row "--density-out unwritable, older plot file" \
    "$(grep -q older "$d/old.ps" && echo "plot not written" || echo "PLOT FILE REPLACED although the run failed")" \
    "$rc" "$(grep -q older "$d/old.ps" && echo no || echo "older plot replaced")" "$(reported "$d" "nodir/d.csv")"

# 2. Interrupts in the middle of a long render (10^6 lines), an older target present.
python3 - "$BIN" "$ROOT" "$DATA/lines1e6.csv" "$SIGRUNS" <<'EOF' | tee "$ROOT/signals.txt"
import os, random, signal, subprocess, sys, time
binary, root, data, runs = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
rng = random.Random(5)
for fmt in ("pdf", "ps"):
    for sig in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP, signal.SIGKILL):
        tally, temps, lost, finished = {}, 0, 0, 0
        for i in range(runs):
            d = os.path.join(root, "sig-%s-%s-%d" % (fmt, sig.name, i))
            os.makedirs(d)
            target = os.path.join(d, "old." + fmt)
            with open(target, "w") as f:
                f.write("older target\n")
            p = subprocess.Popen([binary, "plot", "-o", "old." + fmt, data], cwd=d,
                                 stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
            delay = rng.uniform(0.3, 6.0 if fmt == "pdf" else 2.0)
            time.sleep(delay)
            if p.poll() is None:
                p.send_signal(sig)
            else:
                finished += 1
            try:
                rc = p.wait(timeout=120)
            except subprocess.TimeoutExpired:
                p.kill(); rc = "hang"
            left = [n for n in os.listdir(d) if n.startswith(".old.")]
            temps += bool(left)
            intact = open(target, "rb").read(12) == b"older target"
            if not intact and rc not in (0,):
                lost += 1
            key = "exit %s" % rc
            tally[key] = tally.get(key, 0) + 1
            if not left and intact:
                for n in os.listdir(d):
                    os.unlink(os.path.join(d, n))
                os.rmdir(d)
        print("== %s x%d during %s: %s; finished before the signal %d; temporary files left %d; "
              "older target lost %d" % (sig.name, runs, fmt, ", ".join("%s: %d" % kv for kv in sorted(tally.items())),
                                        finished, temps, lost))
EOF
while IFS= read -r line; do
  case "$line" in
    "== SIG"*)
      what=${line#== }; what=${what%%:*}
      ex=$(sed 's/^[^:]*: \([^;]*\);.*/\1/' <<<"$line")
      tl=$(sed 's/.*temporary files left \([0-9]*\).*/\1/' <<<"$line")
      ol=$(sed 's/.*older target lost \([0-9]*\).*/\1/' <<<"$line")
      row "$what (10^6 lines, older target)" "temporaries left $tl, older target lost $ol" "$ex" \
          "$([ "$ol" = 0 ] && echo no || echo "YES ($ol)")" "killed by the signal" ;;
  esac
done <"$ROOT/signals.txt"

# 3. Two runs writing one -o at once, different drawings.
gen planes 3000 "$DATA/a.csv"; gen lines 3000 "$DATA/b.csv"
python3 - "$BIN" "$ROOT" "$DATA/a.csv" "$DATA/b.csv" "$PAIRS" <<'EOF' | tee "$ROOT/pairs.txt"
import os, re, random, subprocess, sys, time
binary, root, a, b, pairs = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4], int(sys.argv[5])
def masked(data):
    return re.sub(rb"/(CreationDate|ModDate) \(D:[^)]*\)", b"DATE", data)
rng = random.Random(3)
for fmt in ("ps", "pdf", "svg"):
    alone = []
    for src in (a, b):
        d = os.path.join(root, "pair-alone-%s" % fmt)
        os.makedirs(d, exist_ok=True)
        subprocess.run([binary, "plot", "-o", "x." + fmt, "--net", "2", src], cwd=d, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        alone.append(masked(open(os.path.join(d, "x." + fmt), "rb").read()))
    assert alone[0] != alone[1]
    mixed = temps = failed = 0
    for i in range(pairs):
        d = os.path.join(root, "pair-%s-%d" % (fmt, i))
        os.makedirs(d)
        ps = []
        for k, src in enumerate((a, b)):
            ps.append(subprocess.Popen([binary, "plot", "-o", "x." + fmt, "--net", "2", src], cwd=d,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
            if k == 0:
                time.sleep(rng.uniform(0, 0.3))
        rcs = [p.wait(timeout=300) for p in ps]
        got = masked(open(os.path.join(d, "x." + fmt), "rb").read())
        if got not in alone:
            mixed += 1
        if any(n.startswith(".x.") for n in os.listdir(d)):
            temps += 1
        if rcs != [0, 0]:
            failed += 1
    print("== two runs, one -o x.%s, x%d: result mixed (neither run's file) %d; temporary files left %d; "
          "a run failed %d" % (fmt, pairs, mixed, temps, failed))
EOF
while IFS= read -r line; do
  case "$line" in
    "== two"*)
      f=$(sed 's/.*-o \(x\.[a-z]*\).*/\1/' <<<"$line"); m=$(sed 's/.*neither run.s file) \([0-9]*\).*/\1/' <<<"$line")
      fl=$(sed 's/.*a run failed \([0-9]*\).*/\1/' <<<"$line")
      row "two runs, one -o $f at once (x$PAIRS)" "$([ "$m" = 0 ] && echo "one complete file of one run" || echo "MIXED in $m")" \
          "$([ "$fl" = 0 ] && echo "0/0" || echo "$fl pairs failed")" "$([ "$m" = 0 ] && echo "no (last rename wins)" || echo YES)" "-" ;;
  esac
done <"$ROOT/pairs.txt"

# 4. Inputs that are not files.
d=$(newdir fifo-writer); mkfifo "$d/in.csv"
(cat "$DATA/small.csv" >"$d/in.csv" &)
rc=$(run "$d" timeout -s KILL 20 -- plot -o x.ps in.csv)
echo "== input a FIFO with a writer: exit $rc"; said "$d"; files_of "$d"
row "input a FIFO (a writer)" "$([ "$rc" = 0 ] && echo "read, plotted" || echo "status $rc")" "$rc" "no" "-"
d=$(newdir fifo-nowriter); mkfifo "$d/in.csv"
rc=$(run "$d" timeout -s KILL 5 -- plot -o x.ps in.csv)
echo "== input a FIFO without a writer (killed after 5 s): exit $rc"; said "$d"
row "input a FIFO, no writer" "$([ "$rc" = 137 ] && echo "waits for a writer (as cat does)" || echo "status $rc")" "$rc" "no" \
    "$([ "$rc" = 137 ] && echo "no (waits)" || reported "$d" in.csv)"
for dev in /dev/null /proc/self/mem /; do
  d=$(newdir "input-$(tr / _ <<<"$dev")")
  rc=$(run "$d" timeout -s KILL 20 -- plot -o x.ps "$dev")
  echo "== input $dev: exit $rc"; said "$d"; files_of "$d"
  row "input $dev" "$(head -c 70 "$d/err.txt" | tr '\n|' '  ')" "$rc" "no" "$(reported "$d" "$dev")"
done
if [ -n "$NOBODY" ]; then
  d=$(newdir unreadable); cp "$DATA/small.csv" "$d/in.csv"; chmod 000 "$d/in.csv"
  rc=$(run "$d" $NOBODY -- plot -o x.ps in.csv)
  echo "== input unreadable (as nobody): exit $rc"; said "$d"
  row "input unreadable (mode 000)" "$(head -c 70 "$d/err.txt" | tr '\n|' '  ')" "$rc" "no" "$(reported "$d" in.csv)"
fi
if [ $SANITIZED = 0 ]; then
  d=$(newdir devzero)
  rc=$( (ulimit -v 1000000; run "$d" timeout -s KILL 60 -- stats /dev/zero) 2>/dev/null)
  echo "== stats /dev/zero (1 GB address limit): exit $rc"; said "$d"
  row "input /dev/zero (ulimit -v 1 GB)" "$(head -c 70 "$d/err.txt" | tr '\n|' '  ')" "$rc" "no" "$(reported "$d" .)"
else
  echo "== input /dev/zero: skipped for a sanitizer build (needs an address-space limit)"
fi

# 5. Standard output that fails (stats).
d=$(newdir stdout-full)
(cd "$d" && "$BIN" stats --csv "$DATA/small.csv" >/dev/full 2>err.txt; echo $? >rc)
echo "== stats > /dev/full: exit $(cat "$d/rc")"; said "$d"
row "stats > /dev/full" "$(head -c 60 "$d/err.txt" | tr '\n|' '  ')" "$(cat "$d/rc")" "statistics lost" "$(reported "$d" "standard output")"
d=$(newdir stdout-closed)
(cd "$d" && "$BIN" stats --csv "$DATA/small.csv" >&- 2>err.txt; echo $? >rc)
echo "== stats >&- (closed): exit $(cat "$d/rc")"; said "$d"
row "stats, standard output closed" "$(head -c 60 "$d/err.txt" | tr '\n|' '  ')" "$(cat "$d/rc")" "statistics lost" "$(reported "$d" "standard output")"
d=$(newdir stdout-pipe); gen planes 200000 "$d/many.csv"
(cd "$d" && "$BIN" stats many.csv many.csv many.csv 2>err.txt | head -c 10 >/dev/null; echo "${PIPESTATUS[0]}" >rc)
echo "== stats | head -c 10 (broken pipe): exit $(cat "$d/rc")"; said "$d"
row "stats | head -c 10" "$(head -c 60 "$d/err.txt" | tr '\n|' '  ')" "$(cat "$d/rc")" "rest of the table" "-"

# 6. Memory: peak RSS, and a 200 MB address-space limit with 10^7 lines.
if [ $SANITIZED = 0 ]; then
  gen lines 10000000 "$DATA/lines1e7.csv"
  for n in 1e6 1e7; do
    for form in "stats" "plot -o m.ps --contour --hide-data" "plot -o m.ps" "plot -o m.pdf --contour --hide-data"; do
      [ "$n" = 1e7 ] && [ "$form" = "plot -o m.ps" ] && continue        # 5 GB of symbols
      d=$(newdir "mem-$n-$(tr ' .' '__' <<<"$form")")
      (cd "$d" && timeout -s KILL 600 /usr/bin/time -v -o time.txt "$BIN" $form "$DATA/lines$n.csv" >/dev/null 2>err.txt; echo $? >rc)
      rss=$(awk -F': ' '/Maximum resident/ {print $2}' "$d/time.txt"); wall=$(awk -F': ' '/Elapsed/ {print $2}' "$d/time.txt")
      sz=$(stat -c %s "$d"/m.* 2>/dev/null | head -1)
      echo "== $form, $n lines: exit $(cat "$d/rc"), peak RSS $rss kB, $wall wall${sz:+, output $sz bytes}"
      row "memory: $form, $n lines" "peak RSS $((rss / 1024)) MB, $wall wall" "$(cat "$d/rc")" "-" "-"
      rm -f "$d"/m.*
    done
  done
  for form in "stats" "plot -o m.ps --contour --hide-data" "plot -o m.pdf --contour --hide-data"; do
    d=$(newdir "ulimitv-$(tr ' .' '__' <<<"$form")")
    rc=$( (ulimit -v 204800; cd "$d" && timeout -s KILL 600 "$BIN" $form "$DATA/lines1e7.csv" >/dev/null 2>err.txt; echo $?) 2>/dev/null)
    echo "== ulimit -v 200 MB, $form, 10^7 lines: exit $rc"; said "$d"; files_of "$d"
    row "ulimit -v 200 MB: $form, 10^7 lines" \
        "$(case $rc in 70|73|74) echo "clear error" ;; 0) echo "done" ;; *) echo "CRASH/other" ;; esac): $(head -c 50 "$d/err.txt" | tr '\n|' '  ')" \
        "$rc" "$([ "$(temps_in "$d")" = 0 ] && echo no || echo "temp left")" "$(reported "$d" .)"
  done
else
  echo "== memory figures and ulimit -v: skipped for a sanitizer build"
fi

echo
echo "fault | behaviour | exit | data lost | reported"
cat "$TABLE"
rm -rf "$DATA"
if [ "${KEEP:-1}" = 0 ]; then rm -rf "$ROOT"; else echo "(work files kept in $ROOT; KEEP=0 removes them)"; fi
