#!/usr/bin/env python3
"""Prints an apt sources file (deb822) with a deb-src entry for every Debian
archive the machine's own apt configuration names: the same mirror, suites,
components and key, so `apt-get source` fetches the sources of the packages
the machine installs. Other archives (third parties) are left out: they seldom
carry sources."""
import glob
import sys


def one_line_entries(path):
    for line in open(path, encoding="utf-8", errors="replace"):
        words = line.split("#", 1)[0].split()
        if not words or words[0] != "deb":
            continue
        options = {}
        words = words[1:]
        if words and words[0].startswith("["):
            text = []
            while words:
                word = words.pop(0)
                text.append(word)
                if word.endswith("]"):
                    break
            for option in " ".join(text).strip("[] ").split():
                key, _, value = option.partition("=")
                options[key.lower()] = value
        if len(words) < 2:
            continue
        yield {"uris": [words[0]], "suites": [words[1]], "components": words[2:],
               "signed-by": options.get("signed-by", "")}


def deb822_entries(path):
    stanza = {}
    lines = open(path, encoding="utf-8", errors="replace").read().split("\n") + [""]
    for line in lines:
        if line.startswith("#"):
            continue
        if not line.strip():
            if stanza and "deb" in stanza.get("types", "").split() and stanza.get("enabled", "yes") != "no":
                yield {"uris": stanza.get("uris", "").split(), "suites": stanza.get("suites", "").split(),
                       "components": stanza.get("components", "").split(),
                       "signed-by": stanza.get("signed-by", "")}
            stanza = {}
            continue
        key, _, value = line.partition(":")
        stanza[key.strip().lower()] = value.strip()


def is_debian(entry):
    return "debian-archive-keyring" in entry["signed-by"] or any(
        uri.rstrip("/").rsplit("/", 1)[-1] in ("debian", "debian-security") for uri in entry["uris"])


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else "/etc/apt"
    entries = []
    for path in [root + "/sources.list"] + sorted(glob.glob(root + "/sources.list.d/*.list")):
        try:
            entries += one_line_entries(path)
        except OSError:
            pass
    for path in sorted(glob.glob(root + "/sources.list.d/*.sources")):
        entries += deb822_entries(path)
    entries = [entry for entry in entries if is_debian(entry) and entry["uris"] and entry["suites"]]
    if not entries:
        sys.exit("no Debian archive in " + root + "'s sources")
    for entry in entries:
        print("Types: deb-src")
        print("URIs: " + " ".join(entry["uris"]))
        print("Suites: " + " ".join(entry["suites"]))
        print("Components: " + " ".join(entry["components"] or ["main"]))
        if entry["signed-by"]:
            print("Signed-By: " + entry["signed-by"])
        print()


main()
