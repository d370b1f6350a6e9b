#!/usr/bin/env python3
"""Hostile-input fuzzer for the command-line face of polarsketch (`plot`, `stats`).

Each case is an argument list, a set of files in a fresh directory and
(sometimes) standard input, built from the documented interface and mixed
with hostile values: every notation (dip direction, right-hand-rule strike,
quadrant bearings, dip and plunge letters, trend/plunge, rakes with and
without sense letters, slip lines), every separator, quotes, BOM, CRLF and
lone CR, NUL and invalid UTF-8, huge numbers, NaN/inf text, exponents,
1 MB fields, a line of 10^6 columns, empty and comment-only files, duplicate
header names; every option with valid, boundary and invalid values; several
files, "-" twice, an output equal to an input, outputs in unwritable or
missing folders, symbolic links, FIFOs and folders as targets, and all five
output formats.  Case I of seed S is always the same case.

Each case runs in a fresh directory (as user nobody when started as root)
with a timeout and a file-size limit, and is classified:

  crash        killed by a signal
  sanitizer    an ASan/UBSan/LSan report on standard error
  hang         no exit within the timeout (20 s), nor within four times it
               when run again (a case that ends then is counted as slow, apart)
  badexit      exit status outside {0, 64, 65, 66, 70, 73}
  unrenderable exit 0 and an output that does not render (gs for .ps/.eps,
               pdftoppm for .pdf, rsvg-convert for .svg, PIL for .png) or
               a PostScript file without its trailer, or a bad density CSV
  missing      exit 0 without the output file (or the --density-out file)
  leftover     a temporary file (.NAME.XXXXXX) left behind
  written      a non-zero exit that created or changed a file
  stray        exit 0 and a file other than the outputs created or changed
  clobbered    an input file changed
  unplaced     exit 65 with a message that names no file, or a bad value
               without FILE:LINE:COLUMN
  silent       a non-zero exit with nothing on standard error
  nonfinite    nan or inf in the statistics (stdout, or stderr of --stats)
  csvshape     `stats --csv` exit 0 without one header and one row per file
  bigfile      an output over 200 MB

Failing cases are kept under --faildir (case.json, the files, repro.sh) and
the first few of each class are minimised (options, then data lines).
Needs python3, gs, pdftoppm, rsvg-convert; PIL is used when installed.

Run as root it runs the program as user nobody, so the program must lie
where that user can reach it.

Examples:
  fuzz_cli.py --binary build-san/polarsketch --tag san --seed 1 --cases 8000
  fuzz_cli.py --binary build/polarsketch --tag rel --seed 2 --cases 12000
  fuzz_cli.py --binary build/polarsketch --print 17 --seed 2      # show a case
  fuzz_cli.py --binary build/polarsketch --replay FAILDIR/x       # rerun one
"""

import argparse
import base64
import hashlib
import importlib.util
import json
import math
import multiprocessing as mp
import os
import random
import re
import resource
import shutil
import signal
import stat
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ET

try:  # imported here: workers run as user nobody, who may not read the modules
    from PIL import Image as PILImage
except ImportError:
    PILImage = None

TIMEOUT = 20.0
BIG = 200 << 20
FSIZE_LIMIT = 300 << 20
NOBODY = 65534
GOOD_EXITS = {0, 64, 65, 66, 70, 73}  # the statuses --help documents
OUT_EXT = (".ps", ".eps", ".pdf", ".svg", ".png")
HERE = os.path.dirname(os.path.abspath(__file__))

SAN_RE = re.compile(rb"ERROR: (AddressSanitizer|LeakSanitizer|UndefinedBehaviorSanitizer)"
                    rb"|runtime error:|SUMMARY: (AddressSanitizer|UndefinedBehaviorSanitizer)")
TEMP_RE = re.compile(r"^\..+\.[A-Za-z0-9]{6}$")


def san_env(supp):
    env = {
        "ASAN_OPTIONS": "detect_leaks=1:halt_on_error=1:exitcode=86:abort_on_error=0:"
                        "allocator_may_return_null=0:detect_stack_use_after_return=1",
        "UBSAN_OPTIONS": "print_stacktrace=1:halt_on_error=1:exitcode=87",
        "LSAN_OPTIONS": "exitcode=88" + (":suppressions=" + supp if supp else ""),
        "LC_ALL": "C", "PATH": "/usr/bin:/bin", "HOME": "/nonexistent",
    }
    return env


# ---------------------------------------------------------------------------
# Values
# ---------------------------------------------------------------------------

QUAD = ["N", "NE", "E", "SE", "S", "SW", "W", "NW"]
HUGE = [b"9" * 400, b"1" + b"0" * 400 + b".5", b"0." + b"0" * 1000 + b"1", b"1e308", b"1E+400",
        b"-1e-400", b"0x1p4", b"0x1A", b"1_000", b"4294967296", b"18446744073709551617",
        b"-9223372036854775809", b"1.7976931348623157e308", b"2.2250738585072014e-308"]
NONFINITE = [b"nan", b"NaN", b"-nan", b"nan(0x1)", b"inf", b"-inf", b"+inf", b"Infinity", b"INF",
             b"1e999", b"-1e999"]
ODD = [b"", b" ", b"+30", b"--30", b"30.", b".5", b"-.5", b"-0", b"+0", b"30..5", b"3 0", b"30,5",
       b"30;5", b"3e1", b"30e", b"e30", b"\xd9\xa3\xd9\xa0", "\uff13\uff10".encode(), b"\x00",
       b"3\x000", b"30\x00", b"\xff", b"\xc0\x80", b"\xed\xa0\x80", b"\xe2\x82", b"30\xe2\x82",
       b"\x1b[2J", b"N30", b"N30X", b"X30E", b"N-30E", b"N+30E", b"N91E", b"N90.0001E", b"NN",
       b"NEE", b"n30e", b"s45w", b"N 30 E", b"N30E ", b"45 NW", b"45NNW", b"45XY", b"-45NW",
       b"90NW", b"0SE", b"45nw", b"30R", b"30L", b"30N", b"30 S", b"-30D", b"30U", b"\"30\"",
       b"\"30", b"30\"", b"\"\"", b"\"\"\"", b"'30'", b"30#x", b"#", b"\\", b"(30)", b"%!PS",
       b") showpage (", b"\t", b"\x0b30", b"30\x0c", b"30\r", b"\r", b"\xef\xbb\xbf30"]
LABELS = [b"B10", b"F1 east wall", b"\"a, b\"", b"\"quoted \"\"inner\"\"\"", b"x#y", b"\"#\"",
          b"\xc3\xa9t\xc3\xa9", b"\xff\xfe", b"(paren", b"back\\slash", b") showpage (",
          b"%%EOF", b"\x00nul", b"a" * 300, b"", b"\"\"", b"<svg>&amp;", b"\x1b[31m"]


class Values:
    def __init__(self, r, hostility):
        self.r = r
        self.h = hostility
        self.faults = 0

    def hostile(self):
        if self.r.random() < self.h:
            self.faults += 1
            return True
        return False

    def junk(self):
        r = self.r
        k = r.randrange(10)
        if k < 5:
            return r.choice(ODD)
        if k < 7:
            return r.choice(HUGE)
        if k < 9:
            return r.choice(NONFINITE)
        return bytes(r.randrange(1, 256) for _ in range(r.randrange(1, 12))).replace(b"\n", b"")

    def fmt(self, x, lo=None):
        """x in one of the decimal forms a field book holds."""
        f = self.r.choice(["%d", "%03d", "%.1f", "%.2f", "%.6f", "%g"])
        if f in ("%d", "%03d"):
            x = round(x)
            if f == "%03d" and x < 0:
                f = "%d"
        return (f % x).encode()

    def azimuth(self, az):
        """An azimuth as a number (sometimes off by whole turns) or a quadrant bearing."""
        r = self.r
        if self.hostile():
            return self.junk()
        k = r.random()
        if k < 0.65:
            return self.fmt(az % 360.0)
        if k < 0.72:
            return self.fmt(az % 360.0 + r.choice([-720, -360, 360, 720]))
        if k < 0.95:
            return bearing(az, r)
        return QUAD[int(round(az / 45.0)) % 8].encode() if abs(az / 45.0 - round(az / 45.0)) < 1e-9 \
            else bearing(az, r)

    def inclination(self, x, toward=None):
        """A dip or plunge, with the quadrant letters of `toward` when given."""
        if self.hostile():
            return self.junk()
        v = self.fmt(x)
        if toward is not None:
            v += letters(toward, self.r)
        return v

    def rake(self, x):
        if self.hostile():
            return self.junk() if self.r.random() < 0.7 else \
                self.fmt(abs(x) % 90) + self.r.choice([b"N", b"S", b"E", b"W", b"R", b"L", b"D", b"U"])
        return self.fmt(x)

    def label(self):
        if self.hostile():
            return self.junk()
        return self.r.choice(LABELS[:8]) if self.r.random() < 0.8 else self.r.choice(LABELS)


def bearing(az, r):
    """A quadrant bearing (N30E, S45W...) of an azimuth."""
    az %= 360.0
    if az <= 90:
        a, f, t = az, "N", "E"
    elif az <= 180:
        a, f, t = 180 - az, "S", "E"
    elif az <= 270:
        a, f, t = az - 180, "S", "W"
    else:
        a, f, t = 360 - az, "N", "W"
    text = (r.choice(["%d", "%.1f", "%.2f"]) % a).encode()
    if float(text) > 90:
        text = b"90"
    f, t = f.encode(), t.encode()
    if r.random() < 0.1:
        f, t = f.lower(), t.lower()
    return f + text + t


def letters(az, r):
    """The quadrant letters nearest an azimuth (always within 22.5 degrees)."""
    q = QUAD[int(round((az % 360.0) / 45.0)) % 8]
    return (q.lower() if r.random() < 0.1 else q).encode()


def slip_line(dd, dip, rake):
    """Trend and plunge of the slip line of rake `rake` in plane dd/dip."""
    s = math.radians(dd - 90.0)
    d = math.radians(dip)
    strike = (math.cos(s), math.sin(s), 0.0)
    down = (math.cos(d) * math.cos(s + math.pi / 2), math.cos(d) * math.sin(s + math.pi / 2), math.sin(d))
    a = math.radians(rake)
    v = [math.cos(a) * strike[i] - math.sin(a) * down[i] for i in range(3)]
    if v[2] < 0:
        v = [-x for x in v]
    trend = math.degrees(math.atan2(v[1], v[0])) % 360.0
    plunge = math.degrees(math.asin(max(-1.0, min(1.0, v[2]))))
    return trend, plunge


# ---------------------------------------------------------------------------
# Measurement files
# ---------------------------------------------------------------------------

KINDS = {
    "dipdir": ["dipdir", "dip"], "strike": ["strike", "dip"], "lines": ["trend", "plunge"],
    "rake": ["dipdir", "dip", "rake"], "srake": ["strike", "dip", "rake"],
    "slipline": ["dipdir", "dip", "trend", "plunge"],
}
ALIASES = {"dipdir": ["dipdir", "dip_direction", "dipdirection", "dd", "DipDir", "DD"],
           "trend": ["trend", "azimuth", "Trend"], "dip": ["dip", "Dip", "DIP"],
           "strike": ["strike", "Strike"], "plunge": ["plunge", "PLUNGE"], "rake": ["rake", "Rake"]}
SEPS = [b",", b",", b",", b";", b"\t", b" ", b"   ", b" , ", b", ", b"\t\t"]


class FileGen:
    def __init__(self, r):
        self.r = r
        self.meta = {}

    def whole_file_oddity(self):
        r = self.r
        return r.choice([
            b"", b"\n", b"\r\n\r\n", b"# only\n# comments\n", b"#", b"\xef\xbb\xbf", b"\xef\xbb\xbf\n",
            b"\x00" * 64, bytes(r.randrange(256) for _ in range(400)), b"   \t  \n\t\n",
            b"dipdir,dip\n", b"dipdir,dip", b"dip,dip\n30,40\n", b"dipdir,strike,dip\n30,40,50\n",
            b"dipdir,dip,rake,trend,plunge\n30,40,10,30,20\n", b"trend\n30\n", b"dip\n30\n",
            b"label\nx\n", b"foo,bar\n1,2\n", b",dip\n30,40\n", b"dipdir,,dip\n30,,40\n",
            b"\xff\xfed\x00i\x00p\x00d\x00i\x00r\x00,\x00d\x00i\x00p\x00\n\x00",
            b"dipdir,dip\n" + b"1," * (10 ** 6) + b"1\n",
            b"dipdir,dip\n30," + b"4" * (1 << 20) + b"\n",
            b"dipdir,dip,label\n30,40," + b"x" * (1 << 20) + b"\n",
            b"dipdir,dip\n\"" + b"3" * (1 << 20) + b"\",40\n",
            b"," * (10 ** 6) + b"\n", b"dipdir," * 5000 + b"dip\n",
            b"dipdir,dip\n" + b"30,40\r" * 2000, b"\r" * 1000, b"dipdir,dip\n30,40\n\x1a",
            b"\"dipdir\",\"dip\"\n\"30\",\"40\"\n", b"dipdir;dip\n30,5;40\n", b"dipdir dip\n30 40\n",
            b"DIPDIR\tDIP\n30\t40\n", b"# t\n\xef\xbb\xbfdipdir,dip\n30,40\n",
        ])

    def data_file(self, hostility, kind=None, headerless=False):
        """Returns (bytes, meta)."""
        r = self.r
        if r.random() < 0.04:
            content = self.whole_file_oddity()
            return content, {"kind": "oddity", "faults": 1, "rows": -1}
        kind = kind or r.choice(list(KINDS))
        cols = list(KINDS[kind])
        v = Values(r, hostility)
        extra = []
        if r.random() < 0.4:
            extra.append("label")
        if r.random() < 0.15:
            extra.append(r.choice(["station", "note", "x", "comment"]))
        header = cols + extra
        if r.random() < 0.5:
            r.shuffle(header)
        names = [r.choice(ALIASES.get(c, [c])) for c in header]
        if r.random() < 0.03:                     # a duplicate header name
            names.append(r.choice(names))
            header.append(header[names.index(names[-1])])
            v.faults += 1
        sep = r.choice(SEPS)
        if sep == b";" or r.random() < 0.1:
            sep = r.choice(SEPS)
        eol = r.choice([b"\n"] * 6 + [b"\r\n", b"\r", b"\n\r"])
        n = r.choice([0, 1, 1, 2, 3, 5, 10, 30, 100, 300, 1000, 3000])
        if r.random() < 0.006:
            n = r.choice([30000, 100000])
            hostility = min(hostility, 0.001)
            v.h = hostility
        quote = r.random() < 0.1
        lines = []
        if r.random() < 0.2:
            lines.append(b"# " + r.choice([b"bedding", b"station 7; strike by the RHR", b"\xc3\xa9t\xc3\xa9",
                                           b"a, b, c", b"\"quoted\""]))
        if not headerless:
            hdr = sep.join(('"%s"' % nm).encode() if quote and r.random() < 0.5 else nm.encode()
                           for nm in names)
            lines.append(hdr)
        for _ in range(n):
            row = self.row(kind, header, v)
            fields = [(b'"' + f + b'"') if quote and r.random() < 0.3 else f for f in row]
            if sep.strip() == b"" and any(f == b"" or b" " in f for f in fields):
                pass                               # blank-separated empty fields: a fault
            line = sep.join(fields)
            if r.random() < 0.05:
                line += b" # " + r.choice([b"note", b"x,y", b"\xff"])
            if v.hostile():
                line = self.mutate_line(line, sep)
            lines.append(line)
            if r.random() < 0.02:
                lines.append(r.choice([b"", b"   ", b"# c", b"\t"]))
        body = eol.join(lines)
        if r.random() < 0.85:
            body += eol
        if r.random() < 0.05:
            body = b"\xef\xbb\xbf" + body
        meta = {"kind": kind, "rows": n, "faults": v.faults, "header": None if headerless else names,
                "columns": header}
        return body, meta

    def row(self, kind, header, v):
        r = self.r
        dd = r.uniform(0, 360)
        dip = r.uniform(0, 90)
        vals = {"dipdir": v.azimuth(dd), "dip": v.inclination(dip, dd if r.random() < 0.08 else None)}
        if r.random() < 0.15:                     # the other end of the strike, the side by letters
            vals["strike"] = v.azimuth(dd + 90)
            vals["dip"] = v.inclination(dip, dd)
        else:
            vals["strike"] = v.azimuth(dd - 90)
        if kind == "slipline":
            rake = r.uniform(-180, 180)
            t, p = slip_line(dd, dip, rake)
            off = r.choice([0.0, 0.0, 0.0, 0.0, 0.5, 0.99, 1.5, 5.0, 30.0])
            vals["trend"] = v.azimuth(t + off)
            vals["plunge"] = v.inclination(p)
        else:
            t, p = r.uniform(0, 360), r.uniform(0, 90)
            k = r.random()
            if k < 0.8:
                vals["trend"], vals["plunge"] = v.azimuth(t), v.inclination(p)
            elif k < 0.9:                         # the other end, negative plunge
                vals["trend"], vals["plunge"] = v.azimuth(t + 180), v.inclination(-p)
            else:                                 # the end chosen by letters
                vals["trend"] = v.azimuth(t + r.choice([0, 180]))
                vals["plunge"] = v.inclination(p, t)
        vals["rake"] = v.rake(r.uniform(-180, 180))
        if v.hostile():
            vals[r.choice(["dip", "plunge"])] = v.fmt(r.choice([-10.0, 90.5, 100.0, -90.5, 180.0]))
        vals["label"] = v.label()
        row = [vals.get(c, r.choice([b"x", b"1", b"", b"abc"])) for c in header]
        if v.hostile():
            k = r.randrange(4)
            if k == 0 and row:
                row.pop(r.randrange(len(row)))     # a field short
            elif k == 1:
                row.append(r.choice([b"1", b"", b"x"]))  # a field too many
            elif k == 2 and row:
                row[r.randrange(len(row))] = b""   # an empty field
            else:
                row[r.randrange(len(row))] = v.junk()
        return row

    def mutate_line(self, line, sep):
        r = self.r
        k = r.randrange(8)
        if k == 0:
            i = r.randrange(len(line) + 1)
            return line[:i] + r.choice([b"\x00", b"\xff", b"\"", b"#", b"\r", b"\xef\xbb\xbf", b";", b","]) + line[i:]
        if k == 1:
            return line + sep + b"9" * r.choice([100, 10000])
        if k == 2:
            return line.replace(b".", b",")
        if k == 3:
            return b"\"" + line
        if k == 4:
            return line.upper()
        if k == 5:
            return line.replace(sep, sep + sep)
        if k == 6:
            return b""
        return line + b"\x00"


# ---------------------------------------------------------------------------
# Arguments and the directory they run in
# ---------------------------------------------------------------------------

# Option values: (valid, invalid).  Valid ones include the boundaries.
DPI = ([b"10", b"150", b"72", b"300", b"010", b"+72", b"11", b"600"] * 6 + [b"2400", b"2399"],
       [b"0", b"-1", b"9", b"2401", b"1e3", b"abc", b"", b" 72", b"72.5", b"99999999999999999999",
        b"-2147483648", b"0x40"])
SIGMA = ([b"3", b"1e-300", b"1e-9", b"0.001", b"0.01", b"1000", b"0x10", b"1e-320", b"  3", b"1e3",
          b"999.9999", b"0.5", b"10"],
         [b"1001", b"1e308", b"0", b"-1", b"nan", b"inf", b"abc", b"", b"3,5", b"-0"])
NET = ([b"1", b"2", b"5", b"10", b"90", b"+10", b"010", b"89", b"3"],
       [b"0", b"0.001", b"360", b"91", b"-5", b"abc", b"", b"10.0", b"4294967306"])
WORDS = {
    "--landscape": ([b"letter", b"a4"], [b"A4", b"", b"x", b"LETTER", b"a4 "]),
    "--projection": ([b"equal-area", b"equal-angle"], [b"wulff", b"", b"EQUAL-AREA"]),
    "--planes": ([b"great-circles", b"poles", b"both"], [b"none", b""]),
    "--hemisphere": ([b"upper", b"lower", b"upper"], [b"north", b""]),
    "--view": ([b"090/30", b"000/90", b"180/30", b"360/0", b"0/0", b"045.5/12.25", b"270/89.999"],
               [b"090/91", b"-1/30", b"361/0", b"abc", b"", b"090", b"nan/30", b"090/inf", b"1e400/3",
                b"090/30/5", b" 090/30"]),
    "--units": ([b"mud", b"sigma", b"sigma"], [b"percent", b""]),
    "--dialect": ([b"1", b"2", b"3", b"02"], [b"0", b"4", b"-1", b"2.0", b""]),
}
METHODS = [b"exp-kamb", b"kamb", b"linear-kamb", b"schmidt", b"gauss", b"KAMB", b""]


def pick(r, pools, bad):
    """A value of an option: now and then an invalid one when the case is meant to be."""
    valid, invalid = pools
    return r.choice(invalid) if bad and r.random() < 0.3 else r.choice(valid)


def levels_value(r, bad):
    if bad and r.random() < 0.3:
        return r.choice([b"", b"-1,2", b"nan", b"inf", b"1e308x", b"0", b"2,,4", b",", b"2;4", b"2,4,",
                         b"0x10", b"2 4", b"-0", b"1e-400,2"])
    k = r.randrange(12)
    if k == 0:
        if r.random() < 0.2:                                   # hundreds of distinct levels
            n = r.choice([300, 1000, 5000])
            return b",".join(b"%.4f" % (20.0 * (i + 1) / n) for i in range(n))
        # As many levels as one argument holds (Linux: 128 KiB an argument): 6 x 10^4.
        return b",".join(b"%d" % (1 + i % 9) for i in range(60000))
    if k == 1:
        return b"8,4,2"                                        # unsorted
    if k == 2:
        return b"1,1,1"
    if k == 3:
        return r.choice([b"1e308", b"1e-308", b"4.9e-324", b" 2, 4 ", b"1e3", b"1000000", b"0.0001"])
    if k == 4:
        return b",".join(b"%g" % r.uniform(0, 20) for _ in range(r.randrange(1, 40)))
    return b",".join(b"%g" % x for x in sorted(r.sample([0.5, 1, 2, 3, 4, 6, 8, 10, 12, 16], r.randrange(1, 6))))


def out_name(r, bad, base=b"out"):
    k = r.random()
    ext = r.choice(list(OUT_EXT) * 6 + [".PS", ".Pdf"] + ([".txt", "", ".ps.", ".eps "] if bad else [])).encode()
    if k < 0.6:
        return base + ext
    if k < 0.75:
        return b"sub/" + base + ext
    if k < 0.85:
        return r.choice([b"x" * 240 + ext, b"y" * 247 + ext, b"a b (c) \\d%" + ext, b"\xff\xfe" + ext,
                         b"nl\nname" + ext, b"-o" + ext, b"old" + ext, b"./sub/../out" + ext, b"link" + ext,
                         b"--net" + ext, b"%%EOF) showpage (" + ext])
    return r.choice([
        b"nodir/x" + ext, b"ro/x" + ext, b"rofile" + ext, b"adir" + ext, b"fifo" + ext, b"link" + ext,
        b"dangle" + ext, b"loop" + ext, b"sub", b"sub/", b".", b"-", b"", ext, b"x" * 240 + ext,
        b"y" * 248 + ext, b"z" * 251 + ext, b"w" * 300 + ext, b"a b (c) \\d%" + ext, b"\xff\xfe" + ext,
        b"nl\nname" + ext, b"-o" + ext, b"--net" + ext, b"/proc/x" + ext, b"old" + ext,
        b"./sub/../out" + ext, b"ro/../out" + ext])


class Case:
    """argv (bytes), files {name: (kind, content)}, stdin bytes, what the generator meant."""

    def __init__(self, argv, files, stdin, meta):
        self.argv, self.files, self.stdin, self.meta = argv, files, stdin, meta

    def to_json(self):
        enc = lambda b: base64.b64encode(b).decode()
        return {"argv": [enc(a) for a in self.argv], "stdin": enc(self.stdin), "meta": self.meta,
                "files": {enc(k): [v[0], enc(v[1]) if isinstance(v[1], bytes) else v[1]]
                          for k, v in self.files.items()}}

    @staticmethod
    def from_json(j):
        dec = base64.b64decode
        files = {}
        for k, v in j["files"].items():
            files[dec(k)] = (v[0], dec(v[1]) if v[0] in ("file", "ro") else v[1])
        return Case([dec(a) for a in j["argv"]], files, dec(j["stdin"]), j["meta"])


def flatten(opts):
    """Option groups to arguments; "--output=" joins its value."""
    return [a for o in opts for a in (o if not (len(o) == 2 and o[0].endswith(b"=")) else [o[0] + o[1]])]


def make_case(seed, idx):
    r = random.Random("cli-%s-%d" % (seed, idx))
    hostility = r.choice([0.0, 0.0, 0.0, 0.0, 0.001, 0.005, 0.02, 0.05, 0.2])
    fg = FileGen(r)
    files = {}
    # The fixture every case has: folders and odd targets.
    files[b"sub"] = ("dir", None)
    if r.random() < 0.3:
        files[b"ro"] = ("rodir", None)
        files[b"rofile.ps"] = ("ro", b"%!PS old\n")
        files[b"rofile.pdf"] = ("ro", b"%PDF-1.4 old\n")
        files[b"adir.ps"] = ("dir", None)
        files[b"adir.pdf"] = ("dir", None)
        files[b"fifo.ps"] = ("fifo", None)
        files[b"fifo.png"] = ("fifo", None)
        for e in OUT_EXT:
            files[b"link" + e.encode()] = ("symlink", "target" + e)
            files[b"dangle" + e.encode()] = ("symlink", "nodir/x" + e)
            files[b"loop" + e.encode()] = ("symlink", "loop" + e)
            files[b"old" + e.encode()] = ("file", b"older target\n")
    form = r.choices(["plot", "stats", "other"], [76, 20, 4])[0]
    bad = r.random() < 0.25                        # wrong usage now and then in this case
    meta = {"form": form, "hostility": hostility, "inputs": [], "outputs": [], "bad_usage": bad}
    argv = []
    if form == "other":
        argv = r.choice([[], [b"--version"], [b"-h"], [b"--help"], [b"plot"], [b"stats"], [b"plot", b"--help"],
                         [b"stats", b"-h"], [b"plto", b"x.csv"], [b"--also", b"pdf,svg"], [b"--also", b"x"],
                         [b"--also", b"pdf", b"plot", b"a.csv"], [b"plot", b"--version"], [b"--", b"plot"],
                         [b""], [b"-"], [b"plot", b""], [b"stats", b"--csv"], [b"plot", b"-o"],
                         [b"plot", b"--contour"], [b"x.csv"], [b"plot", b"plot"]])
        if argv in ([], [b"--also", b"pdf,svg"]):
            argv = [b"--version"]                     # those two start the interactive program
        meta["args"] = "fixed"
        return Case(argv, files, b"", meta)
    # Data files.
    where = r.random()
    dashdash = where >= 0.95
    nfiles = r.choice([1, 1, 1, 1, 2, 2, 3, 5])
    headerless = r.random() < 0.08
    columns = None
    if headerless:
        kind = r.choice(list(KINDS))
        columns = KINDS[kind] + (["label"] if r.random() < 0.3 else [])
    inputs = []
    stdin = b""
    for i in range(nfiles):
        if r.random() < 0.06:
            name = b"-"
            content, fm = fg.data_file(hostility, kind if headerless else None, headerless)
            stdin = content
        else:
            ext = r.choice([b".csv", b".csv", b".txt", b".dat", b"", b".ps", b".CSV"])
            name = r.choice([b"d%d" % i, b"data %d" % i, b"(d%d)" % i, b"d\\%d" % i, b"\xc3\xa9%d" % i,
                             b"d%d" % i, b"plot%d" % i, b"d%d" % i, b"d%d" % i]) + ext
            if dashdash and r.random() < 0.3:
                name = b"-" + name                   # a file that looks like an option, after "--"
            if r.random() < 0.05:
                name = b"sub/" + name
            content, fm = fg.data_file(hostility, kind if headerless else None, headerless)
            files[name] = ("file", content)
        meta["inputs"].append({"name": name.decode("latin-1"), **fm})
        inputs.append(name)
    if r.random() < 0.04:
        # (a FIFO as input waits for its writer, as cat does: that is faults_cli.sh's case)
        inputs.append(r.choice([b"-", b"missing.csv", b"sub", b"", b"/proc/self/status",
                                b"rofile.ps" if b"rofile.ps" in files else b"none"]))
        meta["inputs"].append({"name": inputs[-1].decode("latin-1"), "kind": "special", "faults": 1})
    opts = []
    if columns is not None and r.random() < 0.9:
        cl = list(columns)
        if r.random() < 0.1:
            cl = r.choice([["dipdir"], ["dipdir", "strike", "dip"], ["-", "dipdir", "dip"], ["x", "y"], [""],
                           ["dip", "dip"], ["trend", "plunge", "rake"]])
        opts.append([b"--columns", ",".join(cl).encode()])
    elif r.random() < 0.03:
        opts.append([b"--columns", r.choice([b"dipdir,dip", b"trend,plunge", b"", b"dd,dip,-", b"-"])])
    if r.random() < (0.5 if hostility else 0.1):
        opts.append([b"--skip-bad"])
    if form == "stats":
        if r.random() < 0.6:
            opts.append([b"--csv"])
    else:
        output = None
        if r.random() < 0.85:
            output = out_name(r, bad)
            opts.append([r.choice([b"-o", b"--output", b"-o", b"--output="]), output])
            if r.random() < 0.03:
                output = inputs[0]                # the output names an input
                opts[-1] = [b"-o", output]
            if r.random() < 0.02:
                opts.append([b"-o", out_name(r, bad, b"second")])   # -o twice
        meta["outputs"].append("default" if output is None else output.decode("latin-1"))
        choices = [
            (0.10, lambda: [b"--dpi", pick(r, DPI, bad)]),
            (0.08, lambda: [b"--page"]),
            (0.08, lambda: [b"--dialect", pick(r, WORDS["--dialect"], bad)]),
            (0.10, lambda: [b"--landscape", pick(r, WORDS["--landscape"], bad)]),
            (0.10, lambda: [b"--projection", pick(r, WORDS["--projection"], bad)]),
            (0.20, lambda: [b"--net", pick(r, NET, bad)]),
            (0.10, lambda: [b"--polar-net", pick(r, NET, bad)]),
            (0.20, lambda: [b"--planes", pick(r, WORDS["--planes"], bad)]),
            (0.20, lambda: [b"--hemisphere", pick(r, WORDS["--hemisphere"], bad)]),
            (0.15, lambda: [b"--view", pick(r, WORDS["--view"], bad)]),
            (0.05, lambda: [b"--run-info"]),
            (0.30, lambda: [b"--stats"]),
            (0.08, lambda: [b"--hide-data"]),
        ]
        for p, f in choices:
            if r.random() < p:
                opts.append(f())
        if r.random() < 0.35:
            m = r.choice(METHODS[:4]) if not bad or r.random() < 0.8 else r.choice(METHODS)
            opts.append([b"--contour"] + ([m] if r.random() < 0.8 else []))
            if r.random() < 0.3:
                opts.append([b"--sigma", pick(r, SIGMA, bad)])
            if r.random() < 0.2:
                opts.append([b"--units", pick(r, WORDS["--units"], bad)])
            if r.random() < 0.4:
                opts.append([b"--levels", levels_value(r, bad)])
            if r.random() < 0.2:
                good = [b"dens.csv", b"dens.csv", b"sub/dens.csv", b"old.ps" if b"old.ps" in files else b"d.txt"]
                d = r.choice(good) if not bad or r.random() < 0.5 else \
                    r.choice([b"nodir/d.csv", b"ro/d.csv", b"adir.ps", b"fifo.ps", inputs[0], output or b"x.ps",
                              b"rofile.ps", b""])
                opts.append([b"--density-out", d])
                meta["outputs"].append("density:" + d.decode("latin-1"))
        elif bad and r.random() < 0.1:
            opts.append([r.choice([b"--sigma", b"--levels", b"--units", b"--density-out"]), b"2"])
    if bad and r.random() < 0.1:
        opts.append([r.choice([b"--nope", b"-x", b"--dpi", b"--net=", b"--contour=bad", b"--csv",
                               b"--stats=1", b"--", b"--also"])])
    r.shuffle(opts)
    # Files first or last, or between the options; sometimes after "--".
    flat = flatten(opts)
    if where < 0.5:
        argv = [form.encode()] + flat + inputs
    elif where < 0.8:
        argv = [form.encode()] + inputs + flat
    elif where < 0.95:
        cut = r.randrange(len(opts) + 1)
        argv = [form.encode()] + flatten(opts[:cut]) + inputs + flatten(opts[cut:])
    else:
        argv = [form.encode()] + flat + [b"--"] + inputs
    return Case(argv, files, stdin, meta)


# ---------------------------------------------------------------------------
# Running and classifying
# ---------------------------------------------------------------------------

def build_dir(work, case):
    for name, (kind, content) in sorted(case.files.items(), key=lambda kv: kv[0].count(b"/")):
        p = os.path.join(work.encode(), name)
        parent = os.path.dirname(p)
        if parent and not os.path.isdir(parent):
            os.makedirs(parent, exist_ok=True)
        if kind == "dir":
            os.makedirs(p, exist_ok=True)
        elif kind == "rodir":
            os.makedirs(p, exist_ok=True)
            os.chmod(p, 0o555)
        elif kind == "fifo":
            os.mkfifo(p)
        elif kind == "symlink":
            os.symlink(content, p)
        else:
            with open(p, "wb") as f:
                f.write(content)
            if kind == "ro":
                os.chmod(p, 0o444)


def snapshot(work):
    """{relative path: (type, size, mtime_ns, hash of the first 4 MB)} of every entry.
    Paths are bytes decoded as latin-1 throughout (any byte is a character)."""
    out = {}
    wb = work.encode()
    for root, dirs, names in os.walk(wb):
        for nm in dirs + names:
            p = os.path.join(root, nm)
            rel = os.path.relpath(p, wb).decode("latin-1")
            st = os.lstat(p)
            if stat.S_ISREG(st.st_mode):
                h = hashlib.md5()
                with open(p, "rb") as f:
                    h.update(f.read(4 << 20))
                out[rel] = ("f", st.st_size, st.st_mtime_ns, h.hexdigest())
            else:
                out[rel] = ("d" if stat.S_ISDIR(st.st_mode) else "o", 0, 0, "")
    return out


PRELUDE_AI = None


def load_prelude_ai():
    """Stand-in Illustrator 88 procedure sets, from the interactive fuzzer. Loaded
    before a worker gives up its privileges: user nobody may not read the
    interpreter's modules that fuzz.py imports."""
    global PRELUDE_AI
    if PRELUDE_AI is None:
        loader = importlib.util.spec_from_file_location("fuzz", os.path.join(HERE, "fuzz.py"))
        fz = importlib.util.module_from_spec(loader)
        loader.loader.exec_module(fz)
        PRELUDE_AI = fz.PRELUDE_AI
    return PRELUDE_AI


def prelude_ai():
    """The procedure sets as a file in the worker's folder."""
    path = os.path.join(WORKROOT or tempfile.gettempdir(), "prelude_ai.ps")
    if not os.path.exists(path):
        with open(path, "wb") as f:
            f.write(load_prelude_ai())
    return path


def render_problem(path):
    """Why the output at `path` does not render (None when it does)."""
    path = os.fsdecode(path)
    ext = os.path.splitext(path)[1].lower()
    with open(path, "rb") as f:
        head = f.read(64)
    size = os.path.getsize(path)
    d, base = os.path.split(path)
    tmpout = os.path.join(d, "__render")
    try:
        if ext in (".ps", ".eps"):
            if not head.startswith(b"%!"):
                return "no %! header"
            with open(path, "rb") as f:
                f.seek(max(0, size - 200))
                tail = f.read()
            if b"%%EOF" not in tail:
                return "no %%EOF trailer"
            cmd = ["gs", "-q", "-dBATCH", "-dNOPAUSE", "-dSAFER", "-sDEVICE=nullpage"]
            if ext == ".eps":
                cmd.append("-dEPSCrop")
            if head.startswith(b"%!PS-Adobe-2.0 EPSF"):
                cmd.append(prelude_ai())          # dialect 3 needs the Illustrator procedure sets
            link = os.path.join(d, "__gs_input.ps")
            os.link(path, link)
            p = subprocess.run(cmd + [link], stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                               stderr=subprocess.STDOUT, timeout=120)
            os.unlink(link)
            if p.returncode != 0 or b"Error" in p.stdout:
                return "gs rc %d: %s" % (p.returncode, p.stdout[:200].decode("latin-1").strip())
        elif ext == ".pdf":
            if not head.startswith(b"%PDF-"):
                return "no %PDF- header"
            p = subprocess.run(["pdftoppm", "-r", "12", "-singlefile", "-png", path, tmpout],
                               stdin=subprocess.DEVNULL, capture_output=True, timeout=120)
            if p.returncode != 0 or p.stderr.strip():
                return "pdftoppm rc %d: %s" % (p.returncode, p.stderr[:200].decode("latin-1").strip())
        elif ext == ".svg":
            try:
                ET.parse(path)
            except ET.ParseError as e:
                return "svg not XML: %s" % e
            p = subprocess.run(["rsvg-convert", "-z", "0.1", "-o", tmpout + ".png", path],
                               stdin=subprocess.DEVNULL, capture_output=True, timeout=120)
            if p.returncode != 0:
                return "rsvg-convert rc %d: %s" % (p.returncode, p.stderr[:200].decode("latin-1").strip())
        elif ext == ".png":
            if not head.startswith(b"\x89PNG\r\n\x1a\n"):
                return "no PNG signature"
            if PILImage is not None:
                try:
                    PILImage.MAX_IMAGE_PIXELS = None
                    with PILImage.open(path) as im:
                        im.verify()
                    if size < (64 << 20):
                        with PILImage.open(path) as im:
                            im.load()
                except Exception as e:  # noqa: BLE001 - any decoder complaint is the finding
                    return "PIL: %s" % e
            elif shutil.which("file"):
                out = subprocess.run(["file", "-b", path], capture_output=True).stdout
                if b"PNG image data" not in out:
                    return "file(1): %s" % out[:80]
        return None
    except subprocess.TimeoutExpired:
        return "renderer timeout"
    finally:
        for t in (tmpout, tmpout + ".png", os.path.join(d, "__gs_input.ps")):
            if os.path.exists(t):
                os.unlink(t)


def density_problem(path):
    with open(path, "rb") as f:
        lines = f.read().split(b"\n")
    if lines[0].strip() != b"trend,plunge,density":
        return "density CSV header %r" % lines[0][:60]
    rows = [ln for ln in lines[1:] if ln.strip()]
    if not rows:
        return "density CSV without rows"
    for ln in rows[:100000]:
        parts = ln.split(b",")
        try:
            vals = [float(x) for x in parts]
        except ValueError:
            return "density CSV row %r" % ln[:60]
        if len(vals) != 3 or not all(math.isfinite(x) for x in vals) or vals[2] < 0:
            return "density CSV row %r" % ln[:60]
    return None


def expected_outputs(case):
    """Relative paths the run may create when it succeeds."""
    argv = case.argv
    if not argv or argv[0] != b"plot":
        return set(), None, None
    out, dens = None, None
    files = []
    i = 1
    after_dd = False
    while i < len(argv):
        a = argv[i]
        if after_dd:
            files.append(a)
        elif a == b"--":
            after_dd = True
        elif a in (b"-o", b"--output") and i + 1 < len(argv):
            out = argv[i + 1]
            i += 1
        elif a.startswith(b"--output="):
            out = a[len(b"--output="):]
        elif a.startswith(b"-o") and len(a) > 2 and not a.startswith(b"--"):
            out = a[2:]
        elif a == b"--density-out" and i + 1 < len(argv):
            dens = argv[i + 1]
            i += 1
        elif a in (b"--dpi", b"--dialect", b"--landscape", b"--projection", b"--net", b"--polar-net",
                   b"--planes", b"--hemisphere", b"--view", b"--sigma", b"--units", b"--levels",
                   b"--columns"):
            i += 1
        elif a == b"--contour" and i + 1 < len(argv) and argv[i + 1] in METHODS[:4]:
            i += 1
        elif not a.startswith(b"-") or a == b"-":
            files.append(a)
        i += 1
    if not out and files:                         # -o '' takes the default name too
        first = files[0]
        if first == b"-":
            out = b"stdin.ps"
        else:
            base = first.rsplit(b"/", 1)[-1]
            dot = base.rfind(b".")
            stem = first[:len(first) - (len(base) - dot)] if dot > 0 else first
            out = stem + b".ps"
            if out in files:
                out = first + b".ps"
    names = set()
    for n in (out, dens):
        if n:
            names.add(os.path.normpath(n.decode("latin-1")))
    return names, out, dens


def resolve(work, rel):
    """The file a relative output name ends up as (symbolic links followed)."""
    wb = work.encode()
    p = os.path.join(wb, rel.encode("latin-1"))
    try:
        return os.path.relpath(os.path.realpath(p), os.path.realpath(wb)).decode("latin-1")
    except OSError:
        return rel


def file_names_of(case):
    names = ["standard input"] if b"-" in case.argv else []
    for m in case.meta.get("inputs", []):
        names.append("standard input" if m["name"] == "-" else m["name"])
    return names


PLACED_RE = re.compile(rb"^(.*?):(\d+):(\d+): '")


def classify(case, work, rc, out, err, before, after, timed_out):
    classes, detail = [], []

    def add(c, d):
        classes.append(c)
        detail.append(d)

    if timed_out:
        add("hang", "no exit in %ds" % TIMEOUT)
    elif rc < 0:
        add("crash", "signal %d" % -rc)
    if SAN_RE.search(err):
        m = re.search(rb"(ERROR: \w+Sanitizer[^\n]*|[^\n]*runtime error:[^\n]*)", err)
        add("sanitizer", m.group(1).decode("latin-1")[:200] if m else "sanitizer")
    elif not timed_out and rc >= 0 and rc not in GOOD_EXITS:
        add("badexit", "exit %d" % rc)
    if timed_out:
        return classes, detail
    # What changed in the directory.
    new_or_changed = []
    for rel, st in after.items():
        if rel.startswith("__"):
            continue
        if TEMP_RE.match(os.path.basename(rel)) and rel not in before:
            add("leftover", "temporary file %r left" % rel)
            continue
        if st[0] == "f" and (rel not in before or before[rel] != st):
            new_or_changed.append(rel)
    inputs = set()
    for m in case.meta.get("inputs", []):
        if m["name"] not in ("-", ""):
            inputs.add(os.path.normpath(m["name"]))
    for rel in before:
        if rel in inputs and before[rel][0] == "f" and after.get(rel) != before[rel]:
            add("clobbered", "input %r changed" % rel)
    expect, out_name_, dens = expected_outputs(case)
    expect_real = {resolve(work, e) for e in expect}
    if rc != 0:
        for rel in new_or_changed:
            if rel not in inputs:
                add("written", "exit %d but %r was written" % (rc, rel))
        if not err.strip():
            add("silent", "exit %d with nothing on standard error" % rc)
    else:
        for rel in new_or_changed:
            if rel not in expect_real and rel not in inputs:
                add("stray", "exit 0 and %r written" % rel)
        if case.argv and case.argv[0] == b"plot":
            for n in (out_name_, dens):
                if not n:
                    continue
                real = resolve(work, os.path.normpath(n.decode("latin-1")))
                path = os.path.join(work.encode(), real.encode("latin-1"))
                if not os.path.isfile(path):
                    add("missing", "exit 0 without %r" % real)
                    continue
                size = os.path.getsize(path)
                if size > BIG:
                    add("bigfile", "%r is %d bytes" % (real, size))
                    continue
                prob = density_problem(path) if n is dens else render_problem(path)
                if prob:
                    add("unrenderable", "%r: %s" % (real, prob))
    # Statistics: never nan or inf; one CSV row per data set.
    stats_text = out if case.argv[:1] == [b"stats"] else (err if b"--stats" in case.argv else b"")
    # Quoted bad values and the skip notice may hold "nan" from the data itself.
    stats_text = b"\n".join(ln for ln in stats_text.split(b"\n") if b"': " not in ln and b"skipped" not in ln)
    if rc == 0 and re.search(rb"(?i)\b-?(nan|inf|infinity)\b", stats_text):
        add("nonfinite", "statistics print nan or inf")
    if rc == 0 and case.argv[:1] == [b"stats"] and b"--csv" in case.argv:
        rows = [ln for ln in out.split(b"\n") if ln]
        nsets = len(case.meta.get("inputs", []))
        if not rows or not rows[0].startswith(b"file,kind,n,") or len(rows) != 1 + nsets:
            add("csvshape", "%d CSV lines for %d files" % (len(rows), nsets))
    # Bad data: every message names its file; bad values their line and column.
    if rc == 65:
        names = [n.encode("latin-1") for n in file_names_of(case)]
        lines = [ln for ln in err.split(b"\n") if ln.strip()]
        if not any(any(ln.startswith(n + b":") for n in names) for ln in lines):
            add("unplaced", "exit 65 and no message names a file: %r" % err[:120])
        for ln in lines:
            if b": '" in ln and b"': " in ln and not PLACED_RE.match(ln) and not ln.startswith(b"polarsketch"):
                if not any(ln.startswith(n + b":") and re.match(rb":\d+: ", ln[len(n):]) for n in names):
                    add("unplaced", "bad value without line and column: %r" % ln[:120])
                    break
    return classes, detail


def run_case(binary, case, conf, keep_dir=None, timeout=None):
    timeout = timeout or conf.get("timeout", TIMEOUT)
    d = keep_dir or tempfile.mkdtemp(prefix="c", dir=WORKROOT)
    work = os.path.join(d, "work")
    os.mkdir(work)
    build_dir(work, case)
    before = snapshot(work)
    t0 = time.time()
    timed_out = False

    def limits():
        resource.setrlimit(resource.RLIMIT_CORE, (0, 0))
        resource.setrlimit(resource.RLIMIT_FSIZE, (FSIZE_LIMIT, FSIZE_LIMIT))
        if conf.get("as_limit"):
            resource.setrlimit(resource.RLIMIT_AS, (conf["as_limit"], conf["as_limit"]))
        os.setsid()

    with open(os.path.join(d, "stdin"), "wb") as fi:
        fi.write(case.stdin)
    with open(os.path.join(d, "stdout"), "wb+") as fo, open(os.path.join(d, "stderr"), "wb+") as fe, \
            open(os.path.join(d, "stdin"), "rb") as fi:
        try:
            p = subprocess.Popen([binary] + case.argv, cwd=work, stdin=fi, stdout=fo, stderr=fe,
                                 env=conf["env"], preexec_fn=limits)
        except OSError as e:                       # E2BIG: the generator's fault, not the program's
            return {"rc": "harness", "classes": [], "detail": [str(e)], "secs": 0.0}, d
        try:
            rc = p.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            timed_out = True
            try:
                os.killpg(p.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            rc = p.wait()
        fo.seek(0)
        out = fo.read(16 << 20)
        fe.seek(0)
        err = fe.read(4 << 20)
    secs = time.time() - t0
    after = snapshot(work)
    classes, detail = classify(case, work, rc, out, err, before, after, timed_out)
    return {"rc": "timeout" if timed_out else rc, "classes": classes, "detail": detail,
            "secs": round(secs, 3)}, d


# ---------------------------------------------------------------------------
# Keeping and minimising failures
# ---------------------------------------------------------------------------

def shell_quote(b):
    s = b.decode("latin-1")
    if re.fullmatch(r"[A-Za-z0-9_./=,:+-]+", s):
        return s
    if all(32 <= ord(c) < 127 for c in s):
        return "'" + s.replace("'", "'\\''") + "'"
    return "$'" + "".join(c if 32 <= ord(c) < 127 and c not in "'\\" else "\\x%02x" % ord(c) for c in s) + "'"


def write_case_dir(dest, case, res=None):
    os.makedirs(dest, exist_ok=True)
    with open(os.path.join(dest, "case.json"), "w") as f:
        json.dump(dict(case.to_json(), result=res), f, indent=1, default=str)
    files = os.path.join(dest, "files")
    shutil.rmtree(files, ignore_errors=True)
    os.makedirs(files)
    big = False
    for name, (kind, content) in case.files.items():
        if kind in ("file", "ro") and len(content) > (4 << 20):
            big = True
    if not big:
        build_dir(files, case)
    stdin = " <stdin.bin" if case.stdin else " </dev/null"
    if case.stdin:
        with open(os.path.join(dest, "stdin.bin"), "wb") as f:
            f.write(case.stdin)
    with open(os.path.join(dest, "repro.sh"), "w") as f:
        f.write("#!/bin/sh\n# Rebuild the directory with: fuzz_cli.py --replay THIS_DIR --binary BIN\n"
                "cd \"$(dirname \"$0\")/files\" && \"${BIN:-polarsketch}\" %s%s\n" %
                (" ".join(shell_quote(a) for a in case.argv),
                 stdin.replace("stdin.bin", "../stdin.bin")))
    os.chmod(os.path.join(dest, "repro.sh"), 0o755)


def same_failure(binary, case, classes, conf):
    res, d = run_case(binary, case, conf)
    shutil.rmtree(d, ignore_errors=True)
    return bool(set(res["classes"]) & set(classes))


def minimize(binary, case, classes, conf, budget=150):
    """Drops arguments, then data lines, while the failure stays."""
    runs = [0]

    def test(c):
        runs[0] += 1
        return runs[0] <= budget and same_failure(binary, c, classes, conf)

    argv = list(case.argv)
    i = 1
    while i < len(argv) and runs[0] < budget:
        for width in (2, 1):
            cand = argv[:i] + argv[i + width:]
            if len(cand) > 1 and test(Case(cand, case.files, case.stdin, case.meta)):
                argv = cand
                break
        else:
            i += 1
    case = Case(argv, case.files, case.stdin, case.meta)
    for name, (kind, content) in list(case.files.items()):
        if kind not in ("file", "ro") or len(content) > (8 << 20):
            continue
        lines = content.split(b"\n")
        n = 2
        while len(lines) >= 2 and runs[0] < budget:
            chunk = max(1, len(lines) // n)
            reduced = False
            for start in range(0, len(lines), chunk):
                cand = lines[:start] + lines[start + chunk:]
                files = dict(case.files)
                files[name] = (kind, b"\n".join(cand))
                if test(Case(case.argv, files, case.stdin, case.meta)):
                    lines, reduced = cand, True
                    case = Case(case.argv, files, case.stdin, case.meta)
                    n = max(n - 1, 2)
                    break
            if not reduced:
                if n >= len(lines):
                    break
                n = min(len(lines), n * 2)
    # Fixture files that the arguments do not name are dropped.
    used = dict(case.files)
    for name in list(used):
        if name != b"sub" and not any(name.split(b"/")[0] in a for a in case.argv):
            trial = dict(used)
            del trial[name]
            if runs[0] < budget and test(Case(case.argv, trial, case.stdin, case.meta)):
                used = trial
    return Case(case.argv, used, case.stdin, case.meta)


# ---------------------------------------------------------------------------
# Workers and main
# ---------------------------------------------------------------------------

WORKROOT = None
CONF = {}
RERUNS = 0


def drop_privileges():
    os.setgroups([])
    os.setgid(NOBODY)
    os.setuid(NOBODY)


def worker_init(conf):
    global WORKROOT, CONF
    CONF = conf
    signal.signal(signal.SIGINT, signal.SIG_IGN)
    load_prelude_ai()
    if os.geteuid() == 0 and not conf["as_root"]:
        drop_privileges()
    WORKROOT = tempfile.mkdtemp(prefix="w%d-" % os.getpid(), dir=conf["workroot"])


def run_one(idx):
    conf = CONF
    # Cases queued before the deadline but not started by then are skipped,
    # so that --minutes bounds the run's wall time.
    if conf.get("deadline") and time.time() > conf["deadline"]:
        return None
    case = make_case(conf["seed"], idx)
    res, d = run_case(conf["binary"], case, conf)
    global RERUNS
    if "hang" in res["classes"] and RERUNS < 5:           # slow or stuck? (a few per worker)
        RERUNS += 1
        shutil.rmtree(d, ignore_errors=True)
        res2, d = run_case(conf["binary"], case, conf, timeout=TIMEOUT * 4)
        res["detail"].append("rerun with %ds: %s in %ss" % (TIMEOUT * 4, res2["rc"], res2["secs"]))
        if res2["rc"] != "timeout":
            # It ends: a slow case (a busy machine, a large input), judged by
            # its rerun and counted apart.
            detail = res["detail"]
            res = dict(res2, detail=res2["detail"] + detail, slow=True)
    if res["classes"]:
        name = "%s-%s-s%s-%d" % ("+".join(sorted(set(res["classes"]))), conf["tag"], conf["seed"], idx)
        dest = os.path.join(conf["faildir"], name)
        write_case_dir(dest, case, res)
        for nm in ("stdout", "stderr"):
            shutil.copyfile(os.path.join(d, nm), os.path.join(dest, nm + ".txt"))
        res["kept"] = dest
    shutil.rmtree(d, ignore_errors=True)
    res["index"] = idx
    res["form"] = case.meta["form"]
    return res


def main():
    global TIMEOUT
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--binary", required=True)
    ap.add_argument("--tag", default="run")
    ap.add_argument("--seed", default="1")
    ap.add_argument("--start", type=int, default=0)
    ap.add_argument("--cases", type=int, default=1000)
    ap.add_argument("--minutes", type=float, default=0, help="stop starting cases after this")
    ap.add_argument("--workers", type=int, default=2)
    ap.add_argument("--timeout", type=float, default=TIMEOUT)
    ap.add_argument("--faildir", default="/tmp/fuzzcli-fail")
    ap.add_argument("--workroot", default="/dev/shm" if os.path.isdir("/dev/shm") else "/tmp")
    ap.add_argument("--as-root", action="store_true", help="do not drop to user nobody")
    ap.add_argument("--as-limit-mb", type=int, default=0,
                    help="address-space limit per run (not for sanitizer builds); 0: none")
    ap.add_argument("--lsan-supp", default=None, help="LeakSanitizer suppressions file")
    ap.add_argument("--minimize", type=int, default=2, help="failures per class to minimise")
    ap.add_argument("--print", type=int, dest="print_idx", help="print case I of the seed")
    ap.add_argument("--replay", help="a kept failure directory: run it again, print the verdict")
    ap.add_argument("--json", help="write the run's figures here")
    a = ap.parse_args()
    TIMEOUT = a.timeout
    binary = os.path.abspath(a.binary)
    if a.print_idx is not None:
        c = make_case(a.seed, a.print_idx)
        print(" ".join(shell_quote(x) for x in c.argv))
        for k, (kind, content) in sorted(c.files.items()):
            if kind in ("file", "ro"):
                print("--- %s (%s, %d bytes): %r" % (k.decode("latin-1"), kind, len(content), content[:300]))
        if c.stdin:
            print("--- stdin (%d bytes): %r" % (len(c.stdin), c.stdin[:300]))
        print(json.dumps(c.meta)[:2000])
        return 0
    os.makedirs(a.faildir, exist_ok=True)
    workroot = os.path.join(a.workroot, "fuzzcli-work-%d" % os.getpid())
    os.makedirs(workroot, exist_ok=True)
    if os.geteuid() == 0 and not a.as_root:
        for p in (a.faildir, workroot):
            os.chown(p, NOBODY, NOBODY)
    supp = a.lsan_supp
    if supp is None:
        guess = os.path.join(os.path.dirname(os.path.dirname(binary)), "tools", "lsan.supp")
        supp = guess if os.path.exists(guess) else None
    conf = {"binary": binary, "tag": a.tag, "seed": a.seed, "faildir": a.faildir, "workroot": workroot,
            "as_root": a.as_root, "env": san_env(supp), "timeout": a.timeout,
            "as_limit": a.as_limit_mb << 20 if a.as_limit_mb else 0}
    if a.replay:
        worker_init(conf)
        with open(os.path.join(a.replay, "case.json")) as f:
            case = Case.from_json(json.load(f))
        res, d = run_case(binary, case, conf)
        with open(os.path.join(d, "stderr"), "rb") as f:
            sys.stdout.write(f.read(4000).decode("latin-1"))
        print(json.dumps(res, indent=1))
        shutil.rmtree(workroot, ignore_errors=True)
        return 0
    deadline = time.time() + a.minutes * 60 if a.minutes else None
    conf["deadline"] = deadline

    def indices():
        for i in range(a.start, a.start + a.cases):
            if deadline and time.time() > deadline:
                return
            yield i

    classes = ["crash", "sanitizer", "hang", "badexit", "unrenderable", "missing", "leftover", "written",
               "stray", "clobbered", "unplaced", "silent", "nonfinite", "csvshape", "bigfile"]
    counts = {c: 0 for c in classes}
    rcs, forms, n, secs, slow = {}, {}, 0, 0.0, 0
    failures = []
    t0 = time.time()
    with mp.Pool(a.workers, initializer=worker_init, initargs=(conf,)) as pool:
        for res in pool.imap_unordered(run_one, indices(), chunksize=2):
            if res is None:
                continue
            n += 1
            rcs[str(res["rc"])] = rcs.get(str(res["rc"]), 0) + 1
            forms[res["form"]] = forms.get(res["form"], 0) + 1
            secs += res["secs"]
            if res.get("slow"):
                slow += 1
                print("SLOW #%d %s" % (res["index"], res["detail"][-1]), flush=True)
            for c in set(res["classes"]):
                counts[c] += 1
            if res["classes"]:
                failures.append(res)
                print("FAIL #%d %s %s -> %s" % (res["index"], sorted(set(res["classes"])), res["detail"][:2],
                                                res.get("kept")), flush=True)
            if n % 500 == 0:
                print("... %d cases, %.0f s" % (n, time.time() - t0), flush=True)
    wall = time.time() - t0
    # Written first: minimising runs as user nobody when started as root.
    if a.json:
        with open(a.json, "w") as f:
            json.dump({"cases": n, "counts": counts, "slow": slow, "rcs": rcs, "forms": forms, "wall": wall, "seed": a.seed,
                       "start": a.start, "binary": binary, "failures": [r.get("kept") for r in failures]},
                      f, indent=1)
    if a.minimize and failures:
        worker_init(conf)
        done = {}
        for res in failures:
            key = "+".join(sorted(set(res["classes"])))
            if done.get(key, 0) >= a.minimize or "hang" in res["classes"]:
                continue                            # a slow case is its own reproducer
            done[key] = done.get(key, 0) + 1
            with open(os.path.join(res["kept"], "case.json")) as f:
                case = Case.from_json(json.load(f))
            small = minimize(binary, case, res["classes"], conf)
            write_case_dir(os.path.join(res["kept"], "minimal"), small)
            print("MINIMAL %s: %s" % (res["kept"], " ".join(shell_quote(x) for x in small.argv)[:300]), flush=True)
    print("binary %s seed %s cases %d..%d: %.0f s wall, %.3f s per case in the program" %
          (binary, a.seed, a.start, a.start + n - 1, wall, secs / max(n, 1)))
    print("forms %s; exit statuses %s" % (json.dumps(forms, sort_keys=True), json.dumps(rcs, sort_keys=True)))
    print("cases %d; " % n + " ".join("%s %d" % (c, counts[c]) for c in classes) +
          " (slow but ending: %d)" % slow)
    shutil.rmtree(workroot, ignore_errors=True)
    return 1 if any(counts.values()) else 0


if __name__ == "__main__":
    sys.exit(main())
