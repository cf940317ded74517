#!/usr/bin/env python3
"""page_offline.py PAGE_DIR TEMPLATE FILE...: writes PAGE_DIR/service-worker.js
from TEMPLATE, naming each FILE of the page (relative to PAGE_DIR) with the
SHA-256 of its contents, and the build's version: a digest of all of them,
so that any change to any file makes a new worker with a cache of its own."""
import hashlib
import json
import os
import sys


def main():
    if len(sys.argv) < 4:
        sys.exit("usage: page_offline.py PAGE_DIR TEMPLATE FILE...")
    page, template_path, names = sys.argv[1], sys.argv[2], sys.argv[3:]
    files = {}
    try:
        for name in names:
            with open(os.path.join(page, name), "rb") as file:
                files[name] = hashlib.sha256(file.read()).hexdigest()
        with open(template_path, encoding="utf-8") as template:
            text = template.read()
    except OSError as error:
        sys.exit(f"page_offline.py: {error}")
    version = hashlib.sha256(json.dumps(files, sort_keys=True).encode()).hexdigest()[:16]
    text = text.replace("@VERSION@", version).replace("@FILES@", json.dumps(files, indent=2))
    target = os.path.join(page, "service-worker.js")
    # Written only when it changes: the worker's bytes are what browsers compare.
    try:
        with open(target, encoding="utf-8") as old:
            if old.read() == text:
                return
    except OSError:
        pass
    with open(target + ".new", "w", encoding="utf-8") as out:
        out.write(text)
    os.replace(target + ".new", target)


if __name__ == "__main__":
    main()
