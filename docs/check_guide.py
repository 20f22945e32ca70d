#!/usr/bin/env python3
"""Checks of the installer's guide.

check_guide.py html GUIDE.html
    the page declares UTF-8 and has a title, and every picture it shows exists beside it.
check_guide.py messages GUIDE.md SOURCE_ROOT
    every Russian text that the program's handlers can show (string literals with Cyrillic in
    the folders below, comments left out) appears in the guide's text, so that a new message
    is not left undocumented. Literals split at "|" (file dialog filters) count piece by piece.
check_guide.py controls GUIDE.md SOURCE_ROOT
    every button, check box and group the guide names from its second section on (a quote after "кнопка", "нажмите",
    "флажок", "группа" ..., the quotes joined to it by "," "и" "или", and both sides of
    "«group» → «button»") is a text of the windows' forms (src/ui/forms/*.ui, the captions of
    src/forms), as the user reads it: without the mark of its Alt letter and outer blanks.
"""
import pathlib
import re
import sys
import urllib.parse

# Where the window's messages, status texts and their pieces live.
MESSAGE_SOURCES = [
    "src/app",
    "src/files/dictionary_transfer.cpp",
    "src/files/file_io.cpp",
    "src/firmware/firmware_image.cpp",
    "src/platform/file_errors.cpp",
    "src/platform/file_errors.h",
]
# Texts that are no message: file names and dialog filters, dictionary file header.
NOT_MESSAGES = {
    "Настройки GSM-модема.md2",
    "Настройки GSM-модема (*.md2)",
    "Кодированная прошивка",
    "Открытая прошивка",
    "DEC\\tHEX\\tТекст SMS\\tStat",
}
CYRILLIC = re.compile("[А-Яа-яЁё]")
LITERAL = re.compile(r'"((?:[^"\\\n]|\\.)*)"')


def strip_comments(text):
    text = re.sub(r"/\*.*?\*/", "", text, flags=re.S)
    # A "//" inside a string literal would cut it; the sources have none with Cyrillic.
    return "\n".join(line.split("//", 1)[0] for line in text.splitlines())


def message_texts(root):
    files = []
    for name in MESSAGE_SOURCES:
        path = root / name
        files += sorted(path.rglob("*.[ch]*")) if path.is_dir() else [path]
    for path in files:
        for literal in LITERAL.findall(strip_comments(path.read_text(encoding="utf-8"))):
            for piece in literal.split("|"):
                piece = piece.strip()
                if CYRILLIC.search(piece) and piece not in NOT_MESSAGES:
                    yield path.relative_to(root), piece


def check_messages(guide, root):
    # Lines of the guide wrap anywhere, so runs of blanks count as one on both sides.
    text = " ".join(guide.read_text(encoding="utf-8").split())
    missing = sorted(
        {(str(p), t) for p, t in message_texts(root) if " ".join(t.split()) not in text})
    for path, piece in missing:
        print(f"{path}: not in the guide: {piece}")
    return not missing


# A word that says a control's text follows, then the quotes joined to the first.
CONTROL_QUOTES = re.compile(
    r"(?:\b(?:[Кк]нопк\w*|[Нн]ажмите|[Фф]лаж\w*|[Гг]рупп\w*)\s+)"
    r"(«[^»]+»(?:(?:\s*,\s*|\s+и\s+|\s+или\s+)«[^»]+»)*)")
ARROW = re.compile(r"«([^»]+)»\s*→\s*«([^»]+)»")


def shown(text):
    """A control's text as the user reads it."""
    return " ".join(re.sub(r"&(?!&)", "", text).replace("&&", "&").split())


def window_texts(root):
    texts = set()
    for form in sorted((root / "src/ui/forms").glob("*.ui")):
        for text in re.findall(r"<string>([^<]*)</string>", form.read_text(encoding="utf-8")):
            texts.add(shown(text.replace("&amp;", "&")))
    for path in sorted((root / "src/forms").glob("*.[ch]*")):
        for literal in LITERAL.findall(strip_comments(path.read_text(encoding="utf-8"))):
            texts.add(shown(literal))
    return texts


def quoted_controls(guide):
    # The first section speaks of the system's own windows (Device Manager and the like).
    text = guide.read_text(encoding="utf-8")
    text = " ".join(text[text.index("\n## 2. "):].split())
    for match in CONTROL_QUOTES.finditer(text):
        yield from re.findall(r"«([^»]+)»", match.group(1))
    for match in ARROW.finditer(text):
        yield from match.groups()


def check_controls(guide, root):
    texts = window_texts(root)
    missing = sorted({q for q in quoted_controls(guide) if shown(q) not in texts or q != q.strip()})
    for quote in missing:
        print(f"{guide}: no control of the windows reads «{quote}»")
    return not missing


def check_html(page):
    text = page.read_text(encoding="utf-8")
    good = True
    if '<meta charset="utf-8">' not in text or not re.search(r"<title>[^<]+</title>", text):
        print(f"{page}: no charset or title")
        good = False
    images = re.findall(r'<img[^>]*\bsrc="([^"]+)"', text)
    if not images:
        print(f"{page}: no pictures")
        good = False
    ids = set(re.findall(r'\bid="([^"]+)"', text))
    # Browsers read a link's place percent-decoded.
    for target in re.findall(r'\bhref="#([^"]+)"', text):
        target = urllib.parse.unquote(target)
        if target not in ids:
            print(f"{page}: no place on the page for the link #{target}")
            good = False
    for src in images:
        if "://" in src or src.startswith("/") or not (page.parent / src).is_file():
            print(f"{page}: picture not beside the page: {src}")
            good = False
    return good


if __name__ == "__main__":
    mode = sys.argv[1]
    if mode == "html":
        ok = check_html(pathlib.Path(sys.argv[2]))
    elif mode == "controls":
        ok = check_controls(pathlib.Path(sys.argv[2]), pathlib.Path(sys.argv[3]))
    else:
        ok = check_messages(pathlib.Path(sys.argv[2]), pathlib.Path(sys.argv[3]))
    sys.exit(0 if ok else 1)
