#!/usr/bin/env python3
"""Writes the pseudo-language's catalogue (code qps) to OUT, for the tests: each of the
program's and the page shell's texts in the given templates (po/*.pot) with every letter that
Latin-1 has with an accent so accented, in turn through its forms, and made 40 % longer with
Latin-1's characters from 160 to 255 in turn, so that a few texts in a row (the overlay's)
draw every one of them. A text too long or a letter missed shows in the pictures.
Usage: pseudo.py OUT TEMPLATE.pot...
"""
import itertools
import math
import re
import sys

FORMS = {"a": "àáâãäåæ", "c": "ç", "d": "ð", "e": "èéêë", "i": "ìíîï", "n": "ñ", "o": "òóôõöø",
         "p": "þ", "s": "ß", "u": "ùúûü", "y": "ýÿ", "A": "ÀÁÂÃÄÅÆ", "C": "Ç", "D": "Ð",
         "E": "ÈÉÊË", "I": "ÌÍÎÏ", "N": "Ñ", "O": "ÒÓÔÕÖØ", "U": "ÙÚÛÜ", "Y": "Ý", "P": "Þ"}
turns = {letter: itertools.cycle(forms) for letter, forms in FORMS.items()}
# A blank between ÿ and the next round: no letter from À on is followed by a byte below À, as
# UTF-8 read as Latin-1 would be.
signs = itertools.cycle([chr(c) for c in range(0xA0, 0x100)] + [" "])


def pseudo(text):
    """text as written in a PO file (escapes kept): its letters accented, its formats and
    escapes kept, its trailing blanks and line ends kept at the end, 40 % longer."""
    body, end = re.match(r"(.*?)((?: |\\n)*)$", text).groups()
    parts = re.split(r"(%[a-z]+|\\.)", body)
    body = "".join(p if i % 2 else "".join(next(turns[c]) if c in turns else c for c in p)
                   for i, p in enumerate(parts))
    pad = max(2, math.ceil(0.4 * len(text)))
    return body + " " + "".join(next(signs) for _ in range(pad - 1)) + end


def messages(path):
    """(references, msgid as written) of each message of a PO template."""
    for block in open(path, encoding="utf-8").read().split("\n\n"):
        refs = " ".join(line[3:] for line in block.splitlines() if line.startswith("#: "))
        found = re.search(r"^msgid ((?:\".*\"\n)+)msgstr", block + "\n", re.M)
        if found and refs:
            yield refs, "".join(re.findall(r"\"(.*)\"", found.group(1)))


out = open(sys.argv[1], "w", encoding="utf-8")
print('msgid ""\nmsgstr ""\n"Project-Id-Version: foucault\\n"\n"PO-Revision-Date: 2026-12-08 12:00+0100\\n"\n'
      '"Last-Translator: none, made by scripts/pseudo.py\\n"\n"Language-Team: none\\n"\n"Language: qps\\n"\n'
      '"MIME-Version: 1.0\\n"\n"Content-Type: text/plain; charset=UTF-8\\n"\n"Content-Transfer-Encoding: 8bit\\n"', file=out)
for template in sys.argv[2:]:
    for refs, msgid in messages(template):
        if re.search(r"(^| )(sim|render|app)/|web/shell\.html", refs):
            print(f'\n#: {refs}\nmsgid "{msgid}"\nmsgstr "{pseudo(msgid)}"', file=out)
