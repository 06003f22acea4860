import os
import signal
import time

import distributed
import pytest

import lexora
import lexora.dask
from conftest import cli_json


@pytest.fixture(scope="module")
def client():
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                                  dashboard_address=None) as cluster:
        with distributed.Client(cluster) as c:
            yield c


def test_results_equal_lexora_scan_json(client, source, mail_rules, example_files, tmp_path):
    odd_name = os.path.join(os.fsencode(tmp_path), b"caf\xe9 \xff.eml")
    with open(odd_name, "wb") as f:
        f.write(b"Please wire transfer the funds immediately")
    files = example_files + [os.fsdecode(odd_name), str(tmp_path / "missing.eml")]
    expected = cli_json(source / "examples/rules/mail.lx", files)
    assert expected[-1]["error"] == "cannot open"
    assert expected[-2]["file"] == os.fsdecode(odd_name) and expected[-2]["score"] > 0
    results = lexora.dask.scan(client, mail_rules, files, partition_size=3)
    assert results.npartitions == -(-len(files) // 3)
    assert results.compute() == expected


def test_compile_errors_are_raised_at_the_call(client):
    with pytest.raises(lexora.CompileError):
        lexora.dask.scan(client, "money AND", ["x"])


def test_mail_results_equal_lexora_scan_mail_json(client, source, mail_rules, tmp_path):
    not_mail = tmp_path / "note.txt"
    not_mail.write_bytes(b"Please wire transfer the funds immediately")
    files = sorted(str(p) for p in (source / "examples/mail").iterdir())
    files += [str(not_mail), str(tmp_path / "missing.eml")]
    expected = cli_json(source / "examples/rules/mail.lx", files, "--mail")
    assert any(r["file"].endswith("inbox.mbox:3") for r in expected)
    assert [r["error"] for r in expected[-2:]] == ["no mail message at byte 0", "cannot open"]
    results = lexora.dask.scan(client, mail_rules, files, mail=True, partition_size=3)
    assert results.compute() == expected


def test_a_worker_killed_mid_scan_loses_nothing(client, source, mail_rules, example_files):
    files = example_files * 150
    expected = cli_json(source / "examples/rules/mail.lx", example_files) * 150
    results = lexora.dask.scan(client, mail_rules, files, partition_size=5)
    while not any(f.status == "finished" for f in results.__dask_graph__().values()
                  if isinstance(f, distributed.Future)):
        time.sleep(0.01)
    os.kill(next(iter(client.run(os.getpid).values())), signal.SIGKILL)
    assert results.compute() == expected
