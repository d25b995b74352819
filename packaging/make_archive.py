#!/usr/bin/env python3
"""Writes Lumenor's release archive: lumenor.exe, README.txt, LICENSE.txt and Default.dat.example,
flat, in that order.

The archive depends only on its inputs: every entry carries the same fixed time (the commit's, see
archive_time), the same attributes and the same compression, so the same exe and texts give the
same bytes on every run and machine. The text files get Windows line ends (CRLF) for Notepad;
README.txt gets the version and keeps its UTF-8 byte order mark.

    make_archive.py --version 1.0.0 --exe build/package/src/lumenor.exe --out dist/x.zip
"""

import argparse
import os
import subprocess
import sys
import time
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

BOM = b"\xef\xbb\xbf"
# When there is no git history to date the archive by (a source tarball).
FALLBACK_TIME = (2026, 1, 1, 0, 0, 0)


def windows_lines(data):
    return data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")


def readme(version):
    with open(os.path.join(HERE, "README.txt.in"), "rb") as f:
        data = f.read()
    if not data.startswith(BOM):
        sys.exit("make_archive: README.txt.in lost its byte order mark")
    return windows_lines(data.replace(b"@VERSION@", version.encode("ascii")))


def text_file(path):
    with open(path, "rb") as f:
        return windows_lines(f.read())


def archive_time():
    """SOURCE_DATE_EPOCH if set, else the time of the commit checked out, as a UTC zip date.
    Zip dates hold even seconds from 1980 on."""
    epoch = os.environ.get("SOURCE_DATE_EPOCH")
    if epoch is None:
        try:
            epoch = subprocess.run(
                ["git", "-C", ROOT, "log", "-1", "--format=%ct"],
                check=True, capture_output=True, text=True,
            ).stdout.strip()
        except (OSError, subprocess.CalledProcessError):
            epoch = ""
    if not epoch:
        return FALLBACK_TIME
    t = time.gmtime(max(int(epoch), 315532800))  # 1980-01-01
    return (t.tm_year, t.tm_mon, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec - t.tm_sec % 2)


def entries(version, exe):
    with open(exe, "rb") as f:
        program = f.read()
    return [
        ("lumenor.exe", program),
        ("README.txt", readme(version)),
        ("LICENSE.txt", text_file(os.path.join(ROOT, "LICENSE"))),
        ("Default.dat.example", text_file(os.path.join(HERE, "Default.dat.example"))),
    ]


def write_archive(path, files, date_time):
    tmp = path + ".tmp"
    with zipfile.ZipFile(tmp, "w") as archive:
        for name, data in files:
            info = zipfile.ZipInfo(name, date_time)
            info.create_system = 0  # MS-DOS attributes, as a zip made on Windows
            info.external_attr = 0x20  # FILE_ATTRIBUTE_ARCHIVE
            info.compress_type = zipfile.ZIP_DEFLATED
            archive.writestr(info, data, compresslevel=9)
    os.replace(tmp, path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--version", required=True)
    parser.add_argument("--exe", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    os.makedirs(os.path.dirname(os.path.abspath(args.out)), exist_ok=True)
    write_archive(args.out, entries(args.version, args.exe), archive_time())
    print(args.out)


if __name__ == "__main__":
    main()
