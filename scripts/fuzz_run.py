#!/usr/bin/env python3
"""One bounded fuzz run: the target's output goes to a log, and what it did (its runs,
their rate, its coverage) is printed; a finding fails with the end of each log.

  fuzz_run.py <log> <workers> <target> <libFuzzer arguments...>

With more than one worker, that many processes of the target run side by side on one
corpus (libFuzzer's -jobs and -workers), each with its log in <log>.d/fuzz-<n>.log; the
rate printed last is the inputs of all of them per second."""

import re
import shutil
import subprocess
import sys
from pathlib import Path


def main(log, workers, target, *args):
    log, workers = Path(log), int(workers)
    folder = log.parent
    if workers > 1:
        folder = log.with_name(log.name + ".d")
        shutil.rmtree(folder, ignore_errors=True)
        folder.mkdir(parents=True)
        args += (f"-jobs={workers}", f"-workers={workers}")
    with open(log, "wb") as out:
        status = subprocess.run([target, *args], stdout=out, stderr=out, cwd=folder).returncode
    logs = sorted(folder.glob("fuzz-*.log")) if workers > 1 else [log]
    runs, seconds = 0, 0
    for each in logs:
        prefix = Path(target).name + (f" {each.stem}" if workers > 1 else "")
        for line in each.read_text(errors="replace").splitlines():
            if "DONE" in line or re.match(r"Done|stat::", line):
                print(f"{prefix}: {line}")
            if done := re.match(r"Done (\d+) runs in (\d+) second", line):
                runs += int(done[1])
                seconds = max(seconds, int(done[2]))
    if workers > 1 and seconds:
        print(f"{Path(target).name}: {runs} runs in {seconds} s by {workers} processes: "
              f"{runs // seconds} inputs/s")
    if status != 0:
        for each in [log] + (logs if workers > 1 else []):
            lines = [l for l in each.read_text(errors="replace").splitlines()
                     if not l.startswith("#")]
            print(f"--- {each}", *lines[-60:], sep="\n")
        sys.exit(f"{Path(target).name} reported a finding (exit code {status})")


if __name__ == "__main__":
    main(*sys.argv[1:])
