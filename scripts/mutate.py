#!/usr/bin/env python3
"""Mutation testing of the portable core against the native unit tests.

A developer tool, not a test and not part of CI. It plants one small slip at a
time in the core's sources (crypto/, settings/, model/, app/, commands/, without their
win32/, substitute/, tests/, bench/, fuzz/, tools/ and quillonc/ folders), rebuilds the
native preset incrementally, runs the native test programs, and puts the
source back byte for byte. A slip the tests do not notice is a survivor: a
place where the suite would let a real mistake through.

Run from anywhere in the repository (the native build must configure):

    python3 scripts/mutate.py                      # 200 mutants, about 30 minutes on 2 cores
    python3 scripts/mutate.py --list               # show the mutants, run nothing
    python3 scripts/mutate.py --only model/SettingsLoad.cpp --max 20
    python3 scripts/mutate.py --report mutation.txt
    python3 scripts/mutate.py --sanitizers         # survivors again under ASan and UBSan

The slips: comparison flips (== !=, < <=, > >=), && and || swapped, true and
false swapped in return statements, integer constants off by one (0 and 1
swapped), a statement line that is only a call removed, a ! removed.
Comments, string and character literals and preprocessor lines are never
touched, and only spaced operators count as comparisons, so template angle
brackets, << >> and -> are left alone.

The mutants depend only on the core's sources and --seed: a fixed enumeration
order, then a seeded sample of --max mutants spread over the files in
proportion to their candidates. Rewriting the tests therefore leaves the list
unchanged, and runs before and after are comparable.

An out-of-bounds write or undefined behaviour often passes the plain build's
tests unnoticed. With --sanitizers each survivor is built again with the
native-asan preset and its test programs run there; a failure counts as
killed ("killed by asan"). That costs a second incremental build per
survivor, and the native-asan build once at the start.

Each mutant gets a build time-out and a test time-out; a mutant that runs
into either counts as killed and is also shown as timed out. At the end the
script prints killed, survived, did-not-compile, timed-out and total, then
one `file:line: original -> mutant` line per survivor, and writes the same
report to --report when given. Ctrl-C ends the run early with the report of
the mutants done so far; the source is restored in every case.

After a run, build/native (and build/native-asan) holds objects built from
the last mutant; the restored source is newer than them, so the next build
compiles it again.
"""

import argparse
import bisect
import os
import random
import re
import signal
import subprocess
import sys
import time
from dataclasses import dataclass
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
BUILD_DIR = ROOT / "build" / "native"
CORE_FOLDERS = ("crypto", "settings", "model", "app", "commands")
EXCLUDED_FOLDERS = {"win32", "substitute", "tests", "bench", "fuzz", "tools", "quillonc"}
# Generated constants: every one of them is checked by the cipher's known
# answers, and they would swamp the sample.
EXCLUDED_FILES = {"crypto/basBlfInitialTables.cpp"}
SOURCE_SUFFIXES = {".cpp", ".h", ".hpp"}
CONFIGURE = ["cmake", "--preset", "native"]
BUILD = ["cmake", "--build", "--preset", "native", "-j2"]
# --sanitizers: a survivor of the plain build goes on to the native-asan one,
# where an out-of-bounds access or undefined behaviour ends the test program.
ASAN_BUILD_DIR = ROOT / "build" / "native-asan"
ASAN_CONFIGURE = ["cmake", "--preset", "native-asan"]
ASAN_BUILD = ["cmake", "--build", "--preset", "native-asan", "-j2"]
TEST_FLAGS = ["--gtest_brief=1"]

# Measured on 2 shared cores: a mutant in a .cpp file costs 1-5 s, one in a
# header the tests include 30-90 s (settings/Registry.h, SettingsCatalogue.h
# rebuild most test files); 130 mutants took 19 minutes, so 200 take about
# half an hour.
DEFAULT_MAX = 200
DEFAULT_SEED = 20261206


@dataclass(frozen=True)
class Mutant:
    path: str      # relative to the repository root
    start: int     # byte offset of the replaced text
    end: int
    replacement: str
    operator: str

    def apply(self, text):
        return text[:self.start] + self.replacement + text[self.end:]


# ---------------------------------------------------------------- the sources

def CoreSources():
    files = []
    for folder in CORE_FOLDERS:
        for path in (ROOT / folder).rglob("*"):
            relative = path.relative_to(ROOT)
            if (path.suffix in SOURCE_SUFFIXES and path.is_file()
                    and not EXCLUDED_FOLDERS.intersection(relative.parts[:-1])
                    and relative.as_posix() not in EXCLUDED_FILES):
                files.append(relative.as_posix())
    return sorted(files)


def MaskNonCode(text):
    """The text with comments, literals and preprocessor lines blanked out.

    Offsets and line breaks stay where they were, so a match in the mask is a
    match at the same place in the source.
    """
    out = list(text)
    i, n = 0, len(text)

    def Blank(a, b):
        for k in range(a, b):
            if out[k] != "\n":
                out[k] = " "

    at_line_start = True
    while i < n:
        c = text[i]
        if c == "\n":
            at_line_start = True
            i += 1
            continue
        if c in " \t":
            i += 1
            continue
        if at_line_start and c == "#":
            j = i
            while j < n and (text[j] != "\n" or text[j - 1] == "\\"):
                j += 1
            Blank(i, j)
            i = j
            continue
        at_line_start = False
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
        elif c == "R" and text.startswith('R"', i) and not (i and (text[i - 1].isalnum() or text[i - 1] == "_")):
            open_paren = text.find("(", i)
            delimiter = text[i + 2:open_paren]
            j = text.find(")" + delimiter + '"', open_paren)
            j = n if j < 0 else j + len(delimiter) + 2
        elif c == '"' or (c == "'" and not (i and text[i - 1].isalnum() and i + 1 < n and text[i + 1].isalnum())):
            j = i + 1
            while j < n and text[j] != c:
                j += 2 if text[j] == "\\" else 1
            j = min(j + 1, n)
        else:
            i += 1
            continue
        Blank(i, j)
        i = j
    return "".join(out)


# ------------------------------------------------------------- the operators

COMPARISON_FLIPS = {"==": "!=", "!=": "==", "<": "<=", "<=": "<", ">": ">=", ">=": ">"}
# Only operators with blanks on both sides: template brackets, << >> -> and
# <=> never stand like that in this code base.
COMPARISON = re.compile(r"(?<=\s)(==|!=|<=|>=|<|>)(?=\s)")
LOGICAL = re.compile(r"(?<=\s)(&&|\|\|)(?=\s)")
RETURN_BOOL = re.compile(r"\breturn\b[^;]*?\b(true|false)\b")
INTEGER = re.compile(r"(?<![\w.'])(0[xX][0-9a-fA-F]+|\d+)([uUlL]*)(?![\w.'])")
CALL_LINE = re.compile(r"^[ \t]*((?:[A-Za-z_]\w*(?:::|\.|->))*[A-Za-z_]\w*[ \t]*\([^;{}\n]*\)[ \t]*;)[ \t]*$", re.M)
NOT_CALLS = {"return", "static_assert", "sizeof", "delete", "throw", "if", "while", "for", "switch"}
NEGATION = re.compile(r"!(?!=)")
# `= 0` that makes a member function pure, not a number.
PURE_SPECIFIER = re.compile(r"\)\s*(?:const\s*)?(?:noexcept\s*)?(?:override\s*)?=\s*(0)\s*;")
# Two names side by side inside the parentheses: a declaration such as a
# constructor's, not a call.
PARAMETER = re.compile(r"[\w>][&*]*\s+[&*]*[A-Za-z_]\w*\s*[,)=]")


def ComparisonMutants(path, mask):
    for m in COMPARISON.finditer(mask):
        yield Mutant(path, m.start(), m.end(), COMPARISON_FLIPS[m.group(1)], "comparison")


def LogicalMutants(path, mask):
    for m in LOGICAL.finditer(mask):
        yield Mutant(path, m.start(), m.end(), "||" if m.group(1) == "&&" else "&&", "logical")


def ReturnBoolMutants(path, mask):
    for m in RETURN_BOOL.finditer(mask):
        flipped = "false" if m.group(1) == "true" else "true"
        yield Mutant(path, m.start(1), m.end(1), flipped, "return bool")


def OffByOne(literal):
    """One short, the usual slip; 0 and 1 trade places."""
    value = int(literal, 0)
    return 1 - value if value in (0, 1) else value - 1


def IntegerMutants(path, mask):
    pure = {m.start(1) for m in PURE_SPECIFIER.finditer(mask)}
    for m in INTEGER.finditer(mask):
        digits = m.group(1)
        if m.start(1) in pure:
            continue
        if len(digits) > 1 and digits[0] == "0" and digits[1] not in "xX":
            continue  # octal, as good as absent from this code
        value = OffByOne(digits)
        text = f"0x{value:X}" if digits[:2] in ("0x", "0X") else str(value)
        yield Mutant(path, m.start(1), m.end(1), text, "integer")


def StartsStatement(mask, offset):
    """True when the code before `offset` ends a statement, a block or a label."""
    before = mask[:offset].rstrip()
    return not before or before[-1] in ";{}:"


def CallRemovalMutants(path, mask):
    for m in CALL_LINE.finditer(mask):
        call = m.group(1)
        name = re.match(r"[A-Za-z_]\w*", call).group(0)
        arguments = call[call.index("("):]
        if (name not in NOT_CALLS and call.count("(") == call.count(")")
                and not PARAMETER.search(arguments)
                and StartsStatement(mask, m.start(1))):
            yield Mutant(path, m.start(1), m.end(1), "", "call removed")


def NegationMutants(path, mask):
    for m in NEGATION.finditer(mask):
        yield Mutant(path, m.start(), m.end(), "", "negation removed")


OPERATORS = (ComparisonMutants, LogicalMutants, ReturnBoolMutants, IntegerMutants,
             CallRemovalMutants, NegationMutants)


def Candidates(path):
    mask = MaskNonCode((ROOT / path).read_text())
    found = [m for operator in OPERATORS for m in operator(path, mask)]
    return sorted(found, key=lambda m: (m.start, m.end, m.replacement))


def Sample(candidates_by_file, cap, seed):
    """Up to `cap` mutants, each file's share proportional to its candidates."""
    total = sum(len(c) for c in candidates_by_file.values())
    if total <= cap:
        return [m for path in sorted(candidates_by_file) for m in candidates_by_file[path]]
    shares = {p: cap * len(c) / total for p, c in candidates_by_file.items()}
    quota = {p: int(s) for p, s in shares.items()}
    by_remainder = sorted(shares, key=lambda p: (-(shares[p] - quota[p]), p))
    for path in by_remainder[:cap - sum(quota.values())]:
        quota[path] += 1
    chosen = []
    for path in sorted(candidates_by_file):
        candidates = candidates_by_file[path]
        picks = random.Random(f"{seed}:{path}").sample(range(len(candidates)), quota[path])
        chosen.extend(candidates[i] for i in sorted(picks))
    return chosen


def ChooseMutants(files, cap, seed):
    # Sampling always sees every core file, so --only picks out the same
    # mutants a full run would make in that file.
    chosen = Sample({path: Candidates(path) for path in CoreSources()}, cap, seed)
    return [m for m in chosen if not files or m.path in files]


def Describe(mutant, text):
    line_start = text.rfind("\n", 0, mutant.start) + 1
    line_end = text.find("\n", mutant.end)
    line_end = len(text) if line_end < 0 else line_end
    original = text[line_start:line_end].strip()
    mutated_text = mutant.apply(text)
    mutated_end = mutated_text.find("\n", line_start)
    mutated = mutated_text[line_start:None if mutated_end < 0 else mutated_end].strip()
    line = text.count("\n", 0, mutant.start) + 1
    return f"{mutant.path}:{line}: {original} -> {mutated or '(line removed)'}"


# ------------------------------------------------------------------ running

class Stopped(Exception):
    """SIGTERM, turned into an exception so that the source gets restored."""


def RaiseStopped(signum, frame):
    raise Stopped()


def Run(command, timeout):
    """'ok', 'failed' or 'timeout'; the whole process group dies on a time-out."""
    process = subprocess.Popen(command, cwd=ROOT, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL, start_new_session=True)
    try:
        return "ok" if process.wait(timeout=timeout) == 0 else "failed"
    except subprocess.TimeoutExpired:
        return "timeout"
    finally:
        if process.poll() is None:
            os.killpg(process.pid, signal.SIGKILL)
            process.wait()


@dataclass(frozen=True, eq=False)
class Build:
    configure: list
    build: list
    folder: Path


PLAIN = Build(CONFIGURE, BUILD, BUILD_DIR)
SANITIZED = Build(ASAN_CONFIGURE, ASAN_BUILD, ASAN_BUILD_DIR)


def TestPrograms(folder):
    return sorted(p for p in folder.rglob("*_tests")
                  if p.is_file() and os.access(p, os.X_OK))


def Baseline(build, build_timeout):
    """The test programs with a time-out each, after a clean run of all of them."""
    if Run(build.configure, build_timeout) != "ok" or Run(build.build, build_timeout) != "ok":
        sys.exit(f"the unmutated build in {build.folder} fails; fix it first")
    programs = TestPrograms(build.folder)
    if not programs:
        sys.exit(f"no test programs under {build.folder}")
    timeouts = {}
    for program in programs:
        started = time.monotonic()
        if Run([str(program)] + TEST_FLAGS, 600) != "ok":
            sys.exit(f"{program.name} fails before any mutation; fix it first")
        timeouts[program] = max(20.0, 10 * (time.monotonic() - started))
    return timeouts


def Verdict(build, build_timeout, test_timeouts):
    built = Run(build.build, build_timeout)
    if built != "ok":
        return "timed out" if built == "timeout" else "did not compile"
    for program, timeout in test_timeouts.items():
        outcome = Run([str(program)] + TEST_FLAGS, timeout)
        if outcome != "ok":
            return "timed out" if outcome == "timeout" else "killed"
    return "survived"


# `test_timeouts` by build; the sanitized build sees only the plain one's survivors.
def TryMutant(mutant, build_timeout, test_timeouts):
    source = ROOT / mutant.path
    original = source.read_bytes()
    try:
        source.write_bytes(mutant.apply(original.decode()).encode())
        verdict = Verdict(PLAIN, build_timeout, test_timeouts[PLAIN])
        if verdict == "survived" and SANITIZED in test_timeouts:
            sanitized = Verdict(SANITIZED, build_timeout, test_timeouts[SANITIZED])
            verdict = "killed by asan" if sanitized in ("killed", "timed out") else verdict
        return verdict
    finally:
        source.write_bytes(original)


def Report(results, planned, seconds):
    count = {v: sum(1 for _, r in results if r == v)
             for v in ("killed", "killed by asan", "survived", "did not compile", "timed out")}
    compiled = len(results) - count["did not compile"]
    caught = count["killed"] + count["killed by asan"] + count["timed out"]
    lines = [f"mutants run: {len(results)} of {planned} in {seconds / 60:.1f} min"]
    if len(results) < planned:
        lines.append("(run cut short)")
    lines += [f"killed:          {caught} (of which timed out: {count['timed out']}, "
              f"by the sanitizers only: {count['killed by asan']})",
              f"survived:        {count['survived']}",
              f"did not compile: {count['did not compile']}",
              f"timed out:       {count['timed out']}",
              f"total:           {len(results)}"]
    if compiled:
        lines.append(f"mutation score:  {100 * caught / compiled:.1f} % of the mutants that compiled")
    lines.append("")
    lines.append("survivors:")
    lines += [f"  {d}" for d, r in results if r == "survived"]
    return "\n".join(lines) + "\n"


def Main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--max", type=int, default=DEFAULT_MAX, help="number of mutants (default %(default)s)")
    parser.add_argument("--seed", default=str(DEFAULT_SEED), help="sampling seed (default %(default)s)")
    parser.add_argument("--only", action="append", default=[], metavar="FILE",
                        help="only the mutants in this core file (repeatable)")
    parser.add_argument("--list", action="store_true", help="print the mutants and stop")
    parser.add_argument("--report", type=Path, help="also write the report to this file")
    parser.add_argument("--sanitizers", action="store_true",
                        help="try each survivor again in the native-asan build")
    parser.add_argument("--build-timeout", type=float, default=600, help="seconds per build (default %(default)s)")
    args = parser.parse_args()

    only = {Path(f).resolve().relative_to(ROOT).as_posix() for f in args.only}
    unknown = only - set(CoreSources())
    if unknown:
        sys.exit(f"not a core source: {', '.join(sorted(unknown))}")
    mutants = ChooseMutants(only, args.max, args.seed)
    texts = {path: (ROOT / path).read_text() for path in {m.path for m in mutants}}
    if args.list:
        for m in mutants:
            print(f"[{m.operator}] {Describe(m, texts[m.path])}")
        print(f"{len(mutants)} mutants")
        return

    signal.signal(signal.SIGTERM, RaiseStopped)
    started = time.monotonic()
    results = []
    try:
        builds = [PLAIN, SANITIZED] if args.sanitizers else [PLAIN]
        test_timeouts = {build: Baseline(build, args.build_timeout) for build in builds}
        print(f"baseline passes ({time.monotonic() - started:.0f} s); {len(mutants)} mutants", flush=True)
        for number, mutant in enumerate(mutants, 1):
            mutant_started = time.monotonic()
            verdict = TryMutant(mutant, args.build_timeout, test_timeouts)
            results.append((Describe(mutant, texts[mutant.path]), verdict))
            print(f"{number}/{len(mutants)} {verdict:15} {time.monotonic() - mutant_started:5.0f} s  "
                  f"{results[-1][0]}", flush=True)
    except (KeyboardInterrupt, Stopped):
        print("stopped", flush=True)
    report = Report(results, len(mutants), time.monotonic() - started)
    print(report, end="")
    if args.report:
        args.report.write_text(report)


if __name__ == "__main__":
    Main()
