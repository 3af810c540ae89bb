#!/usr/bin/env python3
"""The pane phrases the desktop front end translates are the ones the windows write.

src/ui/translation.cpp translates the program's own phrases in the panes (kPanePhrases)
by replacing them where they occur in a pane's text, so each must be, byte for byte, a
string literal of the program's other sources (src/ outside ui/) or a part of one: a
phrase that drifted from the window's text would stay Russian in the English windows.
Lists the phrases not found and exits with status 1.
"""
import re
import sys

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
from extract_strings import ROOT, literals  # noqa: E402

TABLE = ROOT / "src" / "ui" / "translation.cpp"


def pane_phrases():
    code = TABLE.read_text(encoding="utf-8")
    match = re.search(r"kPanePhrases\[\]\s*=\s*\{(.*?)\n\};", code, re.S)
    if not match:
        sys.exit(f"{TABLE}: no kPanePhrases table")
    return list(literals(match.group(1)))


def written_texts():
    texts = []
    for path in sorted((ROOT / "src").glob("**/*")):
        if path.suffix in (".cpp", ".h") and path.relative_to(ROOT / "src").parts[0] != "ui":
            texts.extend(literals(path.read_text(encoding="utf-8")))
    return texts


def main():
    phrases, texts = pane_phrases(), written_texts()
    missing = [p for p in phrases if not any(p in t for t in texts)]
    for phrase in missing:
        print("pane phrase written nowhere in src/: " + repr(phrase))
    print(f"{len(phrases)} pane phrases, {len(missing)} not written by the windows")
    return 1 if missing or not phrases else 0


if __name__ == "__main__":
    sys.exit(main())
