#!/usr/bin/env bash
# The main job: installs what is missing, builds the suite, lays out a workspace, runs the
# transient solver and the periodic topography model on their defaults there, and renders the
# plots of both runs to PNG (no display needed), listing everything it wrote.
#
# The workspace (default ./demo, or the first argument) holds the output tree that the programs
# expect beside their working directory:
#   demo/output/transient/{geotherm,temp_time,temp_hist}/  demo/output/default_output/
#   demo/output/periodic/{isotherm,temp_hist}/             demo/output/plots/
#   demo/output/ages/  (the predicted cooling ages)
#   demo/output/fit/, demo/output/history/  (the fits of a rate and of an erosion history)
#   demo/output/terrain/  (the 3D model under the demo DEM: sample ages, age map, field)
#   demo/run/  (the working directory)
#   demo/run/output/plots/  (where plot_temp_time's save button writes, below its run directory)
# laid out by scripts/make-workspace.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
workspace=$("$root/scripts/make-workspace.sh" "${1:-$root/demo}")
build_dir=${BUILD_DIR:-$root/build}

# Qt wants a private runtime directory; root in a container often has none.
if [[ -z "${XDG_RUNTIME_DIR:-}" ]]; then
    export XDG_RUNTIME_DIR=$(mktemp -d)
    trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
fi

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)" >/dev/null
bin="$build_dir/bin"

output="$workspace/output"
cd "$workspace/run"

echo "== transient_erosion (defaults: 0.5 mm/yr, 50 km, geotherms at 0 5 10 15 Myr)"
"$bin/transient_erosion"
echo "Wrote:"
find "$output/transient" "$output/default_output" -type f -printf '  %p (%s bytes)\n' | sort

# The plots of that run, drawn by the viewers' own code without a window. The arguments repeat
# the run's values: 50 km model depth, 0.5 mm/yr, geotherms at 0 5 10 15 Myr, isotherms at 60
# 120 250 350 C, the cooling history of the rock exposed at 10 Myr.
echo "== render_plot (the geotherm, isotherm-depth and cooling-history plots of this run)"
plots="$output/plots"
"$bin/render_plot" plot_geotherm "$plots/image_geotherm.png" 50000 0.5 0 5 10 15 0
"$bin/render_plot" plot_temp_time "$plots/image_temp_time.png" 0 0.5 60 120 250 350
"$bin/render_plot" plot_temp_hist "$plots/image_temp_hist.png" 10 0

# The periodic model on its defaults: a 20 km wavelength, 1000 m relief, 0.5 mm/yr. Its profile
# spans two wavelengths (40 km), and a 15 km deep window holds the 350 C isotherm.
echo "== periodic_topography (defaults: 0.5 mm/yr, wavelength 20 km, relief 1000 m)"
"$bin/periodic_topography"
find "$output/periodic" -type f -printf '  %p (%s bytes)\n' | sort
"$bin/render_plot" plot_2D_isotherm_topography "$plots/image_2D_isotherm_topography.png" \
    40000 15000 0.5 "60 C" "120 C" "250 C" "350 C"
"$bin/render_plot" plot_2D_temp_hist "$plots/image_2D_temp_hist.png" 0.5

# The ages those two runs predict: the rock the transient run exposes after 10 Myr, and the rocks
# now on the periodic ridge, half-way down and in the valley (the whole profile is in the CSV).
# The kinetics are the defaults (RDAAM for apatite He, ZRDAAM for zircon He, the fanning model of
# Ketcham et al. 2007 for apatite fission tracks, Dodson closure for the rest); the table's
# kinetics column names them and is printed beside each age.
echo "== cooling_ages (predicted ages of the default transient run and of the periodic profile)"
ages="$output/ages"
mkdir -p "$ages"
"$bin/cooling_ages" transient --output "$ages/transient_ages.csv"
"$bin/cooling_ages" periodic --output "$ages/periodic_ages.csv"
print_ages() { # site, system, method, kinetics, age; an age of a path that does not reset its
               # system is marked: a rock older than the path may be older still
    awk -F, 'NR == 1 { for (k = 1; k <= NF; ++k) column[$k] = k }
        NR > 1 && ($column["site"] != "" || $column["x_m"] == "") {
        printf "  %-10s %-4s %-10s %-12s %8.2f Ma%s\n",
               ($column["site"] == "" ? "transient" : $column["site"]), $column["system"],
               $column["method"], $column["kinetics"], $column["age_ma"],
               ($column["reset"] == "no" ? "  (not reset: a lower bound)" : "")
    }' "$1"
}
print_ages "$ages/transient_ages.csv"
print_ages "$ages/periodic_ages.csv"
echo "  tables: $ages/transient_ages.csv, $ages/periodic_ages.csv"

echo "Plots:"
for plot in image_geotherm image_temp_time image_temp_hist image_2D_isotherm_topography \
            image_2D_temp_hist; do
    echo "  $plots/$plot.png"
done

# The fit: which erosion rate explains the measured ages of examples/observed_ages.csv, a
# synthetic ridge-to-valley transect (its header says how it was made). The periodic model's
# mean surface is put at 2000 m, the transect's mean elevation. The sweep's table of ages is kept
# small with 41 profile points (the fit places each sample on the profile itself); the summary
# line and any warning go to standard error.
echo "== cooling_ages: fitting the erosion rate to examples/observed_ages.csv"
fit_dir="$output/fit"
mkdir -p "$fit_dir"
observed="$root/examples/observed_ages.csv"
"$bin/cooling_ages" periodic --mean-elevation 2000 --rates 0.3:1:0.01 -n 41 \
    --systems AHe,AFT,ZHe,ZFT --observed "$observed" --output "$fit_dir/sweep_ages.csv" \
    --fit-output "$fit_dir/fit.csv" --residuals "$fit_dir/residuals.csv" \
    --predictions "$fit_dir/predictions.csv" 2>"$fit_dir/summary.txt"
cat "$fit_dir/summary.txt"
best=$(sed -n 's|^best rate: \([0-9.]*\) mm/yr.*|\1|p' "$fit_dir/summary.txt")
# At the best rate: the age-elevation relationship across the profile, and (for the path plot)
# the transient model's cooling path of the rock exposed after 20 Myr (long enough to reset the
# zircon systems at that rate) with its ages.
"$bin/cooling_ages" periodic --mean-elevation 2000 -r "$best" --systems AHe,AFT,ZHe,ZFT \
    --output "$fit_dir/profile_ages.csv"
"$bin/cooling_ages" transient -r "$best" -o 20 --systems AHe,AFT,ZHe,ZFT \
    --path-output "$fit_dir/path.csv" --output "$fit_dir/path_ages.csv"
find "$fit_dir" -type f -name '*.csv' -printf '  %p (%s bytes)\n' | sort

# The four plots of the fit.
# The rate plot with each sample's own grain along the sweep, beside the options' grain.
"$bin/render_plot" plot_ages "$plots/image_ages_rate.png" rate "$fit_dir/sweep_ages.csv" \
    "$observed" "$fit_dir/fit.csv" "$fit_dir/residuals.csv" "$fit_dir/predictions.csv"
"$bin/render_plot" plot_ages "$plots/image_ages_misfit.png" misfit "$fit_dir/fit.csv"
"$bin/render_plot" plot_ages "$plots/image_ages_elevation.png" elevation \
    "$fit_dir/profile_ages.csv" "$observed"
"$bin/render_plot" plot_ages "$plots/image_ages_path.png" path "$fit_dir/path.csv" \
    "$fit_dir/path_ages.csv"
for plot in image_ages_rate image_ages_misfit image_ages_elevation image_ages_path; do
    echo "  $plots/$plot.png"
done

# The erosion history: when did erosion speed up, and by how much? examples/history_ages.csv holds
# the ages of one rock (four AHe and four ZHe grains of different size and eU, one AFT age) made by
# the history model at 0.1 mm/yr from 30 Ma and 0.8 mm/yr from 8 Ma, with noise (its header says
# how). First a constant rate (one phase, the rate sweep), which cannot explain them; then two
# phases from 30 Ma (the grid over the change time and the first rate, the last rate minimised at
# every node, a local refinement). The tables of ages of the fit runs are --erosion's own and
# go nowhere; the summaries go to standard error.
echo "== cooling_ages history: fitting erosion phases to examples/history_ages.csv"
history_dir="$output/history"
mkdir -p "$history_dir"
history_observed="$root/examples/history_ages.csv"
"$bin/cooling_ages" history --erosion 30:0.1 --observed "$history_observed" --fit-phases 1 \
    >/dev/null 2>"$history_dir/one_phase_summary.txt"
echo "-- one phase (a constant rate):"
cat "$history_dir/one_phase_summary.txt"
echo "-- two phases:"
"$bin/cooling_ages" history --erosion 30:0.1 --observed "$history_observed" --fit-phases 2 \
    --fit-output "$history_dir/fit.csv" --profile-output "$history_dir/profile.csv" \
    --residuals "$history_dir/residuals.csv" >/dev/null 2>"$history_dir/summary.txt"
cat "$history_dir/summary.txt"
# The best history, pasted back as the summary prints it: its ages and the path of the rock.
best_history=$(sed -n 's|^best history: \([0-9.:,]*\), chi2.*|\1|p' "$history_dir/summary.txt")
"$bin/cooling_ages" history --erosion "$best_history" --systems AHe,AFT,ZHe \
    --path-output "$history_dir/path.csv" --output "$history_dir/path_ages.csv"
find "$history_dir" -type f -name '*.csv' -printf '  %p (%s bytes)\n' | sort

# Its plots: the rate against time (the best history and those within the range), chi2 against
# the change time, chi2 over change time and first rate, the residuals at the best history, and the path with each system's closure.
"$bin/render_plot" plot_ages "$plots/image_ages_history.png" history "$history_dir/fit.csv"
"$bin/render_plot" plot_ages "$plots/image_ages_profile.png" profile "$history_dir/profile.csv"
"$bin/render_plot" plot_ages "$plots/image_ages_misfit_map.png" misfit-map "$history_dir/fit.csv"
"$bin/render_plot" plot_ages "$plots/image_ages_history_residuals.png" residuals \
    "$history_dir/residuals.csv"
"$bin/render_plot" plot_ages "$plots/image_ages_history_path.png" path "$history_dir/path.csv" \
    "$history_dir/path_ages.csv"
for plot in image_ages_history image_ages_profile image_ages_misfit_map \
            image_ages_history_residuals image_ages_history_path; do
    echo "  $plots/$plot.png"
done

# Real topography in 3D: the Jacksboro fault DEM that Debian's python3-matplotlib ships (344 x 403
# cells of 3 arc-seconds, 236 to 1076 m, the Appalachians of north-eastern Tennessee), converted
# to a GeoTIFF, projected to its UTM zone and resampled to 1 km by the program. Under it the 3D
# model runs the history 0.2 mm/yr from 20 Ma and 0.5 mm/yr from 6 Ma, with the relief growing
# from half of today's to today's at 10 Ma; the synthetic samples of examples/jacksboro_samples.csv
# are placed by lon/lat. It writes the samples' ages, their residuals, the age map of every node
# (AHe and AFT bands and the DEM) and the temperature field for ParaView.
echo "== cooling_ages terrain: the 3D model under the Jacksboro fault DEM"
terrain_dir="$output/terrain"
mkdir -p "$terrain_dir"
/usr/bin/python3 "$root/scripts/make_demo_dem.py" "$terrain_dir/jacksboro_dem.tif"
terrain_samples="$root/examples/jacksboro_samples.csv"
"$bin/cooling_ages" terrain --dem "$terrain_dir/jacksboro_dem.tif" --resample 1000 \
    --erosion 20:0.2,6:0.5 --relief 20:0.5,10:1 --systems AHe,AFT \
    --observed "$terrain_samples" --residuals "$terrain_dir/residuals.csv" \
    --age-map "$terrain_dir/ages.tif" --field "$terrain_dir/field.vts" \
    --output "$terrain_dir/sample_ages.csv"
find "$terrain_dir" -type f -printf '  %p (%s bytes)\n' | sort

# The age map over the shaded relief with the samples, and the samples' ages against elevation.
"$bin/render_plot" plot_ages "$plots/image_ages_map.png" map "$terrain_dir/ages.tif" \
    "$terrain_dir/sample_ages.csv"
"$bin/render_plot" plot_ages "$plots/image_ages_terrain_elevation.png" elevation \
    "$terrain_dir/sample_ages.csv" "$terrain_samples"
for plot in image_ages_map image_ages_terrain_elevation; do
    echo "  $plots/$plot.png"
done
