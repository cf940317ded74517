#!/usr/bin/env python3
"""font_characters.py OUTPUT FILE...: every character the page can draw with
its font, one text file for the font subsetter (--text-file): printable
ASCII and every character inside the string and character literals of the
given sources (C++ and resource scripts), comments left out. Characters
that code page 932 maps to another code point on the way back are there in
both forms, since the program stores its literals in that code page."""
import re
import sys

# What stands before the quote of a raw string literal: R"delimiter( ... )delimiter".
RAW_PREFIX = re.compile(r"(?<![A-Za-z0-9_])(?:u8|u|U|L)?R$")


def literals(text):
    """The contents of the string and character literals of C-like source."""
    found = []
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            end = text.find("\n", i)
            i = n if end < 0 else end
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            i = n if end < 0 else end + 2
        elif c == '"' and RAW_PREFIX.search(text, 0, i):
            close = text.find("(", i)
            delimiter = ")" + text[i + 1:close] + '"'
            end = text.find(delimiter, close)
            end = n if end < 0 else end
            found.append(text[close + 1:end])
            i = end + len(delimiter)
        elif c in "\"'":
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            found.append(text[i + 1:j])
            i = j + 1
        else:
            i += 1
    return found


def main():
    if len(sys.argv) < 3:
        sys.exit("usage: font_characters.py OUTPUT SOURCE...")
    characters = {chr(code) for code in range(0x20, 0x7F)}
    for path in sys.argv[2:]:
        try:
            with open(path, encoding="utf-8") as source:
                text = source.read()
        except (OSError, UnicodeDecodeError) as error:
            sys.exit(f"font_characters.py: {path}: {error}")
        for literal in literals(text):
            characters.update(ch for ch in literal if ch.isprintable() and ch != "\\")
    for ch in list(characters):
        try:
            characters.add(ch.encode("cp932").decode("cp932"))
        except UnicodeError:
            pass
    text = "".join(sorted(characters))
    with open(sys.argv[1], "w", encoding="utf-8") as output:
        output.write(text + "\n")
    print(f"font_characters.py: {len(characters)} characters from {len(sys.argv) - 2} files")


if __name__ == "__main__":
    main()
