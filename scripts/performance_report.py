#!/usr/bin/env python3
"""The test "performance_report" of the perf tree: rewrites docs/performance.md
(performance.md.in filled) from Google Benchmark's and hyperfine's JSON, each figure a
median on this machine, every saved solution checked.

  performance_report.py <source> <perf tree> <windows32 tree> <windows64 tree>
                        <baseline tree> <baseline commit>

Runs: RUNS (default 10) for short programs, MEMO_RUNS (3) for the slow grids,
SPARSE_RUNS (1) for the sparse ones, whose earlier solver takes about a minute."""

import datetime
import json
import os
import platform
import shutil
import subprocess
import sys
from pathlib import Path

RUNS = int(os.environ.get("RUNS", 10))
MEMO_RUNS = int(os.environ.get("MEMO_RUNS", 3))
SPARSE_RUNS = int(os.environ.get("SPARSE_RUNS", 1))


def out(*command, **options):
    return subprocess.run(command, check=True, capture_output=True, text=True, **options).stdout


def bench(program, work, pattern):
    """[(benchmark name, {counter: median})] over 5 repetitions."""
    json_file = work / f"{pattern}.json"
    out(program, f"--benchmark_filter={pattern}", "--benchmark_repetitions=5",
        "--benchmark_report_aggregates_only=true", f"--benchmark_out={json_file}",
        "--benchmark_out_format=json")
    return [(b["run_name"], b) for b in json.loads(json_file.read_text())["benchmarks"]
            if b.get("aggregate_name") == "median"]


def hyperfine(work, name, commands, runs, warmup=1):
    """{command name: median milliseconds} of one hyperfine run of every command."""
    arguments = [a for label, command in commands.items() for a in ("-n", label, command)]
    out("hyperfine", "--style", "none", "--warmup", str(warmup), "--runs", str(runs),
        "--ignore-failure", "--export-json", str(work / f"{name}.json"), *arguments)
    results = json.loads((work / f"{name}.json").read_text())["results"]
    return {r["command"]: 1000 * r["median"] for r in results}


def placed(work, name, grid_file, programs, grid_folders):
    """Each grid of the file beside a copy of each program: {"<n>-<label>": folder}, steps."""
    steps = [line.split()[1] for line in
             out(grid_folders, grid_file, str(work / name)).splitlines()]
    folders = {}
    for n in range(len(steps)):
        for label, program in programs.items():
            folders[f"{n}-{label}"] = folder = work / name / f"{n}-{label}"
            shutil.copytree(work / name / str(n), folder)
            shutil.copy(program, folder)
    return folders, steps


def timed(work, name, folders, runs, warmup=1, wine="", extra=None):
    """The programs of the folders timed in one hyperfine run (a Windows program under the
    Wine loader), then each saved solution checked."""
    def command(folder):
        program = next(folder.glob("sudoku*"))
        return f"cd / && {wine + ' ' if program.suffix == '.exe' else ''}{program}"
    ms = hyperfine(work, name, {**{run: command(f) for run, f in folders.items()},
                                **(extra or {})}, runs, warmup)
    for folder in folders.values():
        expected, saved = folder / "expected.txt", folder / "solution.txt"
        if expected.exists() and (not saved.exists() or saved.read_bytes() != expected.read_bytes()):
            sys.exit(f"{folder}: the program saved a wrong solution")
    return ms


def peak_mb(folder):
    report = subprocess.run(["/usr/bin/time", "-f", "%M", str(next(folder.glob("sudoku*")))],
                            capture_output=True, text=True, check=True).stderr
    return int(report.split()[-1]) / 1024


def verdict(sound):
    return "meets" if sound else "misses"


def compared(ms, steps, new, old, title):
    """Table rows of new against old per grid; the set's sums, their ratio, the slowest's."""
    rows = "\n".join(f"| {title} {n} | {count} | {ms[f'{n}-{new}']:.1f} | {ms[f'{n}-{old}']:.1f}"
                     f" | {ms[f'{n}-{new}'] / ms[f'{n}-{old}']:.2f} |"
                     for n, count in enumerate(steps))
    a, b = (sum(ms[f"{n}-{label}"] for n in range(len(steps))) for label in (new, old))
    slowest = max(range(len(steps)), key=lambda n: ms[f"{n}-{old}"])
    return rows, a, b, a / b, ms[f"{slowest}-{new}"] / ms[f"{slowest}-{old}"]


def main(source, tree, windows32, windows64, baseline_tree, baseline):
    source, tree, grids = Path(source), Path(tree), Path(source) / "grids"
    work = tree / "perf"
    shutil.rmtree(work, ignore_errors=True)
    work.mkdir()
    korvane = tree / "korvane/linux/korvane"
    new, plain = tree / "source_resolveur/sudoku", tree / "bench/solver/sudoku_sans_memo"
    old = Path(baseline_tree) / "source_resolveur/sudoku"
    grid_folders = str(tree / "bench/grid_folders")
    # Timing under the emulator would measure the emulator, not Windows: where the kernel
    # runs no 32-bit programs itself, the 64-bit build runs under wine64 at native speed.
    native32 = (subprocess.run(["/usr/lib/wine/wine", "--version"], capture_output=True)
                .returncode == 0 and not Path("/proc/sys/fs/binfmt_misc/qemu-i386").exists())
    windows, wine = ((Path(windows32), "wine") if native32 else
                     (Path(windows64), "/usr/lib/wine/wine64"))
    os.environ["DISPLAY"] = Path(os.environ["WINEPREFIX"] + ".session/display").read_text().strip()

    print("benchmarks", flush=True)
    v = {"engine_rate": int(bench(tree / "bench/engine/engine_bench", work,
                                  "WholePuzzle")[0][1]["puzzles"])}
    solver_bench = tree / "bench/solver/solver_bench"
    v["idle"] = bench(solver_bench, work, "MemoInactif")[0][1]["idle_ratio"]
    v["solver_rows"] = "\n".join(
        f"| {name.split('/')[-1]} | {b['ns_per_step']:.1f} | {b['baseline_ns_per_step']:.1f} | "
        f"{b['ratio']:.2f} | {verdict(b['ns_per_step'] <= 50)} |"
        for name, b in bench(solver_bench, work, "Recherche"))

    print("whole programs", flush=True)
    for folder in ("korvane-native", "korvane-wine", "typical/0"):
        (work / folder).mkdir(parents=True)
    subprocess.run([korvane], cwd=work / "korvane-native")
    mask = (work / "korvane-native/masque.txt").read_text().split()
    (work / "typical/0/grille.txt").write_text(
        "".join(" ".join(mask[9 * r:9 * r + 9]) + "\r\n" for r in range(9)), newline="")
    programs = {"new": new, "wine": windows / "source_resolveur/sudoku.exe", "old": old}
    folders, hard_steps = placed(work, "hard", str(grids / "hard-boards.txt"), programs,
                                 grid_folders)
    hard = len(hard_steps) - 1
    for label, program in programs.items():
        folders[f"typical-{label}"] = work / "typical" / label
        shutil.copytree(work / "typical/0", folders[f"typical-{label}"])
        shutil.copy(program, folders[f"typical-{label}"])
    native = timed(work, "native", {"hard": folders[f"{hard}-new"]}, RUNS,
                   extra={"korvane": f"cd {work / 'korvane-native'} && {korvane}"})
    # About 2 ms a run: against the earlier solver over many more runs.
    typical = timed(work, "typical", {"new": folders["typical-new"], "old": folders["typical-old"]},
                    30 * RUNS, 10)
    native["typical"] = typical["new"]
    wined = timed(work, "wine", {"hard": folders[f"{hard}-wine"], "typical": folders["typical-wine"]},
                  RUNS, wine=wine, extra={
                      "korvane": f"cd {work / 'korvane-wine'} && {wine} "
                                 f"{windows / 'korvane/window/korvane.exe'}",
                      "start": f"{wine} cmd /c exit"})

    print("the slow and the sparse grids", flush=True)
    slow_folders, slow_steps = placed(work, "slow", str(grids / "slow-grids.txt"),
                                      {"new": new, "plain": plain}, grid_folders)
    sparse_folders, sparse_steps = placed(work, "sparse", str(grids / "sparse-grids.txt"),
                                          {"new": new, "old": old}, grid_folders)
    unrepeated_folders, unrepeated_steps = placed(
        work, "unrepeated", str(grids / "unrepeated-grid.txt"),
        {"new": new, "plain": plain, "old": old}, grid_folders)
    unrepeated = timed(work, "unrepeated", unrepeated_folders, RUNS)
    v["slow_rows"], *slow = compared(timed(work, "slow", slow_folders, MEMO_RUNS, 0), slow_steps,
                                     "new", "plain", "slow grid")
    v["sparse_rows"], *sparse = compared(timed(work, "sparse", sparse_folders, SPARSE_RUNS, 0),
                                         sparse_steps, "new", "old", "sparse grid")
    peak = max(peak_mb(f) for run, f in {**slow_folders, **sparse_folders}.items()
               if run.endswith("-new"))

    r = {"slow": slow, "sparse": sparse, "unrepeated_plain": unrepeated["0-new"] /
         unrepeated["0-plain"], "unrepeated_old": unrepeated["0-new"] / unrepeated["0-old"],
         "typical_old": typical["new"] / typical["old"],
         "hard_ratio": wined["hard"] / native["hard"]}
    v.update(r, native=native, typical=typical, wined=wined, unrepeated=unrepeated, peak=peak,
             baseline=baseline, plain_peak=peak_mb(slow_folders["0-plain"]),
             hard_steps=hard_steps[hard], unrepeated_steps=unrepeated_steps[0], wine=wine,
             runs=RUNS, typical_runs=30 * RUNS, memo_runs=MEMO_RUNS, sparse_runs=SPARSE_RUNS,
             search_native=native["hard"] - native["typical"],
             search_wine=wined["hard"] - wined["typical"],
             now=datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%d %H:%M UTC"),
             commit=out("git", "rev-parse", "--short", "HEAD", cwd=source).strip(),
             cores=os.cpu_count(), system=f"{platform.system()} {platform.release()}",
             cpu=next((line.split(":", 1)[1].strip() for line in open("/proc/cpuinfo")
                       if line.startswith("model name")), platform.processor()),
             wine_version=out("dpkg-query", "-W", "-f=${Version}", "wine"),
             windows_kind="the 32-bit Windows build under Wine" if native32 else
             "a 64-bit Windows build of the same sources under wine64: this kernel runs 32-bit "
             "programs only through an emulator, whose figures would measure the emulator, not "
             "Windows")
    v["search_ratio"] = v["search_wine"] / v["search_native"]
    v["wine_ratios"] = {k: wined[k] / native[k] for k in ("korvane", "typical", "hard")}
    v["verdicts"] = {
        "engine": verdict(v["engine_rate"] >= 1500), "peak": verdict(peak <= 64),
        "slow": verdict(slow[2] <= 0.2 and slow[3] <= 0.2),
        "sparse": verdict(sparse[2] <= 0.25 and sparse[3] <= 0.25),
        "old": verdict(r["unrepeated_old"] <= 1.05 and r["typical_old"] <= 1.05),
        "wine": verdict(r["hard_ratio"] <= 1.5)}
    report = Path(__file__).with_name("performance.md.in").read_text().format_map(v)
    (source / "docs/performance.md").write_text(report)
    print(report)


if __name__ == "__main__":
    main(*sys.argv[1:])
