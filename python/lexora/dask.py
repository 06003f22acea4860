"""Scanning many files across the machines of a Dask cluster.

    client = distributed.Client("scheduler-host:8786")
    results = lexora.dask.scan(client, open("rules.lx").read(), paths)
    flagged = results.filter(lambda r: r["score"] and r["score"] >= 50).compute()

Each result is a dict shaped like a line of ``lexora scan --json``: file,
score, expressions (index, name, hits, score of each statement that hit) and
error. A file that cannot be read yields a result with its error and no
score. Every worker compiles the script once (cached by the script's hash)
and scans with one runner per worker thread.
"""

import collections
import hashlib
import os
import threading

import dask.bag

import lexora

# Files per task, when the caller does not say: about eight tasks per worker
# thread, so that the last ones balance, within bounds. A task costs Dask some
# milliseconds of processor time while a message of mail scans in about 0.2 ms
# (bench/scale_out.sh), so it takes a few hundred messages to keep that cost
# under 5 %; a thousand keep it near 2 %, and a call of a few million files
# at a few thousand tasks.
MIN_PARTITION_SIZE = 128
MAX_PARTITION_SIZE = 1024

_CACHED_SCRIPTS = 8
_scripts = collections.OrderedDict()
_scripts_lock = threading.Lock()


def scan(client, script_text, paths, mail=False, partition_size=None):
    """Scans the files at ``paths`` on the cluster of ``client``.

    Returns a Dask bag of per-file result dicts, in the order of ``paths``,
    already submitted to the cluster (``client.persist``): ``.compute()``
    gathers it, ``.filter``, ``.map`` or ``.to_textfiles`` work on it in place.
    The paths must name the same files on every worker (a shared file system).
    With ``mail=True`` each file is read as mail, as ``lexora scan --mail``
    reads it: one result per message, an mbox's labelled "FILE:N".
    ``partition_size`` files make one task (default: see partition_size_for).
    Raises lexora.CompileError at once when the script does not compile.
    """
    _compiled(script_text)  # compile errors belong to the caller, not to each task
    names = [os.fsdecode(p) for p in paths]
    size = partition_size or partition_size_for(len(names), sum(client.nthreads().values()))
    bag = dask.bag.from_sequence(names, partition_size=size)
    return client.persist(bag.map_partitions(_scan_partition, script_text, mail))


def partition_size_for(files, worker_threads):
    """The default number of files per task."""
    balanced = -(-files // (8 * max(worker_threads, 1)))
    return min(MAX_PARTITION_SIZE, max(MIN_PARTITION_SIZE, balanced))


def _compiled(script_text):
    key = hashlib.sha256(script_text.encode("utf-8", "surrogatepass")).digest()
    with _scripts_lock:
        script = _scripts.get(key)
        if script is None:
            script = lexora.Script(script_text)
            _scripts[key] = script
            if len(_scripts) > _CACHED_SCRIPTS:
                _scripts.popitem(last=False)
        _scripts.move_to_end(key)
        return script


def _scan_partition(names, script_text, mail):
    results = _compiled(script_text).scan_files(names, mail=mail)
    if mail:  # messages, not files: each result carries its label
        return [_record(_label(result), result) for result in results]
    return [_record(name, result) for name, result in zip(names, results)]


def _label(result):
    return result.path if isinstance(result, lexora.ScanError) else result.label


def _record(name, result):
    if isinstance(result, lexora.ScanError):
        return {"file": name, "score": None, "expressions": [], "error": result.reason}
    expressions = [hit._asdict() for hit in result.hits]
    return {"file": name, "score": result.score, "expressions": expressions, "error": None}
