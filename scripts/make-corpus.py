#!/usr/bin/env python3
"""Assembles the benchmark corpus: about 25 MB of files every Debian machine
has, chosen the same way everywhere (candidates sorted by path, missing ones
skipped, each group filled up to its budget):
  text        /usr/share/common-licenses, then plain texts of /usr/share/doc
  programs    ELF executables of /usr/bin
  compressed  .gz/.xz/.bz2 archives of /usr/share/doc, images of /usr/share
                (stored, as a packer would leave them)
Writes DIR/files/<group>/NNNN-name and DIR/manifest.txt for qvpack build."""
import os
import shutil
import sys

MB = 1000 * 1000
GROUPS = [
    # name, budget, smallest, largest file, manifest kind, mode
    ("text", 10 * MB, 16 * 1024, 1 * MB, "file", "compressed"),
    ("programs", 8 * MB, 32 * 1024, 3 * MB, "program", "compressed"),
    ("compressed", 7 * MB, 8 * 1024, 1 * MB, "keep-existing", "stored"),
]
COMPRESSED_SUFFIXES = (".gz", ".xz", ".bz2", ".png", ".jpg", ".jpeg")


def walk_sorted(roots):
    for root in roots:
        if os.path.isfile(root):
            yield root
            continue
        found = []
        for folder, dirs, files in os.walk(root):
            dirs.sort()
            found.extend(os.path.join(folder, name) for name in files)
        yield from sorted(found)


def head(path, size=4096):
    try:
        with open(path, "rb") as f:
            return f.read(size)
    except OSError:
        return b""


def is_text(path):
    if path.endswith(COMPRESSED_SUFFIXES):
        return False
    data = head(path)
    return bool(data) and b"\0" not in data


def candidates(group):
    if group == "text":
        return (p for p in walk_sorted(["/usr/share/common-licenses", "/usr/share/doc"]) if is_text(p))
    if group == "programs":
        return (p for p in walk_sorted(["/usr/bin"]) if head(p, 4) == b"\x7fELF")
    roots = ["/usr/share/doc", "/usr/share/icons", "/usr/share/pixmaps", "/usr/share/backgrounds"]
    return (p for p in walk_sorted(roots) if p.endswith(COMPRESSED_SUFFIXES))


def choose(group, budget, smallest, largest):
    chosen, total, seen = [], 0, set()
    for path in candidates(group):
        if os.path.islink(path) or not os.path.isfile(path):
            continue
        size = os.path.getsize(path)
        if size < smallest or size > largest:
            continue
        if os.path.realpath(path) in seen:
            continue
        seen.add(os.path.realpath(path))
        if total + size > budget:
            break
        chosen.append(path)
        total += size
    return chosen, total


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make-corpus.py DIR")
    out = sys.argv[1]
    files = os.path.join(out, "files")
    shutil.rmtree(out, ignore_errors=True)
    lines = ["# kind\tmode\tdestination\tsource"]
    for name, budget, smallest, largest, kind, mode in GROUPS:
        chosen, total = choose(name, budget, smallest, largest)
        os.makedirs(os.path.join(files, name))
        for index, path in enumerate(chosen):
            base = "".join(c if c.isalnum() or c in "._-" else "_" for c in os.path.basename(path))[:40]
            local = "%04d-%s" % (index, base)
            shutil.copyfile(path, os.path.join(files, name, local))
            lines.append("%s\t%s\t<InstallPath>\\%s\\%s\tfiles/%s/%s" % (kind, mode, name, local, name, local))
        print("%-10s %4d files %10d bytes" % (name, len(chosen), total))
    with open(os.path.join(out, "manifest.txt"), "w") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
