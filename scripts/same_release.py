#!/usr/bin/env python3
"""The test "release": the same bytes from the same commit. A second tree, with the first
one's cache but in another folder and under umask 077, builds the programs alone; CPack's
archives of both trees must be equal, file by file, or the file that differs is named.

  same_release.py <tree> <scratch folder>"""

import os
import subprocess
import sys
import tarfile
import zipfile
from pathlib import Path

from try_release import check, failures, make_release


def files_of(archive):
    """{name: (header, bytes)} of each file of an archive."""
    if archive.suffix == ".zip":
        with zipfile.ZipFile(archive) as packed:
            return {e.filename: (str((e.date_time, e.create_system, e.external_attr, e.extra)),
                                 packed.read(e)) for e in packed.infolist()}
    with tarfile.open(archive) as packed:
        return {e.name: (str(e.get_info()), packed.extractfile(e).read()) for e in packed}


def main(tree, work):
    tree, work = Path(tree), Path(work)
    subprocess.run(["rm", "-rf", str(work)], check=True)
    first, tree2 = make_release(tree, work / "first"), work / "tree"
    cache = dict(line.split("=", 1) for line in (tree / "CMakeCache.txt").read_text().splitlines()
                 if "=" in line and not line.startswith(("#", "//")))
    settings = [f"-D{name}={value}" for name, value in cache.items()
                if not name.endswith((":INTERNAL", ":STATIC"))]
    os.umask(0o077)
    subprocess.run(["cmake", "--no-warn-unused-cli", "-S", cache["CMAKE_HOME_DIRECTORY:INTERNAL"],
                    "-B", tree2, "-G", cache["CMAKE_GENERATOR:INTERNAL"], *settings,
                    "-DSUDOKU_BUILD_TESTS=OFF", "-DSUDOKU_RELEASE_TREE=OFF"],
                   check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", tree2, "-j2"], check=True, stdout=subprocess.DEVNULL)
    second = make_release(tree2, work / "second")
    left, right = files_of(first), files_of(second)
    for name in sorted(left.keys() | right.keys()):
        (head, data), (head2, data2) = (files.get(name, ("absent", b"")) for files in (left, right))
        differs = "" if head == head2 else f" (not: its header, {head} and {head2})"
        if data != data2:
            at = next((i for i, (a, b) in enumerate(zip(data, data2)) if a != b),
                      min(len(data), len(data2)))
            differs += f" (not: its bytes from {at:#x} on, of {len(data)} and {len(data2)})"
        check(f"{name}: the same in both archives{differs}", not differs)
    check(f"{first.name}: the same bytes from both trees", first.read_bytes() == second.read_bytes())



if __name__ == "__main__":
    main(*sys.argv[1:])
    if failures:
        sys.exit(f"{len(failures)} check(s) failed")
