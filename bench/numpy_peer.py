#!/usr/bin/env python3
"""The transient erosion model as a user would script it with numpy and scipy: the peer that
scripts/bench.sh times transient_erosion against.

    numpy_peer.py [RATE_MM_PER_YR]        (default 0.5; the other values are the solver's defaults)

Run from a directory beside an ../output tree with the solver's four result directories; writes
the same twelve files as transient_erosion, in the same layouts and number format (%#.4g). Every
array is whole and vectorised: the temperature table is computed at once (8 x nodes^2 bytes and
a few temporaries of that size), as a straightforward script does it.

The model: erosion at the rate u (m/s) of a half-space whose surface stays at T0, starting from
the linear geotherm T0 + G d. With z = -d the node coordinate (m, <= 0), v = -u and t in s,

    a = v t - z,  b = -z - v t,  s = 2 sqrt(kappa t)
    T = T0 + G b + (G / 2) (a exp(-v z / kappa) erfc(a / s) - b erfc(b / s)),

and T = T0 - G z at t = 0 (the surface node included).
"""

import sys

import numpy as np
from scipy.special import erfc

SECONDS_PER_MYR = 3.1536e13  # one million years of 365 days
MM_PER_YR_PER_M_PER_S = 3.1536e10  # a rate in mm/yr divided by this is in m/s
METRES_PER_MYR_PER_MM_PER_YR = 1000.0

SURFACE_TEMP = 0.0  # T0, C
GRADIENT = 0.025  # G, C/m
MAX_DEPTH = 50000.0  # m
DIFFUSIVITY = 1.3636e-6  # kappa, m2/s
HISTORY_TIME = 10  # Myr: the rock that reaches the surface then
GEOTHERM_TIMES = (0.0, 5.0, 10.0, 15.0)  # Myr
ISOTHERMS = (60.0, 120.0, 250.0, 350.0)  # C

OUT = "../output/"


def node_coordinates(spacing):
    """Surface first: 0, then -MAX_DEPTH + k spacing for k = count - 2 down to 0, from the same
    running sums as the solver (the topmost interval is the remainder)."""
    sums = []
    z = -MAX_DEPTH
    while z < spacing:
        sums.append(z)
        z += spacing
    if sums[-1] > 0.0:
        sums[-1] = 0.0
    return np.array(sums[::-1])


def temperature(z, t, velocity):
    """T(z, t) of the closed form, broadcast over z (m) and t (s)."""
    z, t = np.broadcast_arrays(np.asarray(z, dtype=float), np.asarray(t, dtype=float))
    a = velocity * t - z
    b = -z - velocity * t
    s = 2.0 * np.sqrt(DIFFUSIVITY * t)
    with np.errstate(divide="ignore", invalid="ignore"):
        temp = SURFACE_TEMP + GRADIENT * b + 0.5 * GRADIENT * (
            a * np.exp(-velocity * z / DIFFUSIVITY) * erfc(a / s) - b * erfc(b / s))
    start = t == 0.0
    return np.where(start, SURFACE_TEMP - GRADIENT * z, temp)


def number(value):
    return "%#.4g" % value


def write_pairs(path, firsts, seconds):
    """ x1 y1 x2 y2 ...: each value after one space, no line break at the end."""
    with open(path, "w") as f:
        f.write("".join(" %s %s" % pair for pair in zip(firsts, seconds)))


def isotherm_positions(field, nodes, temp):
    """Node coordinate of temp at each time level (column): linear interpolation in the first
    interval from the surface down whose ends enclose it; NaN where there is none."""
    lower, upper = field[:-1, :], field[1:, :]
    inside = (temp >= lower) & (upper >= temp)
    found = inside.any(axis=0)
    first = inside.argmax(axis=0)
    columns = np.arange(field.shape[1])
    t0, t1 = lower[first, columns], upper[first, columns]
    z0, z1 = nodes[first], nodes[first + 1]
    with np.errstate(divide="ignore", invalid="ignore"):
        position = z0 + (temp - t0) * ((z1 - z0) / (t1 - t0))
    return np.where(found & (position != 0.0), position, np.nan)


def main():
    rate = float(sys.argv[1]) if len(sys.argv) > 1 else 0.5
    velocity = -rate / MM_PER_YR_PER_M_PER_S
    nodes = node_coordinates(rate * METRES_PER_MYR_PER_MM_PER_YR)
    count = len(nodes)

    for k, myr in enumerate(GEOTHERM_TIMES, start=1):
        geotherm = temperature(nodes, myr * SECONDS_PER_MYR, velocity)
        write_pairs(f"{OUT}transient/geotherm/transient_T{k}.dat",
                    map(number, geotherm), map(number, nodes))

    # Row j: node j at the time levels 0, 1, ... count - 1 Myr.
    times = np.arange(count) * SECONDS_PER_MYR
    field = temperature(nodes[:, None], times[None, :], velocity)
    row_format = " %#.4g" * count + "\n"
    with open(f"{OUT}transient/temp_time/transient_Tnew.dat", "w") as f:
        for row in field:
            f.write(row_format % tuple(row))

    for m, temp in enumerate(ISOTHERMS, start=1):
        positions = isotherm_positions(field, nodes, temp)
        write_pairs(f"{OUT}transient/temp_time/transient_isotherm{m}.dat",
                    map(str, range(count)),
                    ("NaN" if np.isnan(p) else number(p) for p in positions))

    # The rock at node N - k at time level k reaches the surface at level N.
    n = HISTORY_TIME
    history = field[n - np.arange(n + 1), np.arange(n + 1)]
    write_pairs(f"{OUT}transient/temp_hist/transient_tempHist.dat",
                map(str, range(n + 1)), map(number, history))
    with open(f"{OUT}default_output/transient_timeHist.dat", "w") as f:
        f.write("".join(number(float(k)) + "\n" for k in range(n + 1)))
    with open(f"{OUT}default_output/transient_tempHist.dat", "w") as f:
        f.write("".join(number(value) + "\n" for value in history))


if __name__ == "__main__":
    main()
