#!/usr/bin/env python3
"""Runs the benchmark program and prints the tables of bench/README.md.

Every folder figure comes from a process of its own (one benchmark, one
count, one file system), so that the peak memory it reports is that run's.
For each count the floor, the run and the diagnostics are measured one after
the other, so that all of them see the same machine; before each process the
script waits (a while at most) for the machine to be quiet. With the perl
rename utility installed, its time over the same generated folders is shown
beside them.

Usage: bench/table.py BENCH_BINARY RESULTS_FOLDER [--repetitions R]
           [--counts 1000,10000,100000] [--no-diagnostics] [--no-pipeline]
           [--quiet-wait SECONDS]
"""

import argparse
import json
import os
import platform
import shutil
import subprocess
import sys
import tempfile
import time

MEDIA = ("ram", "disk")
COUNTS = (1000, 10000, 100000)

# Targets of the restore run.
MAX_RATIO = 1.2          # run / floor at 100,000 on the RAM file system
MAX_GROWTH = 1.1         # time per file at 100,000 / at 1,000
MAX_PEAK_MIB = 64.0      # peak memory at 100,000
MAX_PUMP_ADDED = 0.10    # what the pump adds to the listing

# What the perl rename utility runs: the same names as the floor.
PERL_RENAME = (
    r"s{^mmexport(\d{10}|\d{13})\.jpg$}{"
    r"my @t = length($1) == 10 ? gmtime($1 + 28800) : localtime(int($1 / 1000));"
    r'sprintf("mmexport%04d%02d%02d%02d%02d%02d.jpg",'
    r" $t[5] + 1900, $t[4] + 1, @t[3, 2, 1, 0])}e")

# Waiting for a quiet machine: at most this busy (in CPUs) over a second,
# for at most this long before each measurement.
QUIET_CPUS = 0.3
quiet_wait_s = 60

noisy = []
context = {}


def machine():
    model = "?"
    with open("/proc/cpuinfo") as f:
        for line in f:
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    memory = "?"
    with open("/proc/meminfo") as f:
        for line in f:
            if line.startswith("MemTotal:"):
                memory = "%.1f GiB" % (int(line.split()[1]) / 1024 / 1024)
                break
    return {
        "nproc": os.cpu_count(),
        "cpu": model,
        "memory": memory,
        "kernel": "%s %s" % (platform.system(), platform.release()),
    }


def cpu_times():
    with open("/proc/stat") as f:
        fields = [int(x) for x in f.readline().split()[1:]]
    idle = fields[3] + (fields[4] if len(fields) > 4 else 0)
    return sum(fields), idle


def busy_cpus(seconds=1.0):
    total0, idle0 = cpu_times()
    time.sleep(seconds)
    total1, idle1 = cpu_times()
    total = max(total1 - total0, 1)
    return (1 - (idle1 - idle0) / total) * (os.cpu_count() or 1)


def wait_for_quiet(what):
    if quiet_wait_s <= 0:
        return
    start = time.monotonic()
    while True:
        busy = busy_cpus()
        if busy <= QUIET_CPUS:
            return
        if time.monotonic() - start > quiet_wait_s:
            noisy.append("%s (%.1f CPUs busy)" % (what, busy))
            return


def base_name(entry):
    """floor/ram/1000 of floor/ram/1000/iterations:100/manual_time."""
    name = entry.get("run_name", entry["name"])
    parts = [p for p in name.split("/")
             if ":" not in p and p not in ("manual_time", "real_time")]
    return "/".join(parts)


def run_filter(binary, pattern, repetitions, out_folder, tag):
    """Runs the benchmarks matching pattern in a process of their own."""
    wait_for_quiet(tag)
    out = os.path.join(out_folder, tag.replace("/", "_") + ".json")
    command = [binary, "--benchmark_filter=^%s(/|$)" % pattern,
               "--benchmark_out_format=json", "--benchmark_out=" + out]
    if repetitions > 1:
        command += ["--benchmark_repetitions=%d" % repetitions,
                    "--benchmark_report_aggregates_only=true"]
    done = subprocess.run(command, stdout=subprocess.DEVNULL,
                          stderr=subprocess.PIPE, text=True)
    if done.returncode != 0:
        sys.exit("%s failed:\n%s" % (tag, done.stderr))
    with open(out) as f:
        report = json.load(f)
    context.update(report.get("context", {}))
    found = {}
    for entry in report["benchmarks"]:
        if entry.get("error_occurred"):
            sys.exit("%s: %s" % (base_name(entry),
                                 entry.get("error_message", "error")))
        if entry.get("run_type") == "aggregate" and \
                entry.get("aggregate_name") != "median":
            continue
        found[base_name(entry)] = entry
    return found


def one(binary, name, repetitions, out_folder):
    return run_filter(binary, name, repetitions, out_folder, name).get(name)


def milliseconds(entry):
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[entry["time_unit"]]
    return entry["real_time"] * scale


def nanoseconds(entry):
    return milliseconds(entry) * 1e6


def perl_rename():
    for candidate in ("file-rename", "prename", "rename"):
        path = shutil.which(candidate)
        if path is None:
            continue
        probe = subprocess.run([path, "--version"], capture_output=True,
                               text=True)
        text = (probe.stdout + probe.stderr).lower()
        if candidate != "rename" or "perl" in text or "file-rename" in text:
            return path
    return None


def parent_of(medium):
    if medium == "ram" and os.path.isdir("/dev/shm") and \
            os.access("/dev/shm", os.W_OK | os.X_OK):
        return "/dev/shm"
    return tempfile.gettempdir()


def time_perl_rename(binary, rename, medium, count, repetitions):
    """Median milliseconds of the perl utility over a generated folder."""
    times = []
    for _ in range(repetitions):
        folder = tempfile.mkdtemp(prefix="velkaro-rename-",
                                  dir=parent_of(medium))
        pictures = os.path.join(folder, "pictures")
        try:
            subprocess.run([binary, "--make_folder=" + pictures,
                            "--count=%d" % count], check=True)
            names = "\n".join(os.listdir(pictures)) + "\n"
            wait_for_quiet("perl rename %s/%d" % (medium, count))
            start = time.monotonic()
            subprocess.run([rename, PERL_RENAME], input=names, text=True,
                           cwd=pictures, check=True,
                           env=dict(os.environ, TZ="Asia/Shanghai"))
            times.append(time.monotonic() - start)
            checked = subprocess.run([binary, "--check_folder=" + pictures,
                                      "--count=%d" % count])
            if checked.returncode != 0:
                sys.exit("perl rename on %s/%d left other names" %
                         (medium, count))
        finally:
            shutil.rmtree(folder)
    times.sort()
    return times[len(times) // 2] * 1e3


def thousands(n):
    return "{:,}".format(n)


def main():
    global quiet_wait_s
    parser = argparse.ArgumentParser()
    parser.add_argument("binary")
    parser.add_argument("results")
    parser.add_argument("--repetitions", type=int, default=3)
    parser.add_argument("--counts", default=",".join(map(str, COUNTS)))
    parser.add_argument("--no-diagnostics", action="store_true")
    parser.add_argument("--no-pipeline", action="store_true")
    parser.add_argument("--quiet-wait", type=float, default=quiet_wait_s,
                        help="seconds to wait at most for a quiet machine "
                        "before each measurement (0: do not wait)")
    args = parser.parse_args()
    quiet_wait_s = args.quiet_wait
    counts = [int(c) for c in args.counts.split(",")]
    os.makedirs(args.results, exist_ok=True)
    reps = args.repetitions
    binary = os.path.abspath(args.binary)
    rename = perl_rename()
    diagnostics = ["floor_paths", "fix_clock", "fix_all"]
    if args.no_diagnostics:
        diagnostics = []

    info = machine()
    with open(os.path.join(args.results, "machine.json"), "w") as f:
        json.dump(info, f, indent=2)

    rows = []
    for medium in MEDIA:
        for count in counts:
            row = {"medium": medium, "count": count}
            for work in ["floor", "restore"] + diagnostics:
                row[work] = one(binary, "%s/%s/%d" % (work, medium, count),
                                reps, args.results)
            if rename is not None:
                row["perl"] = time_perl_rename(binary, rename, medium, count,
                                               reps)
            rows.append(row)
            print("  measured %s/%d" % (medium, count), file=sys.stderr)

    pump_rows = []
    for count in counts:
        row = {"count": count}
        for work in ("list", "list_pump", "list_pump_throttled",
                     "restore_pump", "window"):
            row[work] = one(binary, "%s/ram/%d" % (work, count), reps,
                            args.results)
        pump_rows.append(row)

    pipeline = {}
    if not args.no_pipeline:
        pipeline = run_filter(binary, "(pipeline|step|floor_name|fix_clock/"
                              "name_stamp)", reps, args.results, "per_file")

    print("Machine: %d CPUs, %s, %s memory, %s" % (
        info["nproc"], info["cpu"], info["memory"], info["kernel"]))
    print("Median of %d repetitions; TZ=Asia/Shanghai; Release build." % reps)
    if noisy:
        print("The machine was busy during: " + "; ".join(noisy))
    print()

    print("The restore run against the floor (wall time of one run over the "
          "folder):")
    print()
    head = ("| files   | file system  | run ms   | floor ms | ratio | "
            "run us/file | floor us/file | peak MiB run | peak MiB floor |")
    rule = ("|--------:|:-------------|---------:|---------:|------:|"
            "------------:|--------------:|-------------:|---------------:|")
    if rename is not None:
        head += " perl rename ms |"
        rule += "---------------:|"
    print(head)
    print(rule)
    for row in rows:
        run, floor, count = row["restore"], row["floor"], row["count"]
        run_ms, floor_ms = milliseconds(run), milliseconds(floor)
        line = ("| %7s | %-12s | %8.1f | %8.1f | %5.2f | %11.2f | %13.2f | "
                "%12.1f | %14.1f |" % (
                    thousands(count),
                    "%s (%s)" % (row["medium"], run.get("label", "?")),
                    run_ms, floor_ms, run_ms / floor_ms,
                    run_ms * 1e3 / count, floor_ms * 1e3 / count,
                    run["peak_rss_mib"], floor["peak_rss_mib"]))
        if rename is not None:
            line += " %14.1f |" % row["perl"]
        print(line)
    print()

    if diagnostics:
        print("Diagnostics: the floor renaming by full paths, and the run "
              "with the prototypes of bench/prototype.h (ms, ratio to the "
              "floor):")
        print()
        print("| files   | file system | floor, full paths | "
              "run, cached clock | run, cached clock + rename first |")
        print("|--------:|:------------|------------------:|"
              "------------------:|---------------------------------:|")
        for row in rows:
            floor_ms = milliseconds(row["floor"])
            cells = []
            for work in diagnostics:
                ms = milliseconds(row[work])
                cells.append("%.1f (%.2f)" % (ms, ms / floor_ms))
            print("| %7s | %-11s | %17s | %17s | %32s |" % (
                thousands(row["count"]), row["medium"], *cells))
        print()

    if pump_rows and pump_rows[0]["list_pump"] is not None:
        print("The listing alone and with the window's pump (%s, Qt "
              "offscreen, run after each file), on ram; the run with the "
              "pump, and the window's own restore:" %
              context.get("window_pump", "?"))
        print()
        print("| files   | list ms | list+pump ms | pump adds | "
              "list+pump every 10 ms | pump adds | run+pump ms | window ms |")
        print("|--------:|--------:|-------------:|----------:|"
              "----------------------:|----------:|------------:|----------:|")
        for row in pump_rows:
            a = milliseconds(row["list"])
            b = milliseconds(row["list_pump"])
            c = milliseconds(row["list_pump_throttled"])
            w = "%9.1f" % milliseconds(row["window"]) if row["window"] \
                else "        -"
            print("| %7s | %7.2f | %12.2f | %8.0f%% | %21.2f | %8.0f%% | "
                  "%11.1f | %s |" % (thousands(row["count"]), a, b,
                                     (b - a) / a * 100, c, (c - a) / a * 100,
                                     milliseconds(row["restore_pump"]), w))
        print()
    elif pump_rows:
        print("The listing alone: %s (no Qt: no pump figures)" % ", ".join(
            "%s files %.2f ms" % (thousands(r["count"]),
                                  milliseconds(r["list"]))
            for r in pump_rows))
        print()

    if pipeline:
        print("Per-file costs without I/O (ns per file):")
        print()
        print("| step                          | 10 digits | 13 digits |")
        print("|:------------------------------|----------:|----------:|")
        bases = []
        for name in pipeline:
            base = name.rsplit("/", 1)[0]
            if base not in bases:
                bases.append(base)
        for base in bases:
            cells = []
            for digits in (10, 13):
                entry = pipeline.get("%s/%d" % (base, digits))
                cells.append("%9.0f" % nanoseconds(entry) if entry else "-")
            print("| %-29s | %s | %s |" % (base, cells[0], cells[1]))
        print()

    print("Targets:")

    def verdict(text, ok):
        print("  %-4s %s" % ("met" if ok else "MISS", text))

    big, small = max(counts), min(counts)
    by_key = {(r["medium"], r["count"]): r for r in rows}
    for work, label in [("restore", "the run")] + [
            (w, "the run with " + {"fix_clock": "the cached clock",
                                   "fix_all": "both fixes"}[w])
            for w in diagnostics if w != "floor_paths"]:
        row = by_key.get(("ram", big))
        if row is None:
            continue
        ratio = milliseconds(row[work]) / milliseconds(row["floor"])
        verdict("%s: ratio to the floor at %s files on ram: %.2f (<= %.1f)"
                % (label, thousands(big), ratio, MAX_RATIO),
                ratio <= MAX_RATIO)
        if big != small:
            for medium in MEDIA:
                per_big = milliseconds(by_key[(medium, big)][work]) / big
                per_small = milliseconds(by_key[(medium, small)][work]) / small
                growth = per_big / per_small
                verdict("%s: time per file at %s / at %s on %s: %.2f "
                        "(<= %.1f)" % (label, thousands(big), thousands(small),
                                       medium, growth, MAX_GROWTH),
                        growth <= MAX_GROWTH)
    for medium in MEDIA:
        row = by_key.get((medium, big))
        if row is not None:
            peak = row["restore"]["peak_rss_mib"]
            verdict("peak memory of the run at %s files on %s: %.1f MiB "
                    "(< %.0f)" % (thousands(big), medium, peak, MAX_PEAK_MIB),
                    peak < MAX_PEAK_MIB)
    for row in pump_rows:
        if row["list_pump"] is None or row["count"] != big:
            continue
        base = milliseconds(row["list"])
        for work, label in (("list_pump", "the pump"),
                            ("list_pump_throttled",
                             "the pump dispatching every 10 ms")):
            added = milliseconds(row[work]) / base - 1
            verdict("%s adds %.0f%% to the listing of %s files (< %.0f%%)" % (
                label, added * 100, thousands(big), MAX_PUMP_ADDED * 100),
                added < MAX_PUMP_ADDED)


if __name__ == "__main__":
    main()
