#!/usr/bin/python3
"""Makes the terrain model's demo DEM, a GeoTIFF of real topography, from data Debian ships.

The DEM is matplotlib's sample jacksboro_fault_dem.npz (package python3-matplotlib): 344 x 403
cells of 3 arc-seconds (about 93 m north-south, 74 m east-west), 236 to 1076 m, around the
Jacksboro fault in the Appalachians of north-eastern Tennessee (84.41 to 84.08 W, 36.45 to
36.73 N), in longitude and latitude on WGS 84. The script writes it as an ESRI ASCII grid with
its .prj beside it and converts that with gdal_translate (gdal-bin) to a GeoTIFF; the model
reads either and projects it to UTM zone 16N itself.

    /usr/bin/python3 scripts/make_demo_dem.py [OUTPUT.tif]     (default: jacksboro_dem.tif)
"""

import os
import shutil
import subprocess
import sys
import tempfile

import numpy as np
from matplotlib import cbook

WGS84_WKT = (
    'GEOGCS["WGS 84",DATUM["WGS_1984",SPHEROID["WGS 84",6378137,298.257223563]],'
    'PRIMEM["Greenwich",0],UNIT["degree",0.0174532925199433]]'
)


def main() -> int:
    output = sys.argv[1] if len(sys.argv) > 1 else "jacksboro_dem.tif"
    if shutil.which("gdal_translate") is None:
        print("ERROR: gdal_translate not found: install gdal-bin (scripts/install-deps.sh)",
              file=sys.stderr)
        return 1
    source = cbook.get_sample_data("jacksboro_fault_dem.npz", asfileobj=False)
    with np.load(source) as dem:
        elevation = dem["elevation"]
        cell = float(dem["dx"])
        if abs(float(dem["dy"]) - cell) > 1e-12:
            print("ERROR: the sample's cells are not square", file=sys.stderr)
            return 1
        # The file names its northern edge ymin and its southern ymax; the rows run from north
        # to south (matplotlib's examples draw row 0 at the top), as an ESRI grid's do.
        west = float(dem["xmin"])
        south = min(float(dem["ymin"]), float(dem["ymax"]))
    rows, columns = elevation.shape
    with tempfile.TemporaryDirectory() as scratch:
        grid = os.path.join(scratch, "jacksboro.asc")
        with open(grid, "w", encoding="ascii") as out:
            out.write(f"ncols {columns}\nnrows {rows}\nxllcorner {west!r}\n"
                      f"yllcorner {south!r}\ncellsize {cell!r}\n")
            np.savetxt(out, elevation, fmt="%d")
        with open(os.path.join(scratch, "jacksboro.prj"), "w", encoding="ascii") as prj:
            prj.write(WGS84_WKT)
        subprocess.run(["gdal_translate", "-q", "-of", "GTiff", "-a_srs", "EPSG:4326", grid,
                        output], check=True)
    print(f"{output}: {columns} x {rows} cells of {cell * 3600:.1f} arc-seconds, "
          f"{elevation.min()} to {elevation.max()} m, from {source}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
