"""fit_batch: every group of a compilation fitted alone, on local threads or as the tasks of a
two-worker Dask LocalCluster (processes on the loopback only), against the fit of each group by
fit_rate; and cooling_ages batch beside it: its shards merged, its restart after a kill."""

import logging
import os
import signal
import subprocess
import threading
import time
import warnings

import pytest

import erosion_thermal as et
from conftest import BIN, ROOT

pandas = pytest.importorskip("pandas")

OBSERVED = ROOT / "examples" / "observed_ages.csv"
RATES = (0.3, 1.5, 0.05)
# The example's first sample lies at 2950 m: the transient model's surface there, the rock it
# exposes.
TRANSIENT = {"rates": RATES, "exposure_myr": 20, "mean_elevation_m": 2950}
CLI_TRANSIENT = ["-o", "20", "--rates", "0.3:1.5:0.05", "--mean-elevation", "2950"]


def compilation(path, sites):
    """The four ages of the example's first sample (AHe, AFT, ZHe, ZFT) as many sites, each
    site's ages scaled by its own factor (so that each finds its own rate), written to path;
    returns the DataFrame."""
    example = pandas.read_csv(OBSERVED, comment="#").head(4)
    frames = []
    for k in range(sites):
        frame = example.copy()
        frame.insert(0, "site", f"S{k:03d}")
        frame["age_ma"] = (frame["age_ma"] * (0.7 + 0.6 * k / sites)).round(3)
        frames.append(frame)
    table = pandas.concat(frames, ignore_index=True)
    table.to_csv(path, index=False)
    return table


def quietly(function, *arguments, **options):
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        return function(*arguments, **options)


@pytest.fixture(scope="module")
def cluster():
    """Two worker processes of one thread each, on 127.0.0.1, with their nannies (which start
    a worker anew when its process dies)."""
    distributed = pytest.importorskip("distributed")
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                                  host="127.0.0.1", dashboard_address=None,
                                  silence_logs=logging.ERROR) as local:
        with distributed.Client(local) as client:
            yield client


def test_each_row_is_the_fit_of_its_group_alone(tmp_path):
    data = compilation(tmp_path / "c.csv", 4)
    table = et.fit_batch(data, by="site", **TRANSIENT)
    assert list(table["group"]) == ["S000", "S001", "S002", "S003"]
    assert list(table.columns[:4]) == ["group", "ages", "status", "best_rate_mm_yr"]
    for _, row in table.iterrows():
        fit = quietly(et.fit_rate, data[data["site"] == row["group"]], **TRANSIENT)
        # The same computation: the same doubles.
        assert row["status"] == "fitted"
        assert row["ages"] == 4
        assert row["best_rate_mm_yr"] == fit["best"]
        assert row["rate_low_mm_yr"] == fit["low"]
        assert row["rate_high_mm_yr"] == fit["high"]
        assert row["chi2"] == fit["chi2_min"]
        assert row["reduced_chi2"] == fit["reduced_chi2"]
        assert row["chi2_level"] == fit["chi2_level"]
    # Older ages, slower erosion.
    assert table["best_rate_mm_yr"].is_monotonic_decreasing


def test_a_refused_group_holds_its_refusal_and_the_others_go_on(tmp_path):
    data = compilation(tmp_path / "c.csv", 3)
    data.loc[5, "sigma_ma"] = -1  # a row of S001, line 7 of the DataFrame's CSV
    table = et.fit_batch(data, by="site", **TRANSIENT)
    assert list(table["status"]) == ["fitted", "refused", "fitted"]
    assert table["refusal"][1] == "DataFrame line 7: sigma_ma must be > 0, got -1.0"
    data["sigma_ma"] = -1
    with pytest.raises(ValueError, match="every group was refused; the first, 'S000': "):
        et.fit_batch(data, by="site", **TRANSIENT)


def test_options_no_group_could_use_are_refused_at_once(tmp_path):
    data = compilation(tmp_path / "c.csv", 2)
    with pytest.raises(ValueError, match="--rates"):
        et.fit_batch(data, by="site", rates=(1.0, 0.5, 0.1))
    with pytest.raises(TypeError, match="exposure_myr"):
        et.fit_batch(data, by="site", rates=RATES, exposure_my=20)
    with pytest.raises(ValueError, match="no column 'region'"):
        et.fit_batch(data, by="region", **TRANSIENT)


def test_a_cluster_gives_the_rows_of_local_threads_bit_for_bit(tmp_path, cluster):
    data = compilation(tmp_path / "c.csv", 12)
    local = et.fit_batch(data, by="site", threads=2, **TRANSIENT)
    serial = et.fit_batch(data, by="site", threads=1, **TRANSIENT)
    on_cluster = et.fit_batch(data, by="site", client=cluster, **TRANSIENT)
    pandas.testing.assert_frame_equal(local, serial, check_exact=True)
    pandas.testing.assert_frame_equal(on_cluster, local, check_exact=True)
    # The history model too, every group one task (its samples placed at their heights).
    history = {"erosion": "20:0.5", "phases": 1, "rates": (0.1, 2.0), "mean_elevation_m": 0}
    small = data[data["site"].isin(["S000", "S005"])]
    pandas.testing.assert_frame_equal(
        et.fit_batch(small, by="site", model="history", client=cluster, **history),
        et.fit_batch(small, by="site", model="history", **history), check_exact=True)


def test_a_worker_killed_mid_batch_loses_no_group(tmp_path, cluster):
    # Slow enough groups (a fine sweep) that the kill lands while tasks are in flight.
    slow = {"rates": (0.3, 1.5, 0.005), "exposure_myr": 20, "mean_elevation_m": 2950}
    data = compilation(tmp_path / "c.csv", 16)
    expected = et.fit_batch(data, by="site", **slow)
    pids = cluster.run(os.getpid)
    result = {}
    batch = threading.Thread(target=lambda: result.update(
        table=et.fit_batch(data, by="site", client=cluster, **slow)))
    batch.start()
    killed = None
    deadline = time.monotonic() + 60
    while killed is None and batch.is_alive() and time.monotonic() < deadline:
        processing = cluster.processing()
        busy = [worker for worker, tasks in processing.items() if tasks and worker in pids]
        done = sum(1 for key in cluster.who_has() if cluster.who_has()[key])
        if busy and done >= 2:
            killed = busy[0]
            os.kill(pids[killed], signal.SIGKILL)
        time.sleep(0.01)
    batch.join(120)
    assert killed is not None, "the batch ended before a worker could be killed"
    assert not batch.is_alive()
    pandas.testing.assert_frame_equal(result["table"], expected, check_exact=True)


def run_batch(*arguments):
    return subprocess.run([str(BIN / "cooling_ages"), "batch", *map(str, arguments)],
                          capture_output=True, text=True)


def test_shards_merged_equal_the_whole_and_the_modules_table(tmp_path):
    path = tmp_path / "c.csv"
    data = compilation(path, 9)
    whole = run_batch("--observed", path, "--by", "site", *CLI_TRANSIENT)
    assert whole.returncode == 0, whole.stderr
    shards = []
    for i in range(1, 5):
        shards.append(tmp_path / f"shard{i}.csv")
        done = run_batch("--observed", path, "--by", "site", "--shard", f"{i}/4", "--output",
                         shards[-1], *CLI_TRANSIENT)
        assert done.returncode == 0, done.stderr
    merged = run_batch("--merge", *shards, "--observed", path, "--by", "site")
    assert merged.returncode == 0, merged.stderr
    assert merged.stdout == whole.stdout
    # The program writes every number as the double it computed: the module's table, read back.
    (tmp_path / "whole.csv").write_text(whole.stdout)
    read = pandas.read_csv(tmp_path / "whole.csv", float_precision="round_trip",
                           keep_default_na=False, na_values=[""])
    module = et.fit_batch(path, by="site", **TRANSIENT)
    for column in module.columns:
        if module[column].dtype == object:
            assert list(read[column].fillna("")) == list(module[column]), column
        else:
            assert list(read[column].astype(float)) == pytest.approx(
                list(module[column]), rel=0, abs=0, nan_ok=True), column


def test_a_restart_after_a_killed_batch_fits_only_the_unfinished_groups(tmp_path):
    path = tmp_path / "c.csv"
    compilation(path, 12)
    results = tmp_path / "results"
    fine = ["-o", "20", "--rates", "0.3:1.5:0.005", "--mean-elevation", "2950"]
    arguments = [str(BIN / "cooling_ages"), "batch", "--observed", str(path), "--by", "site",
                 "--results", str(results), "--threads", "1", *fine]
    batch = subprocess.Popen(arguments, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    deadline = time.monotonic() + 60
    while time.monotonic() < deadline:
        finished = list(results.glob("*.txt")) if results.exists() else []
        if len(finished) >= 3:
            break
        time.sleep(0.005)
    batch.send_signal(signal.SIGKILL)
    batch.wait()
    kept = {file.name: (file.stat().st_mtime_ns, file.read_bytes()) for file in results.glob("*.txt")}
    assert 3 <= len(kept) < 12, "the batch was not killed mid-way"

    again = subprocess.run(arguments, capture_output=True, text=True)
    assert again.returncode == 0, again.stderr
    assert f"; {len(kept)} of them done before, kept in {results}" in again.stderr
    # The groups done before were left as they were; the others are there now.
    for name, (mtime, text) in kept.items():
        assert (results / name).stat().st_mtime_ns == mtime
        assert (results / name).read_bytes() == text
    assert len(list(results.glob("*.txt"))) == 12
    assert not [file for file in results.iterdir() if file.name.endswith(".tmp")]
    whole = run_batch("--observed", path, "--by", "site", *fine)
    assert again.stdout == whole.stdout


HISTORY_OBSERVED = ROOT / "examples" / "history_ages.csv"
CHAINS = {"sampler": "mcmc", "steps": 30, "seed": 5, "chains": 3}


def test_chains_as_tasks_merge_into_the_fit_on_local_threads(cluster, tmp_path):
    local = quietly(et.fit_history, HISTORY_OBSERVED, "30:0.1", 2, **CHAINS)
    tasks = quietly(et.fit_history, HISTORY_OBSERVED, "30:0.1", 2, client=cluster, **CHAINS)
    assert tasks["summary"] == local["summary"]
    assert tasks["best"] == local["best"]
    assert tasks["diagnostics"] == local["diagnostics"]
    pandas.testing.assert_frame_equal(tasks["posterior"], local["posterior"], check_exact=True)
    pandas.testing.assert_frame_equal(tasks["tried"], local["tried"], check_exact=True)
    # Three ensembles of 12 walkers, each parameter with its split R-hat and effective size.
    assert set(local["posterior"]["walker"]) == set(range(1, 37))
    assert set(local["diagnostics"]) == {"rate_1_mm_yr", "start_2_ma", "rate_2_mm_yr"}
    assert "sampler: 3 chains of 12 walkers x 30 steps" in local["summary"]
    # The program's --chains runs the same chains on its threads.
    done = subprocess.run([str(BIN / "cooling_ages"), "history", "--erosion", "30:0.1",
                           "--observed", str(HISTORY_OBSERVED), "--fit-phases", "2",
                           "--sampler", "mcmc", "--steps", "30", "--seed", "5", "--chains", "3",
                           "--output", str(tmp_path / "table.csv")],
                          capture_output=True, text=True)
    assert done.returncode == 0, done.stderr
    assert done.stderr == local["summary"]
    assert "effective sample of" in done.stderr  # 30 steps are too few: warned of
