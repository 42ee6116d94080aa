"""The throughput of fit_batch: 2 000 synthetic sites of 3 to 6 ages each fitted serially (one
thread), on two local threads and on a two-worker Dask LocalCluster (processes, loopback only),
as sites per second and the ratio to serial; and the per-task overhead of the cluster, measured
twice: as a task that does nothing, and as the cluster's time per site beyond the serial fit's.

    PYTHONPATH=build/python /usr/bin/python3 bench/batch_bench.py [--sites 2000] [--workers 2]

The sites: each takes one of 12 erosion rates (0.25 to 1.8 mm/yr) and 3 to 6 ages of AHe, AFT,
ZHe and ZFT, the transient model's own ages at that rate (exposure 20 Myr, the default grains)
with 5 % Gaussian noise, sigma 5 %; every site is fitted over 0.2 to 2 mm/yr in steps of 0.1 (19
rates), by the kinetic models. Not a timed test: other work on the machine distorts the
numbers, so the load average is printed before and after. Every way must give the same table, bit
for bit; the script says so or fails.
"""

import argparse
import logging
import os
import random
import time

import pandas

import erosion_thermal as et

SYSTEMS = ["AHe", "AFT", "ZHe", "ZFT"]
RATES = [0.25 + 0.14 * k for k in range(12)]
FIT = {"rates": (0.2, 2.0, 0.1), "exposure_myr": 20}


def synthetic_sites(count, seed=20250101):
    """The sites as one DataFrame: site, sample, system, age_ma, sigma_ma."""
    predicted = {}
    for rate in RATES:
        path = et.transient_path(exposure_myr=20, rate_mm_yr=rate)
        for system in SYSTEMS:
            method = "dodson" if system == "ZFT" else "kinetic"  # as the fit's method "all"
            predicted[rate, system] = float(et.age(path["time_ma"], path["temperature_c"],
                                                   system=system, method=method)["age_ma"])
    generator = random.Random(seed)
    rows = []
    for site in range(count):
        rate = generator.choice(RATES)
        for k in range(generator.randint(3, 6)):
            system = generator.choice(SYSTEMS)
            age = predicted[rate, system]
            rows.append((f"site{site:05d}", f"s{site:05d}-{k}", system,
                         round(age * (1 + 0.05 * generator.gauss(0, 1)), 4),
                         round(0.05 * age, 4)))
    return pandas.DataFrame(rows, columns=["site", "sample", "system", "age_ma", "sigma_ma"])


def timed(function):
    start = time.perf_counter()
    result = function()
    return time.perf_counter() - start, result


def noop(value):
    return value


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--sites", type=int, default=2000)
    parser.add_argument("--workers", type=int, default=2)
    arguments = parser.parse_args()

    import distributed

    data = synthetic_sites(arguments.sites)
    print(f"{arguments.sites} sites, {len(data)} ages; load average before: "
          f"{' '.join(open('/proc/loadavg').read().split()[:3])}")
    serial_s, serial = timed(lambda: et.fit_batch(data, by="site", threads=1, **FIT))
    threads_s, threaded = timed(
        lambda: et.fit_batch(data, by="site", threads=arguments.workers, **FIT))
    with distributed.LocalCluster(n_workers=arguments.workers, threads_per_worker=1,
                                  processes=True, host="127.0.0.1", dashboard_address=None,
                                  silence_logs=logging.ERROR) as cluster, \
            distributed.Client(cluster) as client:
        client.gather(client.map(noop, range(arguments.workers * 4), pure=False))  # warm up
        noop_s, _ = timed(lambda: client.gather(client.map(noop, range(arguments.sites),
                                                           pure=False)))
        cluster_s, clustered = timed(lambda: et.fit_batch(data, by="site", client=client, **FIT))
    print(f"load average after: {' '.join(open('/proc/loadavg').read().split()[:3])}")
    for name, table in (("threads", threaded), ("cluster", clustered)):
        pandas.testing.assert_frame_equal(table, serial, check_exact=True, obj=name)
    print("the three tables are the same, bit for bit")

    per_site_ms = 1000 * serial_s / arguments.sites
    print(f"{'way':<28} {'seconds':>8} {'sites/s':>9} {'ratio':>6}")
    for name, seconds in (("serial (1 thread)", serial_s),
                          (f"{arguments.workers} local threads", threads_s),
                          (f"LocalCluster, {arguments.workers} workers", cluster_s)):
        print(f"{name:<28} {seconds:>8.2f} {arguments.sites / seconds:>9.1f}"
              f" {serial_s / seconds:>6.2f}")
    overhead_ms = 1000 * (cluster_s * arguments.workers - serial_s) / arguments.sites
    noop_ms = 1000 * noop_s * arguments.workers / arguments.sites
    print(f"per-site cost serially: {per_site_ms:.2f} ms")
    print(f"per-task overhead of the cluster: {noop_ms:.2f} ms for a task that does nothing, "
          f"{overhead_ms:.2f} ms beyond the serial fit (worker time per site)")
    print(f"100 cores at that cost: some {100 * 1000 / (per_site_ms + max(noop_ms, 0)):.0f} "
          f"sites per second")


if __name__ == "__main__":
    main()
