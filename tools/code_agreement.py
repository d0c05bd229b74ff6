#!/usr/bin/python3
"""Compares the ISBN and UPC the core found in generated selections with
what python-stdnum (Debian's python3-stdnum; a reference for this
measurement only, never a dependency of the build or the tests) says of the
same codes.

    QM_CODE_SAMPLES_OUT=/tmp/codes.tsv build/native/tests/qm_core_tests \\
        --gtest_filter='ProductCodeWrittenForms.*'
    /usr/bin/python3 tools/code_agreement.py /tmp/codes.tsv

Each line of the file is a written form, the kind of code, the selection,
the code as written in it and the core's answer. The reference reads the
code as written, with the typographic hyphens and no-break spaces a page may
put between its groups taken as the hyphen they stand for: an ISBN valid for
stdnum.isbn is answered by its ISBN-10 when it has one, else by its thirteen
digits; a product code valid for stdnum.ean is answered by its UPC-A when
it is twelve digits, or thirteen beginning with 0; anything else by nothing.
"""

import collections
import sys

from stdnum import ean, isbn

SEPARATORS = dict.fromkeys(map(ord, "\u2010\u2011\u2012\u2013\u2212\u00a0\u2007\u202f"), "-")


def reference(kind, written):
    code = written.translate(SEPARATORS)
    if kind.startswith("isbn"):
        if not isbn.is_valid(code):
            return ""
        compact = isbn.compact(code)
        if len(compact) == 13 and compact.startswith("978"):
            return isbn.to_isbn10(compact)
        return compact
    if not ean.is_valid(code):
        return ""
    compact = ean.compact(code)
    if len(compact) == 12:
        return compact
    if len(compact) == 13 and compact.startswith("0"):
        return compact[1:]
    return ""


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: code_agreement.py SAMPLES.tsv")
    forms = collections.defaultdict(lambda: [0, 0])
    misses = []
    with open(sys.argv[1], encoding="utf-8") as samples:
        for line in samples:
            form, kind, text, written, answer = line.rstrip("\n").split("\t")
            expected = reference(kind, written)
            forms[form][1] += 1
            if answer == expected:
                forms[form][0] += 1
            else:
                misses.append(f"{form}: {text!r} gives {answer!r}, stdnum {expected!r}")
    for miss in misses[:40]:
        print("miss", miss)
    right = sum(r for r, _ in forms.values())
    total = sum(n for _, n in forms.values())
    for form, (r, n) in sorted(forms.items()):
        print(f"{form}: {r} of {n} agree")
    print(f"all: {right} of {total} agree ({100.0 * right / total:.2f}%)")


if __name__ == "__main__":
    main()
