"""Fails when a file of a layer's folder includes a folder its layer may not use.

Usage: layer_includes.py <source dir> <layer rules>

The rules file has one layer a line, "<layer> <folder> <layers it may use...>", as
cmake/DvrkitLayer.cmake writes it. A layer may include its own folder and the folders of the
layers it names, and no others: a layer that uses a layer's headers names it. A folder of the
project that is no layer (tools/, tests/) is above every layer and never included by one;
includes that name no folder of the project are the system's and are left alone. An include may
name its folder by the installed path, "dvrkit/<folder>/...".
"""
import pathlib
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^>"]+)[>"]')
SOURCE_SUFFIXES = {".h", ".hpp", ".c", ".cpp", ".inc"}


def read_rules(path):
    layers = {}
    for line in pathlib.Path(path).read_text().splitlines():
        if line.strip() and not line.startswith("#"):
            name, folder, *uses = line.split()
            layers[name] = (folder, uses)
    return layers


def owner(layers, path):
    """The layer whose folder holds `path` (the deepest one), or None."""
    best = None
    for name, (folder, _) in layers.items():
        if path.startswith(folder + "/") and (best is None or len(folder) > len(layers[best][0])):
            best = name
    return best


def violations(root, layers):
    for name, (folder, _) in sorted(layers.items()):
        allowed = {name, *layers[name][1]}
        others = sorted(layers[n][0] for n in allowed - {name})
        rule = f"{name} may use only " + ", ".join(others) if others else f"{name} may use no other folder"
        for file in sorted((root / folder).rglob("*")):
            if file.suffix not in SOURCE_SUFFIXES:
                continue
            relative = file.relative_to(root).as_posix()
            if owner(layers, relative) != name:
                continue  # a nested layer's file, checked under that layer
            for number, line in enumerate(file.read_text(errors="replace").splitlines(), 1):
                match = INCLUDE.match(line)
                if not match or "/" not in match.group(1):
                    continue
                # "dvrkit/log2/..." is the installed path of "log2/..." (scripts/prefix_includes.py).
                included = match.group(1).removeprefix("dvrkit/")
                target = owner(layers, included)
                if target in allowed:
                    continue
                if target is None and not (root / included.split("/")[0]).is_dir():
                    continue  # a system header
                yield f"{relative}:{number}: includes \"{included}\": {rule}"


def main(argv):
    root = pathlib.Path(argv[1])
    layers = read_rules(argv[2])
    missing = [folder for folder, _ in layers.values() if not (root / folder).is_dir()]
    unknown = {used for _, uses in layers.values() for used in uses} - layers.keys()
    if missing or unknown or not layers:
        print(f"bad layer rules: missing folders {missing}, unknown layers {sorted(unknown)}")
        return 2
    found = list(violations(root, layers))
    for message in found:
        print(message)
    print(f"{len(found)} include(s) cross a layer boundary" if found else "every include stays within its layer's rules")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
