#!/usr/bin/env python3
"""The release archive: scripts/package builds lumenor.exe from clean and writes the zip; the zip
must hold exactly the four files a user needs, and packaging again gives the same bytes.

The second packaging takes EXE, the exe of the ordinary build (another build directory, with the
tests on), after checking that it is byte for byte the exe of the clean build: so two builds agree
and two archives of the same build agree.

    check_archive.py SOURCE_DIR VERSION EXE
"""

import filecmp
import os
import subprocess
import sys
import tempfile
import time
import zipfile

EXPECTED_FILES = ["lumenor.exe", "README.txt", "LICENSE.txt", "Default.dat.example"]

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL:", message)


def commit_time(source):
    """The zip date every entry must carry: SOURCE_DATE_EPOCH, else the checked-out commit's time,
    in UTC, to the even second."""
    epoch = os.environ.get("SOURCE_DATE_EPOCH") or subprocess.run(
        ["git", "-C", source, "log", "-1", "--format=%ct"],
        check=True, capture_output=True, text=True).stdout
    t = time.gmtime(int(epoch))
    return (t.tm_year, t.tm_mon, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec - t.tm_sec % 2)


def main():
    source, version, ordinary_exe = sys.argv[1], sys.argv[2], sys.argv[3]
    subprocess.run([os.path.join(source, "scripts", "package")], check=True)

    name = f"lumenor-{version}-win64.zip"
    archive = os.path.join(source, "dist", name)
    clean_exe = os.path.join(source, "build", "package", "src", "lumenor.exe")
    print(f"{name}: {os.path.getsize(archive)} bytes")

    with zipfile.ZipFile(archive) as z:
        infos = z.infolist()
        for info in infos:
            print(f"  {info.filename}: {info.file_size} bytes, {info.compress_size} packed")
        check([i.filename for i in infos] == EXPECTED_FILES,
              f"the archive holds {[i.filename for i in infos]}, not {EXPECTED_FILES}")
        check(z.testzip() is None, "a member's CRC does not match")
        dates = {i.date_time for i in infos}
        check(dates == {commit_time(source)},
              f"entries are dated {sorted(dates)}, not the commit's {commit_time(source)}")
        with open(clean_exe, "rb") as f:
            check(z.read("lumenor.exe") == f.read(), "lumenor.exe is not the exe just built")
        readme = z.read("README.txt")
        check(readme.startswith(b"\xef\xbb\xbf"), "README.txt has no UTF-8 byte order mark")
        check(f"Lumenor {version}".encode() in readme, "README.txt does not name the version")
        check(b"\n" not in readme.replace(b"\r\n", b""), "README.txt has a bare LF line end")

    check(filecmp.cmp(clean_exe, ordinary_exe, shallow=False),
          f"two builds of the same sources differ: {clean_exe} and {ordinary_exe}")
    with tempfile.TemporaryDirectory() as tmp:
        again = os.path.join(tmp, name)
        # Another time zone and working directory must not matter either.
        subprocess.run([sys.executable, os.path.join(source, "packaging", "make_archive.py"),
                        "--version", version, "--exe", ordinary_exe, "--out", again],
                       check=True, cwd=tmp, env=dict(os.environ, TZ="Asia/Shanghai"))
        check(filecmp.cmp(archive, again, shallow=False),
              "packaging the same exe again gives a different archive")

    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
