#!/usr/bin/env python3
"""Writes examples/joint_survey.csv: a joint survey of three sets.

    python3 tools/joint_survey.py > examples/joint_survey.csv

Each set's poles are drawn from a Fisher distribution about the pole of its
mean plane; the planes are shuffled and read at twelve stations of 30 planes,
as a notebook lists them, with a trace length per joint. Only uniform numbers
from Python's Mersenne Twister with a fixed seed are used (the Fisher angle and
the trace length by inversion and Box-Muller), so every run writes the same file.
"""
import math
import random

SEED = 2023
# Mean plane (dip direction, dip), Fisher concentration of the poles, count.
SETS = [
    ("J1", (128, 84), 40.0, 170),
    ("J2", (35, 76), 30.0, 120),
    ("J3", (212, 12), 60.0, 70),
]
STATIONS = 12
PER_STATION = 30


def unit(trend, plunge):
    t, p = math.radians(trend), math.radians(plunge)
    return (math.cos(p) * math.cos(t), math.cos(p) * math.sin(t), math.sin(p))


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def normalised(v):
    n = math.sqrt(sum(c * c for c in v))
    return tuple(c / n for c in v)


def fisher(rng, mean, kappa):
    """A unit vector about `mean` (x north, y east, z down) with concentration kappa."""
    u = 1.0 - rng.random()  # (0, 1]
    w = 1.0 + math.log(u + (1.0 - u) * math.exp(-2.0 * kappa)) / kappa
    phi = 2.0 * math.pi * rng.random()
    e1 = normalised(cross(mean, (0.0, 0.0, 1.0) if abs(mean[2]) < 0.9 else (1.0, 0.0, 0.0)))
    e2 = cross(mean, e1)
    s = math.sqrt(max(0.0, 1.0 - w * w))
    return tuple(w * m + s * (math.cos(phi) * a + math.sin(phi) * b)
                 for m, a, b in zip(mean, e1, e2))


def plane_of_pole(v):
    """Dip direction and dip, whole degrees, of the plane whose pole is the axis v."""
    if v[2] < 0:
        v = tuple(-c for c in v)
    trend = math.degrees(math.atan2(v[1], v[0]))
    plunge = math.degrees(math.asin(min(1.0, v[2])))
    dip_direction = round(trend + 180.0) % 360
    return dip_direction, round(90.0 - plunge)


def main():
    rng = random.Random(SEED)
    planes = []
    for _, (dip_direction, dip), kappa, count in SETS:
        pole = unit(dip_direction + 180.0, 90.0 - dip)
        for _ in range(count):
            planes.append(plane_of_pole(fisher(rng, pole, kappa)))
    rng.shuffle(planes)
    print("# Joint survey of a quarry bench, twelve stations of 30 joints each:")
    print("# dip direction/dip of each joint and its trace length in metres.")
    print("# Made by tools/joint_survey.py (seed %d): three sets, poles drawn from" % SEED)
    print("# Fisher distributions about the mean planes (dip direction/dip,")
    print("# concentration k of the poles, count):")
    for name, (dd, d), k, n in SETS:
        print("#   %s %03d/%02d k %g n %d" % (name, dd, d, k, n))
    print("station,dipdir,dip,trace_m")
    for i, (dip_direction, dip) in enumerate(planes):
        z = math.sqrt(-2.0 * math.log(1.0 - rng.random())) * math.cos(2.0 * math.pi * rng.random())
        trace = math.exp(math.log(2.0) + 0.6 * z)
        print("ST%02d,%03d,%02d,%.1f" % (i // PER_STATION + 1, dip_direction, dip, trace))


if __name__ == "__main__":
    main()
