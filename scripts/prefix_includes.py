#!/usr/bin/env python3
"""Writes the tree's own includes as "dvrkit/<folder>/<file>", the path they have once installed.

Usage: scripts/prefix_includes.py [--quiet] [source dir]   (default: the folder above this script)

Every quoted include that starts with a top-level folder of the tree ("platform/core/CString.h",
"tests/support/TempDir.h") gets the "dvrkit/" prefix; the build puts one include directory
before the tree in which dvrkit/ is the source root, and the installed headers sit under
<prefix>/include/dvrkit/. Includes already prefixed, system headers and build folders are left
alone, so the script can run again after a merge. Prints each file it changed, unless --quiet.

The build runs it on the copy of the headers it installs (cmake/DvrkitInstall.cmake); run on the
tree itself, it makes the sources include one another by their installed paths too.
"""
import pathlib
import re
import sys

SOURCE_SUFFIXES = {".h", ".hpp", ".c", ".cpp", ".inc"}
INCLUDE = re.compile(r'^(\s*#\s*include\s*")([^/"]+)(/[^"]*")', re.MULTILINE)


def is_build_folder(path):
    return (path / "CMakeCache.txt").exists() or path.name.startswith("build")


def tree_folders(root):
    return {p.name for p in root.iterdir() if p.is_dir() and not p.name.startswith(".") and not is_build_folder(p)}


def sources(root, folders):
    for name in sorted(folders):
        for path in sorted((root / name).rglob("*")):
            inside = path.relative_to(root).parents
            if path.suffix in SOURCE_SUFFIXES and path.is_file() and not any(is_build_folder(root / p) for p in inside):
                yield path


def main(argv):
    quiet = "--quiet" in argv
    args = [a for a in argv[1:] if a != "--quiet"]
    root = pathlib.Path(args[0] if args else pathlib.Path(__file__).resolve().parent.parent)
    folders = tree_folders(root)
    folders.discard("dvrkit")

    def prefix(match):
        if match.group(2) not in folders:
            return match.group(0)
        return f"{match.group(1)}dvrkit/{match.group(2)}{match.group(3)}"

    changed = 0
    for path in sources(root, folders):
        text = path.read_text()
        rewritten = INCLUDE.sub(prefix, text)
        if rewritten != text:
            path.write_text(rewritten)
            if not quiet:
                print(path.relative_to(root))
            changed += 1
    if not quiet:
        print(f"{changed} file(s) rewritten", file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
