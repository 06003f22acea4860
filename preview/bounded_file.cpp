#include "preview/bounded_file.h"

#include <fstream>
#include <iterator>

#include <boost/format.hpp>

#include "preview/exceptions.h"

std::optional<std::string> ReadBoundedFile(const std::string& path, size_t maxBytes) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::string bytes;
  char chunk[65536];
  while (file.read(chunk, sizeof chunk) || file.gcount() > 0) {
    bytes.append(chunk, static_cast<size_t>(file.gcount()));
    if (bytes.size() > maxBytes) {
      throw ExceptionBase(
          (boost::format("File '%s' is larger than %d MiB") % path % (maxBytes >> 20)).str());
    }
  }
  if (file.bad()) return std::nullopt;
  return bytes;
}
