#!/usr/bin/env python3
"""Reads the version resource back from a built executable and compares it
with the identity the build gave it.

Usage: version_resource_test.py EXE --version X.Y.Z --product NAME
           --company NAME --copyright TEXT

The resource is extracted natively with icoutils' wrestool and its
VS_VERSIONINFO tree parsed here, so the test needs no Windows.
"""

import argparse
import os
import struct
import subprocess
import sys
import unittest

FIXED_SIGNATURE = 0xFEEF04BD
VOS_NT_WINDOWS32 = 0x00040004
VFT_APP = 1
RT_VERSION = 16


class Node:
    """One block of the tree: a key, a text or binary value, children."""

    def __init__(self, key, value, children):
        self.key, self.value, self.children = key, value, children

    def child(self, key):
        matches = [c for c in self.children if c.key == key]
        if len(matches) != 1:
            raise AssertionError(f"{len(matches)} blocks named {key!r} under {self.key!r}")
        return matches[0]


def align4(offset):
    return (offset + 3) & ~3


def parse_node(data, offset):
    """Parses the block at offset; returns it and the offset after it."""
    length, value_length, value_type = struct.unpack_from("<HHH", data, offset)
    end = offset + length
    if length < 6 or end > len(data):
        raise AssertionError(f"block at {offset} has impossible length {length}")
    key_start = offset + 6
    key_end = key_start
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = data[key_start:key_end].decode("utf-16-le")
    position = align4(key_end + 2)
    if value_type == 1:  # text, length in UTF-16 units including the NUL
        raw = data[position:position + 2 * value_length]
        value = raw.decode("utf-16-le").rstrip("\0")
        position += 2 * value_length
    else:
        value = data[position:position + value_length]
        position += value_length
    children = []
    position = align4(position)
    while position < end:
        node, position = parse_node(data, position)
        children.append(node)
        position = align4(position)
    return Node(key, value, children), end


def wrestool(*args):
    return subprocess.run(["wrestool", f"--type={RT_VERSION}", *args],
                          check=True, capture_output=True).stdout


def read_version_resource(exe):
    """The executable's one version resource, parsed."""
    listed = wrestool("--list", exe).splitlines()
    if len(listed) != 1:
        raise AssertionError(f"{exe} has {len(listed)} version resources, not one")
    root, _ = parse_node(wrestool("--extract", "--raw", exe), 0)
    return root


class VersionResourceTest(unittest.TestCase):
    exe = None
    expected = None

    @classmethod
    def setUpClass(cls):
        cls.root = read_version_resource(cls.exe)

    def version_parts(self):
        return tuple(int(p) for p in self.expected.version.split(".")) + (0,)

    def test_fixed_part_carries_the_project_version(self):
        self.assertEqual(self.root.key, "VS_VERSION_INFO")
        fixed = struct.unpack("<13I", self.root.value)
        self.assertEqual(fixed[0], FIXED_SIGNATURE)
        file_ms, file_ls, product_ms, product_ls = fixed[2:6]
        split = lambda ms, ls: (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
        self.assertEqual(split(file_ms, file_ls), self.version_parts())
        self.assertEqual(split(product_ms, product_ls), self.version_parts())
        file_os, file_type = fixed[8], fixed[9]
        self.assertEqual(file_os, VOS_NT_WINDOWS32)
        self.assertEqual(file_type, VFT_APP)

    def test_strings_name_the_product_and_its_version(self):
        table = self.root.child("StringFileInfo").child("040904B0")
        strings = {node.key: node.value for node in table.children}
        exe_name = os.path.basename(self.exe)
        self.assertEqual(strings, {
            "CompanyName": self.expected.company,
            "FileDescription": self.expected.product,
            "FileVersion": self.expected.version,
            "InternalName": os.path.splitext(exe_name)[0],
            "LegalCopyright": self.expected.copyright,
            "OriginalFilename": exe_name,
            "ProductName": self.expected.product,
            "ProductVersion": self.expected.version,
        })

    def test_translation_names_the_string_table(self):
        translation = self.root.child("VarFileInfo").child("Translation")
        language, code_page = struct.unpack("<HH", translation.value)
        table = self.root.child("StringFileInfo").children[0]
        self.assertEqual(f"{language:04X}{code_page:04X}", table.key)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("exe")
    for option in ("version", "product", "company", "copyright"):
        parser.add_argument(f"--{option}", required=True)
    args, rest = parser.parse_known_args()
    VersionResourceTest.exe = args.exe
    VersionResourceTest.expected = args
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
