#!/usr/bin/env python3
"""Prints an executable's size and its three biggest sections, and fails when
it is above LIMIT bytes (0: no limit; only the shipped architecture has one).

    check_executable_size.py FILE LIMIT OBJDUMP

The sections tell where a regression came from: code (.text), constant data
and unwind tables (.rdata, .eh_frame, .pdata, .xdata), resources (.rsrc),
relocations (.reloc)."""

import os
import subprocess
import sys


def biggest_sections(objdump, path, count=3):
    listing = subprocess.run([objdump, "-h", path], check=True, capture_output=True, text=True).stdout
    sections = []
    for line in listing.splitlines():
        fields = line.split()
        # "Idx Name Size VMA LMA File-off Algn"
        if len(fields) == 7 and fields[0].isdigit():
            sections.append((int(fields[2], 16), fields[1]))
    return sorted(sections, reverse=True)[:count]


def main():
    path, limit, objdump = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    size = os.path.getsize(path)
    report = f"{os.path.basename(path)}: {size} bytes ({size // 1024} KiB)"
    if limit > 0:
        report += f", limit {limit} bytes ({limit // 1024} KiB)"
    print(report)
    print("  biggest sections: " + ", ".join(f"{name} {bytes} bytes" for bytes, name in biggest_sections(objdump, path)))
    if limit > 0 and size > limit:
        sys.exit(f"{report}: too large")


if __name__ == "__main__":
    main()
