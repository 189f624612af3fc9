#!/usr/bin/env python3
"""Writes the shared library's version script from the objects of the library's layers.

Usage: scripts/export_map.py NM OUTPUT NODE OBJECT...

Every header of a layer is installed, so whatever a layer defines with external linkage is the
library's interface and is exported under the version node NODE: free functions, classes with
their members, vtables and type information, variables, and the inline functions and static
locals of the headers (so that the host and the library share one copy). What the compiler
instantiates of the standard library stays local, and so does everything else. The names are
written mangled, each matched exactly; the linker's C++ patterns cannot spell a signature.
"""
import subprocess
import sys

# Mangled prefixes of special names whose remainder encodes a type or an entity.
SPECIAL_PREFIXES = ("TV", "TI", "TS", "TT", "TH", "TW", "GV", "GR")
# What a nested or plain name of the standard library and the compiler's runtime starts with.
RUNTIME_SCOPES = ("St", "Sa", "Sb", "Ss", "Si", "So", "Sd", "9__gnu_cxx", "10__cxxabiv1", "11__sanitizer")


def strip_call_offset(name):
    """A thunk's name without its call offsets: "hn8_" or "v0_n24_" before the target."""
    if name.startswith("Th"):
        return name[name.index("_") + 1:]
    if name.startswith("Tv"):
        first = name.index("_")
        return name[name.index("_", first + 1) + 1:]
    return name


def is_runtime(mangled):
    """Whether a mangled name belongs to the standard library or the compiler's runtime."""
    name = mangled[2:]
    name = strip_call_offset(name)
    if name.startswith(SPECIAL_PREFIXES):
        name = name[2:]
    if name.startswith("Z"):  # an entity local to a function: decided by the function
        name = name[1:]
    if name.startswith("N"):
        name = name[1:].lstrip("rVKRO")
    return name.startswith(RUNTIME_SCOPES)


def is_exported(name):
    if name.startswith("_Z"):
        return not is_runtime(name)
    # Unmangled: variables of the global namespace and C functions. Reserved names and the
    # compiler's own (DW.ref.*) are not the library's.
    return not name.startswith("_") and "." not in name


def defined_globals(nm, objects):
    out = subprocess.run([nm, "--defined-only", "--extern-only", "--format=posix", *objects],
                         check=True, capture_output=True, text=True).stdout
    names = set()
    for line in out.splitlines():
        fields = line.split()
        # "name type [value size]"; the archive and file headers end in ":".
        if len(fields) >= 2 and not fields[0].endswith(":"):
            names.add(fields[0])
    return names


def main():
    if len(sys.argv) < 5:
        sys.exit(__doc__)
    nm, output, node, objects = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:]
    exported = sorted(n for n in defined_globals(nm, objects) if is_exported(n))
    lines = "".join(f"    {name};\n" for name in exported)
    text = (f"/* Written by scripts/export_map.py from the layers' objects: the symbols the shared library exports. */\n"
            f"{node} {{\n  global:\n{lines}  local: *;\n}};\n")
    with open(output, "w", encoding="ascii") as new:
        new.write(text)


if __name__ == "__main__":
    main()
