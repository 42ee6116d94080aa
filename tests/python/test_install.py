"""`cmake --install` puts the package where the interpreter looks for packages under the prefix."""

import os
import pathlib
import subprocess
import sys
import sysconfig

from conftest import ROOT

BUILD = pathlib.Path(os.environ.get("EROSION_BUILD_DIR", ROOT / "build"))
CMAKE = os.environ.get("EROSION_CMAKE", "cmake")


def test_the_installed_package_imports_from_the_interpreters_own_path(tmp_path):
    subprocess.run([CMAKE, "--install", str(BUILD), "--prefix", str(tmp_path),
                    "--component", "python"], check=True, capture_output=True)
    packages = [path.parent for path in tmp_path.rglob("erosion_thermal/__init__.py")]
    assert len(packages) == 1
    site = packages[0].parent

    environment = {key: value for key, value in os.environ.items() if key != "PYTHONPATH"}
    environment["PYTHONPATH"] = str(site)
    code = "import erosion_thermal; print(erosion_thermal.transient_temperature(0, 1))"
    done = subprocess.run([sys.executable, "-c", code], env=environment, capture_output=True,
                          text=True, check=True)
    assert float(done.stdout) == 0.0

    # Debian's python3 searches /usr/local/lib/python3.X/dist-packages (its posix_local scheme);
    # other interpreters their site-packages under their own prefix.
    local = sysconfig.get_default_scheme() == "posix_local"
    prefix = pathlib.Path(sys.prefix, "local") if local else pathlib.Path(sys.prefix)
    assert str(prefix / site.relative_to(tmp_path)) in sys.path
