#!/usr/bin/env python3
"""Prints each function, macro and type of the Win32 stand-in's headers that is not part of
its seam, one a line; nothing when the headers hold the seam and only it.

The seam: the functions that korvane, korvane's tests and the shared test support call,
and the macros and types that those files or the stand-in's own tests name, with every
name that the definition of a seam name uses (a function's parameter types, a struct's
fields, a macro's expansion). A function named only by the stand-in's own tests is not
part of the seam."""
import pathlib, re, subprocess

root = pathlib.Path(__file__).resolve().parent.parent
files = subprocess.check_output(["git", "ls-files"], cwd=root, text=True).split()
word = re.compile(r"\b[A-Za-z_]\w*\b")

def names(paths):
    return set(word.findall("".join((root / p).read_text() for p in paths)))

headers = [f for f in files if f.startswith("platform/win32api/standin/include/")]
callers = [f for f in files if re.match(r"(korvane|tests/korvane|tests/platform/win32api/support)/.*\.(cpp|h)$", f)
           or f == "platform/win32api/standin/src/Entry.cpp"]
own_tests = [f for f in files if re.match(r"tests/platform/win32api/[^/]+\.cpp$", f)]

# Each defined name with the text of its definition.
definitions, functions = {}, set()
text = "".join((root / h).read_text() for h in headers)
for m in re.finditer(r"^#define (\w+)((?:.*\\\n)*.*)", text, re.M):
    definitions[m.group(1)] = m.group(2)
for m in re.finditer(r"^[^#\n]*\bWINAPI (\w+)\(([^;]*);", text, re.M):
    definitions[m.group(1)] = m.group(0)
    functions.add(m.group(1))
for m in re.finditer(r"^typedef [^;{]*?(\w+)\)?(\([^;]*\))?;", text, re.M):
    definitions[m.group(1)] = m.group(0)
for m in re.finditer(r"^typedef struct \w+ \{(.*?)\} ([^;]*);", text, re.M | re.S):
    for n in word.findall(m.group(2)):
        definitions[n] = m.group(1)
for m in re.finditer(r"^DECLARE_HANDLE\((\w+)\);", text, re.M):
    definitions[m.group(1)] = m.group(0)

called = names(callers)
used = {n for n in definitions if n in called or (n not in functions and n in names(own_tests))}
todo = list(used)
while todo:
    for n in word.findall(definitions[todo.pop()]):
        if n in definitions and n not in used:
            used.add(n)
            todo.append(n)
unused = sorted(set(definitions) - used)
for n in unused:
    print(n)
raise SystemExit(1 if unused else 0)
