#!/usr/bin/env python3
"""Reads the version resource back from a built lumenor.exe, as Explorer's Properties shows it,
and checks that the file and product versions, fixed and as text, are the project version.

    check_version_resource.py EXE VERSION
"""

import struct
import sys

RT_VERSION = 16
FIXED_FILE_INFO_SIGNATURE = 0xFEEF04BD


def resource_section(pe):
    """Where the resource directory starts in the file, and its section's RVA and file offset."""
    if pe[:2] != b"MZ":
        raise ValueError("not an MZ executable")
    header = struct.unpack_from("<I", pe, 0x3C)[0]
    if pe[header:header + 4] != b"PE\0\0":
        raise ValueError("no PE header")
    coff = header + 4
    sections, optional_size = struct.unpack_from("<H12xH", pe, coff + 2)
    optional = coff + 20
    magic = struct.unpack_from("<H", pe, optional)[0]
    directories = optional + {0x10B: 96, 0x20B: 112}[magic]  # PE32, PE32+
    rva, size = struct.unpack_from("<II", pe, directories + 2 * 8)  # entry 2: resources
    if size == 0:
        raise ValueError("no resources")
    table = optional + optional_size
    for k in range(sections):
        _, virtual_size, virtual_address, raw_size, raw_offset = struct.unpack_from(
            "<8sIIII", pe, table + 40 * k)
        if virtual_address <= rva < virtual_address + max(virtual_size, raw_size):
            return raw_offset + (rva - virtual_address), virtual_address, raw_offset
    raise ValueError("resource directory lies in no section")


def first_version_resource(pe):
    root, section_rva, section_raw = resource_section(pe)

    def entries(directory):
        named, numbered = struct.unpack_from("<HH", pe, root + directory + 12)
        for k in range(named + numbered):
            yield struct.unpack_from("<II", pe, root + directory + 16 + 8 * k)

    def child(directory, wanted=None):
        for name, offset in entries(directory):
            if wanted is None or name == wanted:
                return offset
        raise ValueError(f"no resource entry {wanted}")

    by_name = child(0, RT_VERSION)
    by_language = child(by_name & 0x7FFFFFFF)
    data_entry = child(by_language & 0x7FFFFFFF)
    data_rva, data_size = struct.unpack_from("<II", pe, root + data_entry)
    start = section_raw + (data_rva - section_rva)
    return pe[start:start + data_size]


def align4(offset):
    return (offset + 3) & ~3


def parse_block(data, offset=0):
    """One node of VS_VERSIONINFO: (key, value bytes or text, children), and its end."""
    length, value_length, is_text = struct.unpack_from("<HHH", data, offset)
    end = offset + length
    key_end = offset + 6
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = data[offset + 6:key_end].decode("utf-16-le")
    at = align4(key_end + 2)
    size = value_length * 2 if is_text else value_length
    value = data[at:at + size]
    if is_text:
        value = value.decode("utf-16-le").rstrip("\0")
    at = align4(at + size)
    children = []
    while at < end:
        node, at = parse_block(data, at)
        children.append(node)
        at = align4(at)
    return (key, value, children), end


def version_of(exe):
    with open(exe, "rb") as f:
        pe = f.read()
    (key, fixed, children), _ = parse_block(first_version_resource(pe))
    if key != "VS_VERSION_INFO":
        raise ValueError(f"version resource named {key!r}")
    signature, _, file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<6I", fixed)
    if signature != FIXED_FILE_INFO_SIGNATURE:
        raise ValueError("no VS_FIXEDFILEINFO")

    def words(ms, ls):
        return (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)

    strings = {}
    for name, _, tables in children:
        if name == "StringFileInfo":
            for _, _, values in tables:
                strings.update((k, v) for k, v, _ in values)
    return {
        "fixed file version": words(file_ms, file_ls),
        "fixed product version": words(product_ms, product_ls),
        "FileVersion": strings.get("FileVersion"),
        "ProductVersion": strings.get("ProductVersion"),
    }


def main():
    exe, version = sys.argv[1], sys.argv[2]
    numbers = [int(n) for n in version.split(".")]
    fixed = tuple((numbers + [0, 0, 0, 0])[:4])
    expected = {
        "fixed file version": fixed,
        "fixed product version": fixed,
        "FileVersion": version,
        "ProductVersion": version,
    }
    found = version_of(exe)
    for what, value in found.items():
        print(f"{what}: {value}")
    wrong = [what for what in expected if found[what] != expected[what]]
    for what in wrong:
        print(f"FAIL: {what} is {found[what]!r}, the project version gives {expected[what]!r}")
    sys.exit(1 if wrong else 0)


if __name__ == "__main__":
    main()
