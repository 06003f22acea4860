#!/usr/bin/env python3
"""Raw against --mail scanning of the SpamAssassin corpus: per statement, how
many ham and spam messages it fires on; the ham messages on which the
card-number statement still fires with --mail, with the runs it takes for cards;
and the throughput of both modes at 1 and 2 threads."""
import argparse
import json
import os
import re
import resource
import statistics
import subprocess
import sys
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


def timed(lexora, args, runs):
    """Median wall seconds and median CPU seconds (user + system) of a run."""
    wall, cpu = [], []
    for _ in range(runs):
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        start = time.perf_counter()
        subprocess.run([lexora] + args, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wall.append(time.perf_counter() - start)
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        cpu.append(after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime)
    return statistics.median(wall), statistics.median(cpu)


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
    p.add_argument("--runs", type=int, default=3)
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
               f"before: {os.getloadavg()[0]:.1f} on {os.cpu_count()} cores.\n")
    out.append("| mode | 1 thread MB/s | 2 threads MB/s | CPU s, 1 thread |")
    out.append("| --- | ---: | ---: | ---: |")
    for name, extra in (("scan raw", []), ("scan --mail", ["--mail"])):
        cells = [timed(a.lexora, ["scan", "-j", str(t)] + extra + [a.rules] + files, a.runs)
                 for t in (1, 2)]
        out.append(f"| {name} | {corpus_mb / cells[0][0]:.1f} | {corpus_mb / cells[1][0]:.1f} | "
                   f"{cells[0][1]:.2f} |")
    wall, cpu = timed(a.lexora, ["read", "--mail"] + files, a.runs)
    out.append(f"| read --mail (parse, decode, normalise, print; no rules) | {corpus_mb / wall:.1f} "
               f"| | {cpu:.2f} |")
    report = "\n".join(out) + "\n"
    sys.stdout.write(report)
    if a.results:
        with open(a.results, "w", encoding="utf-8") as f:
            f.write("# Mail-aware scanning on the SpamAssassin corpus\n\n"
                    "Written by `bench/mail/run.sh`.\n\n" + report)


if __name__ == "__main__":
    main()
