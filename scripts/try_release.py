#!/usr/bin/env python3
"""The test "package": the release of a built tree, made by CPack, unpacked into an
empty folder and used as a user would.

korvane, started in a folder of the user's, writes its two puzzle files and ends with
exit code 1; sudoku, started from there, solves the example grille.txt beside itself.
The archive holds the programs, the example and the read-me in French and English,
its text files in the platform's encoding and line ends. The programs say what systems
they start on: the Windows ones are 32-bit GUI programs that import only what Windows
XP SP3 exports (the lists of xp-sp3-exports/), the Linux ones are linked statically.

  try_release.py <tree> <scratch folder> [runner...]

The runner (the Windows tree's emulator) goes before each program."""

import hashlib
import struct
import subprocess
import sys
import tarfile
import zipfile
from pathlib import Path

EXPORTS = Path(__file__).with_name("xp-sp3-exports")
failures = []


def check(what, sound):
    print(("ok: " if sound else "FAILED: ") + what, flush=True)
    if not sound:
        failures.append(what)


def pe_facts(data):
    """Machine, subsystem, subsystem version and imports ({dll: [names]}) of a PE file."""
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    machine, sections, _, _, _, optional_size = struct.unpack_from("<HHIIIH", data, pe + 4)
    opt = pe + 24
    wide = struct.unpack_from("<H", data, opt)[0] == 0x20B
    version = struct.unpack_from("<HH", data, opt + 48)
    subsystem = struct.unpack_from("<H", data, opt + 68)[0]
    imports_rva = struct.unpack_from("<I", data, opt + (120 if wide else 104))[0]
    table = [struct.unpack_from("<8sIIII", data, opt + optional_size + 40 * i)
             for i in range(sections)]

    def at(rva):
        for _, size, start, raw_size, raw in table:
            if start <= rva < start + max(size, raw_size):
                return raw + rva - start
        raise ValueError(f"address {rva:#x} lies in no section")

    def text(rva):
        start = at(rva)
        return data[start:data.index(b"\0", start)].decode()

    imports = {}
    entry = at(imports_rva)
    while True:
        lookup, _, _, name, thunks = struct.unpack_from("<IIIII", data, entry)
        if name == 0:
            break
        names = imports.setdefault(text(name).lower(), [])
        thunk = at(lookup or thunks)
        size, ordinal = (8, 1 << 63) if wide else (4, 1 << 31)
        while (value := int.from_bytes(data[thunk:thunk + size], "little")) != 0:
            names.append(f"#{value & 0xFFFF}" if value & ordinal else text(value + 2))
            thunk += size
        entry += 20
    return machine, subsystem, version, imports


def is_static_elf(data):
    """True when an ELF program asks for no interpreter and no dynamic linking."""
    phoff, = struct.unpack_from("<Q", data, 0x20)
    size, count = struct.unpack_from("<HH", data, 0x36)
    kinds = {struct.unpack_from("<I", data, phoff + size * i)[0] for i in range(count)}
    return data[:4] == b"\x7fELF" and not kinds & {2, 3}  # PT_DYNAMIC, PT_INTERP


def check_readme(readme, windows):
    if windows:
        check("LISEZMOI.txt in code page 1252", "Français".encode("cp1252") in readme
              and b"\xc3" not in readme)
        text = readme.decode("cp1252")
    else:
        check("LISEZMOI.txt in UTF-8", "Français".encode() in readme)
        text = readme.decode("utf-8", "replace")
    check("the read-me in French and English", "Codes de sortie" in text and "Exit codes" in text)
    lines = text.replace("\r\n", "\n").split("\n")
    long = [len(line) for line in lines if len(line) > 80]
    check(f"LISEZMOI.txt: no line longer than 80 characters {long}", not long)
    rules = [f"{len(rule)} under {len(title)}" for title, rule in zip(lines, lines[1:])
             if rule and set(rule) in ({"="}, {"-"}) and len(rule) != len(title)]
    check(f"LISEZMOI.txt: each underline as long as its title {rules}", not rules)


def check_programs(top, exe):
    for program in ("korvane", "sudoku"):
        data = (top / (program + exe)).read_bytes()
        if not exe:
            check(f"{program} is linked statically: it needs no C library of the system",
                  is_static_elf(data))
            continue
        machine, subsystem, version, imports = pe_facts(data)
        check(f"{program}{exe}: a 32-bit x86 GUI program (machine {machine:#x}, subsystem "
              f"{subsystem})", machine == 0x14C and subsystem == 2)
        check(f"{program}{exe} asks for subsystem version {version[0]}.{version[1]}, at most 5.1",
              version <= (5, 1))
        unknown, count = [], 0
        for dll, names in imports.items():
            known = EXPORTS / f"{dll}.txt"
            exported = set(known.read_text().split()) if known.exists() else set()
            unknown += [f"{dll} {name}" for name in names if name not in exported]
            count += len(names)
        check(f"{program}{exe}: its {count} imports are all exported by Windows XP SP3"
              + (f" (not: {', '.join(unknown)})" if unknown else ""), count > 0 and not unknown)


def board_lines(path, end):
    """The 81 digits of a file of 81 lines of one digit and `end` each, or ''."""
    data = path.read_bytes() if path.is_file() else b""
    lines = data.split(end)
    sound = len(lines) == 82 and lines[-1] == b"" and all(
        len(line) == 1 and line.isdigit() for line in lines[:-1])
    return b"".join(lines[:-1]).decode() if sound else ""


def complete_and_valid(board):
    units = [[9 * r + c for c in range(9)] for r in range(9)]
    units += [[9 * r + c for r in range(9)] for c in range(9)]
    units += [[27 * (b // 3) + 3 * (b % 3) + 9 * (i // 3) + i % 3 for i in range(9)]
              for b in range(9)]
    return all(sorted(board[i] for i in unit) == list("123456789") for unit in units)


def keeps(givens, board):
    return all(g == "0" or g == d for g, d in zip(givens, board))


def try_programs(top, user, exe, runner):
    status = subprocess.run(runner + [str(top / ("korvane" + exe))], cwd=user,
                            capture_output=True).returncode
    check(f"korvane ends with exit code 1 ({status})", status == 1)
    solution = board_lines(user / "solution.txt", b"\n")
    puzzle = board_lines(user / "masque.txt", b"\n")
    check("korvane's files: 81 lines of one digit and LF each, a complete valid solution, the "
          "puzzle's digits the solution's",
          solution and puzzle and complete_and_valid(solution) and keeps(puzzle, solution))

    status = subprocess.run(runner + [str(top / ("sudoku" + exe))], cwd=user,
                            capture_output=True).returncode
    check(f"sudoku ends with exit code 0 ({status})", status == 0)
    grille = (top / "grille.txt").read_bytes().splitlines() if (top / "grille.txt").exists() else []
    givens = "".join(line.decode()[0:17:2] for line in grille)
    solved = board_lines(top / "solution.txt", b"\r\n")
    check("sudoku's solution.txt beside it: 81 lines of one digit and CR LF each, the example "
          "grid completed", len(givens) == 81 and solved and complete_and_valid(solved)
          and keeps(givens, solved))


def make_release(tree, folder):
    """The archive that CPack makes of a built tree, in a folder of its own."""
    subprocess.run(["cpack", "--config", str(tree / "CPackConfig.cmake"), "-B", str(folder)],
                   check=True, stdout=subprocess.DEVNULL)
    archives = [a for a in sorted(folder.glob("korvane-sudoku-*")) if a.suffix in (".zip", ".gz")
                and not a.name.endswith("-source.tar.gz")]
    if len(archives) != 1:
        sys.exit(f"CPack made {len(archives)} archives, not one: {archives}")
    line = f"{hashlib.sha256(archives[0].read_bytes()).hexdigest()}  {archives[0].name}\n"
    sums = folder / "SHA256SUMS"
    check(f"SHA256SUMS gives {archives[0].name}'s sum", sums.exists() and line in sums.read_text())
    return archives[0]


def main(tree, work, *runner):
    tree, work = Path(tree), Path(work)
    subprocess.run(["rm", "-rf", str(work)], check=True)
    (work / "unpacked").mkdir(parents=True)
    (work / "user").mkdir()
    archive = make_release(tree, work / "cpack")
    windows = archive.suffix == ".zip"
    exe = ".exe" if windows else ""
    opener = zipfile.ZipFile if windows else tarfile.open
    with opener(archive) as unpacked:
        unpacked.extractall(work / "unpacked")
    top = work / "unpacked" / archive.name.removesuffix(".zip").removesuffix(".tar.gz")
    print(archive.name)

    files = sorted(path.name for path in top.iterdir())
    check(f"the archive holds the programs, the example and the read-me only {files}",
          files == sorted(["LISEZMOI.txt", "grille.txt", "korvane" + exe, "sudoku" + exe]))
    for name in ("grille.txt", "LISEZMOI.txt"):
        data = (top / name).read_bytes() if (top / name).exists() else b""
        lf, crlf = data.count(b"\n"), data.count(b"\r\n")
        check(f"{name}: " + ("every line ends with CR LF" if windows else "lines end with LF alone"),
              lf > 0 and crlf == (lf if windows else 0))
    if (top / "LISEZMOI.txt").exists():
        check_readme((top / "LISEZMOI.txt").read_bytes(), windows)
    check_programs(top, exe)
    try_programs(top, work / "user", exe, list(runner))


if __name__ == "__main__":
    main(*sys.argv[1:])
    if failures:
        sys.exit(f"{len(failures)} check(s) failed")
