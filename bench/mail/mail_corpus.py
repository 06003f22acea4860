#!/usr/bin/env python3
"""Raw against --mail scanning of the SpamAssassin corpus: per statement, how
many ham and spam messages it fires on; the ham messages on which the
card-number statement still fires with --mail, with the runs it takes for cards;
the throughput of both modes and of the mail reader alone at 1 and 2 threads;
and, in instructions, what the mail reader costs against the scans."""
import argparse
import json
import os
import re
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile
import time


def statements(rules_path):
    """The statement lines of a script, in order (comments and blanks skipped)."""
    with open(rules_path, encoding="utf-8") as f:
        return [l.strip() for l in f if l.strip() and not l.lstrip().startswith("#")]


def scan(lexora, rules, files, mail, threads):
    """Per message label: the set of statement indexes with hits, or None on error."""
    command = [lexora, "scan", "--json", "-j", str(threads)] + (["--mail"] if mail else [])
    out = subprocess.run(command + [rules] + files, capture_output=True, text=True).stdout
    fired = {}
    for line in out.splitlines():
        r = json.loads(line)
        fired[r["file"]] = None if r["error"] else {e["index"] for e in r["expressions"]}
    return fired


def timed(command, runs):
    """Median wall seconds and median CPU seconds (user + system) of a run."""
    wall, cpu = [], []
    for _ in range(runs):
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        start = time.perf_counter()
        subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wall.append(time.perf_counter() - start)
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        cpu.append(after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime)
    return statistics.median(wall), statistics.median(cpu)


def inclusive_instructions(command, functions):
    """Runs `command` once under callgrind. Returns the program's instructions
    and, per (prefix, fragment) in `functions`, the inclusive instructions of
    the function whose name starts with the prefix and contains the fragment."""
    # Under valgrind GLib hands the blocks of its slice allocator to malloc
    # unless G_SLICE is set: empty, it leaves the allocator of a plain run.
    with tempfile.TemporaryDirectory() as scratch:
        out = os.path.join(scratch, "callgrind.out")
        subprocess.run(["valgrind", "--tool=callgrind", f"--callgrind-out-file={out}"] + command,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True,
                       env=dict(os.environ, G_SLICE=""))
        listing = subprocess.run(["callgrind_annotate", "--inclusive=yes", "--threshold=100", out],
                                 capture_output=True, text=True, check=True).stdout
    total, found = 0, [0] * len(functions)
    for line in listing.splitlines():
        m = re.match(r"\s*([\d,]+) \([^)]*\)\s+(.*)$", line)
        if not m:
            continue
        count, where = int(m.group(1).replace(",", "")), m.group(2)
        if where.startswith("PROGRAM TOTALS"):
            total = count
            continue
        # "FILE:FUNCTION [OBJECT]"; inlined pieces show under other files with
        # smaller counts, so the largest count is the function's own.
        name = where.split(":", 1)[1] if ":" in where.split("(", 1)[0] else where
        for k, (prefix, fragment) in enumerate(functions):
            if name.startswith(prefix) and fragment in name:
                found[k] = max(found[k], count)
    return total, found


def instruction_split(lexora, rules, files):
    """Instructions, one thread: the per-file work of a raw scan; with --mail,
    the mail reader's and the scan's shares of it; and what each process costs
    once (start, script compilation, the charset detector's tables)."""
    worker = ("lexora_cli::RunScan(", "{lambda()#1}::operator()")
    scan_stream = ("lexora_cli::(anonymous namespace)::ScanStream(", "")
    command = [lexora, "scan", "-j", "1", rules]
    _, (raw_work, _) = inclusive_instructions(command + files, [worker, scan_stream])
    mail_total, (mail_work, mail_scan) = inclusive_instructions(
        command[:2] + ["--mail"] + command[2:] + files, [worker, scan_stream])
    return {"raw": raw_work, "reader": mail_work - mail_scan, "mail scan": mail_scan,
            "once": mail_total - mail_work}


def is_ham(label):
    return "ham" in os.path.basename(os.path.dirname(label.split(":")[0]))


def luhn(digits):
    total = 0
    for k, c in enumerate(reversed(digits)):
        d = int(c) * (2 if k % 2 else 1)
        total += d - 9 if d > 9 else d
    return total != 0 and total % 10 == 0


def card_runs(lexora, label):
    """The stretches of a message's --mail text that the card-number class
    takes for a card: adjacent number words (only separators between them)
    making 13 to 19 digits that pass the Luhn check."""
    path = label.rsplit(":", 1)[0] if re.search(r":\d+$", label) else label
    text = subprocess.run([lexora, "read", "--mail", path], capture_output=True,
                          text=True, errors="replace").stdout
    runs, window = [], []
    for word in re.finditer(r"[^\W_]+", text):
        if not word.group().isdigit():
            window = []
            continue
        window.append(word)
        for start in range(len(window)):
            digits = "".join(w.group() for w in window[start:])
            if 13 <= len(digits) <= 19 and luhn(digits):
                runs.append(text[window[start].start():word.end()].replace("\n", "\\n")[:80])
                window = []
                break
    return runs


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--lexora", required=True)
    p.add_argument("--rules", required=True)
    p.add_argument("--data", required=True)
    p.add_argument("--parser", required=True, help="lexora_mail_parse: the mail reader alone")
    p.add_argument("--runs", type=int, default=3)
    p.add_argument("--stride", type=int, default=10,
                   help="every STRIDE-th message file goes to the instruction count")
    p.add_argument("--results")
    a = p.parse_args()
    files = sorted(os.path.join(d, f) for d, _, names in os.walk(a.data)
                   for f in names if f.endswith(".txt"))
    corpus_mb = sum(os.path.getsize(f) for f in files) / 1e6
    texts = statements(a.rules)
    raw = scan(a.lexora, a.rules, files, False, 2)
    mail = scan(a.lexora, a.rules, files, True, 2)
    out = []
    hams = sum(1 for f in files if is_ham(f))
    out.append(f"Corpus: {len(files)} messages ({hams} ham, {len(files) - hams} spam), "
               f"{corpus_mb:.1f} MB; script `{a.rules}`.\n")
    out.append("| # | statement | ham raw | ham --mail | spam raw | spam --mail |")
    out.append("| ---: | --- | ---: | ---: | ---: | ---: |")

    def count(results, index, ham):
        return sum(1 for label, fired in results.items()
                   if fired is not None and index in fired and is_ham(label) == ham)

    for i, text in enumerate(texts):
        shown = text.replace("|", "\\|")
        shown = shown if len(shown) <= 60 else shown[:57] + "..."
        out.append(f"| {i} | `{shown}` | {count(raw, i, True)} | {count(mail, i, True)} | "
                   f"{count(raw, i, False)} | {count(mail, i, False)} |")
    errors = [sum(1 for fired in r.values() if fired is None) for r in (raw, mail)]
    out.append(f"\nMessages with an error: raw {errors[0]}, --mail {errors[1]}.\n")
    card = next(i for i, t in enumerate(texts) if "NAME=Card number" in t)
    remaining = sorted(l for l, fired in mail.items()
                       if fired is not None and card in fired and is_ham(l))
    out.append(f"Ham messages on which statement {card} (card number) fires with --mail: "
               f"{len(remaining)}, each with the runs taken for a card number:\n")
    for label in remaining:
        out.append(f"- `{os.path.relpath(label, a.data)}`")
        out.append("  " + ", ".join(f"`{run}`" for run in card_runs(a.lexora, label)))
    out.append(f"\nThroughput, whole process, median of {a.runs} runs: MB of message files per "
               "second of wall time, and CPU seconds (user + system) per run. Load average "
               f"before: {os.getloadavg()[0]:.1f} on {os.cpu_count()} cores. The mail reader "
               "alone is `lexora_mail_parse`: each file read as `scan --mail` reads it (MIME "
               "parse, transfer and charset decoding, HTML to text), no scan.\n")
    out.append("| mode | 1 thread MB/s | 2 threads MB/s | CPU s, 1 thread | CPU s, 2 threads |")
    out.append("| --- | ---: | ---: | ---: | ---: |")
    modes = (("scan raw", [a.lexora, "scan"], [a.rules]),
             ("scan --mail (mail reader and scan)", [a.lexora, "scan", "--mail"], [a.rules]),
             ("mail reader alone", [a.parser], []))
    for name, command, script in modes:
        cells = [timed(command + ["-j", str(t)] + script + files, a.runs) for t in (1, 2)]
        out.append(f"| {name} | {corpus_mb / cells[0][0]:.1f} | {corpus_mb / cells[1][0]:.1f} | "
                   f"{cells[0][1]:.2f} | {cells[1][1]:.2f} |")
    wall, cpu = timed([a.lexora, "read", "--mail"] + files, a.runs)
    out.append(f"| read --mail (mail reader, normalise, print; no rules) | {corpus_mb / wall:.1f} "
               f"| | {cpu:.2f} | |")
    if shutil.which("valgrind") and shutil.which("callgrind_annotate"):
        sample = files[::a.stride]
        split = instruction_split(a.lexora, a.rules, sample)
        out.append(f"\nInstructions (callgrind, one thread) on every {a.stride}th message file "
                   f"({len(sample)} files, {sum(os.path.getsize(f) for f in sample) / 1e6:.1f} MB): "
                   "counts of executed instructions, the same on a busy machine as on an idle "
                   "one. The mail reader is `scan --mail`'s work per file less its scan of the "
                   "reader's text; a raw scan's work per file is opening the file, detecting "
                   "its charset, decoding and scanning.\n")
        out.append("| part | million instructions | against the raw scan |")
        out.append("| --- | ---: | ---: |")
        rows = (("raw scan, work per file", split["raw"]),
                ("--mail: mail reader (parse, decode, HTML to text)", split["reader"]),
                ("--mail: scan of the reader's text", split["mail scan"]),
                ("--mail: once per process (start, compile the script, detector tables)",
                 split["once"]))
        for name, count in rows:
            out.append(f"| {name} | {count / 1e6:.0f} | {count / split['raw']:.2f} |")
    else:
        out.append("\n(valgrind is not installed: no instruction counts.)")
    report = "\n".join(out) + "\n"
    sys.stdout.write(report)
    if a.results:
        with open(a.results, "w", encoding="utf-8") as f:
            f.write("# Mail-aware scanning on the SpamAssassin corpus\n\n"
                    "Written by `bench/mail/run.sh`.\n\n" + report)


if __name__ == "__main__":
    main()
