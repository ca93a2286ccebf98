#!/usr/bin/env python3
"""The Windows zip holds every DLL that its programs load, and runs from any
folder.

Unpacks ventbox-<version>-windows-x86_64.zip into an empty folder and checks
that every DLL which a program, DLL or plugin in it imports is in the
package (beside the programs, where Windows looks first) or is one of
Windows' own (in the Wine prefix's system32, or an API set). Each of the three programs
carries the icon and the version information, and ventbox.exe and
ventbox-help.exe are GUI programs (no console window), ventbox-calc.exe a
console one. Then runs the unpacked ventbox-calc.exe under Wine with
nothing on WINEPATH: it computes a design, writes its lines with CR LF, and
ends with status 0.

    package_test.py --zip <zip> --objdump <x86_64-w64-mingw32-objdump>
                    --windres <x86_64-w64-mingw32-windres> --wine <wine-run of the build>
"""

import argparse
import os
import re
import subprocess
import sys
import tempfile
import zipfile


def imports(objdump, path):
    out = subprocess.run([objdump, "-p", path], check=True, capture_output=True,
                         text=True).stdout
    return re.findall(r"^\s*DLL Name: (\S+)", out, re.M)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--zip", required=True)
    parser.add_argument("--objdump", required=True)
    parser.add_argument("--windres", required=True)
    parser.add_argument("--wine", required=True)
    args = parser.parse_args()
    if not os.path.exists(args.zip):
        print("no package %s (make package-windows): skipped" % args.zip)
        return 77
    env = dict(os.environ, WINEPATH="")
    prefix = env.get("VENTBOX_WINEPREFIX",
                     os.path.join(os.path.dirname(os.path.abspath(args.wine)), "wineprefix"))
    problems = []
    with tempfile.TemporaryDirectory() as unpacked:
        with zipfile.ZipFile(args.zip) as z:
            z.extractall(unpacked)
        (top,) = os.listdir(unpacked)
        root = os.path.join(unpacked, top)
        # Wine's own DLLs exist once its prefix does: start a program first.
        calc = subprocess.run([args.wine, os.path.join(root, "ventbox-calc.exe"),
                               "design", "30", "0.4", "50", "6", "0", "50", "40"],
                              env=env, capture_output=True, timeout=120)
        if (calc.returncode, calc.stdout) != (0, b"L=31.5450\r\nQtc=0.5580\r\nFb=31.39\r\n"):
            problems.append("ventbox-calc.exe from the unpacked folder: status %d, %r, %r"
                            % (calc.returncode, calc.stdout, calc.stderr))
        system = {f.lower() for f in
                  os.listdir(os.path.join(prefix, "drive_c", "windows", "system32"))}
        packaged = {f.lower() for f in os.listdir(root)}
        binaries = 0
        for folder, _, files in os.walk(root):
            for name in files:
                if not name.lower().endswith((".exe", ".dll")):
                    continue
                binaries += 1
                path = os.path.join(folder, name)
                for dll in imports(args.objdump, path):
                    # API sets are names that Windows' loader resolves itself.
                    api_set = dll.lower().startswith(("api-ms-win-", "ext-ms-win-"))
                    if dll.lower() not in packaged and dll.lower() not in system and not api_set:
                        problems.append("%s imports %s, which is neither in the package "
                                        "nor Windows' own" % (os.path.relpath(path, root), dll))
        version = re.search(r"ventbox-(\d+\.\d+\.\d+)-windows", args.zip).group(1)
        for program, subsystem in (("ventbox", "Windows GUI"), ("ventbox-help", "Windows GUI"),
                                   ("ventbox-calc", "Windows CUI")):
            path = os.path.join(root, program + ".exe")
            resources = subprocess.run([args.windres, "-i", path, "-O", "rc"], check=True,
                                       capture_output=True, text=True).stdout
            for what, pattern in (("its icon", r"RT_GROUP_ICON"),
                                  ("its product name", r'VALUE "ProductName", "Ventbox"'),
                                  ("its version", r'VALUE "ProductVersion", "%s"' % version),
                                  ("the copyright", r'VALUE "LegalCopyright", "Copyright')):
                if not re.search(pattern, resources):
                    problems.append("%s.exe does not carry %s" % (program, what))
            header = subprocess.run([args.objdump, "-p", path], check=True, capture_output=True,
                                    text=True).stdout
            if "(%s)" % subsystem not in header:
                problems.append("%s.exe is not a %s program" % (program, subsystem))
        for needed in ("ventbox.exe", "ventbox-help.exe", "ventbox-calc.exe", "bas.hlp",
                       "platforms", "translations"):
            if needed not in packaged:
                problems.append("%s is not in the package" % needed)
    for p in problems:
        print(p)
    print("%d programs and DLLs checked" % binaries)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
