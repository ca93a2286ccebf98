#!/usr/bin/env python3
"""The locale check on its fixtures: every line of fixtures/flagged.cpp
marked "expect: <rule>" is reported with that rule and nothing else is;
fixtures/clean.cpp gives no finding at all. And the scan of the checkout
covers the program's sources, not calc/, tests/ or build directories."""

import os
import re
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
import locale_check  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
FIXTURES = os.path.join(HERE, "fixtures")
CALC_HEADERS = locale_check.calc_headers(os.path.join(HERE, "..", ".."))
EXPECT = re.compile(r"expect:\s*([\w-]+)")


def findings_for(name: str) -> set[tuple[int, str]]:
    path = os.path.join(FIXTURES, name)
    with open(path, encoding="utf-8") as f:
        source = locale_check.Source(name, f.read())
    return {(f.line, f.rule) for f in locale_check.Checker([source], CALC_HEADERS).run()}


def expected_for(name: str) -> set[tuple[int, str]]:
    with open(os.path.join(FIXTURES, name), encoding="utf-8") as f:
        return {(n, m.group(1)) for n, line in enumerate(f, 1) for m in EXPECT.finditer(line)}


def main() -> int:
    failures = []
    for name in ("flagged.cpp", "clean.cpp"):
        got, want = findings_for(name), expected_for(name)
        if name == "flagged.cpp" and len(want) < 40:
            failures.append(f"{name}: only {len(want)} expectations; the fixture lost its cases")
        for line, rule in sorted(want - got):
            failures.append(f"{name}:{line}: missed: {rule}")
        for line, rule in sorted(got - want):
            failures.append(f"{name}:{line}: reported without cause: {rule}")
    # The scan of the checkout covers the program's sources and nothing of
    # calc/, tests/ or a build directory.
    root = os.path.normpath(os.path.join(HERE, "..", ".."))
    scanned = {os.path.relpath(p, root) for p in locale_check.default_paths(root)}
    for must in ("forms/unit1.cpp", "cli/cli.cpp", "app/main.cpp", "widgets/tspinedit.cpp"):
        if os.path.exists(os.path.join(root, must)) and must not in scanned:
            failures.append(f"the scan misses {must}")
    for p in sorted(scanned):
        if p.split(os.sep)[0] in ("calc", "tests") or p.startswith("build"):
            failures.append(f"the scan covers {p}")
    for f in failures:
        print(f)
    if failures:
        return 1
    print("locale_check self-test: the fixtures give exactly the expected findings")
    return 0


if __name__ == "__main__":
    sys.exit(main())
