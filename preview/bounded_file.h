#ifndef LXPREVIEW_BOUNDED_FILE_H
#define LXPREVIEW_BOUNDED_FILE_H

#include <cstddef>
#include <optional>
#include <string>

// The whole file, or nothing when it cannot be opened. A file larger than
// maxBytes raises ExceptionBase: the preview never reads without a bound.
std::optional<std::string> ReadBoundedFile(const std::string& path, size_t maxBytes);

#endif  // LXPREVIEW_BOUNDED_FILE_H
