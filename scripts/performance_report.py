#!/usr/bin/env python3
"""The test "performance_report" of the perf tree: rewrites docs/performance.md from
Google Benchmark's and hyperfine's JSON, each figure a median on this machine, every
saved solution checked.

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
    """{benchmark name: {counter: median}} over 5 repetitions."""
    json_file = work / (Path(program).name + pattern + ".json")
    out(program, f"--benchmark_filter={pattern}", "--benchmark_repetitions=5",
        "--benchmark_report_aggregates_only=true", f"--benchmark_out={json_file}",
        "--benchmark_out_format=json")
    return {b["run_name"]: b for b in json.loads(json_file.read_text())["benchmarks"]
            if b.get("aggregate_name") == "median"}


def hyperfine(work, name, commands, runs, warmup=1):
    """{command name: median milliseconds} of one hyperfine run of every command."""
    arguments = [a for label, command in commands.items() for a in ("-n", label, command)]
    json_file = work / f"{name}.json"
    out("hyperfine", "--style", "none", "--warmup", str(warmup), "--runs", str(runs),
        "--ignore-failure", "--export-json", str(json_file), *arguments)
    return {r["command"]: 1000 * r["median"] for r in json.loads(json_file.read_text())["results"]}


def grid_runs(work, name, grid_file, programs, grid_folders):
    """Each grid of the file beside a copy of each program: {run: command}, steps, folders."""
    listing = out(grid_folders, grid_file, str(work / name / "grids"))
    steps, commands, folders = [], {}, []
    for line in listing.splitlines():
        n, count = line.split()
        steps.append(int(count))
        for label, program in programs.items():
            folder = work / name / f"{n}-{label}"
            shutil.copytree(work / name / "grids" / n, folder)
            shutil.copy(program, folder)
            commands[f"{n}-{label}"] = f"cd / && {folder / Path(program).name}"
            folders.append(folder)
    return commands, steps, folders


def check_saved(folders):
    for folder in folders:
        expected = (folder / "expected.txt").read_bytes()
        saved = (folder / "solution.txt").read_bytes() if (folder / "solution.txt").exists() else b""
        if saved != expected:
            sys.exit(f"{folder}: the program saved a wrong solution")


def peak_mb(program, folder):
    report = subprocess.run(["/usr/bin/time", "-f", "%M", str(folder / Path(program).name)],
                            capture_output=True, text=True, check=True).stderr
    return int(report.split()[-1]) / 1024


def verdict(sound):
    return "meets" if sound else "misses"


def compared(ms, steps, new, old, title):
    """Table rows of new against old per grid, with the set's sums and the slowest ratio."""
    rows, new_sum, old_sum = [], 0.0, 0.0
    for n, count in enumerate(steps):
        a, b = ms[f"{n}-{new}"], ms[f"{n}-{old}"]
        new_sum, old_sum = new_sum + a, old_sum + b
        rows.append(f"| {title} {n} | {count} | {a:.1f} | {b:.1f} | {a / b:.2f} |")
    slowest = max(range(len(steps)), key=lambda n: ms[f"{n}-{old}"])
    return "\n".join(rows), new_sum, old_sum, ms[f"{slowest}-{new}"] / ms[f"{slowest}-{old}"]


def main(source, tree, windows32, windows64, baseline_tree, baseline):
    source, tree = Path(source), Path(tree)
    work = tree / "perf"
    shutil.rmtree(work, ignore_errors=True)
    work.mkdir()
    grids = source / "grids"
    korvane = tree / "korvane/linux/korvane"
    sudoku = tree / "source_resolveur/sudoku"
    sans_memo = tree / "bench/solver/sudoku_sans_memo"
    old_sudoku = Path(baseline_tree) / "source_resolveur/sudoku"
    grid_folders = str(tree / "bench/grid_folders")
    # Timing under the emulator would measure the emulator, not Windows: where the kernel
    # runs no 32-bit programs itself, the 64-bit build runs under wine64 at native speed.
    native32 = (subprocess.run(["/usr/lib/wine/wine", "--version"], capture_output=True)
                .returncode == 0 and not Path("/proc/sys/fs/binfmt_misc/qemu-i386").exists())
    windows, wine = (Path(windows32), "wine") if native32 else (Path(windows64),
                                                                "/usr/lib/wine/wine64")
    windows_kind = ("the 32-bit Windows build under Wine" if native32 else
                    "a 64-bit Windows build of the same sources under wine64: this kernel runs "
                    "32-bit programs only through an emulator, whose figures would measure the "
                    "emulator, not Windows")
    os.environ["DISPLAY"] = (Path(os.environ["WINEPREFIX"] + ".session") / "display").read_text().strip()

    print("benchmarks", flush=True)
    engine = bench(str(tree / "bench/engine/engine_bench"), work, "WholePuzzle")
    engine_rate = int(next(iter(engine.values()))["puzzles"])
    recherche = bench(str(tree / "bench/solver/solver_bench"), work, "Recherche")
    idle = next(iter(bench(str(tree / "bench/solver/solver_bench"), work,
                           "MemoInactif").values()))["idle_ratio"]
    solver_rows = "\n".join(
        f"| {name.split('/')[-1]} | {b['ns_per_step']:.1f} | {b['baseline_ns_per_step']:.1f} | "
        f"{b['ratio']:.2f} | {verdict(b['ns_per_step'] <= 50)} |" for name, b in recherche.items())

    print("whole programs", flush=True)
    hard = work / "hard"
    listing = out(grid_folders, str(grids / "hard-boards.txt"), str(hard)).splitlines()
    hard_steps = listing[-1].split()[1]
    hard = hard / listing[-1].split()[0]
    for folder in ("korvane-native", "korvane-wine"):
        (work / folder).mkdir()
    subprocess.run([korvane], cwd=work / "korvane-native")
    mask = (work / "korvane-native/masque.txt").read_text().split()
    typical = work / "typical"
    typical.mkdir()
    (typical / "grille.txt").write_text(
        "".join(" ".join(mask[9 * r:9 * r + 9]) + "\r\n" for r in range(9)), newline="")
    places = {}
    for grid in ("typical", "hard"):
        for label, program in (("native", sudoku), ("wine", windows / "source_resolveur/sudoku.exe"),
                               ("old", old_sudoku)):
            folder = work / f"sudoku-{label}-{grid}"
            shutil.copytree(typical if grid == "typical" else hard, folder)
            shutil.copy(program, folder)
            places[f"{label}-{grid}"] = f"cd / && {folder / program.name}"
    native = hyperfine(work, "native", {
        "korvane": f"cd {work / 'korvane-native'} && {korvane}",
        "typical": places["native-typical"], "hard": places["native-hard"],
        "old-typical": places["old-typical"]}, RUNS)
    wined = hyperfine(work, "wine", {
        "korvane": f"cd {work / 'korvane-wine'} && {wine} {windows / 'korvane/window/korvane.exe'}",
        "typical": places["wine-typical"], "hard": places["wine-hard"],
        "start": f"{wine} cmd /c exit"}, RUNS)
    check_saved([work / f"sudoku-{label}-hard" for label in ("native", "wine", "old")])

    print("the slow and the sparse grids", flush=True)
    slow_commands, slow_steps, slow_folders = grid_runs(
        work, "slow", str(grids / "slow-grids.txt"), {"new": sudoku, "plain": sans_memo},
        grid_folders)
    slow = hyperfine(work, "slow", slow_commands, MEMO_RUNS, warmup=0)
    sparse_commands, sparse_steps, sparse_folders = grid_runs(
        work, "sparse", str(grids / "sparse-grids.txt"), {"new": sudoku, "old": old_sudoku},
        grid_folders)
    sparse = hyperfine(work, "sparse", sparse_commands, SPARSE_RUNS, warmup=0)
    unrepeated_commands, unrepeated_steps, unrepeated_folders = grid_runs(
        work, "unrepeated", str(grids / "unrepeated-grid.txt"),
        {"new": sudoku, "plain": sans_memo, "old": old_sudoku}, grid_folders)
    unrepeated = hyperfine(work, "unrepeated", unrepeated_commands, RUNS)
    check_saved(slow_folders + sparse_folders + unrepeated_folders)
    peaks = [peak_mb(sudoku, folder) for folder in slow_folders + sparse_folders
             if folder.name.endswith("-new")]
    plain_peak = peak_mb(sans_memo, work / "slow/0-plain")

    slow_rows, slow_new, slow_plain, slow_ratio = compared(slow, slow_steps, "new", "plain",
                                                           "slow grid")
    sparse_rows, sparse_new, sparse_old, sparse_ratio = compared(sparse, sparse_steps, "new",
                                                                 "old", "sparse grid")
    ratios = {
        "set_ratio": slow_new / slow_plain, "slow_ratio": slow_ratio,
        "sparse_set_ratio": sparse_new / sparse_old, "sparse_ratio": sparse_ratio,
        "unrepeated_plain": unrepeated["0-new"] / unrepeated["0-plain"],
        "unrepeated_old": unrepeated["0-new"] / unrepeated["0-old"],
        "typical_old": native["typical"] / native["old-typical"], "idle": idle,
        "korvane_ratio": wined["korvane"] / native["korvane"],
        "typical_ratio": wined["typical"] / native["typical"],
        "hard_ratio": wined["hard"] / native["hard"],
        "search_ratio": (wined["hard"] - wined["typical"]) / (native["hard"] - native["typical"]),
    }
    ms = {
        "slow_new": slow_new, "slow_plain": slow_plain, "sparse_new": sparse_new,
        "sparse_old": sparse_old, "peak": max(peaks), "plain_peak": plain_peak,
        "unrepeated_new": unrepeated["0-new"], "unrepeated_plain_ms": unrepeated["0-plain"],
        "unrepeated_old_ms": unrepeated["0-old"], "typical_old_ms": native["old-typical"],
        "search_native": native["hard"] - native["typical"],
        "search_wine": wined["hard"] - wined["typical"],
        **{f"native_{k}": v for k, v in native.items()}, **{f"wine_{k}": v for k, v in wined.items()},
    }
    r = ratios
    values = {
        **{k: f"{v:.2f}" for k, v in ratios.items()}, **{k: f"{v:.1f}" for k, v in ms.items()},
        "now": datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%d %H:%M UTC"),
        "commit": out("git", "rev-parse", "--short", "HEAD", cwd=source).strip(),
        "cores": os.cpu_count(), "system": f"{platform.system()} {platform.release()}",
        "cpu": next((line.split(":", 1)[1].strip() for line in open("/proc/cpuinfo")
                     if line.startswith("model name")), platform.processor()),
        "wine_version": out("dpkg-query", "-W", "-f=${Version}", "wine"), "wine": wine,
        "windows_kind": windows_kind, "baseline": baseline, "runs": RUNS,
        "memo_runs": MEMO_RUNS, "sparse_runs": SPARSE_RUNS, "engine_rate": engine_rate,
        "hard_steps": hard_steps, "unrepeated_steps": unrepeated_steps[0],
        "solver_rows": solver_rows, "slow_rows": slow_rows, "sparse_rows": sparse_rows,
        "engine_verdict": verdict(engine_rate >= 1500),
        "slow_verdict": verdict(r["slow_ratio"] <= 0.2 and r["set_ratio"] <= 0.2),
        "sparse_verdict": verdict(r["sparse_ratio"] <= 0.25 and r["sparse_set_ratio"] <= 0.25),
        "peak_verdict": verdict(max(peaks) <= 64),
        "old_verdict": verdict(r["unrepeated_old"] <= 1.05 and r["typical_old"] <= 1.05),
        "wine_verdict": verdict(r["hard_ratio"] <= 1.5),
    }
    template = Path(__file__).with_name("performance.md.in").read_text()
    report = template.format_map(values)
    (source / "docs/performance.md").write_text(report)
    print(report)


if __name__ == "__main__":
    main(*sys.argv[1:])
