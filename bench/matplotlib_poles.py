"""The same job as `polarsketch plot --planes poles`: the poles of the planes
of a CSV file (dip direction, dip) as filled circles on an equal-area net,
lower hemisphere, with its primitive circle, written as PDF, SVG or PNG
(150 dpi).

    /usr/bin/python3 bench/matplotlib_poles.py PLANES.csv OUTPUT.{pdf,svg,png}
"""
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402

planes = np.loadtxt(sys.argv[1], delimiter=",", skiprows=1)
trend = np.radians(planes[:, 0] + 180.0)
colatitude = np.radians(planes[:, 1])  # of the pole: the dip
r = np.sqrt(2.0) * np.sin(colatitude / 2.0)
fig, ax = plt.subplots(figsize=(6, 6))
ax.add_patch(plt.Circle((0, 0), 1.0, fill=False, color="black", linewidth=1.0))
ax.scatter(r * np.sin(trend), r * np.cos(trend), s=49, c="navy", marker="o", linewidths=0.5)
ax.set_xlim(-1.05, 1.05)
ax.set_ylim(-1.05, 1.05)
ax.set_aspect("equal")
ax.axis("off")
fig.savefig(sys.argv[2], dpi=150)
