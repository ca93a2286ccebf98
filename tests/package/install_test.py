#!/usr/bin/env python3
"""`DESTDIR=... cmake --install <build> --prefix /usr` installs exactly the
files of the Debian package, so a distribution that packages ventbox its
own way ships what the .deb does. Without a built .deb: skipped.

    install_test.py --build <build dir> --deb <ventbox_<version>_<arch>.deb>
"""

import argparse
import os
import subprocess
import sys
import tempfile


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--deb", required=True)
    args = parser.parse_args()
    if not os.path.exists(args.deb):
        print(f"no package {args.deb} (make package): skipped")
        return 77
    listing = subprocess.run(["dpkg-deb", "--fsys-tarfile", args.deb], check=True,
                             capture_output=True).stdout
    packaged = subprocess.run(["tar", "-t"], input=listing, check=True,
                              capture_output=True).stdout.decode().split("\n")
    packaged = {p[1:].rstrip("/") for p in packaged if p.startswith("./")}
    with tempfile.TemporaryDirectory() as stage:
        subprocess.run(["cmake", "--install", args.build, "--prefix", "/usr"], check=True,
                       stdout=subprocess.DEVNULL, env=dict(os.environ, DESTDIR=stage))
        installed = set()
        for root, dirs, files in os.walk(stage):
            for name in dirs + files:
                installed.add(os.path.join(root, name)[len(stage):])
    packaged.discard("")
    problems = [f"only in the package: {p}" for p in sorted(packaged - installed)]
    problems += [f"only installed: {p}" for p in sorted(installed - packaged)]
    for p in problems:
        print(p)
    print(f"{len(installed)} paths installed, {len(packaged)} in the package")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
