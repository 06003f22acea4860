import concurrent.futures
import os
import pathlib
import threading
import warnings

import pytest

import lexora

PHISHING = "examples/mail/phishing-bank.eml"


def test_compile_errors_list_every_bad_statement():
    with pytest.raises(lexora.CompileError) as caught:
        lexora.Script("money AND\ncash\nOR OR")
    assert len(caught.value.errors) == 2
    assert caught.value.errors[0].startswith("Line 1, column")
    assert caught.value.errors[1].startswith("Line 3, column")
    assert isinstance(caught.value, lexora.Error)


def test_expressions_are_display_names():
    script = lexora.Script("[NAME=Card,SCORE=3] ABC\nfoo NEAR=2 bar")
    names = script.expressions
    assert len(names) == 2 and names[0] == "[NAME=Card] ABC" and names[1].startswith("foo NEAR")


def test_text_bytes_and_path_give_the_same_result(source, mail_rules):
    script = lexora.Script(mail_rules)
    path = source / PHISHING
    from_path = script.scan(path)
    from_bytes = script.scan(path.read_bytes())
    from_text = script.scan(path.read_text(encoding="utf-8"))
    assert from_path.score > 0
    assert from_path.score == from_bytes.score == from_text.score
    assert from_path.hits == from_bytes.hits == from_text.hits
    assert from_path.report() == from_bytes.report()
    hit = from_path.hits[0]
    assert hit.name == script.expressions[hit.index] and hit.hits > 0


def test_hits_list_only_statements_that_hit_and_report_quotes_on_request():
    script = lexora.Script("alpha\n[SCORE=4] beta\ngamma")
    result = script.scan("beta beta alpha")
    assert [(h.index, h.hits, h.score) for h in result.hits] == [(0, 1, 10), (1, 2, 4)]
    assert result.score == 14
    assert "alpha" not in result.report() and "alpha" in result.report(quote=True)


def test_encoding_hint_decides_bytes_without_a_signature():
    script = lexora.Script("café")
    latin1 = "un café noir".encode("latin-1")
    assert script.scan(latin1, encoding="ISO-8859-1").score == 10
    assert script.scan("café").score == 10
    with pytest.raises(TypeError):
        script.scan("café", encoding="ISO-8859-1")


def test_unreadable_file_raises_scan_error_with_path(tmp_path):
    script = lexora.Script("x")
    missing = tmp_path / "missing.eml"
    with pytest.raises(lexora.ScanError) as caught:
        script.scan(missing)
    assert caught.value.reason == "cannot open"
    assert caught.value.path == str(missing)


def test_scan_files_keeps_each_failure_in_its_place(source, mail_rules, tmp_path):
    script = lexora.Script(mail_rules)
    good = source / PHISHING
    results = script.scan_files([good, str(tmp_path / "missing"), os.fsencode(good)])
    assert results[0].score == results[2].score == script.scan(good).score
    assert isinstance(results[1], lexora.ScanError)
    assert results[1].reason == "cannot open" and results[1].path == str(tmp_path / "missing")


def test_non_utf8_path(tmp_path):
    name = os.path.join(os.fsencode(tmp_path), b"caf\xe9.eml")
    with open(name, "wb") as f:
        f.write(b"invoice overdue")
    script = lexora.Script("invoice")
    assert script.scan(pathlib.Path(os.fsdecode(name))).score == 10


def test_lone_surrogates_compile_or_fail_cleanly():
    try:
        script = lexora.Script("foo \ud800 bar\n\udfff")
    except lexora.CompileError as error:
        assert error.errors
    else:
        assert script.scan("foo \ud800 bar").score >= 0


def test_large_bytes_scan_completely():
    block = b"filler words " * 80 + b"\n"
    data = block * (64 * 1024 * 1024 // len(block)) + b"needle"
    assert lexora.Script("needle").scan(data).score == 10


def test_threads_scan_in_parallel_with_a_runner_each(source, mail_rules):
    script = lexora.Script(mail_rules)
    files = sorted((source / "examples/mail").iterdir())
    expected = [script.scan(f).score for f in files]
    barrier = threading.Barrier(4)

    def scan_all(_):
        barrier.wait()
        return [script.scan(f).score for f in files * 20]

    with concurrent.futures.ThreadPoolExecutor(4) as pool:
        for scores in pool.map(scan_all, range(4)):
            assert scores == expected * 20


def test_detect_names_the_encoding(source):
    assert lexora.detect((source / "examples/text/declared-koi8r.html").read_bytes()).lower() == "koi8-r"
    assert lexora.detect("\ufeffhello".encode("utf-8")) == "UTF-8"


def test_convert_line():
    assert lexora.convert_line('hello "world"', 5, "once only") == '[SCORE=5,MATCH=1] hello "world"'
    with warnings.catch_warnings(record=True) as caught:
        warnings.simplefilter("always")
        lexora.convert_line("hello", weighting=3)
    assert caught and issubclass(caught[0].category, lexora.ConversionWarning)
    with pytest.raises(lexora.ConversionError):
        lexora.convert_line('hello "world')
    with pytest.raises(ValueError):
        lexora.convert_line("hello", weighting="sometimes")


def test_versions():
    assert lexora.library_version == (2, 0, 3, 67)
    assert lexora.__version__.count(".") == 2
