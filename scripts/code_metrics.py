#!/usr/bin/env python3
"""Measures of the code a newcomer meets: names left from the old program,
which folder includes which, and the largest files and functions.

Usage: scripts/code_metrics.py [--names-only]
Needs universal-ctags for the function sizes."""
import collections
import json
import os
import re
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TREES = ["src", "tests", "bench", "fuzz"]

# Romanised Japanese and the old program's numbered control names.
OLD_WORD = re.compile(
    r"(^|_)(manten|omomi|kouho|hyouka|dosuu|sougouten|retu|gyou|heikin|past|flg|"
    r"mnu|sakujo|hyouji|moji|insert_[rg]|del_[rg]|ins)($|_)")
OLD_CONTROL = re.compile(
    r"^(Text|Command|Frame|Label|Combo|Option|List|VScroll|HScroll|Timer|MSFlexGrid|Form|MDIForm)"
    r"[0-9]+(_[0-9A-Za-z]+)?$")


def sources(trees):
    for tree in trees:
        for base, _, names in os.walk(os.path.join(ROOT, tree)):
            for name in names:
                if name.endswith((".cpp", ".h")):
                    yield os.path.join(base, name)


# Comments and string literals, told apart from code.
TOKENS = re.compile(r'(//[^\n]*|/\*.*?\*/|"(?:\\.|[^"\\\n])*"|\'(?:\\.|[^\'\\\n])*\')', re.S)


def is_old(word):
    return bool(OLD_WORD.search(word) or OLD_CONTROL.match(word))


def old_names():
    """Old names used as identifiers, and old names spelled in strings
    outside the one header of object names."""
    in_code = collections.Counter()
    in_strings = collections.Counter()
    for path in sources(TREES):
        with open(path, encoding="utf-8") as f:
            text = f.read()
        names_header = path.endswith("objectnames.h")
        code = TOKENS.sub(" ", text)
        for word in re.findall(r"[A-Za-z_][A-Za-z0-9_]*", code):
            if is_old(word):
                in_code[word] += 1
        if names_header:
            continue
        # A name, not a word of a sentence: the whole string is one identifier.
        for token in TOKENS.findall(text):
            word = token.strip('"')
            if token.startswith('"') and re.fullmatch(r"[A-Za-z_][A-Za-z0-9_]*", word) and is_old(word):
                in_strings[word] += 1
    return in_code, in_strings


def folder_of(path):
    rel = os.path.relpath(path, os.path.join(ROOT, "src"))
    return os.path.dirname(rel) or "."


def folder_includes():
    known = {}
    for path in sources(["src"]):
        known.setdefault(os.path.basename(path), []).append(path)
    edges = collections.defaultdict(set)
    for path in sources(["src"]):
        here = folder_of(path)
        with open(path, encoding="utf-8") as f:
            for name in re.findall(r'#include\s+"([^"]+)"', f.read()):
                target = os.path.normpath(os.path.join(os.path.dirname(path), name))
                if not os.path.exists(target):
                    found = known.get(os.path.basename(name), [])
                    if len(found) != 1:
                        continue
                    target = found[0]
                there = folder_of(target)
                if there != here:
                    edges[here].add(there)
    return edges


def largest_functions(count):
    out = subprocess.run(
        ["ctags", "-R", "--languages=C++", "--kinds-C++=f", "--fields=+ne",
         "--output-format=json", "-f", "-", "src"],
        cwd=ROOT, capture_output=True, text=True, check=True).stdout
    sizes = []
    for line in out.splitlines():
        tag = json.loads(line)
        if "end" in tag:
            scope = tag.get("scope", "")
            name = f"{scope}::{tag['name']}" if scope else tag["name"]
            sizes.append((tag["end"] - tag["line"] + 1, name, tag["path"]))
    return sorted(sizes, reverse=True)[:count], len(sizes), sum(1 for s in sizes if s[0] > 60)


def main():
    in_code, in_strings = old_names()
    print(f"old-style identifiers: {len(in_code)} distinct, {sum(in_code.values())} uses")
    for word, n in in_code.most_common():
        print(f"  {n:4} {word}")
    print(f"old-style names in strings outside objectnames.h: {len(in_strings)} distinct, "
          f"{sum(in_strings.values())} uses")
    for word, n in in_strings.most_common():
        print(f"  {n:4} {word}")
    if "--names-only" in sys.argv:
        return
    print("folder includes (a -> b: a includes b):")
    edges = folder_includes()
    for here in sorted(edges):
        print(f"  {here} -> {', '.join(sorted(edges[here]))}")
    cycles = sorted({tuple(sorted((a, b))) for a in edges for b in edges[a] if a in edges.get(b, ())})
    print(f"two folders including each other: {cycles if cycles else 'none'}")
    files = sorted(((sum(1 for _ in open(p, encoding='utf-8')), os.path.relpath(p, ROOT))
                    for p in sources(["src"])), reverse=True)[:3]
    print("largest files:", ", ".join(f"{p} ({n})" for n, p in files))
    top, total, over = largest_functions(5)
    print(f"functions: {total}, over 60 lines: {over}")
    for n, name, path in top:
        print(f"  {n:4} {name} ({path})")


if __name__ == "__main__":
    main()
