#!/usr/bin/env python3
"""The program's Russian texts and their English translation.

Every string literal of src/ that holds a Cyrillic letter is a text the program may show
(a caption, a message, a line of the help, a fragment of a message built at run time).
translations/planova3_en.ts holds each of them as a source with its English translation;
the desktop front end translates by these texts, whole or as fragments of a longer text.

  extract_strings.py --check   lists the literals without a translation (exit status 1)
  extract_strings.py --update  adds new literals to the .ts (translation left empty,
                               marked unfinished) and drops those no longer in src/
"""
import argparse
import pathlib
import re
import sys
import xml.etree.ElementTree as ET

ROOT = pathlib.Path(__file__).resolve().parent.parent
TS = ROOT / "translations" / "planova3_en.ts"
CONTEXT = "Planova"
CYRILLIC = re.compile("[\u0400-\u04ff]")
ESCAPES = {"n": "\n", "r": "\r", "t": "\t", '"': '"', "'": "'", "\\": "\\", "0": "\0"}


def literals(code):
    """The string literals of C++ source text, comments skipped, escapes resolved."""
    i, n = 0, len(code)
    while i < n:
        c = code[i]
        if code.startswith("//", i):
            i = code.find("\n", i)
            i = n if i < 0 else i
        elif code.startswith("/*", i):
            i = code.find("*/", i + 2)
            i = n if i < 0 else i + 2
        elif c == "'":
            j = i + 1
            while j < n and code[j] != "'":
                j += 2 if code[j] == "\\" else 1
            i = j + 1
        elif c == '"':
            text, j = [], i + 1
            while j < n and code[j] != '"':
                if code[j] == "\\":
                    text.append(ESCAPES.get(code[j + 1], "\\" + code[j + 1]))
                    j += 2
                else:
                    text.append(code[j])
                    j += 1
            yield "".join(text)
            i = j + 1
        else:
            i += 1


def source_texts():
    """Every Russian literal of src/, in the order of the files and of their lines."""
    seen, texts = set(), []
    for path in sorted(ROOT.glob("src/**/*")):
        if path.suffix not in (".cpp", ".h"):
            continue
        for text in literals(path.read_text(encoding="utf-8")):
            if CYRILLIC.search(text) and text not in seen:
                seen.add(text)
                texts.append(text)
    return texts


def read_ts():
    """The .ts file's sources with their translations (empty when unfinished)."""
    if not TS.exists():
        return {}
    table = {}
    for message in ET.parse(TS).getroot().iter("message"):
        translation = message.find("translation")
        done = translation is not None and translation.get("type") not in ("unfinished", "obsolete")
        table[message.findtext("source")] = (translation.text or "") if done else ""
    return table


def write_ts(texts, table):
    root = ET.Element("TS", version="2.1", language="en_GB", sourcelanguage="ru_RU")
    context = ET.SubElement(root, "context")
    ET.SubElement(context, "name").text = CONTEXT
    for text in texts:
        message = ET.SubElement(context, "message")
        ET.SubElement(message, "source").text = text
        translation = ET.SubElement(message, "translation")
        if table.get(text):
            translation.text = table[text]
        else:
            translation.set("type", "unfinished")
    ET.indent(root, space="    ")
    body = ET.tostring(root, encoding="unicode")
    # Carriage returns of the program's texts stay visible in the XML.
    body = body.replace("\r", "&#13;")
    TS.parent.mkdir(exist_ok=True)
    TS.write_text('<?xml version="1.0" encoding="utf-8"?>\n<!DOCTYPE TS>\n' + body + "\n", encoding="utf-8")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--check", action="store_true")
    parser.add_argument("--update", action="store_true")
    args = parser.parse_args()
    texts, table = source_texts(), read_ts()
    if args.update:
        write_ts(texts, table)
        table = read_ts()
    missing = [t for t in texts if not table.get(t)]
    for text in missing:
        print("no translation: " + repr(text))
    if args.check or args.update:
        print(f"{len(texts)} Russian texts in src/, {len(missing)} without a translation")
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main())
