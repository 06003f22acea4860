#include "preview/windows_path.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "preview/exceptions.h"
#include "preview/unicode_text.h"

namespace fs = std::filesystem;

namespace {

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

bool HasDrive(const std::string& path) {
  return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

bool IsUncPath(const std::string& path) {
  return path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
}

// "X:" or "\\server\share"; empty when the path has neither.
std::string RootOf(const std::string& path) {
  if (HasDrive(path)) return path.substr(0, 2);
  if (!IsUncPath(path)) return "";
  size_t server = path.find_first_of("\\/", 2);
  if (server == std::string::npos || server == 2) return "";
  size_t share = path.find_first_of("\\/", server + 1);
  if (share == server + 1) return "";
  return path.substr(0, share);
}

std::vector<std::string> SortedEntries(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    names.push_back(it->path().filename().string());
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    std::string upperA = UpperCaseText(a), upperB = UpperCaseText(b);
    return upperA != upperB ? upperA < upperB : a < b;
  });
  return names;
}

// The entry of folder whose name matches without regard to case; the name
// itself when there is none.
std::string MatchingEntry(const fs::path& folder, const std::string& name) {
  std::error_code error;
  if (fs::exists(folder / name, error)) return name;
  for (const std::string& entry : SortedEntries(folder)) {
    if (EqualsIgnoringCase(entry, name)) return entry;
  }
  return name;
}

}  // namespace

std::string JoinWindowsPath(const std::string& base, const std::string& relative) {
  if (base.empty() || HasDrive(relative) || IsUncPath(relative)) return relative;
  if (!relative.empty() && IsSeparator(relative[0]) && relative.size() >= 3) {
    std::string root = RootOf(base);
    if (root.empty()) throw ExceptionBase("Invalid base path <" + base + ">");
    return root + relative;
  }
  size_t baseEnd = base.size();
  while (baseEnd > 0 && IsSeparator(base[baseEnd - 1])) --baseEnd;
  size_t relativeStart = 0;
  while (relativeStart < relative.size() && IsSeparator(relative[relativeStart])) ++relativeStart;
  return base.substr(0, baseEnd) + "\\" + relative.substr(relativeStart);
}

void DriveMap::Map(char drive, const std::string& folder) {
  folders_[static_cast<char>(std::toupper(static_cast<unsigned char>(drive)))] = folder;
}

std::string DriveMap::LocalPath(const std::string& windowsPath) const {
  if (IsUncPath(windowsPath)) {
    throw ExceptionBase("Cannot read the network path '" + windowsPath +
                        "': copy it to a folder and map a drive to that folder with --drive");
  }
  fs::path root = ".";
  size_t start = 0;
  if (HasDrive(windowsPath)) {
    char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(windowsPath[0])));
    auto it = folders_.find(letter);
    if (it == folders_.end()) {
      throw ExceptionBase(std::string("Drive ") + letter + ": of '" + windowsPath +
                          "' is not mapped to a folder (use --drive " + letter + ":=DIR)");
    }
    root = it->second;
    start = 2;
  } else if (!windowsPath.empty() && IsSeparator(windowsPath[0])) {
    throw ExceptionBase("Path '" + windowsPath + "' names no drive");
  }
  std::vector<std::string> components;
  while (start <= windowsPath.size()) {
    size_t end = windowsPath.find_first_of("\\/", start);
    if (end == std::string::npos) end = windowsPath.size();
    std::string name = windowsPath.substr(start, end - start);
    start = end + 1;
    if (name.empty() || name == ".") continue;
    if (name == "..") {
      if (!components.empty()) components.pop_back();
      continue;
    }
    fs::path folder = root;
    for (const std::string& c : components) folder /= c;
    components.push_back(MatchingEntry(folder, name));
  }
  fs::path local = root;
  for (const std::string& c : components) local /= c;
  return local.string();
}

std::vector<std::string> ListXmlFiles(const std::string& folder) {
  std::vector<std::string> files;
  for (const std::string& name : SortedEntries(folder)) {
    std::error_code error;
    if (name.size() >= 4 && EqualsIgnoringCase(name.substr(name.size() - 4), ".xml") &&
        fs::is_regular_file(fs::path(folder) / name, error)) {
      files.push_back(name);
    }
  }
  return files;
}
