#!/usr/bin/env python3
"""Every link and picture in README.md and docs/*.md leads somewhere: the
file or folder exists inside the project, and an anchor names a heading of
the page it points into (as GitHub makes anchors of headings). Links to
other sites are left alone. Code blocks and code spans are no links.

Usage: check_doc_links.py PROJECT_DIR
"""
import os
import re
import sys

LINK = re.compile(r"!?\[(?:[^\[\]]|\[[^\]]*\])*\]\(\s*<?([^)\s>]*)>?(?:\s+\"[^\"]*\")?\s*\)")
HTML_SOURCE = re.compile(r"<(?:img|a)\b[^>]*?\b(?:src|href)=\"([^\"]*)\"", re.IGNORECASE)
HEADING = re.compile(r"^ {0,3}(#{1,6})\s+(.*?)\s*#*\s*$")
FENCE = re.compile(r"^ {0,3}(```|~~~)")
EXTERNAL = re.compile(r"^[a-zA-Z][a-zA-Z0-9+.-]*:")


def markdown_files(root):
    files = [os.path.join(root, "README.md")]
    for folder, _, names in os.walk(os.path.join(root, "docs")):
        files += [os.path.join(folder, name) for name in sorted(names) if name.endswith(".md")]
    return [path for path in files if os.path.isfile(path)]


def prose_lines(text):
    """(line number, line) outside fenced code blocks, code spans blanked,
    HTML comments dropped."""
    text = re.sub(r"<!--.*?-->", lambda m: "\n" * m.group(0).count("\n"), text, flags=re.DOTALL)
    fenced = None
    for number, line in enumerate(text.split("\n"), start=1):
        fence = FENCE.match(line)
        if fence:
            if fenced is None:
                fenced = fence.group(1)
                continue
            if fence.group(1) == fenced:
                fenced = None
                continue
        if fenced is None:
            yield number, re.sub(r"(`+)(.+?)\1", lambda m: " " * len(m.group(0)), line)


def slug(heading):
    """The anchor GitHub gives a heading: its text lowercased, punctuation
    dropped, spaces made hyphens."""
    text = re.sub(r"!?\[([^\]]*)\]\([^)]*\)", r"\1", heading)
    text = re.sub(r"[`*]", "", text)
    text = re.sub(r"(?<!\w)_+|_+(?!\w)", "", text)
    text = re.sub(r"[^\w\- ]", "", text.lower())
    return text.replace(" ", "-")


def anchors(path, cache={}):
    if path not in cache:
        found, counts = set(), {}
        with open(path, encoding="utf-8") as page:
            text = page.read()
        fenced = None
        for line in text.split("\n"):
            fence = FENCE.match(line)
            if fence:
                fenced = fence.group(1) if fenced is None else (None if fence.group(1) == fenced else fenced)
                continue
            heading = HEADING.match(line) if fenced is None else None
            if heading:
                base = slug(heading.group(2))
                count = counts.get(base, 0)
                counts[base] = count + 1
                found.add(base if count == 0 else f"{base}-{count}")
        cache[path] = found
    return cache[path]


def problem_with(target, page, root):
    if EXTERNAL.match(target):
        return None
    path, _, anchor = target.partition("#")
    resolved = os.path.normpath(os.path.join(os.path.dirname(page), path)) if path else page
    if os.path.commonpath([resolved, root]) != root:
        return "leads out of the project"
    if not os.path.exists(resolved):
        return "no such file or folder"
    if anchor:
        if not resolved.endswith(".md") or os.path.isdir(resolved):
            return "an anchor into something that is no page"
        if anchor not in anchors(resolved):
            return f"no heading makes the anchor #{anchor}"
    return None


def main():
    if len(sys.argv) != 2:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    root = os.path.realpath(sys.argv[1])
    problems, checked = [], 0
    pages = markdown_files(root)
    for page in pages:
        with open(page, encoding="utf-8") as source:
            text = source.read()
        for number, line in prose_lines(text):
            for target in [m.group(1) for m in LINK.finditer(line)] + HTML_SOURCE.findall(line):
                checked += 1
                problem = problem_with(target, page, root) if target else "an empty link"
                if problem:
                    problems.append(f"{os.path.relpath(page, root)}:{number}: {target}: {problem}")
    for problem in problems:
        print(problem, file=sys.stderr)
    print(f"{checked} links and pictures in {len(pages)} pages, {len(problems)} leading nowhere")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
