#!/usr/bin/env python3
"""Reads the version resource back from a built lumenor.exe, as Explorer's Properties shows it,
and checks that the file and product versions, fixed and as text, are the project version. With
--imports it reads the import tables instead and checks that the program names no DLL beyond the
system's KnownDLLs it is allowed (Windows takes those from the system directory only; any other
DLL named there is first looked for beside the program, where someone may have planted it).

    check_version_resource.py EXE VERSION
    check_version_resource.py --imports EXE
"""

import struct
import sys

RT_VERSION = 16
FIXED_FILE_INFO_SIGNATURE = 0xFEEF04BD
IMPORT_DIRECTORY, RESOURCE_DIRECTORY = 1, 2
# The DLLs lumenor.exe may import, all KnownDLLs; compared without regard to case.
ALLOWED_IMPORTS = ("KERNEL32.dll", "USER32.dll", "GDI32.dll", "SHELL32.dll", "msvcrt.dll",
                   "COMCTL32.dll")


class PeImage:
    """The headers of a PE file: its data directories and sections."""

    def __init__(self, pe):
        if pe[:2] != b"MZ":
            raise ValueError("not an MZ executable")
        header = struct.unpack_from("<I", pe, 0x3C)[0]
        if pe[header:header + 4] != b"PE\0\0":
            raise ValueError("no PE header")
        coff = header + 4
        count, optional_size = struct.unpack_from("<H12xH", pe, coff + 2)
        optional = coff + 20
        magic = struct.unpack_from("<H", pe, optional)[0]
        if magic not in (0x10B, 0x20B):
            raise ValueError(f"unknown optional header magic {magic:#x}")
        directories = optional + {0x10B: 96, 0x20B: 112}[magic]  # PE32, PE32+
        directory_count = struct.unpack_from("<I", pe, directories - 4)[0]
        self.directories = [struct.unpack_from("<II", pe, directories + 8 * k)
                            for k in range(directory_count)]
        table = optional + optional_size
        self.sections = [struct.unpack_from("<8sIIII", pe, table + 40 * k)[1:]
                         for k in range(count)]  # virtual size, RVA, raw size, raw offset
        self.pe = pe

    def directory(self, index):
        return self.directories[index] if index < len(self.directories) else (0, 0)

    def section_of(self, rva):
        """The RVA and file offset of the section that holds rva."""
        for virtual_size, virtual_address, raw_size, raw_offset in self.sections:
            if virtual_address <= rva < virtual_address + max(virtual_size, raw_size):
                return virtual_address, raw_offset
        raise ValueError(f"RVA {rva:#x} lies in no section")

    def offset(self, rva):
        virtual_address, raw_offset = self.section_of(rva)
        return raw_offset + (rva - virtual_address)

    def text(self, rva):
        start = self.offset(rva)
        return self.pe[start:self.pe.index(b"\0", start)].decode("ascii")


def resource_section(pe):
    """Where the resource directory starts in the file, and its section's RVA and file offset."""
    image = PeImage(pe)
    rva, size = image.directory(RESOURCE_DIRECTORY)
    if size == 0:
        raise ValueError("no resources")
    virtual_address, raw_offset = image.section_of(rva)
    return image.offset(rva), virtual_address, raw_offset


def imported_dlls(pe):
    """The DLLs the import table names. (A DLL delay-loaded through MinGW's dlltool appears in no
    table: ld leaves the delay-import directory empty. It is loaded by bare name, from beside the
    program first, which the planted-DLL desktop scenario catches.)"""
    image = PeImage(pe)
    names = []
    rva, size = image.directory(IMPORT_DIRECTORY)
    at = image.offset(rva) if size else None
    while at is not None:
        # IMAGE_IMPORT_DESCRIPTOR: name table, time stamp, forwarder chain, name, address table.
        lookup, _, _, name, thunks = struct.unpack_from("<5I", pe, at)
        if (lookup, name, thunks) == (0, 0, 0):
            break
        names.append(image.text(name))
        at += 20
    return names


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


def check_imports(exe):
    with open(exe, "rb") as f:
        names = imported_dlls(f.read())
    allowed = {name.lower() for name in ALLOWED_IMPORTS}
    for name in names:
        print(f"imports {name}")
    others = [name for name in names if name.lower() not in allowed]
    for name in others:
        print(f"FAIL: {exe} imports {name}, which Windows looks for beside the program first; "
              f"load it at run time from the system directory")
    if not names:
        print(f"FAIL: no import table read from {exe}")
    sys.exit(1 if others or not names else 0)


def main():
    if sys.argv[1] == "--imports":
        check_imports(sys.argv[2])
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
