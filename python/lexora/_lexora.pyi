import os
from typing import List, Literal, Optional, Sequence, Tuple, Union, overload

from lexora._types import Hit, MailMessage, ScanError

__version__: str
library_version: Tuple[int, int, int, int]

class ScanResult:
    @property
    def score(self) -> int: ...
    @property
    def label(self) -> Optional[str]: ...
    @property
    def hits(self) -> List[Hit]: ...
    def report(self, quote: bool = False) -> str: ...

class Script:
    def __init__(self, text: str) -> None: ...
    @property
    def expressions(self) -> List[str]: ...
    @overload
    def scan(
        self,
        data: Union[str, bytes, bytearray, memoryview, "os.PathLike[str]", "os.PathLike[bytes]"],
        encoding: Optional[str] = None,
        mail: Literal[False] = False,
    ) -> ScanResult: ...
    @overload
    def scan(
        self,
        data: Union[bytes, bytearray, memoryview, "os.PathLike[str]", "os.PathLike[bytes]"],
        encoding: None = None,
        *,
        mail: Literal[True],
    ) -> List[Union[ScanResult, ScanError]]: ...
    def scan_files(
        self,
        paths: Sequence[Union[str, bytes, "os.PathLike[str]", "os.PathLike[bytes]"]],
        encoding: Optional[str] = None,
        mail: bool = False,
    ) -> List[Union[ScanResult, ScanError]]: ...

def detect(data: Union[bytes, bytearray, memoryview]) -> str: ...
def read_mail(
    data: Union[bytes, bytearray, memoryview, "os.PathLike[str]", "os.PathLike[bytes]"],
) -> List[MailMessage]: ...
def _convert_line(line: str, score: int, weighting: int) -> Tuple[int, str, str]: ...
