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
    set_ratio, sparse_set_ratio = slow_new / slow_plain, sparse_new / sparse_old
    unrepeated_plain = unrepeated["0-new"] / unrepeated["0-plain"]
    unrepeated_old = unrepeated["0-new"] / unrepeated["0-old"]
    typical_old = native["typical"] / native["old-typical"]
    search_native = native["hard"] - native["typical"]
    search_wine = wined["hard"] - wined["typical"]

    cpu = next((line.split(":", 1)[1].strip() for line in open("/proc/cpuinfo")
                if line.startswith("model name")), platform.processor())
    now = datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%d %H:%M UTC")
    commit = out("git", "rev-parse", "--short", "HEAD", cwd=source).strip()
    wine_version = out("dpkg-query", "-W", "-f=${Version}", "wine")
    report = f"""# Performance

Rebuilt by `cmake --workflow --preset perf` (the test `performance_report` of the perf
tree) on {now}, commit {commit}. Machine: {os.cpu_count()} cores, {cpu},
{platform.system()} {platform.release()}; Wine {wine_version}. Every figure is a median:
benchmarks over 5 repetitions (Google Benchmark's JSON output), whole programs over
{RUNS} runs after one warm-up unless said otherwise (hyperfine's JSON export). The
machine is shared, so single runs vary by some tens of percent; each comparison below is
timed in one hyperfine run. The earlier build is the solver of commit {baseline}, built
by the perf tree.

## Generator (korvane's engine)

| Figure | Value | Target | |
|---|---|---|---|
| Puzzles per second of CPU time, one thread, `generateFullGrid` + `removeClues` (bench/engine) | {engine_rate} | at least 1,500 | {verdict(engine_rate >= 1500)} |

## Solver search (sudoku's `Recherche`)

Processor nanoseconds per backtracking step of `Recherche` on the hard boards of
`grids/hard-boards.txt`, display on as in a real run (headless form runtime). Target: at
most 50 ns per step. Next to it, timed in the same benchmark iterations, the baseline
kept in the benchmark: a straightforward loop of the same search (digit masks per row,
column and square, the empty cells in their fixed order, one push counted per step, a
cell's allowed digits recomputed on every visit, no display); the ratio is `Recherche`
over the baseline. Past a million steps `Recherche` counts the dead walks that it knows
without walking them (below), so on the longer boards its time per counted step falls
below the walk's.

| Board (steps) | ns per step | Baseline ns per step | Ratio | |
|---|---|---|---|---|
{solver_rows}

## Solver: dead walks counted

Wall time of one whole native run of `sudoku` against the same sources built without
the memo (`sudoku_sans_memo`), timed in one hyperfine run, median of {MEMO_RUNS} runs each,
on the grids of `grids/slow-grids.txt`. Both programs saved the listed solution of every
grid.

| Grid | Steps | sudoku (ms) | Without the memo (ms) | Ratio |
|---|---|---|---|---|
{slow_rows}

Whole slow set: {slow_new:.1f} ms against {slow_plain:.1f} ms, a ratio of {set_ratio:.2f};
on the slowest grid {slow_ratio:.2f}. Target: at most 0.2 on the slowest grid and over
the set: {verdict(slow_ratio <= 0.2 and set_ratio <= 0.2)}.

The sparse grids of `grids/sparse-grids.txt` (valid grids with several solutions, turned
so that the search meets its dead ends first), the same program against the solver of
commit {baseline}, timed in one hyperfine run, median of {SPARSE_RUNS} run(s) each:

| Grid | Steps | sudoku (ms) | {baseline} (ms) | Ratio |
|---|---|---|---|---|
{sparse_rows}

Whole sparse set: {sparse_new:.1f} ms against {sparse_old:.1f} ms, a ratio of
{sparse_set_ratio:.2f}; on the slowest grid {sparse_ratio:.2f}. Target: at most 0.25 on
the slowest grid and over the set: {verdict(sparse_ratio <= 0.25 and sparse_set_ratio <= 0.25)}.

Peak resident memory (`/usr/bin/time`) of `sudoku` over every grid of both sets: at most
{max(peaks):.1f} MB ({plain_peak:.1f} MB without the memo on the first slow grid). Target:
at most 64 MB: {verdict(max(peaks) <= 64)}.

Where counting cannot help: the grid of `grids/unrepeated-grid.txt`, whose walk of
{unrepeated_steps[0]} steps looks band states up and never meets one it knows (a test
checks it): {unrepeated['0-new']:.1f} ms against {unrepeated['0-plain']:.1f} ms without the
memo (a ratio of {unrepeated_plain:.2f}) and {unrepeated['0-old']:.1f} ms for commit
{baseline} (a ratio of {unrepeated_old:.2f}). On a typical puzzle of korvane's,
{native['typical']:.1f} ms against {native['old-typical']:.1f} ms for commit {baseline} (a ratio
of {typical_old:.2f}). Target: at most 1.05 of commit {baseline} on both:
{verdict(unrepeated_old <= 1.05 and typical_old <= 1.05)}. Processor time of the
backtracking with a memo that never looks up over the plain walk, in the same iterations
(bench/solver, `MemoInactif`, the hard board of {hard_steps} steps): {idle:.2f}.

## Whole programs

Wall time of one run on this machine, each program started from another folder: the
native Linux build (x86-64) against {windows_kind}. Wine loader `{wine}`, warm
wineserver, Xvfb (the Wine session of the tests). The typical grid is a puzzle that
korvane makes; the hard grid is the board of `grids/hard-boards.txt` with the most
backtracking steps ({hard_steps}).

| Run | Native (ms) | Wine (ms) | Wine / native |
|---|---|---|---|
| korvane, one puzzle, both files written | {native['korvane']:.1f} | {wined['korvane']:.1f} | {wined['korvane'] / native['korvane']:.2f} |
| sudoku, typical grid | {native['typical']:.1f} | {wined['typical']:.1f} | {wined['typical'] / native['typical']:.2f} |
| sudoku, hard grid | {native['hard']:.1f} | {wined['hard']:.1f} | {wined['hard'] / native['hard']:.2f} |
| Wine alone, `cmd /c exit` | | {wined['start']:.1f} | |

Target: sudoku.exe under Wine within 1.5 times the native program on the hard grid:
{verdict(wined['hard'] / native['hard'] <= 1.5)}. That includes Wine's own start, about
{wined['start']:.1f} ms here, which is far more than a whole native run on the short grids:
their ratios measure Wine's start, not the programs. The search alone (hard grid minus
typical grid) takes {search_native:.1f} ms natively and {search_wine:.1f} ms under Wine, a
ratio of {search_wine / search_native:.2f}.
"""
    (source / "docs/performance.md").write_text(report)
    print(report)


if __name__ == "__main__":
    main(*sys.argv[1:])
