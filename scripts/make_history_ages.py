#!/usr/bin/env python3
"""Makes examples/history_ages.csv: synthetic ages of one rock whose erosion sped up.

The ages are those that cooling_ages itself predicts along the path of the rock exposed today
under a known two-phase erosion history (the erosion-history thermal model on its defaults):
(U-Th)/He in apatite and zircon by the radiation-damage kinetics, several grains of each with
their own radius, U and Th (eU sets how much damage a grain holds, and so how well it keeps its
helium), and apatite fission tracks by annealing; then Gaussian noise is added with a fixed seed.
The program makes the predictions (as residuals against placeholder ages), so the example always
matches the suite's models; run this again after a model changes.

    scripts/make_history_ages.py [BUILD_DIR]      (default: build)

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
OUTPUT = ROOT / "examples" / "history_ages.csv"

HISTORY = "30:0.1,8:0.8"       # slow erosion from 30 Ma, eight times faster from 8 Ma
SEED = 4                       # fixed: the file is the same on every run
RELATIVE_SIGMA = (0.06, 0.09)  # one-sigma errors between 6 and 9 % of the age

# sample, system, radius_um, u_ppm, th_ppm, dpar_um ('' = the program's age options)
SAMPLES = [
    ("HX1", "AHe", 45, 6, 12, ""),
    ("HX1", "AHe", 60, 18, 35, ""),
    ("HX1", "AHe", 75, 45, 80, ""),
    ("HX1", "AHe", 95, 110, 150, ""),
    ("HX1", "AFT", "", "", "", 1.8),
    ("HX1", "ZHe", 50, 90, 45, ""),
    ("HX1", "ZHe", 60, 350, 160, ""),
    ("HX1", "ZHe", 75, 900, 400, ""),
    ("HX1", "ZHe", 70, 2200, 700, ""),
]
COLUMNS = ["sample", "system", "radius_um", "u_ppm", "th_ppm", "dpar_um"]


def predicted_ages(workdir):
    """The program's predictions for SAMPLES under HISTORY, in order."""
    template = workdir / "template.csv"
    with template.open("w", newline="") as out:
        writer = csv.writer(out, lineterminator="\n")
        writer.writerow(COLUMNS + ["age_ma", "sigma_ma"])
        for row in SAMPLES:
            writer.writerow(list(row) + [1, 1])  # placeholders: only the predictions are kept
    residuals = workdir / "residuals.csv"
    subprocess.run([str(BUILD / "bin" / "cooling_ages"), "history", "--erosion", HISTORY,
                    "--systems", "AHe", "--observed", str(template),
                    "--residuals", str(residuals), "--output", str(workdir / "ages.csv")],
                   check=True, stderr=subprocess.DEVNULL)
    with residuals.open() as table:
        return [float(row["predicted_age_ma"]) for row in csv.DictReader(table)]


def main():
    with tempfile.TemporaryDirectory() as workdir:
        predictions = predicted_ages(pathlib.Path(workdir))
    noise = random.Random(SEED)
    with OUTPUT.open("w", newline="") as out:
        out.write(
            "# Synthetic data, not measurements. Made by scripts/make_history_ages.py: the ages\n"
            "# cooling_ages predicts along the path of the rock exposed today under the erosion\n"
            f"# history {HISTORY} (0.1 mm/yr from 30 Ma, 0.8 mm/yr from 8 Ma; the thermal\n"
            "# model's defaults otherwise: 0 C at the surface, 1250 C at 50 km, steady initial\n"
            "# geotherm), by the kinetic models for AHe and ZHe (diffusion with radiation damage,\n"
            "# each grain its own radius, U, Th) and AFT (annealing, Dpar 1.8 um); then Gaussian\n"
            "# noise: sigma_ma drawn between 6 and 9 % of the age, age_ma = predicted +\n"
            f"# N(0, sigma_ma), seed {SEED}.\n"
            "# Fit: cooling_ages history --erosion 30:0.1 --observed examples/history_ages.csv \\\n"
            "#        --fit-phases 2\n")
        writer = csv.writer(out, lineterminator="\n")
        writer.writerow(COLUMNS + ["age_ma", "sigma_ma"])
        for row, predicted in zip(SAMPLES, predictions):
            sigma = predicted * noise.uniform(*RELATIVE_SIGMA)
            observed = predicted + noise.gauss(0.0, sigma)
            writer.writerow(list(row) + [f"{observed:.2f}", f"{sigma:.2f}"])
    print(f"wrote {OUTPUT}")


if __name__ == "__main__":
    main()
