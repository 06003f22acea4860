"""The exceptions and plain records of the lexora package."""

from typing import List, NamedTuple, Optional


class Hit(NamedTuple):
    """One statement that hit in a scan."""

    index: int
    name: str
    hits: int
    score: int


class MailMessage(NamedTuple):
    """One message as the rules see it: its text, or why there is none."""

    label: str
    text: Optional[str]
    error: Optional[str]


class Error(Exception):
    """An error reported by the Lexora engine."""


class CompileError(Error):
    """The script did not compile; ``errors`` holds one message per bad statement."""

    def __init__(self, errors: List[str]):
        super().__init__("\n".join(errors))
        self.errors = list(errors)


class ScanError(Error):
    """A scan did not complete: the engine's message, or "cannot open" for a file."""

    def __init__(self, reason: str, path: Optional[str] = None):
        super().__init__(reason if path is None else f"{path}: {reason}")
        self.reason = reason
        self.path = path


class ConversionError(Error):
    """A legacy line could not be converted; ``statement`` is what it became, if anything."""

    def __init__(self, message: str, statement: Optional[str]):
        super().__init__(message)
        self.statement = statement


class ConversionWarning(UserWarning):
    """A legacy line was converted with a warning."""
