#!/usr/bin/env python3
"""Reports UI texts that would show through untranslated.

Collects every string literal passed to L(...) or InterfaceLanguage::text(...)
in the C++ sources and lists the keys that have no English text in any
translation layer (the built-in translations or the catalogue). Such a key
shows its Chinese source text to every user who does not read Chinese.

Usage: check-l10n-coverage.py [--sources DIR] [--resources DIR]
Exit status: 0 when every key is covered, 1 otherwise.
"""
import argparse
import json
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent

# A call of the lookup whose first argument is one string literal.
CALL = re.compile(r'\b(?:L|InterfaceLanguage::text)\(\s*(?:u8)?"((?:[^"\\\n]|\\.)*)"\s*[,)]')
ESCAPES = {'"': '"', "\\": "\\", "n": "\n", "t": "\t", "'": "'"}


def unescape(literal):
    return re.sub(r"\\(.)", lambda m: ESCAPES.get(m.group(1), m.group(0)), literal)


def collect_keys(sources):
    keys = {}
    for path in sorted(sources.rglob("*")):
        if path.suffix not in (".h", ".cpp") or not path.is_file():
            continue
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            if line.lstrip().startswith("//"):
                continue
            for match in CALL.finditer(line):
                keys.setdefault(unescape(match.group(1)), f"{path.relative_to(sources)}:{number}")
    return keys


def english_keys(resources):
    covered = set()
    tables = [resources / "translations.json"] + sorted((resources / "features").glob("*.json"))
    for table in tables:
        for row in json.loads(table.read_text(encoding="utf-8")):
            if row.get("english"):
                covered.add(row["key"])
    catalogue = json.loads((resources / "catalogue.json").read_text(encoding="utf-8"))
    english = catalogue.get("translations", {}).get("english", [])
    for key, text in zip(catalogue.get("keys", []), english):
        if text:
            covered.add(key)
    return covered


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--sources", type=pathlib.Path, default=ROOT / "src")
    parser.add_argument("--resources", type=pathlib.Path, default=ROOT / "resources" / "localization")
    arguments = parser.parse_args()

    keys = collect_keys(arguments.sources)
    covered = english_keys(arguments.resources)
    missing = {key: where for key, where in keys.items() if key and key not in covered}
    for key, where in sorted(missing.items(), key=lambda item: item[1]):
        print(f"{where}: no English text for \"{key}\"")
    print(f"{len(keys)} keys passed to L, {len(missing)} without an English text")
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main())
