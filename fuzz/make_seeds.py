#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets (run from the repository root)."""
import pathlib
import struct

root = pathlib.Path("fuzz/corpus")


def utf16(text):
    return text.encode("utf-16-le")


def write(target, name, data):
    path = root / target / name
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(data)


scripts = {
    "rules": pathlib.Path("examples/rules/mail.lx").read_text(),
    "operators": "a AND b OR c\n(a OR b) NEAR=3 NOT c\nx FOLLOWEDBY=2 y PRECEDEDBY z\nNOT q INSTANCES=2\n",
    "options": "[SCORE=-5,MATCH=ALL,NAME=One] one\n[@one] AND two\n[] [@ONE] NEAR [NUM]\n",
    "patterns": "c?t* [DIGIT][LETTER]* \\*lit\\* 50\\% \"Quoted Phrase*\" [CCARD] [US-SSN]\n",
    "broken": "x )\n( y\n\"open\n[SCORE=] z\n[@missing]\nab\"c\"\n\\q\n",
    "ideographs": "\u4e2d\u6587 OR \uff21\uff22\uff23 OR caf\u00e9\n",
}
for name, text in scripts.items():
    write("compile_fuzzer", name, utf16(text))

texts = {name.name: name.read_text(encoding="latin-1") for name in pathlib.Path("examples/mail").iterdir()}
texts["numbers"] = "card 4111 1111 1111 1111 ssn 123-45-6789 and 5500-0000-0000-0004"
texts["mixed"] = "don't e-mail co\u00adoperate at&t \u4e2d\u6587 free free free gift card"
for name, text in texts.items():
    write("scan_fuzzer", name, utf16(text))
    write("stream_differential_fuzzer", name, utf16(text))

files = {
    "utf8-bom": b"\xef\xbb\xbfcaf\xc3\xa9 text",
    "utf16le-bom": b"\xff\xfe" + utf16("wide text"),
    "utf16be-bom": b"\xfe\xff" + "wide text".encode("utf-16-be"),
    "utf32le-bom": b"\xff\xfe\x00\x00" + "x".encode("utf-32-le"),
    "xml": b'<?xml version="1.0" encoding="KOI8-R"?><a>\xf0\xd2\xc9\xd7\xc5\xd4</a>',
    "html": b'<html><head><meta http-equiv="Content-Type" content="text/html; charset=windows-1251"></head>\xcf\xf0\xe8</html>',
    "latin1": "r\u00e9sum\u00e9 na\u00efve".encode("latin-1"),
    "split-utf8": b"a" * 2047 + "\u4e2d".encode("utf-8") * 10,
}
for name, data in files.items():
    write("file_stream_fuzzer", name, data)

mails = {name.name: name.read_bytes() for name in pathlib.Path("examples/mail").iterdir()}
mails["nested"] = (b"Content-Type: multipart/mixed; boundary=a\n\n--a\nContent-Type: message/rfc822\n\n"
                   b"Subject: in\nContent-Type: multipart/alternative; boundary=b\n\n--b\n"
                   b"Content-Type: text/html; charset=x-bogus\n\n<p>a<br>b</p>\n--b--\n--a--\n")
mails["broken"] = (b"Subject: =?utf-8?q?=E2=82?=\nContent-Type: multipart/mixed\n\n--\n"
                   b"Content-Transfer-Encoding: base64\n\n!!AAA=\n")
mails["mbox-cut"] = b"From a Mon Dec  2 10:15:00 2024\nSubject: x\n\nFrom here\nFrom b\nSubj"
for name, data in mails.items():
    write("mail_reader_fuzzer", name, data)

lines = {
    "table": 'foo "bar baz"',
    "quotes": 'a" b"c "foo " AND bar',
    "escapes": 'a (b) "c=d" what? [x] \\y',
    "unclosed": 'x "open',
    "empty-quotes": 'a""b ""',
}
for i, (name, line) in enumerate(lines.items()):
    header = struct.pack("<iiHH", 10 - i * 7, i, 8 * i, 300 - 40 * i)
    write("convert_fuzzer", name, header + utf16(line))
