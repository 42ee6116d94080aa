#!/usr/bin/env python3
"""Makes examples/observed_ages.csv: a synthetic ridge-to-valley transect of measured ages.

The ages are those that cooling_ages itself predicts for the samples with the periodic
topography model at a known erosion rate (its kinetic models with their default kinetics for AHe,
ZHe, AFT and ZFT), each grain with its own radius, U, Th or Dpar; then
Gaussian noise is added with a fixed seed. The file's header names the kinetics, as the program
reported them. The program makes the predictions (as residuals against placeholder ages), so
the example always matches the suite's models; run this again after a model changes.

    scripts/make_example_ages.py [BUILD_DIR]      (default: build)

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
OUTPUT = ROOT / "examples" / "observed_ages.csv"

RATE_MM_YR = 0.6          # the erosion rate the ages are made at
MEAN_ELEVATION_M = 2000   # field elevation of the model's mean surface
SEED = 20261208           # fixed: the file is the same on every run
RELATIVE_SIGMA = (0.05, 0.10)  # one-sigma errors between 5 and 10 % of the age

# sample, system, elevation (m above sea level), radius_um, u_ppm, th_ppm, dpar_um ('' = the
# program's age options)
SAMPLES = [
    ("TR01", "AHe", 2950, 55, 12, 30, ""),
    ("TR01", "AFT", 2950, "", "", "", 1.9),
    ("TR01", "ZHe", 2950, 70, 350, 180, ""),
    ("TR01", "ZFT", 2950, "", "", "", ""),
    ("TR02", "AHe", 2620, 72, 8, 21, ""),
    ("TR02", "AFT", 2620, "", "", "", 2.2),
    ("TR03", "AHe", 2280, 48, 15, 40, ""),
    ("TR03", "AFT", 2280, "", "", "", 1.75),
    ("TR03", "ZHe", 2280, 62, 420, 210, ""),
    ("TR04", "AHe", 1900, 65, 10, 25, ""),
    ("TR04", "AFT", 1900, "", "", "", 2.0),
    ("TR05", "AHe", 1540, 58, 20, 45, ""),
    ("TR05", "AFT", 1540, "", "", "", 1.8),
    ("TR05", "ZHe", 1540, 75, 300, 150, ""),
    ("TR06", "AHe", 1120, 80, 9, 18, ""),
    ("TR06", "AFT", 1120, "", "", "", 2.4),
    ("TR06", "ZHe", 1120, 66, 380, 160, ""),
    ("TR06", "ZFT", 1120, "", "", "", ""),
]
COLUMNS = ["sample", "system", "elevation_m", "radius_um", "u_ppm", "th_ppm", "dpar_um"]


def predicted_ages(workdir):
    """The program's predictions for SAMPLES at RATE_MM_YR, in order, and the kinetics of each
    system ({"AHe": "rdaam", ...})."""
    template = workdir / "template.csv"
    with template.open("w", newline="") as out:
        writer = csv.writer(out, lineterminator="\n")
        writer.writerow(COLUMNS + ["age_ma", "sigma_ma"])
        for row in SAMPLES:
            writer.writerow(list(row) + [1, 1])  # placeholders: only the predictions are kept
    residuals = workdir / "residuals.csv"
    subprocess.run([str(BUILD / "bin" / "cooling_ages"), "periodic", "-r", str(RATE_MM_YR),
                    "--mean-elevation", str(MEAN_ELEVATION_M), "--systems", "AHe",
                    "--observed", str(template), "--residuals", str(residuals),
                    "--output", str(workdir / "ages.csv")],
                   check=True, stderr=subprocess.DEVNULL)
    with residuals.open() as table:
        rows = list(csv.DictReader(table))
    return ([float(row["predicted_age_ma"]) for row in rows],
            {row["system"]: row["kinetics"] for row in rows})


def main():
    with tempfile.TemporaryDirectory() as workdir:
        predictions, kinetics = predicted_ages(pathlib.Path(workdir))
    noise = random.Random(SEED)
    with OUTPUT.open("w", newline="") as out:
        out.write(
            "# Synthetic data, not measurements. Made by scripts/make_example_ages.py: the ages\n"
            f"# cooling_ages predicts with the periodic topography model at {RATE_MM_YR} mm/yr\n"
            "# (defaults otherwise: wavelength 20 km, relief +-1000 m, 20 Myr paths) for a\n"
            f"# ridge-to-valley transect whose mean surface lies at {MEAN_ELEVATION_M} m, by the\n"
            f"# kinetic models for AHe and ZHe (diffusion, kinetics {kinetics['AHe']} and "
            f"{kinetics['ZHe']},\n"
            "# each grain its own radius, U, Th) and AFT (annealing, kinetics "
            f"{kinetics['AFT']}, each grain\n"
            "# its own Dpar) and ZFT (annealing, kinetics "
            f"{kinetics['ZFT']}); then Gaussian noise: sigma_ma drawn\n"
            "# between 5 and 10 % of the age, age_ma = predicted + N(0, sigma_ma), "
            f"seed {SEED}.\n"
            f"# Fit: cooling_ages periodic --mean-elevation {MEAN_ELEVATION_M} --rates 0.3:1:0.01 \\\n"
            "#        --observed examples/observed_ages.csv\n")
        writer = csv.writer(out, lineterminator="\n")
        writer.writerow(COLUMNS + ["age_ma", "sigma_ma"])
        for row, predicted in zip(SAMPLES, predictions):
            sigma = predicted * noise.uniform(*RELATIVE_SIGMA)
            observed = predicted + noise.gauss(0.0, sigma)
            writer.writerow(list(row) + [f"{observed:.2f}", f"{sigma:.2f}"])
    print(f"wrote {OUTPUT}")


if __name__ == "__main__":
    main()
