"""The scale-out measurements behind bench/scale_out.sh.

Every way scans the same files with the same script; the ways take turns in
each round, so that a busy machine slows them alike, and the medians of the
rounds are reported.
"""

import argparse
import concurrent.futures
import os
import pathlib
import platform
import statistics
import subprocess
import tempfile
import time

import distributed
import psutil

import lexora
import lexora.dask


def corpus_files(data):
    # The messages of the corpus, as the comparison benchmark reads them.
    return sorted(str(p) for p in pathlib.Path(data).glob("*/*.txt") if p.is_file())


def timed(job):
    start = time.perf_counter()
    job()
    return time.perf_counter() - start


class CpuClock:
    """Processor seconds spent by this process, its finished children and the
    given live processes (Dask's workers): on a shared machine a fairer
    measure of a way's cost than the wall clock."""

    def __init__(self, pids=()):
        self.processes = [psutil.Process()] + [psutil.Process(p) for p in pids]

    def now(self):
        total = 0.0
        for process in self.processes:
            t = process.cpu_times()
            total += t.user + t.system
        t = self.processes[0].cpu_times()
        return total + t.children_user + t.children_system

    def measure(self, job):
        start, wall = self.now(), time.perf_counter()
        job()
        return time.perf_counter() - wall, self.now() - start


def run_quietly(command, **kwargs):
    done = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, check=False, **kwargs)
    if done.returncode not in (0, 1):  # 1: some file failed, which the results show
        raise RuntimeError(f"{command[0]} failed: {done.stderr.decode()}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--data", required=True)
    parser.add_argument("--lexora", required=True)
    parser.add_argument("--script", required=True)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--results")
    o = parser.parse_args()

    files = corpus_files(o.data)
    total_bytes = sum(os.path.getsize(f) for f in files)
    script_text = pathlib.Path(o.script).read_text()
    script = lexora.Script(script_text)
    listing = tempfile.NamedTemporaryFile("w", suffix=".files", delete=False)
    listing.write("".join(f + "\n" for f in files))
    listing.close()
    for f in files:  # into the page cache before anything is timed
        pathlib.Path(f).read_bytes()

    def cli(threads):
        with open(listing.name, "rb") as names:
            run_quietly([o.lexora, "scan", "--json", "-j", str(threads), "--files-from", "-", o.script],
                        stdin=names)

    def python_threads(scan_files):
        # Two threads take the next files in turn, as lexora scan's threads do:
        # 64 at a time through scan_files, or one at a time through scan.
        paths = list(map(pathlib.Path, files))
        if scan_files:
            work = iter([paths[i:i + 64] for i in range(0, len(paths), 64)])
            scan = lambda: [r for chunk in work for r in script.scan_files(chunk)]
        else:
            work = iter(paths)
            scan = lambda: [script.scan(p) for p in work]
        with concurrent.futures.ThreadPoolExecutor(2) as pool:
            parts = list(pool.map(lambda _: scan(), range(2)))
        assert sum(map(len, parts)) == len(files)

    def gnu_parallel():
        # Two long-lived lexora processes, handed blocks of names in turn.
        with open(listing.name, "rb") as names:
            run_quietly(["parallel", "--pipe", "--round-robin", "-j", "2", "--block", "16k",
                         o.lexora, "scan", "--json", "-j", "1", "--files-from", "-", o.script], stdin=names)

    started = time.perf_counter()
    cluster = distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                                       dashboard_address=None)
    client = distributed.Client(cluster)
    cluster_start = time.perf_counter() - started

    def dask_scan(partition_size=None):
        results = lexora.dask.scan(client, script_text, files, partition_size=partition_size).compute()
        assert len(results) == len(files)

    default_size = lexora.dask.partition_size_for(len(files), 2)
    dask_scan()  # the workers import the module and compile the script once
    ways = {
        "lexora scan -j 2": lambda: cli(2),
        "Python module, 2 threads, `scan_files` (64 files a call)": lambda: python_threads(True),
        "Python module, 2 threads, `scan` (a file a call)": lambda: python_threads(False),
        f"Dask, 2-process LocalCluster (partitions of {default_size})": dask_scan,
        "2 lexora scan processes fed by GNU parallel": gnu_parallel,
    }
    clock = CpuClock(client.run(os.getpid).values())
    times = {name: [] for name in ways}
    cpu = {name: [] for name in ways}
    single = []
    for _ in range(o.runs):
        for name, job in ways.items():
            wall, used = clock.measure(job)
            times[name].append(wall)
            cpu[name].append(used)
        single.append(clock.measure(lambda: cli(1))[1])
    medians = {name: statistics.median(t) for name, t in times.items()}
    cpu_medians = {name: statistics.median(t) for name, t in cpu.items()}

    # Dask's own cost per task: trivial tasks on both workers, as worker time
    # (wall clock, latency included) and as processor time of every process.
    tasks = 2000
    overhead_runs = [clock.measure(lambda: client.gather(client.map(int, range(tasks), pure=False)))
                     for _ in range(3)]
    task_wall = 2 * statistics.median(w for w, _ in overhead_runs) / tasks
    task_overhead = statistics.median(c for _, c in overhead_runs) / tasks
    sweep = {size: statistics.median(timed(lambda: dask_scan(size)) for _ in range(3)) for size in (16, 64)}
    client.close()
    cluster.close()
    os.unlink(listing.name)

    per_file = statistics.median(single) / len(files)  # one core's processor seconds per message
    mean_size = total_bytes / len(files)
    partition = 20 * task_overhead / per_file  # overhead / (k * per_file) < 5 %
    core_rate = mean_size / per_file  # bytes per second of one worker process
    big = lexora.dask.MAX_PARTITION_SIZE  # what an archive of many files gets
    cluster_rate = 100 * core_rate * per_file * big / (per_file * big + task_overhead)
    archive = 10e12

    base = medians["lexora scan -j 2"]
    cpu_base = cpu_medians["lexora scan -j 2"]
    lines = [
        "# Scale-out measurements",
        "",
        "Written by `bench/scale_out.sh`; the last run.",
        "",
        f"- Machine: {platform.machine()}, {os.cpu_count()} cores, load average "
        f"{os.getloadavg()[0]:.1f} at the end; Python {platform.python_version()}, lexora {lexora.__version__}.",
        f"- Corpus: {len(files)} messages, {total_bytes / 1e6:.1f} MB (mean {mean_size / 1e3:.1f} kB), "
        f"read from the page cache; script `{o.script}` ({len(script.expressions)} statements).",
        f"- Medians of {o.runs} rounds; the ways take turns within a round. Wall: elapsed seconds; "
        "processor: user and system seconds of every process of the way (Dask: client, scheduler and workers).",
        "",
        "| way | wall s | messages/s | MB/s | ratio to `lexora scan -j 2` | processor s | ratio by processor time |",
        "|---|---:|---:|---:|---:|---:|---:|",
    ]
    for name, seconds in medians.items():
        lines.append(f"| {name} | {seconds:.2f} | {len(files) / seconds:,.0f} | "
                     f"{total_bytes / 1e6 / seconds:.1f} | {base / seconds:.2f} | "
                     f"{cpu_medians[name]:.2f} | {cpu_base / cpu_medians[name]:.2f} |")
    lines += [
        "",
        f"Dask's LocalCluster took {cluster_start:.1f} s to start (not in the table). "
        f"Partition sizes, seconds: " + ", ".join(f"{k} files {v:.2f}" for k, v in sweep.items()) + ".",
        "",
        "## On paper",
        "",
        f"- One core scans a message in {per_file * 1e6:.0f} µs (`lexora scan -j 1`: "
        f"{statistics.median(single):.2f} processor seconds for the corpus, {mean_size / per_file / 1e6:.1f} MB/s).",
        f"- Dask costs {task_overhead * 1e3:.2f} ms of processor time per task over all its processes "
        f"(2,000 empty tasks on the 2 workers); counted as worker time, latency included, "
        f"{task_wall * 1e3:.2f} ms, which a busy machine inflates and which a worker with queued tasks does not wait for. "
        f"By the worker time a task would need {20 * task_wall / per_file:.0f} messages.",
        f"- Overhead below 5 % needs a task to hold at least 20 × {task_overhead * 1e3:.2f} ms / "
        f"{per_file * 1e6:.0f} µs = **{partition:.0f} messages**; this corpus on 2 workers got partitions of "
        f"{default_size} ({100 * task_overhead / (default_size * per_file):.1f} %), a large archive gets "
        f"{big} ({100 * task_overhead / (big * per_file):.1f} %).",
        f"- 100 single-threaded workers with partitions of {big} scan **{cluster_rate / 1e9:.2f} GB/s**, so a 10 TB archive of "
        f"such mail takes **{archive / cluster_rate / 3600:.1f} hours**, provided storage and network deliver "
        f"{cluster_rate / 1e9:.2f} GB/s ({cluster_rate * 8 / 1e9:.0f} Gbit/s) and the scheduler keeps up with "
        f"{100 / (big * per_file + task_overhead):,.0f} tasks/s.",
    ]
    text = "\n".join(lines) + "\n"
    print(text)
    if o.results:
        pathlib.Path(o.results).write_text(text)


if __name__ == "__main__":
    main()
