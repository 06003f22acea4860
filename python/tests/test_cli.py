import json

from conftest import run_cli


def test_version_names_program_and_library():
    done = run_cli("--version")
    assert done.returncode == 0
    assert done.stdout.decode().splitlines() == [
        done.stdout.decode().splitlines()[0], "lexora2 library 2.0.3.67"]
    assert done.stdout.startswith(b"lexora 2.")


def test_files_from_list_and_standard_input(tmp_path, source, example_files):
    rules = str(source / "examples/rules/mail.lx")
    direct = run_cli("scan", "--json", rules, *example_files)
    listing = tmp_path / "files"
    listing.write_text("\n".join(example_files) + "\n\n")
    from_file = run_cli("scan", "--json", "--files-from", str(listing), rules)
    from_input = run_cli("scan", "--json", "--files-from", "-", rules,
                         input="\n".join(example_files).encode())
    assert direct.returncode == from_file.returncode == from_input.returncode == 0
    assert direct.stdout == from_file.stdout == from_input.stdout
    lines = direct.stdout.decode().splitlines()
    assert len(lines) == len(example_files)
    assert [json.loads(line)["file"] for line in lines] == example_files


def test_files_from_missing_list_is_a_usage_error(tmp_path, source):
    done = run_cli("scan", "--files-from", str(tmp_path / "none"), str(source / "examples/rules/mail.lx"))
    assert done.returncode == 2
    assert b"cannot read the file list" in done.stderr


def test_empty_list_scans_nothing(source):
    done = run_cli("scan", "--json", "--files-from", "-", str(source / "examples/rules/mail.lx"), input=b"")
    assert done.returncode == 0 and done.stdout == b""
