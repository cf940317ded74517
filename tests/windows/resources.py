#!/usr/bin/env python3
"""Reads the resources back out of sample.exe and compares them with
resources/sample.rc: menu 102 item by item (texts, ids, separators, popups),
all in the Japanese language, and the group icon 101 with its one image.
A resource compiler that misread the UTF-8 script would show up here as
wrong texts.

Usage: resources.py WINDRES SAMPLE.EXE SAMPLE.RC
"""
import os
import re
import subprocess
import sys

LANG_JAPANESE = "17, 1"


def read_string(literal):
    """The text of an rc string literal, L"..." or "...", with \\xNNNN escapes."""
    body = literal[2:-1] if literal.startswith('L"') else literal[1:-1]
    return re.sub(r"\\x([0-9a-fA-F]{4})", lambda m: chr(int(m.group(1), 16)), body).replace('""', '"')


ITEM = re.compile(r'^\s*MENUITEM\s+(L?"(?:[^"]|"")*")\s*,\s*(\w+)\s*$')
POPUP = re.compile(r'^\s*POPUP\s+(L?"(?:[^"]|"")*")\s*$')
SEPARATOR = re.compile(r"^\s*MENUITEM\s+SEPARATOR\s*$")


def menu_entries(lines, resolve):
    """(kind, text, id) for each popup, item and separator, in order."""
    entries = []
    for line in lines:
        if m := POPUP.match(line):
            entries.append(("popup", read_string(m.group(1)), None))
        elif SEPARATOR.match(line):
            entries.append(("separator", None, None))
        elif m := ITEM.match(line):
            entries.append(("item", read_string(m.group(1)), resolve(m.group(2))))
    return entries


def block_after(lines, header):
    """The lines from the first line matching header to its closing END."""
    start = next((i for i, line in enumerate(lines) if re.match(header, line)), None)
    if start is None:
        return None
    depth = 0
    for i in range(start + 1, len(lines)):
        word = lines[i].strip()
        if word == "BEGIN":
            depth += 1
        elif word == "END":
            depth -= 1
            if depth == 0:
                return lines[start : i + 1]
    return None


def read_defines(path, lines, defines):
    """The #define NAME number lines of a script and the headers it includes by quoted name."""
    for line in lines:
        if m := re.match(r"^#define\s+(\w+)\s+(\d+)\s*$", line):
            defines[m.group(1)] = int(m.group(2))
        elif m := re.match(r'^#include\s+"([^"]+)"\s*$', line):
            header = os.path.join(os.path.dirname(path), m.group(1))
            with open(header, encoding="utf-8") as f:
                read_defines(header, f.read().splitlines(), defines)
    return defines


def script_menu(path):
    with open(path, encoding="utf-8") as f:
        lines = f.read().splitlines()
    defines = read_defines(path, lines, {})
    menu = block_after(lines, rf"^\s*(IDM_MAIN|{defines.get('IDM_MAIN', 102)})\s+MENU\b")
    if menu is None:
        sys.exit(f"no menu IDM_MAIN in {path}")
    return menu_entries(menu, lambda name: defines[name] if name in defines else int(name, 0))


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    windres, exe, script = sys.argv[1:]
    dump = subprocess.run([windres, "-i", exe, "-O", "rc"], capture_output=True, text=True)
    if dump.returncode != 0:
        sys.exit(f"{windres} could not read the resources of {exe}: {dump.stderr.strip()}")
    lines = dump.stdout.splitlines()

    failures = []
    checks = 0

    def check(ok, message):
        nonlocal checks
        checks += 1
        if not ok:
            failures.append(message)

    languages = {m.group(1) for line in lines if (m := re.match(r"^LANGUAGE\s+(\d+,\s*\d+)\s*$", line))}
    check(languages == {LANG_JAPANESE}, f"resource languages are {sorted(languages)}, expected only Japanese ({LANG_JAPANESE})")

    menu = block_after(lines, r"^102\s+MENU\b")
    check(menu is not None, "sample.exe has no menu 102")
    expected = script_menu(script)
    actual = menu_entries(menu or [], lambda value: int(value, 0))
    check(len(expected) == 20, f"{script} has {len(expected)} menu entries, expected 20")
    check(len(actual) == len(expected), f"menu 102 has {len(actual)} entries, the script {len(expected)}")
    for position, (want, got) in enumerate(zip(expected, actual), 1):
        check(want == got, f"menu entry {position}: {got} in sample.exe, {want} in the script")

    icon = block_after(lines, r"^101\s+14\b")
    check(icon is not None, "sample.exe has no group icon 101")
    check(icon is not None and any("Has 1 elements" in line for line in icon), "group icon 101 does not hold exactly one image")

    for failure in failures:
        print(f"FAIL: {failure}")
    print(f"resources: {checks - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
