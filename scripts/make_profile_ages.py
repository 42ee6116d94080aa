#!/usr/bin/env python3
"""Makes examples/profile_ages.csv: a synthetic vertical profile whose erosion sped up.

Eight samples from 1000 to 2400 m, each dated by apatite (U-Th)/He (radiation-damage kinetics,
the program's default grain) and apatite fission tracks, at the heights they were taken above a
mean surface of 1500 m; a borehole temperature and a surface heat flow of the same column today.
The ages are those that cooling_ages history itself predicts under a known two-phase history
(the thermal model's defaults, lapse rate 6.5 C/km), each sample on its own path (D(t) - h under
flat isotherms); then Gaussian noise of 5 % is added with a fixed seed, and the 5 % is the
sigma. The program makes the predictions (as residuals against placeholder ages), so the example
always matches the suite's models; run this again after a model changes.

    scripts/make_profile_ages.py [BUILD_DIR]      (default: build)

Needs only the Python standard library and a built cooling_ages.
"""
import csv
import pathlib
import random
import subprocess
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parent.parent
BUILD = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else ROOT / "build"
OUTPUT = ROOT / "examples" / "profile_ages.csv"

HISTORY = "30:0.1,8:0.5"   # slow erosion from 30 Ma, five times faster from 8 Ma
MEAN_ELEVATION_M = 1500
ELEVATIONS_M = range(1000, 2600, 200)
SYSTEMS = ("AHe", "AFT")
SEED = 5                   # fixed: the file is the same on every run
RELATIVE_SIGMA = 0.05
# A borehole temperature at 2000 m below a site on the mean surface, and the surface heat flow,
# with the sigmas of good measurements.
TEMPERATURE = (2000.0, 1.0)   # depth_m, sigma_c
HEAT_FLOW_SIGMA = 5.0         # mW/m2


def predicted(workdir):
    """The program's predicted ages of the samples and its temperature and heat flow today."""
    template = workdir / "template.csv"
    with template.open("w", newline="") as out:
        writer = csv.writer(out, lineterminator="\n")
        writer.writerow(["sample", "system", "age_ma", "sigma_ma", "elevation_m"])
        for index, elevation in enumerate(ELEVATIONS_M):
            for system in SYSTEMS:
                writer.writerow([f"PR{index + 1}", system, 1, 1, elevation])
    residuals = workdir / "residuals.csv"
    geotherm = workdir / "geotherm.csv"
    done = subprocess.run([str(BUILD / "bin" / "cooling_ages"), "history", "--erosion", HISTORY,
                           "--observed", str(template), "--mean-elevation",
                           str(MEAN_ELEVATION_M), "--residuals", str(residuals),
                           "--geotherm-output", str(geotherm), "--output",
                           str(workdir / "ages.csv")],
                          check=True, stderr=subprocess.PIPE, text=True)
    with residuals.open() as table:
        ages = [(row["sample"], row["system"], row["elevation_m"], float(row["predicted_age_ma"]))
                for row in csv.DictReader(table)]
    with geotherm.open() as table:
        nodes = [(float(row["depth_m"]), float(row["temperature_c"]))
                 for row in csv.DictReader(table)]
    depth = TEMPERATURE[0]
    temperature = next(t for d, t in nodes if d >= depth)  # the nodes lie 250 m apart
    flow = float(done.stderr.split("surface heat flow today: ")[1].split(" ")[0])
    return ages, temperature, flow


def main():
    with tempfile.TemporaryDirectory() as workdir:
        ages, temperature, flow = predicted(pathlib.Path(workdir))
    generator = random.Random(SEED)
    with OUTPUT.open("w", newline="") as out:
        out.write(f"# synthetic: made by cooling_ages history under {HISTORY} with"
                  f" --mean-elevation {MEAN_ELEVATION_M} (scripts/make_profile_ages.py),"
                  " noise 5 %\n")
        writer = csv.writer(out, lineterminator="\n")
        writer.writerow(["sample", "system", "age_ma", "sigma_ma", "elevation_m", "depth_m",
                         "temperature_c", "sigma_c", "heat_flow_mw_m2", "sigma_mw_m2"])
        for sample, system, elevation, age in ages:
            sigma = RELATIVE_SIGMA * age
            writer.writerow([sample, system, f"{generator.gauss(age, sigma):.3f}",
                             f"{sigma:.3f}", elevation, "", "", "", "", ""])
        writer.writerow(["BH1", "T", "", "", MEAN_ELEVATION_M, f"{TEMPERATURE[0]:.0f}",
                         f"{generator.gauss(temperature, TEMPERATURE[1]):.2f}",
                         f"{TEMPERATURE[1]:.1f}", "", ""])
        writer.writerow(["BH1", "Q", "", "", "", "", "", "",
                         f"{generator.gauss(flow, HEAT_FLOW_SIGMA):.1f}",
                         f"{HEAT_FLOW_SIGMA:.1f}"])
    print(f"wrote {OUTPUT}")


if __name__ == "__main__":
    main()
