#!/usr/bin/env python3
"""A notebook's fit of an erosion rate, as a script: read measured ages with pandas, fit the
periodic topography model's erosion rate to them, and draw the ages against elevation.

    PYTHONPATH=build/python python3 examples/notebook_fit.py [FIGURE.png]

reads examples/observed_ages.csv (a synthetic ridge-to-valley transect whose mean surface lies at
2000 m), prints the fit's summary and writes the figure (default: notebook_fit.png in the current
directory): each system's measured ages with their one-sigma bars, and the ages the model predicts
for the same samples at the best rate. It needs pandas and matplotlib, from Debian:

    sudo apt-get install python3-pandas python3-matplotlib
"""

import pathlib
import sys

try:
    import matplotlib

    matplotlib.use("Agg")  # a file, no window
    import matplotlib.pyplot as plt
    import pandas
except ImportError as missing:
    sys.exit(f"{missing.name} is missing: sudo apt-get install python3-pandas python3-matplotlib")

import erosion_thermal as et

OBSERVED = pathlib.Path(__file__).resolve().parent / "observed_ages.csv"
MEAN_ELEVATION_M = 2000  # field elevation of the model's mean surface


def main():
    figure_file = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "notebook_fit.png")
    observed = pandas.read_csv(OBSERVED, comment="#")

    fit = et.fit_rate(observed, model="periodic", rates=(0.3, 1.0, 0.01),
                      mean_elevation_m=MEAN_ELEVATION_M)
    print(fit["summary"], end="")

    figure, axes = plt.subplots(figsize=(7.5, 5.5))
    for system, samples in fit["residuals"].groupby("system", sort=False):
        samples = samples.sort_values("elevation_m")
        measured = axes.errorbar(samples["age_ma"], samples["elevation_m"],
                                 xerr=samples["sigma_ma"], fmt="o", capsize=3,
                                 label=f"{system} measured")
        axes.plot(samples["predicted_age_ma"], samples["elevation_m"], "-",
                  color=measured[0].get_color(), label=f"{system} predicted")
    axes.set_xlabel("age (Ma)")
    axes.set_ylabel("elevation (m)")
    axes.set_title(f"Best rate {fit['best']:.3f} mm/yr "
                   f"(range {fit['low']:.3f} to {fit['high']:.3f}), "
                   f"reduced chi2 {fit['reduced_chi2']:.2f}")
    # Beneath the plot, clear of the data.
    axes.legend(fontsize="small", ncols=4, loc="upper center", bbox_to_anchor=(0.5, -0.12))
    axes.grid(alpha=0.3)
    figure.tight_layout()
    figure.savefig(figure_file, dpi=120)
    print(f"figure: {figure_file}")


if __name__ == "__main__":
    main()
