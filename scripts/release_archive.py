#!/usr/bin/env python3
"""A release archive of the files that CPack staged, the same bytes from the same files
wherever, whenever and by whomever it is made: the files in name order under one top
folder named after the archive, each dated SOURCE_DATE_EPOCH, owned by root, mode 755 (a
program) or 644; a .tar.gz's gzip header holds that time and no file name.

  release_archive.py <staged folder> <archive: .zip or .tar.gz>"""

import gzip
import io
import os
import sys
import tarfile
import time
import zipfile
from pathlib import Path


def main(staged, archive):
    staged, archive, epoch = Path(staged), Path(archive), int(os.environ["SOURCE_DATE_EPOCH"])
    top = archive.name.removesuffix(".zip").removesuffix(".tar.gz")
    entries = sorted((f"{top}/{path.relative_to(staged).as_posix()}", path.read_bytes(),
                      0o755 if path.stat().st_mode & 0o111 else 0o644)
                     for path in staged.rglob("*") if path.is_file())
    if archive.suffix == ".zip":
        with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED) as out:
            for name, data, mode in entries:
                entry = zipfile.ZipInfo(name, time.gmtime(epoch)[:6])
                entry.create_system, entry.external_attr = 3, (0o100000 | mode) << 16  # Unix
                out.writestr(entry, data, zipfile.ZIP_DEFLATED)
        return
    with open(archive, "wb") as raw, gzip.GzipFile("", "wb", 9, raw, epoch) as packed, \
            tarfile.open(fileobj=packed, mode="w", format=tarfile.USTAR_FORMAT) as out:
        for name, data, mode in entries:
            entry = tarfile.TarInfo(name)
            entry.size, entry.mtime, entry.mode, entry.uname, entry.gname = \
                len(data), epoch, mode, "root", "root"
            out.addfile(entry, io.BytesIO(data))


if __name__ == "__main__":
    main(*sys.argv[1:])
