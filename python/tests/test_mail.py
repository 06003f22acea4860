import concurrent.futures
import unicodedata

import pytest

import lexora
from conftest import cli_json, run_cli

MBOX = "examples/mail/inbox.mbox"
MULTIPART = "examples/mail/prize-multipart.eml"
# The second piece starts at an unquoted "From " line in the first message's
# body and has no header: no message, while the one after it still is.
BROKEN_MBOX = (b"From a Thu Aug 22 12:36:23 2002\nSubject: one\n\nmeeting agenda\n"
               b"From the desk of\nthe boss\n"
               b"From c Thu Aug 22 12:38:00 2002\nSubject: two\n\nyou have won the lottery\n")


def as_json(result):
    """A result as `lexora scan --json` prints it."""
    if isinstance(result, lexora.ScanError):
        return {"file": result.path, "score": None, "expressions": [], "error": result.reason}
    return {"file": result.label, "score": result.score,
            "expressions": [hit._asdict() for hit in result.hits], "error": None}


@pytest.fixture(scope="module")
def script(mail_rules):
    return lexora.Script(mail_rules)


def test_scan_files_gives_what_lexora_scan_mail_prints(source, script, tmp_path):
    files = [str(source / MULTIPART), str(source / MBOX), str(tmp_path / "missing.eml")]
    expected = cli_json(source / "examples/rules/mail.lx", files, "--mail")
    assert [r["file"] for r in expected] == [
        files[0], files[1] + ":1", files[1] + ":2", files[1] + ":3", files[2]]
    assert [as_json(r) for r in script.scan_files(files, mail=True)] == expected


def test_path_and_bytes_read_as_mail_alike(source, script):
    from_path = script.scan(source / MBOX, mail=True)
    from_bytes = script.scan((source / MBOX).read_bytes(), mail=True)
    assert [r.label for r in from_path] == [f"{source / MBOX}:{n}" for n in (1, 2, 3)]
    assert [r.label for r in from_bytes] == ["<bytes>:1", "<bytes>:2", "<bytes>:3"]
    assert [(r.score, r.hits) for r in from_path] == [(r.score, r.hits) for r in from_bytes]


def test_multipart_is_scanned_as_its_reader_sees_it(source, script):
    [message] = script.scan(source / MULTIPART, mail=True)
    raw = script.scan(source / MULTIPART)
    assert message.label == str(source / MULTIPART) and raw.label is None
    # The raw bytes hold words the reader never shows (script, style sheet,
    # attachment headers) and miss a phrase split by a soft line break.
    assert (message.score, raw.score) == (62, 86)
    million = [h.name for h in message.hits if h.name.startswith("( million OR billion )")]
    assert million and million[0] not in [h.name for h in raw.hits]


def test_a_broken_message_is_an_error_in_its_place(script):
    first, broken, last = script.scan(BROKEN_MBOX, mail=True)
    assert first.label == "<bytes>:1" and first.score == script.scan("one\n\nmeeting agenda").score
    assert isinstance(broken, lexora.ScanError)
    assert (broken.path, broken.reason) == ("<bytes>:2", "no mail message at byte 61")
    assert last.label == "<bytes>:3" and last.score > 0
    [not_mail] = script.scan(b"just a line of text\n", mail=True)
    assert isinstance(not_mail, lexora.ScanError) and not_mail.path == "<bytes>"


def test_mail_takes_neither_str_nor_an_encoding(source, script):
    with pytest.raises(TypeError):
        script.scan("Subject: hello\n\nbody", mail=True)
    with pytest.raises(ValueError):
        script.scan(source / MBOX, encoding="koi8-r", mail=True)
    with pytest.raises(ValueError):
        script.scan_files([source / MBOX], encoding="koi8-r", mail=True)


def test_threads_read_mail_in_parallel(source, script):
    files = sorted((source / "examples/mail").iterdir())
    expected = [as_json(r) for r in script.scan_files(files, mail=True)]

    def scan_all(_):
        return [as_json(r) for f in files * 10 for r in script.scan(f, mail=True)]

    with concurrent.futures.ThreadPoolExecutor(4) as pool:
        for results in pool.map(scan_all, range(4)):
            assert results == expected * 10


def test_read_mail_gives_the_text_lexora_read_mail_prints(source):
    done = run_cli("read", "--mail", str(source / MULTIPART))
    assert done.returncode == 0
    [message] = lexora.read_mail(source / MULTIPART)
    assert message.label == str(source / MULTIPART) and message.error is None
    # The reader's text, before the engine decomposes it as `lexora read` shows
    assert done.stdout.decode() == unicodedata.normalize("NFKD", message.text) + "\n"
    assert "2 million dollars" in message.text and "<" not in message.text
    first, broken, last = lexora.read_mail(BROKEN_MBOX)
    assert first == lexora.MailMessage("<bytes>:1", "one\n\n\u00b7\n\nmeeting agenda", None)
    assert broken == lexora.MailMessage("<bytes>:2", None, "no mail message at byte 61")
    assert last.text.startswith("two")
    with pytest.raises(TypeError):
        lexora.read_mail("Subject: hello\n\nbody")
