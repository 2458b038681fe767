#!/usr/bin/env python3
"""Fails when a Windows executable holds a delay-load import slot that does
not point at code of its own.

A delay-loaded function is called through a slot that starts out pointing at
a lazy thunk; the first call loads the DLL and puts the function's address in
its place. A slot left at 0 (an i686 link that dropped the thunk) faults at
address 0 on the first call. The mingw linker does not fill in the optional
header's delay-import directory for dlltool's delay libraries, so the
descriptors are found by what they hold: the attribute 1 (RVA-based) and the
RVA of one of the DLL names in the import section. A name there that neither
the ordinary import table nor exactly one descriptor names fails the check:
it would be a descriptor this check cannot read.

Run as: check_delay_imports.py EXECUTABLE
"""
import re
import struct
import sys

IMAGE_SCN_MEM_EXECUTE = 0x20000000
DLL_NAME = re.compile(rb"[A-Za-z0-9_.-]+\.dll\0", re.IGNORECASE)


class Image:
    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE image")
        sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
        optional = pe + 24
        magic = struct.unpack_from("<H", data, optional)[0]
        self.pointer_size = 8 if magic == 0x20B else 4
        if self.pointer_size == 8:
            self.base = struct.unpack_from("<Q", data, optional + 24)[0]
            directories = optional + 112
        else:
            self.base = struct.unpack_from("<I", data, optional + 28)[0]
            directories = optional + 96
        self.import_rva = struct.unpack_from("<I", data, directories + 8)[0]
        self.sections = []
        for i in range(sections):
            header = optional + optional_size + 40 * i
            virtual_size, rva, raw_size, raw_offset = struct.unpack_from("<IIII", data, header + 8)
            flags = struct.unpack_from("<I", data, header + 36)[0]
            self.sections.append((rva, max(virtual_size, raw_size), raw_offset, raw_size, flags))
        self.size = max(rva + size for rva, size, _, _, _ in self.sections)

    def section_of(self, rva):
        for section in self.sections:
            if section[0] <= rva < section[0] + section[1]:
                return section
        return None

    def offset(self, rva):
        section = self.section_of(rva)
        if section is None or rva - section[0] >= section[3]:
            raise ValueError(f"RVA {rva:#x} has no bytes in the file")
        return section[2] + rva - section[0]

    def rva_of_offset(self, offset):
        for rva, _, raw_offset, raw_size, _ in self.sections:
            if raw_offset <= offset < raw_offset + raw_size:
                return rva + offset - raw_offset
        return None

    def u32(self, rva):
        return struct.unpack_from("<I", self.data, self.offset(rva))[0]

    def pointer(self, rva):
        return struct.unpack_from("<Q" if self.pointer_size == 8 else "<I", self.data, self.offset(rva))[0]

    def text(self, rva):
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("ascii", "replace")

    def executable(self, address):
        rva = address - self.base
        section = self.section_of(rva) if 0 <= rva < self.size else None
        return section is not None and section[4] & IMAGE_SCN_MEM_EXECUTE != 0

    def ordinary_imports(self):
        names = set()
        if not self.import_rva:
            return names
        rva = self.import_rva
        while True:
            name_rva = self.u32(rva + 12)
            if name_rva == 0:
                return names
            names.add(self.text(name_rva).lower())
            rva += 20

    def dll_names(self):
        """(name, RVA) of every DLL name in the import section."""
        if not self.import_rva:
            return []
        _, _, raw_offset, raw_size, _ = self.section_of(self.import_rva)
        return [(match.group()[:-1].decode("ascii"), self.rva_of_offset(match.start()))
                for match in DLL_NAME.finditer(self.data, raw_offset, raw_offset + raw_size)
                if self.data[match.start() - 1] == 0]

    def descriptors_naming(self, name_rva):
        pattern = struct.pack("<II", 1, name_rva)
        start = 0
        while (at := self.data.find(pattern, start)) != -1:
            start = at + 1
            fields = struct.unpack_from("<8I", self.data, at)
            if fields[5:] == (0, 0, 0) and all(0 < f < self.size for f in fields[2:5]):
                yield fields


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: check_delay_imports.py EXECUTABLE")
    path = sys.argv[1]
    with open(path, "rb") as f:
        image = Image(f.read())
    problems = []
    summary = []
    ordinary = image.ordinary_imports()
    for dll, name_rva in image.dll_names():
        descriptors = list(image.descriptors_naming(name_rva))
        if not descriptors and dll.lower() in ordinary:
            continue
        if len(descriptors) != 1:
            problems.append(f"{dll}: {len(descriptors)} delay-load descriptors found, expected one")
            continue
        _, _, _, slots, names, _, _, _ = descriptors[0]
        count = 0
        while (entry := image.pointer(names + count * image.pointer_size)) != 0:
            slot = image.pointer(slots + count * image.pointer_size)
            function = f"#{entry & 0xFFFF}" if entry >> (image.pointer_size * 8 - 1) else image.text(entry + 2)
            if not image.executable(slot):
                problems.append(f"{dll}!{function}: its slot holds {slot:#x}, not the address of its thunk")
            count += 1
        summary.append(f"{dll} ({count})")
    if problems:
        print(f"{path}: delay-load imports that would fault on first use:", file=sys.stderr)
        for problem in problems:
            print(f"  {problem}", file=sys.stderr)
        sys.exit(1)
    if summary:
        print(f"delay-loaded: {', '.join(summary)}")


if __name__ == "__main__":
    main()
