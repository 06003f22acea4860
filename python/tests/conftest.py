import json
import os
import pathlib
import subprocess

import pytest

SOURCE = pathlib.Path(os.environ.get("LEXORA_SOURCE_DIR", pathlib.Path(__file__).parents[2]))
CLI = os.environ.get("LEXORA_CLI", str(SOURCE / "build/tools/lexora/lexora"))


@pytest.fixture(scope="session")
def source():
    return SOURCE


@pytest.fixture(scope="session")
def mail_rules(source):
    return (source / "examples/rules/mail.lx").read_text()


@pytest.fixture(scope="session")
def example_files(source):
    return sorted(str(p) for p in (source / "examples").glob("*/*") if p.is_file())


def run_cli(*args, input=None):
    return subprocess.run([CLI, *args], input=input, capture_output=True, check=False)


def cli_json(script_path, files, *options):
    """The objects `lexora scan --json [OPTIONS]` prints for the files, in order."""
    done = run_cli("scan", "--json", *options, "--files-from", "-", str(script_path),
                   input=b"".join(os.fsencode(f) + b"\n" for f in files))
    assert done.returncode in (0, 1), done.stderr
    return [json.loads(line) for line in done.stdout.decode().splitlines()]
