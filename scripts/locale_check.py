#!/usr/bin/env python3
"""Locale safety of the C++ sources outside calc/.

Every number the program reads from or writes to a text goes through the
numeric text rules in calc/, which use "." whatever the locale says. Once
Qt has started, the C library runs under the user's locale (a Czech one
writes "3,5"), so a conversion elsewhere that follows the locale reads or
writes numbers the rules would not. This check finds such conversions:

  c-parse          strtod, strtof, strtold, atof
  std-stod         std::stod, std::stof, std::stold
  scanf            scanf, sscanf, fscanf and their v-forms
  printf-float     the printf family (also qsnprintf, QString::asprintf,
                   qDebug("...") and friends) with a floating conversion
                   (%f %e %g %a), the ' grouping flag, or a format that is
                   not a literal
  to-string        std::to_string of anything not evidently an integer
                   (the floating overloads print through "%f")
  qt-number-float  QString::number / QByteArray::number / setNum with a
                   floating format character, or of a value not evidently
                   an integer (floating values are written by rule 2 only)
  qt-arg-float     QString::arg of a floating value or with a floating format
  qt-arg-locale    a "%L1" place marker (the locale's digits and separators)
  qt-to-float      toDouble() / toFloat() on a text (QString, QByteArray,
                   QStringView, ...); on a QJsonValue it is no text conversion
  qlocale-number   number conversions through a QLocale other than
                   QLocale::c(): QLocale::system(), QLocale(), a named locale
                   or a QLocale variable (date and time conversions are fine)
  std-locale       std::locale("...") and std::locale::global
  istream-float    stream extraction (>>) into a floating variable
  format-locale    std::format / std::print with the "L" option

Comments and the contents of string literals are not code: a comment that
names strtod is no finding. A finding that is right after all (say, a
reading that is meant to follow the locale) is kept out by a comment on its
line: "// locale-ok: <why>"; the reason is required.

Usage: locale_check.py [--root DIR] [PATH...]
Without paths: every C++ source under DIR (default: the checkout) except
calc/ (the numeric text rules themselves), tests/ (tests switch locales on
purpose and run under a fixed LC_ALL) and build directories. Exits 1 with
"file:line: rule: message" for each finding.
"""

from __future__ import annotations

import argparse
import os
import re
import sys
from dataclasses import dataclass, field

CXX_SUFFIXES = (".cpp", ".cc", ".cxx", ".h", ".hh", ".hpp", ".hxx", ".inl")
EXCLUDED_TOP = {"calc", "tests"}

FLOAT_TYPES = {"double", "float", "long double", "qreal", "Extended", "calc::Extended",
               "qfloat16", "GLfloat", "GLdouble", "float_t", "double_t"}
INT_TYPES = {"int", "long", "short", "unsigned", "signed", "char", "bool", "long long",
             "unsigned int", "unsigned long", "unsigned long long", "unsigned short",
             "unsigned char", "signed char", "size_t", "ssize_t", "ptrdiff_t", "intptr_t",
             "uintptr_t", "intmax_t", "uintmax_t", "qsizetype", "qlonglong", "qulonglong",
             "uint", "ushort", "ulong", "uchar", "qintptr", "quintptr", "uid_t", "pid_t",
             "gid_t", "off_t", "char16_t", "char32_t", "wchar_t", "WId"}
INT_TYPES |= {f"{p}int{n}_t" for p in ("", "u") for n in (8, 16, 32, 64)}
INT_TYPES |= {f"q{p}int{n}" for p in ("", "u") for n in (8, 16, 32, 64)}
DATETIME_TYPES = {"QDate", "QTime", "QDateTime"}
JSON_TYPES = {"QJsonValue", "QJsonValueRef", "QJsonValueConstRef"}
TEXT_TYPES = {"QString", "QByteArray", "QStringView", "QLatin1String", "QLatin1StringView",
              "QUtf8StringView", "QAnyStringView", "QByteArrayView", "QStringRef"}

# Functions whose result is evidently an integer or a floating value.
# (Not width() or height(): a QRectF's are floating.) Functional casts too.
INT_FUNCTIONS = {"size", "length", "count", "ssize", "sizeof", "alignof", "getuid", "getpid",
                 "getppid", "geteuid", "applicationPid", "indexOf", "lastIndexOf", "toInt",
                 "toUInt", "toLong", "toLongLong", "toULongLong", "toShort", "toUShort",
                 "lround", "llround", "qRound", "qRound64", "distance", "int", "long",
                 "short", "unsigned", "qint64", "quint64", "qint32", "quint32", "qsizetype",
                 "size_t"}
FLOAT_FUNCTIONS = {"toDouble", "toFloat", "sqrt", "sqrtl", "pow", "powl", "exp", "log", "log10",
                   "fabs", "fabsl", "sin", "cos", "tan", "atan", "atan2", "floor", "ceil",
                   "round", "trunc", "fmod", "hypot", "widthF", "heightF", "devicePixelRatio",
                   "devicePixelRatioF", "qreal", "double", "float"}

DATETIME_FUNCTIONS = {"date", "time", "currentDate", "currentTime", "currentDateTime", "addDays",
                      "addSecs", "addMSecs", "addMonths", "addYears", "toLocalTime", "toUTC",
                      "fromString", "fromMSecsSinceEpoch", "fromSecsSinceEpoch", "startOfDay"}
SUPPRESS = re.compile(r"locale-ok:\s*\S")
STRING_START = re.compile(r'(u8|u|U|L)?(R)?"')


def is_ident(ch: str) -> bool:
    return ch.isalnum() or ch == "_"


@dataclass
class Source:
    """A source with its comments blanked and its string literals emptied
    (quotes kept), positions and lines unchanged."""

    path: str
    text: str
    code: str = ""
    literals: list[tuple[int, int, str]] = field(default_factory=list)  # (start, end, content)
    comments: dict[int, str] = field(default_factory=dict)  # line -> comment text
    line_starts: list[int] = field(default_factory=list)

    def __post_init__(self) -> None:
        self._strip()
        self.line_starts = [0] + [i + 1 for i, c in enumerate(self.text) if c == "\n"]

    def line_of(self, pos: int) -> int:
        lo, hi = 0, len(self.line_starts)
        while hi - lo > 1:
            mid = (lo + hi) // 2
            if self.line_starts[mid] <= pos:
                lo = mid
            else:
                hi = mid
        return lo + 1

    def literal_text(self, start: int, end: int) -> str | None:
        """The concatenated string literals within [start, end), or None."""
        parts = [c for (s, e, c) in self.literals if s >= start and e <= end]
        return "".join(parts) if parts else None

    def _strip(self) -> None:
        t = self.text
        out = list(t)
        i, n = 0, len(t)

        def blank(a: int, b: int) -> None:
            for k in range(a, b):
                if out[k] != "\n":
                    out[k] = " "

        def note_comment(a: int, b: int) -> None:
            line = t.count("\n", 0, a) + 1
            for k, piece in enumerate(t[a:b].split("\n")):
                self.comments[line + k] = self.comments.get(line + k, "") + piece

        while i < n:
            c = t[i]
            if t.startswith("//", i):
                j = t.find("\n", i)
                j = n if j < 0 else j
                note_comment(i, j)
                blank(i, j)
                i = j
            elif t.startswith("/*", i):
                j = t.find("*/", i + 2)
                j = n if j < 0 else j + 2
                note_comment(i, j)
                blank(i, j)
                i = j
            elif (m := STRING_START.match(t, i)) and (m.group(1) is None or i == 0 or not is_ident(t[i - 1])):
                q = m.end() - 1  # the opening quote
                if m.group(2):  # raw string
                    d = re.compile(r'"([^()\\ ]{0,16})\(').match(t, q)
                    if not d:
                        i = q + 1
                        continue
                    close = ")" + d.group(1) + '"'
                    body = d.end()
                    j = t.find(close, body)
                    j = n if j < 0 else j
                    self.literals.append((i, j + len(close), t[body:j]))
                    blank(body, j)
                    i = j + len(close)
                else:
                    j = q + 1
                    while j < n and t[j] != '"' and t[j] != "\n":
                        j += 2 if t[j] == "\\" else 1
                    self.literals.append((i, j + 1, t[q + 1:j]))
                    blank(q + 1, j)
                    i = j + 1
            elif c == "'":
                # A digit separator (1'000, 0xFF'FF) or a character literal.
                k = i
                while k > 0 and (is_ident(t[k - 1]) or t[k - 1] == "'"):
                    k -= 1
                if k < i and t[k].isdigit():
                    i += 1
                    continue
                j = i + 1
                while j < n and t[j] != "'" and t[j] != "\n":
                    j += 2 if t[j] == "\\" else 1
                i = j + 1
            else:
                i += 1
        self.code = "".join(out)


@dataclass
class Finding:
    path: str
    line: int
    rule: str
    message: str

    def __str__(self) -> str:
        return f"{self.path}:{self.line}: {self.rule}: {self.message}"


def matching_paren(code: str, open_pos: int) -> int:
    depth = 0
    for k in range(open_pos, len(code)):
        ch = code[k]
        if ch in "([{":
            depth += 1
        elif ch in ")]}":
            depth -= 1
            if depth == 0:
                return k
    return len(code)


def split_args(code: str, open_pos: int) -> list[tuple[int, int]]:
    """The argument spans of the call whose "(" is at open_pos."""
    close = matching_paren(code, open_pos)
    args, depth, start = [], 0, open_pos + 1
    angle = 0
    for k in range(open_pos + 1, close):
        ch = code[k]
        if ch in "([{":
            depth += 1
        elif ch in ")]}":
            depth -= 1
        elif ch == "<" and depth == 0 and re.search(r"(static_cast|reinterpret_cast|const_cast|bit_cast|numeric_limits|\w+_cast)\s*$", code[start:k]):
            angle += 1
        elif ch == ">" and angle > 0 and depth == 0:
            angle -= 1
        elif ch == "," and depth == 0 and angle == 0:
            args.append((start, k))
            start = k + 1
    if code[start:close].strip():
        args.append((start, close))
    return args


TYPE_WORD = r"(?:long\s+double|long\s+long|unsigned\s+(?:long\s+long|long|int|short|char)|signed\s+char|(?:std::|::)?\w+(?:::\w+)*)"
DECL = re.compile(
    r"(?<![\w.>])(?:(?:const|constexpr|static|inline|volatile|mutable|thread_local)\s+)*"
    r"(" + TYPE_WORD + r")(?:\s*<[^;<>]*>)?(?:\s+const)?(?:\s*[&*]+\s*|\s+)(?:const\s+)?"
    r"(?:\w+::)*([A-Za-z_]\w*)\s*(?=[=;,)\[{(:]|$)")
AUTO_DECL = re.compile(r"\bauto\s*[&*]?\s+([A-Za-z_]\w*)\s*=\s*([^;]*);")
FLOAT_LITERAL = re.compile(r"(?<![\w.])(?:\d+\.\d*|\.\d+|\d+[eE][+-]?\d+)(?:[eE][+-]?\d+)?[fFlL]?(?![\w.])")
INT_LITERAL = re.compile(r"^(?:0[xX][0-9a-fA-F']+|0[bB][01']+|\d[\d']*)(?:[uU]?[lL]{0,2}|[lL]{1,2}[uU]?|[zZ][uU]?|[uU][zZ])$")


def normal_type(t: str) -> str:
    t = re.sub(r"\s+", " ", t.strip())
    return re.sub(r"^(?:std::|::)", "", t)


class Declarations:
    """Names declared with a floating, integral, date/time, JSON, text or
    QLocale type, with where they were declared."""

    KINDS = (("float", FLOAT_TYPES), ("int", INT_TYPES), ("datetime", DATETIME_TYPES),
             ("json", JSON_TYPES), ("text", TEXT_TYPES), ("qlocale", {"QLocale"}))

    def __init__(self) -> None:
        self.names: dict[str, list[tuple[int, str]]] = {}

    def add_source(self, code: str) -> None:
        for m in DECL.finditer(code):
            ty, name = normal_type(m.group(1)), m.group(2)
            for kind, types in self.KINDS:
                if ty in types or (kind == "float" and ty.endswith("::Extended")):
                    self.names.setdefault(name, []).append((m.start(2), kind))
        for m in AUTO_DECL.finditer(code):
            kind = classify_shallow(m.group(2))
            if kind in ("float", "int"):
                self.names.setdefault(m.group(1), []).append((m.start(1), kind))

    def kinds(self, name: str) -> set[str]:
        return {k for (_pos, k) in self.names.get(name, [])}

    def kind_at(self, name: str, pos: int) -> str | None:
        """The kind of the nearest declaration before `pos`; without one, the
        kind all declarations agree on; None when there is none or they
        disagree."""
        decls = self.names.get(name, [])
        before = [d for d in decls if d[0] < pos]
        if before:
            return max(before)[1]
        kinds = {k for (_pos, k) in decls}
        return next(iter(kinds)) if len(kinds) == 1 else None


class Scope:
    """Where names are looked up: the file first (nearest declaration), then
    every file scanned."""

    def __init__(self, local: Declarations, tree: Declarations) -> None:
        self.local, self.tree = local, tree

    def kind(self, name: str, pos: int) -> str:
        k = self.local.kind_at(name, pos)
        if k is None and not self.local.kinds(name):
            kinds = self.tree.kinds(name)
            k = next(iter(kinds)) if len(kinds) == 1 else None
        return k or "unknown"


CAST = re.compile(r"\b(?:static_cast|std::bit_cast|bit_cast)\s*<\s*([^<>]+?)\s*>\s*\(")
C_FLOAT_CAST = re.compile(r"\(\s*(?:long\s+double|double|float|qreal)\s*\)\s*[\w(]")


def without_casts(e: str) -> str:
    """The expression with each static_cast to a known type replaced by a
    literal of that kind, so that what is inside it does not count."""
    while True:
        m = CAST.search(e)
        if not m:
            return e
        ty = normal_type(m.group(1))
        close = matching_paren(e, m.end() - 1)
        stand_in = " 0.0 " if ty in FLOAT_TYPES else " 0 " if ty in INT_TYPES else " __unknown__() "
        e = e[:m.start()] + stand_in + e[close + 1:]


def classify_shallow(expr: str) -> str:
    """The kind of an initializer from its literals alone."""
    e = without_casts(expr)
    if FLOAT_LITERAL.search(e) or C_FLOAT_CAST.search(e):
        return "float"
    if INT_LITERAL.match(e.strip()):
        return "int"
    return "unknown"


def classify(expr: str, pos: int, scope: Scope) -> str:
    """'float', 'int', 'datetime', 'json', 'text' or 'unknown' for an
    argument expression at `pos`: floating as soon as one operand is,
    otherwise the kind that all its operands share."""
    e = without_casts(expr)
    e = re.sub(r"\b(?:sizeof|alignof)\s*\([^()]*\)", " 0 ", e)
    if FLOAT_LITERAL.search(e) or C_FLOAT_CAST.search(e):
        return "float"
    if re.search(r"\bQLocale::(?:Short|Long|Narrow)Format\b|\bQ(?:Date|Time|DateTime)\b", e):
        return "datetime"
    kinds: list[str] = []
    for m in re.finditer(r"(?<![\w.])(\d[\w']*)|(?<![\w])([A-Za-z_]\w*)(\s*(?:\(|\.|->|::|<))?", e):
        if m.group(1):
            kinds.append("int")
            continue
        name, after = m.group(2), (m.group(3) or "").strip()
        if name in ("std", "true", "false", "nullptr", "this", "const", "unsigned", "long", "signed"):
            continue
        if after in (".", "->", "::", "<"):
            continue  # an object, a namespace or a template: its member decides
        if after == "(":
            if name in INT_FUNCTIONS:
                kinds.append("int")
            elif name in FLOAT_FUNCTIONS:
                kinds.append("float")
            elif name in DATETIME_FUNCTIONS:
                kinds.append("datetime")
            else:
                kinds.append(scope.kind(name, pos))
            continue
        kinds.append(scope.kind(name, pos))
    if "float" in kinds:
        return "float"
    if kinds and len(set(kinds)) == 1:
        return kinds[0]
    return "unknown"


CALL = r"(?<![\w.>])(?:std::|::)?"
FLOAT_FORMATS = set("eEfFgG")


def char_literal(code_arg: str) -> str | None:
    m = re.fullmatch(r"\s*'(.)'\s*", code_arg)
    return m.group(1) if m else None


PRINTF_CONVERSION = re.compile(
    r"%(?P<flags>[-+ #0']*)(?:\*|\d+)?(?:\.(?:\*|\d+))?(?:hh|h|ll|l|L|q|j|z|Z|t)?(?P<conv>[diouxXeEfFgGaAcspnmCS%])")

PRINTF_FAMILY = {  # name -> index of the format argument
    "printf": 0, "vprintf": 0, "fprintf": 1, "vfprintf": 1, "dprintf": 1, "vdprintf": 1,
    "sprintf": 1, "vsprintf": 1, "snprintf": 2, "vsnprintf": 2, "asprintf": 1, "vasprintf": 1,
    "qsnprintf": 2, "qvsnprintf": 2, "qDebug": 0, "qInfo": 0, "qWarning": 0, "qCritical": 0,
    "qFatal": 0,
}
QT_FORMATTERS = {"qDebug", "qInfo", "qWarning", "qCritical", "qFatal"}


class Checker:
    """`sources` are checked; `declarations_only` (calc/'s headers) only
    tell the types of the names they declare."""

    def __init__(self, sources: list[Source], declarations_only: list[Source] = ()) -> None:
        self.sources = sources
        self.tree = Declarations()
        for s in list(sources) + list(declarations_only):
            self.tree.add_source(s.code)

    def run(self) -> list[Finding]:
        findings: list[Finding] = []
        for s in self.sources:
            local = Declarations()
            local.add_source(s.code)
            for pos, rule, message in self._check(s, Scope(local, self.tree)):
                line = s.line_of(pos)
                if SUPPRESS.search(s.comments.get(line, "")):
                    continue
                findings.append(Finding(s.path, line, rule, message))
        findings.sort(key=lambda f: (f.path, f.line, f.rule))
        # One finding per rule and line.
        unique: list[Finding] = []
        for f in findings:
            if not unique or (unique[-1].path, unique[-1].line, unique[-1].rule) != (f.path, f.line, f.rule):
                unique.append(f)
        return unique

    def _check(self, s: Source, scope: Scope):
        code = s.code

        def args_of(m: re.Match) -> list[tuple[int, int]]:
            return split_args(code, m.end() - 1)

        def kind(span: tuple[int, int]) -> str:
            return classify(code[span[0]:span[1]], span[0], scope)

        for m in re.finditer(CALL + r"(strtod|strtof|strtold|atof|strtod_l|strtold_l|strtof_l)\s*\(", code):
            yield m.start(), "c-parse", f"{m.group(1)}() reads numbers the way the locale writes them; use calc::textToReal"
        for m in re.finditer(r"(?:\bstd::|(?<![\w.>:]))(stod|stof|stold)\s*\(", code):
            yield m.start(), "std-stod", f"std::{m.group(1)}() reads through strtod and the locale; use calc::textToReal"
        for m in re.finditer(CALL + r"(v?f?scanf|v?sscanf|wscanf|swscanf|fwscanf)\s*\(", code):
            yield m.start(), "scanf", f"{m.group(1)}() converts by the locale; use calc::textToReal or calc::parseCount"

        for m in re.finditer(r"(?:(?<![\w.>])(?:std::|::)?|\bQString::)(" + "|".join(PRINTF_FAMILY) + r"|asprintf|vasprintf)\s*\(", code):
            name = m.group(1)
            qstring = code[m.start():m.start() + 9] == "QString::"
            index = 0 if qstring else PRINTF_FAMILY.get(name, 1)
            args = args_of(m)
            if name in QT_FORMATTERS and not args:
                continue  # qDebug() << ...: a stream
            if index >= len(args):
                continue
            fmt = s.literal_text(*args[index])
            if fmt is None:
                if name in QT_FORMATTERS or qstring:
                    continue
                yield m.start(), "printf-float", f"{name}() with a format that is not a literal"
                continue
            for c in PRINTF_CONVERSION.finditer(fmt):
                if c.group("conv") in "eEfFgGaA" or "'" in c.group("flags"):
                    yield m.start(), "printf-float", f"{name}() with \"{c.group(0)}\" writes the locale's decimal separator; use calc::realToText"
                    break

        for m in re.finditer(r"(?:\bstd::|(?<![\w.>:]))to_string\s*\(", code):
            args = args_of(m)
            k = kind(args[0]) if args else "unknown"
            if k != "int":
                yield m.start(), "to-string", "std::to_string() of a value not evidently an integer prints floating values through the locale; use calc::realToText (or cast to an integer type)"

        for m in re.finditer(r"(?:\b(?:QString|QByteArray)::number|\.setNum|->setNum)\s*\(", code):
            args = args_of(m)
            if len(args) >= 2 and char_literal(code[args[1][0]:args[1][1]]) in FLOAT_FORMATS:
                yield m.start(), "qt-number-float", "a number written with a floating format; use calc::realToText"
            elif args and kind(args[0]) != "int":
                yield m.start(), "qt-number-float", "a value not evidently an integer written as text; use calc::realToText (or cast to an integer type)"

        for m in re.finditer(r"(?:\.|->)arg\s*\(", code):
            args = args_of(m)
            if len(args) >= 3 and char_literal(code[args[2][0]:args[2][1]]) in FLOAT_FORMATS:
                yield m.start(), "qt-arg-float", "arg() with a floating format; use calc::realToText"
            elif args and kind(args[0]) == "float":
                yield m.start(), "qt-arg-float", "arg() of a floating value; use calc::realToText"
        for (start, _end, content) in s.literals:
            if re.search(r"%L\d", content):
                yield start, "qt-arg-locale", "a %L place marker writes the number the locale's way"

        for m in re.finditer(r"(?:\.|->)(toDouble|toFloat)\s*\(", code):
            receiver = receiver_kind(code, m.start(), scope)
            if receiver in ("json", "float", "int", "qlocale"):
                continue
            yield m.start(), "qt-to-float", f"{m.group(1)}() reads a number from a text outside rule 1; use calc::textToReal"

        conversions = r"(toString|toDouble|toFloat|toInt|toUInt|toLong|toULong|toLongLong|toULongLong|toShort|toUShort|toCurrencyString)"
        # A QLocale made on the spot: QLocale::system(), QLocale(), QLocale(name).
        for m in re.finditer(r"\bQLocale\s*(?:::\s*system\s*\(\s*\)|(\(|\{))", code):
            end = matching_paren(code, m.start(1)) + 1 if m.group(1) else m.end()
            call = re.compile(r"\s*\.\s*" + conversions + r"\s*\(").match(code, end)
            if call:
                yield from self._qlocale_call(code, call.end() - 1, call.group(1), m.start(), scope)
        # A QLocale variable, member or parameter.
        for m in re.finditer(r"(?<![\w.>])([A-Za-z_]\w*)\s*(?:\.|->)\s*" + conversions + r"\s*\(", code):
            if scope.kind(m.group(1), m.start()) == "qlocale":
                yield from self._qlocale_call(code, m.end() - 1, m.group(2), m.start(), scope)

        for m in re.finditer(r"\bstd::locale\s*\(\s*\"|\bstd::locale::global\s*\(", code):
            yield m.start(), "std-locale", "the C++ locale taken from the environment makes streams follow it"

        for m in re.finditer(r">>\s*([A-Za-z_]\w*)\b(?!\s*(?:\(|::|\.|->))", code):
            if scope.kind(m.group(1), m.start()) == "float":
                yield m.start(), "istream-float", "a floating value read from a stream follows the stream's locale; use calc::textToReal"

        for m in re.finditer(r"\bstd::(format|vformat|format_to|format_to_n|print|println)\s*\(", code):
            args = args_of(m)
            for span in args[:2]:
                fmt = s.literal_text(*span)
                if fmt and re.search(r"\{[^{}]*:[^{}]*L[^{}]*\}", fmt):
                    yield m.start(), "format-locale", "the L option formats by the locale"
                    break

    def _qlocale_call(self, code: str, open_pos: int, name: str, where: int, scope: Scope):
        args = split_args(code, open_pos)
        if name == "toString":
            if not args:
                return
            if any(classify(code[a:b], a, scope) == "datetime" for (a, b) in args):
                return
            if re.search(r"\bQLocale::(?:Short|Long|Narrow)Format\b", code[args[0][0]:args[-1][1]]):
                return
        yield where, "qlocale-number", f"QLocale::{name}() converts a number by the locale; use the rules of calc/"


def receiver_kind(code: str, dot: int, scope: Scope) -> str:
    """What the object before ".toDouble(" is: the kind of a plain name,
    'qlocale' for a QLocale made on the spot, else 'unknown' (a call's
    result, an element, a member)."""
    k = dot
    while k > 0 and code[k - 1].isspace():
        k -= 1
    if k > 0 and code[k - 1] == ")":
        depth, j = 0, k - 1
        while j >= 0:
            depth += {")": 1, "(": -1}.get(code[j], 0)
            if depth == 0:
                break
            j -= 1
        if re.search(r"\bQLocale\s*(?:::\s*system\s*)?$", code[:j]):
            return "qlocale"
        return "unknown"
    m = re.search(r"([A-Za-z_]\w*)$", code[:k])
    if not m:
        return "unknown"
    before = code[:m.start()].rstrip()
    if before.endswith(".") or before.endswith("->"):
        return "unknown"  # a member: its type is not known here
    return scope.kind(m.group(1), m.start())


def calc_headers(root: str) -> list[Source]:
    """calc/'s headers: not checked, but they tell the types of the names
    the rest of the program uses from them."""
    headers = []
    calc_dir = os.path.join(root, "calc")
    if os.path.isdir(calc_dir):
        for name in sorted(os.listdir(calc_dir)):
            if name.endswith(".h"):
                with open(os.path.join(calc_dir, name), encoding="utf-8", errors="replace") as f:
                    headers.append(Source(name, f.read()))
    return headers


def default_paths(root: str) -> list[str]:
    paths = []
    for top in sorted(os.listdir(root)):
        full = os.path.join(root, top)
        if top.startswith(".") or top in EXCLUDED_TOP or top.startswith("build") or not os.path.isdir(full):
            if os.path.isfile(full) and full.endswith(CXX_SUFFIXES):
                paths.append(full)
            continue
        for dirpath, dirnames, filenames in os.walk(full):
            dirnames[:] = sorted(d for d in dirnames if not d.startswith(".") and not d.startswith("build"))
            paths.extend(os.path.join(dirpath, f) for f in sorted(filenames) if f.endswith(CXX_SUFFIXES))
    return paths


def expand(paths: list[str]) -> list[str]:
    out = []
    for p in paths:
        if os.path.isdir(p):
            for dirpath, dirnames, filenames in os.walk(p):
                dirnames.sort()
                out.extend(os.path.join(dirpath, f) for f in sorted(filenames) if f.endswith(CXX_SUFFIXES))
        else:
            out.append(p)
    return out


def main(argv: list[str]) -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--root", default=os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")))
    parser.add_argument("paths", nargs="*")
    args = parser.parse_args(argv)

    paths = expand(args.paths) if args.paths else default_paths(args.root)
    sources = []
    for p in paths:
        with open(p, encoding="utf-8", errors="replace") as f:
            sources.append(Source(os.path.relpath(p, args.root) if not args.paths else p, f.read()))
    findings = Checker(sources, calc_headers(args.root)).run()
    for f in findings:
        print(f)
    if findings:
        print(f"locale_check: {len(findings)} locale-dependent conversion(s) in {len(sources)} files", file=sys.stderr)
        return 1
    print(f"locale_check: {len(sources)} files, no locale-dependent conversions")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
