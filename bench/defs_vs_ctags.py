#!/usr/bin/env python3
"""Compare the index lists of scrivo's source pages with Universal Ctags.

usage: defs_vs_ctags.py [--misses KIND | -v] SCRIVO PATH...

Each PATH is a source file or a folder (its *.c *.h *.cpp files, not
recursive).  Every file is copied into a fresh temporary folder and run
through SCRIVO there, so the corpus stays untouched; the lists of the page
are then set against the definitions ctags reports for the same file.
"""
import argparse
import html
import os
import re
import shutil
import subprocess
import sys
import tempfile

CTAGS = os.environ.get("CTAGS", "ctags")
SOURCE_EXTS = (".c", ".h", ".cpp")
KINDS = ("func", "def", "type", "struct")
LABELS = {"func": "functions", "def": "macros", "type": "typedefs",
          "struct": "structures", "enum": "enumerations"}
# ctags kind name -> compared list (class counts with struct and union).
CTAGS_KINDS = {"function": "func", "macro": "def", "typedef": "type",
               "struct": "struct", "union": "struct", "class": "struct"}
# Index entry: anchor prefix in the link, name, then the kind word.
LIST_RE = re.compile(r'<LI><A href="#(def|func|type|struct|enum)\d+">(.*?) '
                     r'(?:マクロ|関数|型|構造体|共用体|クラス|列挙型)</A>')
ANCHOR_RE = re.compile(rb'<A name="(?:def|func|type|struct|enum)\d+">')
MISS_LIMIT = 50

KEYWORDS = set("""
auto break case char const continue default do double else enum extern float
for goto if inline int long register restrict return short signed sizeof
static struct switch typedef union unsigned void volatile while _Alignas
_Alignof _Atomic _Bool _Complex _Generic _Imaginary _Noreturn _Static_assert
_Thread_local
alignas alignof and and_eq asm bitand bitor bool catch char16_t char32_t
class compl constexpr const_cast decltype delete dynamic_cast explicit export
false friend mutable namespace new noexcept not not_eq nullptr operator or
or_eq private protected public reinterpret_cast static_assert static_cast
template this thread_local throw true try typeid typename using virtual
wchar_t xor xor_eq
""".split())


def source_files(path):
    if os.path.isdir(path):
        return sorted(os.path.join(path, n) for n in os.listdir(path)
                      if n.endswith(SOURCE_EXTS)
                      and os.path.isfile(os.path.join(path, n)))
    return [path]


def ctags_defs(path):
    """Sets of names per compared kind; anonymous types left out."""
    lang = "C++" if path.endswith(".cpp") else "C"
    kinds = "dfstuc" if lang == "C++" else "dfstu"
    out = subprocess.run(
        [CTAGS, "-f", "-", "--language-force=" + lang,
         "--kinds-%s=%s" % (lang, kinds), "--fields=+K", "--excmd=number",
         path], stdout=subprocess.PIPE, check=True).stdout
    defs = {k: set() for k in KINDS}
    for line in out.decode("utf-8", "replace").splitlines():
        parts = line.split("\t")
        if len(parts) < 4 or parts[0].startswith("__anon"):
            continue
        kind = CTAGS_KINDS.get(parts[3])
        if kind:
            defs[kind].add(parts[0])
    return defs


def run_scrivo(scrivo, path):
    """Returns (exit status, stdout, page bytes or None)."""
    with tempfile.TemporaryDirectory(prefix="scrivo-defs-") as tmp:
        name = os.path.basename(path)
        shutil.copy(path, os.path.join(tmp, name))
        env = dict(os.environ, BROWSER="")
        proc = subprocess.run([scrivo, name], cwd=tmp, env=env,
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        page = os.path.join(tmp, "scrivo2", os.path.splitext(name)[0] + ".htm")
        data = None
        if os.path.exists(page):
            with open(page, "rb") as f:
                data = f.read()
        return proc.returncode, proc.stdout, data


def page_lists(data):
    """Names per list, every listed name, anchor count, anchors on '}'."""
    lists = {k: set() for k in KINDS + ("enum",)}
    listed = []
    for kind, name in LIST_RE.findall(data.decode("cp932", "replace")):
        name = html.unescape(name)
        lists[kind].add(name)
        listed.append(name)
    anchors = ANCHOR_RE.finditer(data)
    total = brace = 0
    for m in anchors:
        total += 1
        brace += data[m.end():m.end() + 1] == b"}"
    return lists, listed, total, brace


class Tally:
    def __init__(self, label, files):
        self.label, self.files = label, files
        self.ctags = dict.fromkeys(KINDS, 0)
        self.hit = dict.fromkeys(KINDS, 0)
        self.extra = dict.fromkeys(KINDS, 0)
        self.misses = {k: [] for k in KINDS}
        self.extras = {k: [] for k in KINDS}
        self.enums = self.anchors = self.brace = self.warned = 0
        self.keywords = {}
        self.failures = []

    def add(self, path, want, status, stdout, data):
        if stdout.strip():
            self.warned += 1
        if status != 0 or data is None:
            self.failures.append("%s (exit %d%s)" % (
                path, status, "" if data else ", no page"))
        lists, listed, anchors, brace = page_lists(data or b"")
        self.anchors += anchors
        self.brace += brace
        self.enums += len(lists["enum"])
        for name in listed:
            if name in KEYWORDS:
                self.keywords[name] = self.keywords.get(name, 0) + 1
        for k in KINDS:
            got = lists[k]
            self.ctags[k] += len(want[k])
            self.hit[k] += len(want[k] & got)
            self.extra[k] += len(got - want[k])
            self.misses[k] += [(path, n) for n in sorted(want[k] - got)]
            self.extras[k] += [(path, n) for n in sorted(got - want[k])]

    def report(self, show):
        print("== %s (%d file%s)" % (self.label, self.files,
                                     "" if self.files == 1 else "s"))
        print("%-12s %7s %7s %7s %7s" % ("kind", "ctags", "listed", "%",
                                         "extra"))
        for k in KINDS:
            pct = ("%6.1f%%" % (100.0 * self.hit[k] / self.ctags[k])
                   if self.ctags[k] else "-")
            print("%-12s %7d %7d %7s %7d" % (
                LABELS[k], self.ctags[k], self.hit[k], pct, self.extra[k]))
        print("%-12s %7s %7d (listed by scrivo, not compared)" % (
            LABELS["enum"], "-", self.enums))
        pct = 100.0 * self.brace / self.anchors if self.anchors else 0
        print('definition anchors: %d, opening on "}": %d (%.1f%%)' % (
            self.anchors, self.brace, pct))
        kw = sorted(self.keywords.items(), key=lambda kv: (-kv[1], kv[0]))
        print("keywords listed as names: %s" % (
            ", ".join("%s %d" % kv for kv in kw) or "none"))
        print("files with bracket warnings: %d" % self.warned)
        print("scrivo failures: %s" % ("; ".join(self.failures) or "none"))
        for k in KINDS:
            if show in (k, "all"):
                for what, rows in (("missed", self.misses[k]),
                                   ("extra", self.extras[k])):
                    for path, name in rows[:MISS_LIMIT]:
                        print("  %s %s %s: %s" % (LABELS[k], what, path, name))
                    if len(rows) > MISS_LIMIT:
                        print("  %s %s: %d more" % (
                            LABELS[k], what, len(rows) - MISS_LIMIT))
        print()


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("scrivo")
    ap.add_argument("paths", nargs="+", metavar="PATH")
    ap.add_argument("--misses", choices=KINDS + ("all",),
                    help="list missed and extra names of KIND")
    ap.add_argument("-v", dest="misses", action="store_const", const="all",
                    help="same as --misses all")
    args = ap.parse_args()
    if shutil.which(CTAGS) is None:
        sys.exit("defs_vs_ctags: %s not found" % CTAGS)
    scrivo = os.path.abspath(args.scrivo)
    for path in args.paths:
        files = source_files(path)
        tally = Tally(path.rstrip("/"), len(files))
        for f in files:
            tally.add(f, ctags_defs(f), *run_scrivo(scrivo, f))
        tally.report(args.misses)


if __name__ == "__main__":
    main()
