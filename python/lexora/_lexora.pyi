import os
from typing import List, Optional, Sequence, Tuple, Union

from lexora._types import Hit, ScanError

__version__: str
library_version: Tuple[int, int, int, int]

class ScanResult:
    @property
    def score(self) -> int: ...
    @property
    def hits(self) -> List[Hit]: ...
    def report(self, quote: bool = False) -> str: ...

class Script:
    def __init__(self, text: str) -> None: ...
    @property
    def expressions(self) -> List[str]: ...
    def scan(
        self,
        data: Union[str, bytes, bytearray, memoryview, "os.PathLike[str]", "os.PathLike[bytes]"],
        encoding: Optional[str] = None,
    ) -> ScanResult: ...
    def scan_files(
        self,
        paths: Sequence[Union[str, bytes, "os.PathLike[str]", "os.PathLike[bytes]"]],
        encoding: Optional[str] = None,
    ) -> List[Union[ScanResult, ScanError]]: ...

def detect(data: Union[bytes, bytearray, memoryview]) -> str: ...
def _convert_line(line: str, score: int, weighting: int) -> Tuple[int, str, str]: ...
