#!/usr/bin/python3
"""Reads back the resources of a Windows program or installer with wrestool
and icotool (Debian's icoutils) and checks them: an icon with the sizes
Windows shows, version information naming the product and its version, and
with --manifest the programs' manifest. Prints one line that sums them up;
exits 1 naming what is missing.
usage: windows_resources.py FILE PRODUCT VERSION [--manifest]"""
import os
import re
import struct
import subprocess
import sys
import tempfile

path, product, version = sys.argv[1:4]
want_manifest = "--manifest" in sys.argv[4:]
name = os.path.basename(path)
problems = []


def resource(kind, raw=True):
    """The resource's bytes; an icon group (raw=False) as an .ico file."""
    command = ["wrestool", "-x", "-t", str(kind)] + (["--raw"] if raw else []) + [path]
    return subprocess.run(command, capture_output=True, check=False).stdout


def strings(block):
    """The StringFileInfo texts of a VS_VERSIONINFO block: every node is
    length, value length, type, a UTF-16 key ending in 0, padding to 4 bytes,
    the value, padding, children."""
    found = {}

    def node(at, end):
        length, value_length, kind = struct.unpack_from("<HHH", block, at)
        key_end = at + 6
        while block[key_end:key_end + 2] != b"\0\0":
            key_end += 2
        key = block[at + 6:key_end].decode("utf-16-le")
        value_at = (key_end + 2 + 3) & ~3
        if kind == 1 and value_length:
            text = block[value_at:value_at + 2 * value_length].decode("utf-16-le")
            found[key] = text.split("\0")[0]
            child = value_at + 2 * value_length
        else:
            child = value_at + value_length
        child = (child + 3) & ~3
        while child < min(at + length, end):
            child = node(child, at + length)
        return (at + length + 3) & ~3

    node(0, len(block))
    return found


version_block = resource(16)
info = strings(version_block) if version_block else {}
if not info:
    problems.append("no version information")
for key, expected in (("ProductName", product), ("ProductVersion", version),
                      ("FileVersion", version)):
    if info.get(key) != expected:
        problems.append(f"{key} {info.get(key)!r}, not {expected!r}")
for key in ("CompanyName", "FileDescription", "LegalCopyright"):
    if not info.get(key):
        problems.append(f"no {key}")

with tempfile.TemporaryDirectory() as folder:
    icon = os.path.join(folder, "icon.ico")
    with open(icon, "wb") as out:
        out.write(resource(14, raw=False))
    listing = subprocess.run(["icotool", "-l", icon], capture_output=True, text=True,
                             check=False).stdout
sizes = sorted({int(w) for w in re.findall(r"--width=(\d+)", listing)})
if not {16, 32, 48} <= set(sizes):
    problems.append(f"an icon of sizes {sizes}, not 16, 32 and 48 at least")

summary = f"icon {'/'.join(map(str, sizes))} px; {info.get('ProductName')} {info.get('ProductVersion')}"
summary += f", \"{info.get('FileDescription')}\", {info.get('CompanyName')}"
if want_manifest:
    manifest = resource(24).decode("utf-8", "replace")
    for part, pattern in (("asInvoker", r'level="asInvoker"'),
                          ("PerMonitorV2", r">PerMonitorV2<"),
                          ("UTF-8", r"<activeCodePage[^>]*>UTF-8<")):
        if not re.search(pattern, manifest):
            problems.append(f"a manifest without {part}")
    summary += "; manifest asInvoker, PerMonitorV2, UTF-8"

if problems:
    print(f"{name}: " + "; ".join(problems))
    sys.exit(1)
print(f"{name}: {summary}")
