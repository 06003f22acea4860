"""Lexora: compile text-content rule scripts and scan text, bytes and files.

    script = lexora.Script('[SCORE=5] invoice NEAR=3 overdue')
    result = script.scan(pathlib.Path('message.eml'))
    print(result.score, result.hits, result.report())

Compiling and scanning release the GIL, so threads scan in parallel; each
thread scans with a runner of its own.
"""

import warnings

from lexora._lexora import Script, ScanResult, __version__, detect, library_version, read_mail
from lexora._lexora import _convert_line
from lexora._types import (CompileError, ConversionError, ConversionWarning, Error, Hit, MailMessage,
                           ScanError)

__all__ = [
    "Script", "ScanResult", "Hit", "MailMessage", "detect", "read_mail", "convert_line",
    "library_version", "__version__",
    "Error", "CompileError", "ScanError", "ConversionError", "ConversionWarning",
]

_WEIGHTINGS = {"standard": 1, "once only": 2, "decreasing": 3, "increasing": 4}


def convert_line(line: str, score: int = 10, weighting="standard") -> str:
    """Converts one legacy rule line into a statement.

    ``weighting`` is a code from 1 to 4 or its name (standard, once only,
    decreasing, increasing). A warning of the converter is issued as a
    ConversionWarning; an error raises ConversionError.
    """
    code = weighting if isinstance(weighting, int) else _WEIGHTINGS.get(str(weighting).lower())
    if code not in _WEIGHTINGS.values():
        raise ValueError(f"unknown weighting {weighting!r}")
    result, statement, message = _convert_line(line, score, code)
    if result == 2:
        raise ConversionError(message, statement or None)
    if result == 1:
        warnings.warn(message, ConversionWarning, stacklevel=2)
    return statement
