"""The throughput of fit_batch: 2 000 synthetic sites of 3 to 6 ages each fitted serially (one
thread), on two local threads and on a two-worker Dask LocalCluster (processes, loopback only),
as sites per second and the ratio to serial, with the CPU time each way took; and the overhead of
the cluster: the cost of a task that does nothing (the cluster's own), and per site the cluster's
time, and its workers' CPU time, beyond the serial fit's. fit_batch hands a worker a few
consecutive groups a task, so that the cluster's cost of a task is shared by them.

    PYTHONPATH=build/python /usr/bin/python3 bench/batch_bench.py [--sites 2000] [--workers 2]

The sites: each takes one of 12 erosion rates (0.25 to 1.8 mm/yr) and 3 to 6 ages of AHe, AFT,
ZHe and ZFT, the transient model's own ages at that rate (exposure 20 Myr, the default grains)
with 5 % Gaussian noise, sigma 5 %; every site is fitted over 0.2 to 2 mm/yr in steps of 0.1 (19
rates), by the kinetic models. Not a timed test: other work on the machine distorts the
numbers, so the load average is printed before and after, and the CPU times beside the wall times
(on a loaded machine the wall time of a way is the scheduler's share, while CPU time is the work):
the "CPU ratio" is the throughput ratio an idle machine would give, the ways' CPU per site against
the serial one's. Every way must give the same table, bit for bit; the script says so or fails.
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


def cpu_timed(function):
    """Wall seconds, CPU seconds of this process (all its threads) and the result."""
    cpu = time.process_time()
    seconds, result = timed(function)
    return seconds, time.process_time() - cpu, result


def workers_cpu(client):
    """The CPU seconds every worker process has used so far, summed."""
    return sum(client.run(time.process_time).values())


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
    serial_s, serial_cpu, serial = cpu_timed(
        lambda: et.fit_batch(data, by="site", threads=1, **FIT))
    threads_s, threads_cpu, threaded = cpu_timed(
        lambda: et.fit_batch(data, by="site", threads=arguments.workers, **FIT))
    with distributed.LocalCluster(n_workers=arguments.workers, threads_per_worker=1,
                                  processes=True, host="127.0.0.1", dashboard_address=None,
                                  silence_logs=logging.ERROR) as cluster, \
            distributed.Client(cluster) as client:
        client.gather(client.map(noop, range(arguments.workers * 4), pure=False))  # warm up
        noop_s, _ = timed(lambda: client.gather(client.map(noop, range(arguments.sites),
                                                           pure=False)))
        before = workers_cpu(client)
        cluster_s, client_cpu, clustered = cpu_timed(
            lambda: et.fit_batch(data, by="site", client=client, **FIT))
        cluster_cpu = workers_cpu(client) - before
    print(f"load average after: {' '.join(open('/proc/loadavg').read().split()[:3])}")
    for name, table in (("threads", threaded), ("cluster", clustered)):
        pandas.testing.assert_frame_equal(table, serial, check_exact=True, obj=name)
    print("the three tables are the same, bit for bit")

    per_site_ms = 1000 * serial_cpu / arguments.sites
    print(f"{'way':<28} {'seconds':>8} {'CPU s':>8} {'sites/s':>9} {'ratio':>6} {'CPU ratio':>9}")
    for name, seconds, cpu, workers in (
            ("serial (1 thread)", serial_s, serial_cpu, 1),
            (f"{arguments.workers} local threads", threads_s, threads_cpu, arguments.workers),
            (f"LocalCluster, {arguments.workers} workers", cluster_s, cluster_cpu,
             arguments.workers)):
        print(f"{name:<28} {seconds:>8.2f} {cpu:>8.2f} {arguments.sites / seconds:>9.1f}"
              f" {serial_s / seconds:>6.2f} {workers * serial_cpu / cpu:>9.2f}")
    print(f"(the client's own CPU time beside the cluster's workers: {client_cpu:.2f} s)")
    overhead_ms = 1000 * (cluster_s * arguments.workers - serial_s) / arguments.sites
    overhead_cpu_ms = 1000 * (cluster_cpu - serial_cpu) / arguments.sites
    noop_ms = 1000 * noop_s * arguments.workers / arguments.sites
    print(f"per-site cost serially: {per_site_ms:.2f} ms of CPU "
          f"({1000 * serial_s / arguments.sites:.2f} ms wall)")
    print(f"overhead of the cluster: {noop_ms:.2f} ms for a task that does nothing (the "
          f"cluster's own); per site beyond the serial fit {overhead_ms:.2f} ms of worker time, "
          f"{overhead_cpu_ms:.2f} ms of worker CPU")
    print(f"100 cores at that cost: some "
          f"{100 * 1000 / (per_site_ms + max(overhead_cpu_ms, 0)):.0f} sites per second")


if __name__ == "__main__":
    main()
